#include "uimodel/OptionDeletePage.h"

#include "platform/Paths.h"
#include "settings/SettingFile.h"
#include "uimodel/SearchFilters.h"

#include <utility>

namespace paradrex {

OptionDeletePage::OptionDeletePage(DirectoryTest isDirectory)
    : isDirectory_(isDirectory ? std::move(isDirectory) : platform::IsDirectory) {}

void OptionDeletePage::Load(const _Setting_file& settings) {
    const int stored = settings.deleteOption.DeleteOption.value;
    choice_ = stored >= kRecycle && stored <= kMoveToDirectory ? stored : kNoChoice;
    moveDirectory_ = settings.deleteOption.MoveDirectory.value;
}

std::string OptionDeletePage::MoveTarget() const {
    const std::string dir = NormalizeDirEntry(moveDirectory_);
    // Setting.ini keeps a value up to its line end: a directory whose name
    // holds one would come back as another directory at the next start.
    if (dir.empty() || dir.find('\n') != std::string::npos || !isDirectory_(dir))
        return {};
    return dir;
}

void OptionDeletePage::Store(_Setting_file& settings) const {
    settings.deleteOption.DeleteOption = choice_;
    const std::string target = choice_ == kMoveToDirectory ? MoveTarget() : std::string();
    settings.deleteOption.MoveDirectory = target.empty() ? moveDirectory_ : target;
}

std::optional<std::string> OptionDeletePage::LeaveRefusal() const {
    if (choice_ == kMoveToDirectory && MoveTarget().empty())
        return std::string(kInvalidMoveDirectory);
    return std::nullopt;
}

} // namespace paradrex
