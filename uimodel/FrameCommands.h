#pragma once
// The enabled and checked states of the main window's commands, and the
// rules that change them: result commands after a search, layout switching,
// the view toggles and the focus-dependent accelerators. The window only
// mirrors these answers into its actions.

#include "uimodel/CommandIds.h"

#include <span>

namespace paradrex {

enum class FrameLayout { TreeAndList, OneList };

// The pane that has the keyboard focus.
enum class FramePane { None, Tree, FileList, CloneList, OneList };

class FrameCommands {
public:
    // The commands that need a search result, and among them the eight that
    // move through the tree.
    static constexpr int kResultCommands[] = {
        cmd::Preview,        cmd::DeleteMarked,      cmd::NextUnsettled,  cmd::PreviousGroup,
        cmd::NextGroup,      cmd::PreviousDirectory, cmd::NextDirectory,  cmd::NextAllPreserved,
        cmd::NextAllDeleted, cmd::NextNameNotMatch,  cmd::TotalStatistics};
    static constexpr int kNavigationCommands[] = {
        cmd::NextUnsettled, cmd::PreviousGroup,    cmd::NextGroup,      cmd::PreviousDirectory,
        cmd::NextDirectory, cmd::NextAllPreserved, cmd::NextAllDeleted, cmd::NextNameNotMatch};
    static bool NeedsResult(int id);
    static bool IsNavigation(int id);
    // Commands that carry a check mark.
    static bool IsCheckable(int id);

    // As at start: the tree layout, no result, tool bar and status bar on,
    // the grid as the settings say. The Group Set check mark shows the
    // review's process-wide switch (GroupSetSwitch).
    explicit FrameCommands(bool grid);

    bool Enabled(int id) const;
    bool Checked(int id) const;

    FrameLayout layout() const { return layout_; }
    bool toolbarVisible() const { return toolbar_; }
    bool statusBarVisible() const { return statusBar_; }
    bool grid() const { return grid_; }

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
    FrameLayout layout_ = FrameLayout::TreeAndList;
    bool resultEnabled_ = false;     // Preview, Delete, Total Statistics
    bool navigationEnabled_ = false; // the eight navigation commands
    bool toolbar_ = true;
    bool statusBar_ = true;
    bool grid_ = false;
};

// The command a focus-dependent accelerator runs for the focused pane; 0 when
// it does nothing there. Other commands are returned unchanged.
int FocusTarget(int command, FramePane focused);

} // namespace paradrex
