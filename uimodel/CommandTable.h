#pragma once
// The main window's command resources: menu texts, the string table (status
// bar text before "\n", tool tip after it), the main menu's popups, the tool
// bar's order and images, and the accelerator table. Plain data, shared by
// the frame and its tests.

#include "uimodel/CommandIds.h"

#include <span>
#include <string_view>

namespace paradrex::res {

// A separator in a popup or in the tool bar.
inline constexpr int kSeparator = 0;

struct MenuText {
    int id;
    const char* text; // with "&" before the access key and "\t" before the shortcut text
};

inline constexpr MenuText kMenuTexts[] = {
    {cmd::NewSearch, "&New Search...\tCtrl+N"},
    {cmd::Preview, "&Preview...\tCtrl+W"},
    {cmd::DeleteMarked, "&Delete Files Marked Cross..."},
    {cmd::SaveResult, "&Save Result...\tCtrl+Shift+S"},
    {cmd::OpenResult, "Open &Result...\tCtrl+Shift+O"},
    {cmd::OpenLastResult, "Open &Last Result\tCtrl+Shift+L"},
    {cmd::GroupSet, "&Group Set\tCtrl+G"},
    {cmd::Exit, "E&xit\tAlt+F4"},
    {cmd::NextUnsettled, "Next &Unsettled File\tCtrl+U"},
    {cmd::PreviousGroup, "P&revious Group\tCtrl+Up Arrow"},
    {cmd::NextGroup, "Next &Group\tCtrl+Down Arrow"},
    {cmd::PreviousDirectory, "Pr&evious Directory\tCtrl+Page Up"},
    {cmd::NextDirectory, "&Next Directory\tCtrl+Page Down"},
    {cmd::NextAllPreserved, "Next All &Preserved File\tCtrl+P"},
    {cmd::NextAllDeleted, "Next All &Deleted File\tCtrl+D"},
    {cmd::NextNameNotMatch, "Next Name Not &Match\tCtrl+M"},
    {cmd::TotalStatistics, "Total &Statistics"},
    {cmd::ReverifyResult, "Re-&verify Result..."},
    {cmd::Options, "&Options...\tCtrl+O"},
    {cmd::ViewToolbar, "&Toolbar"},
    {cmd::ViewStatusBar, "&Status Bar"},
    {cmd::TreeListView, "T&ree && List View"},
    {cmd::OneListView, "&One ListView"},
    {cmd::Grid, "&Grid"},
    {cmd::UserManual, "User &Manual"},
    {cmd::HomePage, "&Home Page"},
    {cmd::About, "&About Paradrex..."},
};

struct StringEntry {
    int id;
    const char* text;
};

inline constexpr StringEntry kStringTable[] = {
    {131, "Options\nOptions (Ctrl+O)"},
    {132, "Total Statistics\nTotal Statistics"},
    {133, "Open the New Search Dialog, select directories, begin the new scan.\nNew Search "
          "(Ctrl+N)"},
    {134, "Navigate to the next group\nNext Group (Ctrl+Down Arrow)"},
    {135, "Navigate to the next unsettled file\nNext Unsettled File (Ctrl+U)"},
    {136, "Group Set\nGroup Set (Ctrl+G)"},
    {137, "According to the setting at the tab Delete Option in the Options Dialog, delete the "
          "files marked cross.\nDelete Files Marked Cross"},
    {140, "Navigate to the next file; it and its all duplicate files are set to the preserved "
          "state.\nNext All Preserved File (Ctrl+P)"},
    {141, "Navigate to the next file; it and its all duplicate files are set to the deleted "
          "state.\nNext All Deleted File (Ctrl+D)"},
    {32799, "Go to the Paradrex homepage.\nHome Page"},
    {32801, "Open the user manual.\nUser Manual"},
    {32802, "Preview the files which would be deleted.\nPreview (Ctrl+W)"},
    {32818, "Navigate to the previous group\nPrevious Group (Ctrl+Up Arrow)"},
    {32828, "Navigate to the previous directory which stores duplicate file(s).\nPrevious "
            "Directory (Ctrl+Page Up)"},
    {32830, "Navigate to the next directory which stores duplicate file(s).\nNext Directory "
            "(Ctrl+Page Down)"},
    {32834, "Toggle the visibility of the grid in the ListView.\nToggle Grid"},
    {32921, "Navigate to the next file; the names of it and its all duplicate files are not all "
            "the same.\nNext Name Not Match (Ctrl+M)"},
    {32937, "Display the statistics of all files.\nTotal Statistics"},
    {32960, "Save the result with every mark and name to a file, to continue the review "
            "later.\nSave Result (Ctrl+Shift+S)"},
    {32961, "Open a saved result; files changed since it was saved leave it.\nOpen Result "
            "(Ctrl+Shift+O)"},
    {32962, "Open the result kept when Paradrex last closed.\nOpen Last Result (Ctrl+Shift+L)"},
    {32963, "Compare the files of every group byte for byte again.\nRe-verify Result"},
    {32948, "Show search result on a explorer like interface"},
    {32949, "Show search result on a listview"},
    {57345, "Ready"},
    {57664, "Display software information, version number and copyright\nAbout"},
    {57665, "Quit the application\nExit (Alt+F4)"},
    {59392, "Toggle the visibility of the toolbar.\nToggle ToolBar"},
    {59393, "Toggle the visibility of the status bar, located at the bottom of the window.\nToggle "
            "StatusBar"},
};

// The menu text of a command; empty when it has none.
constexpr std::string_view MenuTextOf(int id) {
    for (const MenuText& m : kMenuTexts)
        if (m.id == id)
            return m.text;
    return {};
}

// The string table entry of an id; empty when there is none.
constexpr std::string_view StringOf(int id) {
    for (const StringEntry& s : kStringTable)
        if (s.id == id)
            return s.text;
    return {};
}

// The status bar text of a command: its string up to "\n".
constexpr std::string_view StatusTextOf(int id) {
    std::string_view s = StringOf(id);
    return s.substr(0, s.find('\n'));
}

// The tool tip of a command: its string after "\n"; empty without one.
constexpr std::string_view ToolTipOf(int id) {
    std::string_view s = StringOf(id);
    const size_t nl = s.find('\n');
    return nl == std::string_view::npos ? std::string_view() : s.substr(nl + 1);
}

// Main menu 128. The second popup stands for the focused pane's context popup
// and is empty until a pane gets the focus.
inline constexpr int kJobsMenu[] = {cmd::NewSearch,      cmd::Preview,    cmd::DeleteMarked,
                                    kSeparator,          cmd::SaveResult, cmd::OpenResult,
                                    cmd::OpenLastResult, kSeparator,      cmd::GroupSet,
                                    kSeparator,          cmd::Exit};
inline constexpr int kNavigateMenu[] = {
    cmd::NextUnsettled, cmd::PreviousGroup,    cmd::NextGroup,      cmd::PreviousDirectory,
    cmd::NextDirectory, cmd::NextAllPreserved, cmd::NextAllDeleted, cmd::NextNameNotMatch};
inline constexpr int kToolsMenu[] = {cmd::TotalStatistics, cmd::ReverifyResult, cmd::Options};
inline constexpr int kViewMenu[] = {cmd::ViewToolbar,  cmd::ViewStatusBar, kSeparator,
                                    cmd::TreeListView, cmd::OneListView,   kSeparator,
                                    cmd::Grid};
inline constexpr int kHelpMenu[] = {cmd::UserManual, kSeparator, cmd::HomePage, cmd::About};

struct Popup {
    const char* title;
    std::span<const int> items;
};

inline constexpr int kPaneMenuPosition = 1;

inline constexpr Popup kMainMenu[] = {
    {"&Jobs", kJobsMenu},   {"Shortcut", {}},     {"&Navigate", kNavigateMenu},
    {"&Tools", kToolsMenu}, {"&View", kViewMenu}, {"&Help", kHelpMenu},
};

// Tool bar 128, left to right.
inline constexpr int kToolBar[] = {
    cmd::NewSearch,
    cmd::Preview,
    cmd::DeleteMarked,
    kSeparator,
    cmd::GroupSet,
    kSeparator,
    cmd::TreeListView,
    cmd::OneListView,
    kSeparator,
    cmd::NextUnsettled,
    cmd::PreviousGroup,
    cmd::NextGroup,
    cmd::PreviousDirectory,
    cmd::NextDirectory,
    cmd::NextAllPreserved,
    cmd::NextAllDeleted,
    cmd::NextNameNotMatch,
    kSeparator,
    cmd::TotalStatistics,
    cmd::Options,
    kSeparator,
    cmd::HomePage,
    cmd::About,
    kSeparator,
    cmd::Exit,
};

// The images of the tool bar's commands (24 by 24 there, 16 by 16 in the
// menus): the base name of the icon resource.
struct CommandIcon {
    int id;
    const char* name;
};
inline constexpr CommandIcon kCommandIcons[] = {
    {cmd::NewSearch, "new_search"},
    {cmd::Preview, "preview"},
    {cmd::DeleteMarked, "delete_marked"},
    {cmd::GroupSet, "group_set"},
    {cmd::TreeListView, "tree_list"},
    {cmd::OneListView, "one_list"},
    {cmd::NextUnsettled, "next_unsettled"},
    {cmd::PreviousGroup, "prev_group"},
    {cmd::NextGroup, "next_group"},
    {cmd::PreviousDirectory, "prev_directory"},
    {cmd::NextDirectory, "next_directory"},
    {cmd::NextAllPreserved, "next_all_preserved"},
    {cmd::NextAllDeleted, "next_all_deleted"},
    {cmd::NextNameNotMatch, "next_name_not_match"},
    {cmd::TotalStatistics, "total_statistics"},
    {cmd::Options, "options"},
    {cmd::HomePage, "home_page"},
    {cmd::About, "about"},
    {cmd::Exit, "exit"},
};

// Accelerator table 128. The keys are written as key sequences in their
// portable text: "Ctrl", "Alt" and "Num" (the keypad) before the key name,
// joined by "+". A command may have several entries.
struct Accelerator {
    int id;
    const char* keys;
};
inline constexpr Accelerator kAccelerators[] = {
    {cmd::NewSearch, "Ctrl+N"},
    {cmd::Preview, "Ctrl+W"},
    {cmd::GroupSet, "Ctrl+G"},
    {cmd::Exit, "Alt+F4"},
    {cmd::NextUnsettled, "Ctrl+U"},
    {cmd::PreviousGroup, "Ctrl+Up"},
    {cmd::NextGroup, "Ctrl+Down"},
    {cmd::PreviousDirectory, "Ctrl+PgUp"},
    {cmd::NextDirectory, "Ctrl+PgDown"},
    {cmd::NextAllPreserved, "Ctrl+P"},
    {cmd::NextAllDeleted, "Ctrl+D"},
    {cmd::NextNameNotMatch, "Ctrl+M"},
    {cmd::Options, "Ctrl+O"},
    {cmd::SaveResult, "Ctrl+Shift+S"},
    {cmd::OpenResult, "Ctrl+Shift+O"},
    {cmd::OpenLastResult, "Ctrl+Shift+L"},
    {cmd::OnlyPreserveDirectory, "Ctrl+Ins"},
    {cmd::OnlyDeleteDirectory, "Ctrl+Del"},
    {cmd::FocusPreserve, "Ins"},
    {cmd::FocusDelete, "Del"},
    {cmd::FocusSetAllPreserved, "Ctrl+Num++"},
    {cmd::FocusSetAllDeleted, "Ctrl+Num+-"},
    {cmd::FocusSetAllUnsettled, "Ctrl+Num+*"},
    {cmd::Rename, "F2"},
    {cmd::CopyName, "Ctrl+C"},
    {cmd::PasteName, "Ctrl+V"},
    {cmd::FocusStatistics, "Alt+Return"},
    // The keypad's Enter is the same key to the user.
    {cmd::FocusStatistics, "Alt+Num+Enter"},
};

} // namespace paradrex::res
