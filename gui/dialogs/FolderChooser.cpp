#include "gui/dialogs/FolderChooser.h"

#include "gui/QtBytes.h"
#include "uimodel/OptionPage.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QString ChooseFolder(QWidget* owner, const QString& start) {
    const QString from = QFileInfo(start).isDir() ? start : QDir::homePath();
    return QFileDialog::getExistingDirectory(owner,
                                             Utf8Text(paradrex::OptionPage::kFolderChooserTitle),
                                             from, QFileDialog::ShowDirsOnly);
}
