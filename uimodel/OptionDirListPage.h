#pragma once
// One of the three default directory pages of the options sheet ("Default
// Search Directory", "Default Preserve Directory", "Default Delete
// Directory") without its widgets: the directories of one settings list,
// adding by the New Search dialog's rule with its balloon, removing, and the
// timer that hides the balloon.

#include "settings/IniSection.h"
#include "uimodel/DirectoryAddRule.h"
#include "uimodel/OptionPage.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

class OptionDirListPage : public OptionPage {
public:
    using DirectoryTest = DirectoryAddRule::DirectoryTest;
    using Outcome = DirectoryAddRule::Outcome;
    // Which list of the settings store the page edits.
    using DirList = HV::_Ini_dir_list _Setting_file::*;

    // `isDirectory` decides whether a path names an existing directory (the
    // real file system when empty).
    explicit OptionDirListPage(DirList list, DirectoryTest isDirectory = {});

    // The list's entries that are existing directories, in stored order;
    // vanished ones are not shown.
    void Load(const _Setting_file& settings) override;
    // The list becomes the rows that are still existing directories, in row
    // order.
    void Store(_Setting_file& settings) const override;

    // The list view's rows, one directory each.
    const std::vector<std::string>& rows() const { return rows_; }

    // "&Add" with the edit's text; "&Browse..." with the chosen folder (empty
    // when the chooser was cancelled) after it has replaced the edit's text.
    // The text is normalised as the New Search path box does. Invalid for an
    // empty text or one that names no existing directory; Covered when a row
    // equals or contains the directory (the rows are unchanged); otherwise
    // Added, and the rows are refilled in path order, rows inside the new
    // directory replaced by it. Invalid and Covered show the balloon.
    Outcome Add(std::string_view editText);
    // "&Remove" or the Delete key: deletes the selected rows.
    void Remove(const std::vector<size_t>& selectedRows);
    // The balloon's text for the last Invalid or Covered outcome (bytes).
    std::string BalloonText() const { return rule_.BalloonText(); }

    // The page's one-second timer: true when the balloon is to be hidden now.
    // A balloon stays between three and four seconds; the widget also hides
    // it as soon as the edit's text changes.
    bool TimerTick(bool balloonVisible);

private:
    DirList list_;
    DirectoryAddRule rule_;
    std::vector<std::string> rows_;
    int ticks_ = 0;
};

} // namespace paradrex
