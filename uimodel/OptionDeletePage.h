#pragma once
// The "Delete Option" page of the options sheet without its widgets: what
// the delete command does with the files marked cross, and the directory
// they are moved to.

#include "uimodel/DirectoryAddRule.h"
#include "uimodel/OptionPage.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace paradrex {

class OptionDeletePage : public OptionPage {
public:
    // "DeleteOption" values; the radio buttons in this order.
    enum Choice : int {
        kNoChoice = -1, // a stored value outside 0..2 checks no radio button
        kRecycle = 0,
        kDeleteDirectly = 1,
        kMoveToDirectory = 2,
    };
    static constexpr std::array<std::string_view, 3> kChoiceTexts = {
        "Delete files to recycle bin", "Delete Files Directly", "Move Files to Directory"};
    static constexpr std::string_view kInvalidMoveDirectory = "You shall input a valid directory!";

    using DirectoryTest = DirectoryAddRule::DirectoryTest;
    // `isDirectory` decides whether a path names an existing directory (the
    // real file system when empty).
    explicit OptionDeletePage(DirectoryTest isDirectory = {});

    void Load(const _Setting_file& settings) override;
    // "DeleteOption" is the choice (-1 when none); "MoveDirectory" the edit's
    // text, or, when moving, the directory it names as an absolute path, so
    // the delete command gets the directory that was checked.
    void Store(_Setting_file& settings) const override;
    // Only when moving: kInvalidMoveDirectory unless the edit names an
    // existing directory (normalised as the New Search path box does). With
    // the other choices the edit may hold anything.
    std::optional<std::string> LeaveRefusal() const override;

    int choice() const { return choice_; }
    void SetChoice(int choice) { choice_ = choice; }
    // The move directory edit; it and its "&Browse..." button stay enabled
    // whatever the choice. The chooser's folder (empty when it was cancelled)
    // replaces the text without a check.
    const std::string& moveDirectory() const { return moveDirectory_; }
    void SetMoveDirectory(std::string text) { moveDirectory_ = std::move(text); }

private:
    // The directory the edit names, or empty when it names none that can be
    // kept in the settings.
    std::string MoveTarget() const;

    DirectoryTest isDirectory_;
    int choice_ = kRecycle;
    std::string moveDirectory_;
};

} // namespace paradrex
