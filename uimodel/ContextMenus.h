#pragma once
// The rules of the panes' context menus, without widgets: which popup a right
// click or the context-menu key opens and where, which of its items are
// enabled when it opens, and which popup the menu bar shows for the focused
// pane. Rows are the view's row indexes (-1: none); the tree passes any
// non-negative index for its node.
//
// The enabled states answered here belong to the popup that opens, not to
// the command: greying "Rena&me" in an empty list's popup must leave F2 and
// the command's own state (FrameCommands) alone. The window applies them to
// the popup's items each time the popup is about to show.

#include "uimodel/ContextMenuTable.h"
#include "uimodel/FrameCommands.h"

#include <optional>
#include <vector>

namespace paradrex {

enum class ContextInput { Keyboard, Mouse };

// Where the popup opens.
enum class PopupPlace {
    MousePoint,  // where the mouse was clicked
    NodeText,    // at the left edge of the node's text, half-way down it
    RowCentre,   // at the centre of the selected row
    ListTopLeft, // at the list's top left corner
};

struct ContextRequest {
    FramePane pane = FramePane::None; // the pane with the focus
    ContextInput input = ContextInput::Mouse;
    // Mouse: the row under the point (tree: the node whose icon, label or
    // state icon is under it) and its logical column (the Name column is 0).
    int hitRow = -1;
    int hitColumn = -1;
    int selectedRow = -1; // the pane's selected row or node
    int rowCount = 0;     // rows of a list (the tree does not use it)
};

struct PopupChoice {
    std::optional<ContextPopup> popup; // nothing: no popup opens
    PopupPlace place = PopupPlace::MousePoint;
    // The row or node the click landed on, selected before the popup opens
    // (its commands act on the selection); -1: the selection stays.
    int selectRow = -1;
};

PopupChoice ChoosePopup(const ContextRequest& request);

// The pane a popup is about: its commands act on that pane's selection, and
// its enabling looks at that pane.
FramePane PopupPane(ContextPopup popup);

// What the enabling of a popup looks at when it opens.
struct PopupState {
    int rowCount = 0;          // rows of the pane's list (the tree does not use it)
    int selectedRow = -1;      // the pane's selected row or node
    int copiedCloneRow = -1;   // the clone list row whose name was copied
    int copiedOneListRow = -1; // the one list row whose name was copied
};

// Whether an item of the popup is enabled as the popup opens; `item` is a
// command id or res::kOpenSubmenu. The items of the "Open" submenu follow the
// submenu.
bool PopupItemEnabled(ContextPopup popup, int item, const PopupState& state);

struct PopupItemState {
    int item; // a command id or res::kOpenSubmenu
    bool enabled;
    bool operator==(const PopupItemState&) const = default;
};
// Every item of the popup but the separators, in menu order.
std::vector<PopupItemState> PopupItemStates(ContextPopup popup, const PopupState& state);

// The popup the menu bar shows at res::kPaneMenuPosition for a pane, with its
// caption there ("&ListView" for the one list's popup).
struct PaneMenu {
    ContextPopup popup;
    const char* caption;
};
std::optional<PaneMenu> PaneMenuOf(FramePane pane);

// Follows the focus: the menu bar's pane popup changes when another pane
// gets the focus; the focus leaving the panes keeps the last one.
class PaneMenuSwitch {
public:
    // The popup to put into the menu bar now; nothing when it stays.
    std::optional<PaneMenu> FocusMovedTo(FramePane pane);
    FramePane shown() const { return shown_; }

private:
    FramePane shown_ = FramePane::None;
};

} // namespace paradrex
