#include "mainwnd/NewSearchDialog.h"

#include "dialogs/CImportDialog.h"

bool RunNewSearchDialog(QWidget* parent) {
    CImportDialog dialog(parent);
    dialog.exec();
    return dialog.accepted();
}
