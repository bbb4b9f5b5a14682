#pragma once
// "Confirm" whether to remove a directory the delete operation left empty:
// the path and " is empty. Do you want to remove it?", and the buttons
// "&Yes" (the default button), "&No", "Yes to All" and "No to All", whose
// ids less 1007 are the answer. Only the buttons close it.

#include "fileops/EmptyDirectoryCheck.h"
#include "gui/dialogs/CConfirmDlg.h"

#include <string>

class CDelEmptyDirDlg : public CConfirmDlg {
    Q_OBJECT
public:
    static constexpr int kYesId = 1007;
    static constexpr int kNoId = 1008;
    static constexpr int kYesToAllId = 1009;
    static constexpr int kNoToAllId = 1010;

    CDelEmptyDirDlg(QWidget* parent, const std::string& path);

    // The button pressed; No to All until one was.
    paradrex::EmptyDirAnswer answer() const { return answer_; }

private:
    paradrex::EmptyDirAnswer answer_ = paradrex::EmptyDirAnswer::NoToAll;
};
