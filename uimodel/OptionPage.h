#pragma once
// A page of the options sheet without its widgets: the values its controls
// show, loaded from the settings store the first time the page is shown and
// stored back only when the sheet is accepted. The page's widget shows these
// values and writes every edit back through the page's setters.

#include <optional>
#include <string>
#include <string_view>

namespace paradrex {

class _Setting_file;

class OptionPage {
public:
    // Caption of the message box that explains a refusal to leave a page
    // (error icon, owned by the page).
    static constexpr std::string_view kErrorCaption = "Error";
    // Title of the folder chooser behind a page's "&Browse..." button.
    static constexpr std::string_view kFolderChooserTitle = "Choose a folder";

    virtual ~OptionPage() = default;

    // The settings into the page's values.
    virtual void Load(const _Setting_file& settings) = 0;
    // The page's values into the settings.
    virtual void Store(_Setting_file& settings) const = 0;
    // Asked before the page is left or the sheet is accepted: the text of
    // the message that keeps the user on the page, or nothing when the page
    // may be left.
    virtual std::optional<std::string> LeaveRefusal() const { return std::nullopt; }
};

} // namespace paradrex
