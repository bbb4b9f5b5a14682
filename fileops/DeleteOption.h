#pragma once
// How the files marked cross go, as the [Delete Option] settings say, and the
// texts the delete command shows before it starts: the confirmation question
// and, for a stored DeleteOption that names no method (the Options page can
// store -1), the message that refuses the command. A refused command changes
// nothing: no worker runs and the result stays as it is.

#include <optional>
#include <string>
#include <string_view>

namespace paradrex {

// The stored DeleteOption values.
enum class DeleteMethod : int { Trash = 0, DeleteDirectly = 1, Move = 2 };

struct DeleteSettings {
    DeleteMethod method = DeleteMethod::Trash;
    // For Move: the folder the files go under, with their whole path
    // (/data/a.txt moved to /old goes to /old/data/a.txt). Used as stored.
    std::string moveDirectory;
};

// The settings a stored DeleteOption and MoveDirectory give; nothing when
// the option is outside 0 to 2.
std::optional<DeleteSettings> DeleteSettingsOf(int deleteOption, std::string moveDirectory);

// The text of the message box (caption kDeleteOptionErrorCaption, error
// icon) that refuses the command for a DeleteOption outside 0 to 2.
inline constexpr std::string_view kDeleteOptionErrorCaption = "Error";
std::string UnknownDeleteOptionMessage(int deleteOption);

// The question of the confirmation dialog (CDelAskDlg), by method.
std::string DeleteQuestion(const DeleteSettings& settings);

// The confirmation dialog's two check boxes, from what the searches of Next
// All Deleted File and Next Name Not Match found (run in that order before
// the dialog opens). A disabled box reads as unchecked.
struct ConfirmBoxes {
    bool allMarkedEnabled =
        false; // "Include the file, it and its duplicate files all had been marked cross"
    bool allMarkedChecked = false;
    bool nameMismatchEnabled =
        false; // "Include the file, the names of it and its duplicate files aren't all the same"
    bool nameMismatchChecked = false;
    bool operator==(const ConfirmBoxes&) const = default;
};
ConfirmBoxes ConfirmBoxesFor(bool foundAllDeleted, bool foundNamesDiffer);

} // namespace paradrex
