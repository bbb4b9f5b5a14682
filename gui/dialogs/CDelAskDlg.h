#pragma once
// "Confirm" before the files marked cross are deleted, trashed or moved:
// the question of the Delete Option, and two check boxes that let groups
// in which every file is marked cross, and groups whose names differ, take
// part. Which box is enabled and checked comes from what the searches of
// Next All Deleted File and Next Name Not Match found (ConfirmBoxesFor).
// "&Yes" (the default button) confirms with the boxes' states, a disabled
// box reading as unchecked; "&No" ends it without confirming.

#include "fileops/DeleteOption.h"
#include "fileops/DeleteRules.h"
#include "gui/dialogs/CConfirmDlg.h"

#include <string_view>

class QCheckBox;

class CDelAskDlg : public CConfirmDlg {
    Q_OBJECT
public:
    static constexpr int kAllMarkedId = 1081;
    static constexpr int kNameMismatchId = 1082;
    static constexpr int kYesId = 6;
    static constexpr int kNoId = 7;

    CDelAskDlg(QWidget* parent, std::string_view question, const paradrex::ConfirmBoxes& boxes);

    QCheckBox* allMarkedBox() const { return allMarked_; }
    QCheckBox* nameMismatchBox() const { return nameMismatch_; }
    // The answers, as the boxes stand.
    paradrex::DeleteChoices choices() const;

private:
    QCheckBox* allMarked_ = nullptr;
    QCheckBox* nameMismatch_ = nullptr;
};
