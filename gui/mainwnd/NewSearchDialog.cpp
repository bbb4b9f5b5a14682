#include "gui/mainwnd/NewSearchDialog.h"

#include "gui/dialogs/CImportDialog.h"

bool RunNewSearchDialog(QWidget* parent) {
    CImportDialog dialog(parent);
    dialog.exec();
    return dialog.accepted();
}
