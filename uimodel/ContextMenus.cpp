#include "uimodel/ContextMenus.h"

#include <algorithm>
#include <initializer_list>

namespace paradrex {

namespace {

// A list's popups: the one for its rows and the one for the whole list.
PopupChoice ChooseListPopup(const ContextRequest& r, ContextPopup row, ContextPopup all) {
    if (r.rowCount <= 0)
        return {};
    if (r.input == ContextInput::Keyboard) {
        if (r.selectedRow >= 0)
            return {row, PopupPlace::RowCentre};
        return {all, PopupPlace::ListTopLeft};
    }
    // Only a click on a row's name is about that row.
    if (r.hitRow >= 0 && r.hitColumn == 0)
        return {row, PopupPlace::MousePoint, r.hitRow};
    return {all, PopupPlace::MousePoint};
}

bool OneOf(int item, std::initializer_list<int> items) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

bool HasItem(ContextPopup popup, int item) {
    if (item == res::kSeparator)
        return false;
    for (const res::PopupItem& i : res::PopupTableOf(popup).items)
        if (i.id == item)
            return true;
    return false;
}

} // namespace

PopupChoice ChoosePopup(const ContextRequest& r) {
    const bool keyboard = r.input == ContextInput::Keyboard;
    switch (r.pane) {
    case FramePane::Tree:
        if (keyboard)
            return r.selectedRow >= 0 ? PopupChoice{ContextPopup::Directory, PopupPlace::NodeText}
                                      : PopupChoice{};
        return r.hitRow >= 0
                   ? PopupChoice{ContextPopup::Directory, PopupPlace::MousePoint, r.hitRow}
                   : PopupChoice{};
    case FramePane::FileList:
        return ChooseListPopup(r, ContextPopup::FileSel, ContextPopup::FileAll);
    case FramePane::CloneList:
        return ChooseListPopup(r, ContextPopup::CloneSel, ContextPopup::CloneAll);
    case FramePane::OneList:
        if (r.rowCount <= 0)
            return {};
        if (keyboard)
            return r.selectedRow >= 0
                       ? PopupChoice{ContextPopup::OneListView, PopupPlace::RowCentre}
                       : PopupChoice{};
        return r.hitRow >= 0
                   ? PopupChoice{ContextPopup::OneListView, PopupPlace::MousePoint, r.hitRow}
                   : PopupChoice{};
    case FramePane::None:
        break;
    }
    return {};
}

FramePane PopupPane(ContextPopup popup) {
    switch (popup) {
    case ContextPopup::Directory:
        return FramePane::Tree;
    case ContextPopup::File:
    case ContextPopup::FileSel:
    case ContextPopup::FileAll:
        return FramePane::FileList;
    case ContextPopup::Clone:
    case ContextPopup::CloneSel:
    case ContextPopup::CloneAll:
        return FramePane::CloneList;
    case ContextPopup::OneListView:
        return FramePane::OneList;
    }
    return FramePane::None;
}

bool PopupItemEnabled(ContextPopup popup, int item, const PopupState& s) {
    if (!HasItem(popup, item))
        return false;
    const bool rows = s.rowCount > 0;
    const bool selected = s.selectedRow >= 0;
    const bool pasteItem = OneOf(item, {cmd::PasteName, cmd::ClonePasteNameGroup});
    switch (popup) {
    case ContextPopup::Directory:
        return selected;
    case ContextPopup::File:
        if (!rows)
            return false;
        return selected || !OneOf(item, {res::kOpenSubmenu, cmd::FileOnlyPreserve,
                                         cmd::FileOnlyDelete, cmd::Rename, cmd::FileRestoreName});
    case ContextPopup::Clone:
        if (!rows)
            return false;
        if (!selected && OneOf(item, {res::kOpenSubmenu, cmd::CloneOnlyPreserve,
                                      cmd::CloneOnlyDelete, cmd::Rename, cmd::CloneRestoreName,
                                      cmd::CopyName, cmd::PasteName, cmd::ClonePasteNameGroup}))
            return false;
        return !pasteItem || s.copiedCloneRow >= 0;
    case ContextPopup::CloneSel:
        return !pasteItem || s.copiedCloneRow >= 0;
    case ContextPopup::OneListView:
        if (!rows || !selected)
            return false;
        return item != cmd::PasteName || s.copiedOneListRow >= 0;
    case ContextPopup::FileSel:
    case ContextPopup::FileAll:
    case ContextPopup::CloneAll:
        break;
    }
    return true;
}

std::vector<PopupItemState> PopupItemStates(ContextPopup popup, const PopupState& state) {
    std::vector<PopupItemState> states;
    for (const res::PopupItem& i : res::PopupTableOf(popup).items)
        if (i.id != res::kSeparator)
            states.push_back({i.id, PopupItemEnabled(popup, i.id, state)});
    return states;
}

std::optional<PaneMenu> PaneMenuOf(FramePane pane) {
    switch (pane) {
    case FramePane::Tree:
        return PaneMenu{ContextPopup::Directory, "&Directory"};
    case FramePane::FileList:
        return PaneMenu{ContextPopup::File, "&File"};
    case FramePane::CloneList:
        return PaneMenu{ContextPopup::Clone, "&Clone"};
    case FramePane::OneList:
        return PaneMenu{ContextPopup::OneListView, "&ListView"};
    case FramePane::None:
        break;
    }
    return std::nullopt;
}

std::optional<PaneMenu> PaneMenuSwitch::FocusMovedTo(FramePane pane) {
    if (pane == FramePane::None || pane == shown_)
        return std::nullopt;
    shown_ = pane;
    return PaneMenuOf(pane);
}

} // namespace paradrex
