#pragma once
// The options sheet without its widgets: the seven pages in tree order, the
// page being shown, leaving a page, OK and Cancel, and which groups of
// settings OK changed, so the main window can refresh itself.
//
// The dialog builds one sheet per "&Options..." command on the settings
// store; the sheet opens on page 0. The tree asks SelectPage before its
// selection changes and keeps the old selection when a refusal comes back
// (the dialog shows it in a message box captioned OptionPage::kErrorCaption
// with the error icon). A page's widget is built the first time the page is
// shown, fills its controls from the page's values and writes every edit
// back. "&OK" calls Accept and closes only when no refusal comes back;
// "&Cancel" just closes: the settings are edited only by Accept.

#include "settings/SettingKeys.h"
#include "uimodel/OptionColorPage.h"
#include "uimodel/OptionDeletePage.h"
#include "uimodel/OptionDirListPage.h"
#include "uimodel/OptionFileContextMenuPage.h"
#include "uimodel/OptionInterfacePage.h"
#include "uimodel/OptionPage.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace paradrex {

class _Setting_file;

class OptionSheet {
public:
    static constexpr std::string_view kCaption = "Option";

    // The pages in tree order; the index is the page's number in the sheet.
    enum Page : size_t {
        kSearchDirectories = 0,
        kPreserveDirectories = 1,
        kDeleteDirectories = 2,
        kDeleteOption = 3,
        kColorScheme = 4,
        kCustomInterface = 5,
        kFileContextMenu = 6,
    };
    static constexpr size_t kPageCount = 7;
    // Tree texts, also the title strip's text for the page shown.
    static constexpr std::array<std::string_view, kPageCount> kPageTitles = {
        "Default Search Directory",
        "Default Preserve Directory",
        "Default Delete Directory",
        "Delete Option",
        "Color Scheme",
        "Custom Interface",
        "File Context Menu"};

    // The file system as the pages see it; empty members mean the real one.
    struct Environment {
        DirectoryAddRule::DirectoryTest isDirectory;
        OptionFileContextMenuPage::ProgramTest canStartProgram;
    };

    // Opens the sheet on "Default Search Directory" and takes the snapshot OK
    // compares with.
    explicit OptionSheet(_Setting_file& settings, Environment environment = {});
    OptionSheet(const OptionSheet&) = delete;
    OptionSheet& operator=(const OptionSheet&) = delete;

    size_t currentPage() const { return current_; }
    std::string_view title() const { return kPageTitles[current_]; }
    // Whether the page has been shown since the sheet opened.
    bool WasShown(size_t page) const { return shown_[page]; }

    // The tree's selection is about to change to `page`: the current page is
    // asked to leave. Its refusal comes back and it stays current; otherwise
    // `page` is loaded from the settings the first time it is shown and
    // becomes current (nothing comes back).
    std::optional<std::string> SelectPage(size_t page);

    // "&OK": the current page's refusal comes back and the sheet stays open.
    // Otherwise every page that was shown stores its values into the
    // settings, in page order (pages never shown store nothing), and the
    // changes against the snapshot are worked out.
    std::optional<std::string> Accept();

    // What the main window refreshes after an accepted sheet, in this order.
    struct Changes {
        bool fileContextMenu = false; // a row's Visible, Menu or Command: rebuild "Open"
        bool menuStyle = false;       // "MenuStyle": switch the menu and tool bar style
        bool listStyle = false;       // "ListViewStyle": switch the tree and list style
        bool colours = false;         // a colour: refill the file list and reselect
        bool operator==(const Changes&) const = default;
    };
    // All false until Accept succeeds.
    const Changes& changes() const { return changes_; }

    OptionPage& page(size_t index) { return *pages_[index]; }
    // kSearchDirectories, kPreserveDirectories or kDeleteDirectories.
    OptionDirListPage& dirListPage(size_t index);
    OptionDeletePage& deletePage() { return deletePage_; }
    OptionColorPage& colorPage() { return colorPage_; }
    OptionInterfacePage& interfacePage() { return interfacePage_; }
    OptionFileContextMenuPage& fileContextMenuPage() { return fileContextMenuPage_; }

private:
    void Show(size_t page);

    _Setting_file& settings_;
    std::array<OptionDirListPage, 3> dirListPages_;
    OptionDeletePage deletePage_;
    OptionColorPage colorPage_;
    OptionInterfacePage interfacePage_;
    OptionFileContextMenuPage fileContextMenuPage_;
    std::array<OptionPage*, kPageCount> pages_;
    std::array<bool, kPageCount> shown_{};
    size_t current_ = kSearchDirectories;

    // Taken when the sheet opens.
    _File_context_menu_section fileContextMenuAtOpening_;
    _Color_section coloursAtOpening_;
    _Interface_section stylesAtOpening_;
    Changes changes_;
};

} // namespace paradrex
