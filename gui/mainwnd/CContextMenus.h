#pragma once
// The panes' context menus: the eight popups of menu 219 as menus, the right
// click and the context-menu key that open them (which popup, where, and the
// row a click selects, as paradrex::ChoosePopup answers), the menu bar's popup
// of the focused pane, and the "Open" submenu with its commands 50 to 60.
//
// A popup's item stands in for its command: it shows the popup's own text and
// is enabled by the popup's rule as the popup opens, and choosing it triggers
// the command's one action in the frame. Greying an item therefore never
// touches the command's action, its state or its shortcut.

#include "uimodel/ContextMenus.h"

#include <QObject>

#include <array>

class QContextMenuEvent;
class QMenu;
class QTreeView;
class CMainFrame;
class CResultPanes;

namespace paradrex {
class _File_context_menu_section;
struct FileRecord;
} // namespace paradrex

class CContextMenus : public QObject {
    Q_OBJECT
public:
    // Builds the popups and the "Open" submenu from the rows of `fileMenu`
    // (read again by RebuildOpenSubmenu), sets the handlers of commands 50 to
    // 60 on `frame` and listens to its panes; lives as the frame's child.
    CContextMenus(CMainFrame& frame, const paradrex::_File_context_menu_section& fileMenu);

    QMenu* Popup(paradrex::ContextPopup popup) const { return popups_[Slot(popup)]; }
    QMenu* openSubmenu() const { return open_; }

    // Fills the "Open" submenu anew from the file context menu rows.
    void RebuildOpenSubmenu();
    // The focus moved: the menu bar shows the popup of the pane that got it.
    void FocusMovedTo(paradrex::FramePane pane);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static size_t Slot(paradrex::ContextPopup popup) { return static_cast<size_t>(popup); }
    void BuildPopups();
    // Enables the items of a popup that is about to show.
    void EnableItems(paradrex::ContextPopup popup);
    paradrex::PopupState StateOf(paradrex::FramePane pane) const;
    // Opens the popup a context-menu request on a pane asks for, if any.
    void OnContextMenu(paradrex::FramePane pane, const QContextMenuEvent& event, bool mouse);
    void SelectRow(paradrex::FramePane pane, int row);
    QPoint PlaceOf(paradrex::FramePane pane, paradrex::PopupPlace place,
                   const QContextMenuEvent& event) const;
    QTreeView* View(paradrex::FramePane pane) const;

    // The selected file of the list that has the focus; null without one.
    const paradrex::FileRecord* SelectedFile() const;
    void OpenSelectedFile(int id);

    CMainFrame& frame_;
    CResultPanes& panes_;
    const paradrex::_File_context_menu_section& fileMenu_;
    std::array<QMenu*, std::size(paradrex::kContextPopups)> popups_{};
    QMenu* open_ = nullptr;
    paradrex::PaneMenuSwitch paneMenu_;
};
