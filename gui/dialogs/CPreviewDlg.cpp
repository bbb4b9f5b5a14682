#include "gui/dialogs/CPreviewDlg.h"

#include "fileops/Preview.h"

CPreviewDlg::CPreviewDlg(QWidget* parent, paradrex::ResultDir* root,
                         const paradrex::DeleteSettings& settings)
    : CLogDialog(parent, 318, 239) {
    setWindowTitle(QStringLiteral("Preview"));
    setObjectName(QStringLiteral("id216"));
    paradrex::PreviewLog preview = paradrex::BuildPreview(root, settings);
    count_ = preview.count;
    AddLog(preview.text);
}
