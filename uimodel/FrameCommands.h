#pragma once
// The enabled and checked states of the main window's commands, and the
// rules that change them: which commands have code behind them, result
// commands after a search, layout switching, the view toggles, the
// focus-dependent accelerators, Tab between the panes and whether the menu
// bar shows. The window only mirrors these answers into its actions and
// widgets.

#include "review/ListKind.h"
#include "uimodel/CommandIds.h"

#include <optional>
#include <set>

namespace paradrex {

enum class FrameLayout { TreeAndList, OneList };

// The pane that has the keyboard focus.
enum class FramePane { None, Tree, FileList, CloneList, OneList };

class FrameCommands {
public:
    // The commands that need a search result, and among them the eight that
    // move through the tree.
    static constexpr int kResultCommands[] = {
        cmd::Preview,        cmd::DeleteMarked,      cmd::NextUnsettled,   cmd::PreviousGroup,
        cmd::NextGroup,      cmd::PreviousDirectory, cmd::NextDirectory,   cmd::NextAllPreserved,
        cmd::NextAllDeleted, cmd::NextNameNotMatch,  cmd::TotalStatistics, cmd::SaveResult,
        cmd::ReverifyResult};
    static constexpr int kNavigationCommands[] = {
        cmd::NextUnsettled, cmd::PreviousGroup,    cmd::NextGroup,      cmd::PreviousDirectory,
        cmd::NextDirectory, cmd::NextAllPreserved, cmd::NextAllDeleted, cmd::NextNameNotMatch};
    static bool NeedsResult(int id);
    static bool IsNavigation(int id);
    // Commands that carry a check mark.
    static bool IsCheckable(int id);

    // As at start: the tree layout, no result, tool bar and status bar on,
    // the grid as the settings say, no command handled yet. The Group Set
    // check mark shows the review's process-wide switch (GroupSetSwitch).
    explicit FrameCommands(bool grid);

    // The window registers the code behind a command here. A command without
    // it is greyed whatever the result state, so that "not built yet" never
    // looks like "broken"; once handled, the rules below decide. A
    // focus-dependent accelerator counts as handled when the command of any
    // pane it runs is.
    void SetHandled(int id, bool handled);
    bool Handled(int id) const;

    bool Enabled(int id) const;
    bool Checked(int id) const;

    FrameLayout layout() const { return layout_; }
    bool toolbarVisible() const { return toolbar_; }
    bool statusBarVisible() const { return statusBar_; }
    bool grid() const { return grid_; }

    // Whether a result was kept at the last close (the file of "Open Last
    // Result" exists); without it the command is greyed.
    void SetLastResultKept(bool kept) { lastResultKept_ = kept; }

    // A search ended: with duplicates the result commands are enabled,
    // otherwise (stopped, nothing found) they are disabled.
    void SearchEnded(bool foundDuplicates);
    // Switches the layout; false when it already was shown (nothing to do).
    // Back in the tree layout the navigation commands return only when the
    // tree has nodes; in the one list they are off.
    bool ShowTreeAndList(bool treeHasNodes);
    bool ShowOneList();

    void SetToolbarVisible(bool on) { toolbar_ = on; }
    void SetStatusBarVisible(bool on) { statusBar_ = on; }
    // The grid follows the file list's current state, which the window
    // passes in; the new state is returned.
    bool ToggleGrid(bool fileListShowsGrid);

private:
    std::set<int> handled_;
    FrameLayout layout_ = FrameLayout::TreeAndList;
    bool resultEnabled_ = false;     // Preview, Delete, Total Statistics
    bool navigationEnabled_ = false; // the eight navigation commands
    bool toolbar_ = true;
    bool statusBar_ = true;
    bool grid_ = false;
    bool lastResultKept_ = false;
};

// The accelerators whose command depends on the focused pane, and the pane
// command each runs (0: nothing in that pane; the one list has none).
struct FocusRoute {
    int command;
    int tree, fileList, cloneList;
};
inline constexpr FocusRoute kFocusRoutes[] = {
    {cmd::FocusPreserve, 0, cmd::FileOnlyPreserve, cmd::CloneOnlyPreserve},
    {cmd::FocusDelete, 0, cmd::FileOnlyDelete, cmd::CloneOnlyDelete},
    {cmd::FocusStatistics, cmd::DirStatistics, 0, 0},
    {cmd::FocusSetAllPreserved, cmd::DirSetAllPreserved, cmd::FileSetAllPreserved,
     cmd::CloneSetAllPreserved},
    {cmd::FocusSetAllDeleted, cmd::DirSetAllDeleted, cmd::FileSetAllDeleted,
     cmd::CloneSetAllDeleted},
    {cmd::FocusSetAllUnsettled, cmd::DirSetAllUnsettled, cmd::FileSetAllUnsettled,
     cmd::CloneSetAllUnsettled},
};
bool IsFocusDependent(int command);
// The command a focus-dependent accelerator runs for the focused pane; 0 when
// it does nothing there. Other commands are returned unchanged.
int FocusTarget(int command, FramePane focused);

// "Only Preserve / Only Delete Files in This Directory" (Ctrl+Insert,
// Ctrl+Delete) act by the focused pane: on the selected directory with all
// below it from the tree, on the file list's directory alone from the file
// list, and not at all from elsewhere.
enum class DirectoryScope { None, ThisDirectory, Recursive };
DirectoryScope OnlyFilesScope(FramePane focused);

// The list a pane shows; nothing for the tree.
std::optional<ListKind> ListOfPane(FramePane pane);

// The list a name command acts on: Rename (F2) on the focused list, any of
// the three; Copy Name and Paste Name (Ctrl+C, Ctrl+V) on the focused clone
// list or one list; each Restore Origin Name and Paste Name (Group) on the
// list whose menu holds it. Nothing for any other focus or command.
std::optional<ListKind> NameCommandList(int command, FramePane focused);

// The pane Tab (forward) or Shift+Tab moves the keyboard to: tree, file list,
// clone list and round again; the one list keeps it. None: not a pane.
FramePane NextPane(FramePane from, bool forward);

// "MenuStyle": 0 "Windows Default", 1 "OfficeXP Style". The menu bar is
// always shown; any other value (a damaged or hand-edited Setting.ini) draws
// as 0, and the stored value stays until the user picks a style.
enum class MenuStyle { WindowsDefault = 0, OfficeXP = 1 };
MenuStyle MenuStyleOf(int menuStyle);

} // namespace paradrex
