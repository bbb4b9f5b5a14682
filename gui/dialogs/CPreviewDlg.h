#pragma once
// "Preview" (Ctrl+W): the files marked cross, one full path a line, and the
// total line saying what the Delete Option will do with them (BuildPreview).
// Nothing on disk is touched. "&Save..." writes the list, "&Close" (the
// default button), Escape and the close box close it.

#include "fileops/DeleteOption.h"
#include "gui/dialogs/CLogDialog.h"

#include <cstdint>

namespace paradrex {
struct ResultDir;
}

class CPreviewDlg : public CLogDialog {
    Q_OBJECT
public:
    // The preview of the result below `root` (null: no result).
    CPreviewDlg(QWidget* parent, paradrex::ResultDir* root,
                const paradrex::DeleteSettings& settings);

    // The number of files listed.
    uint64_t count() const { return count_; }

private:
    uint64_t count_ = 0;
};
