#include "fileops/DeleteOption.h"

namespace paradrex {

std::optional<DeleteSettings> DeleteSettingsOf(int deleteOption, std::string moveDirectory) {
    if (deleteOption < 0 || deleteOption > 2)
        return std::nullopt;
    return DeleteSettings{static_cast<DeleteMethod>(deleteOption), std::move(moveDirectory)};
}

std::string UnknownDeleteOptionMessage(int deleteOption) {
    return "The Delete Option setting holds " + std::to_string(deleteOption) +
           ", which names no way to delete files. Nothing was changed: choose \"Delete to "
           "Recycle Bin\", \"Delete directly\" or \"Move to\" on the Delete Option page of the "
           "Options, then try again.";
}

std::string DeleteQuestion(const DeleteSettings& settings) {
    switch (settings.method) {
    case DeleteMethod::Trash:
        return "All files you had marked cross will be deleted to Recycle Bin. Are you sure?";
    case DeleteMethod::DeleteDirectly:
        return "All files you had marked cross will be deleted directly. Are you sure?";
    case DeleteMethod::Move:
        return "All files you had marked cross will be moved to " + settings.moveDirectory +
               ". Are you sure?";
    }
    return {};
}

ConfirmBoxes ConfirmBoxesFor(bool foundAllDeleted, bool foundNamesDiffer) {
    // Differing names are included unless the user says otherwise; groups
    // whose every copy is crossed only when the user asks for it.
    return {foundAllDeleted, false, foundNamesDiffer, foundNamesDiffer};
}

} // namespace paradrex
