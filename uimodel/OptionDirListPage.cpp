#include "uimodel/OptionDirListPage.h"

#include "engine/PathSet.h"
#include "settings/SettingFile.h"
#include "uimodel/SearchFilters.h"

#include <utility>

namespace paradrex {

OptionDirListPage::OptionDirListPage(DirList list, DirectoryTest isDirectory)
    : list_(list), rule_(" had been selected!", std::move(isDirectory)) {}

void OptionDirListPage::Load(const _Setting_file& settings) {
    rows_ = rule_.ExistingDirectories((settings.*list_).dirs);
}

void OptionDirListPage::Store(_Setting_file& settings) const {
    std::vector<std::string>& dirs = (settings.*list_).dirs;
    dirs.clear();
    for (const std::string& row : rows_) {
        if (rule_.IsDirectory(row))
            dirs.push_back(row);
    }
}

OptionDirListPage::Outcome OptionDirListPage::Add(std::string_view editText) {
    const std::string path = NormalizeDirEntry(editText);
    Outcome outcome;
    if (path.empty() || !rule_.IsDirectory(path)) {
        outcome = rule_.Invalid();
    } else {
        // The rows as they stand, even when a hand-edited list holds them out
        // of path order; the set puts them in order.
        PathSet set;
        for (const std::string& row : rows_)
            set.Add(row);
        outcome = rule_.Add(set, path);
        if (outcome == Outcome::Added)
            rows_ = set.ToVector();
    }
    // A new balloon gets its full time, even when one was showing.
    if (DirectoryAddRule::ShowsBalloon(outcome))
        ticks_ = 0;
    return outcome;
}

void OptionDirListPage::Remove(const std::vector<size_t>& selectedRows) {
    ErasePositions(rows_, selectedRows);
}

bool OptionDirListPage::TimerTick(bool balloonVisible) {
    if (!balloonVisible) {
        ticks_ = 0;
        return false;
    }
    if (++ticks_ <= 3)
        return false;
    ticks_ = 0;
    return true;
}

} // namespace paradrex
