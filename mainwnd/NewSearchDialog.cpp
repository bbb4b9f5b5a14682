#include "mainwnd/NewSearchDialog.h"

#include "engine/PathSet.h"
#include "engine/SearchState.h"

#include <QFile>
#include <QFileDialog>

// Stand-in until the New Search dialog is part of the program: asks for one
// directory and searches it with the default filters. With the dialog this
// becomes
//
//     CImportDialog dialog(parent);
//     dialog.exec();
//     return dialog.accepted();
bool RunNewSearchDialog(QWidget* parent) {
    const QString dir = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("New Search"), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (dir.isEmpty())
        return false;
    paradrex::SearchJob& job = paradrex::SearchState::Instance().job;
    job = paradrex::SearchJob{};
    job.roots.Add(paradrex::AbsoluteNormalPath(QFile::encodeName(dir).toStdString()));
    return true;
}
