#include "uimodel/FrameCommands.h"

#include "review/GroupSetSwitch.h"

#include <algorithm>
#include <iterator>

namespace paradrex {

namespace {

template <size_t N> bool Contains(const int (&ids)[N], int id) {
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

} // namespace

bool FrameCommands::NeedsResult(int id) {
    return Contains(kResultCommands, id);
}

bool FrameCommands::IsNavigation(int id) {
    return Contains(kNavigationCommands, id);
}

bool FrameCommands::IsCheckable(int id) {
    switch (id) {
    case cmd::GroupSet:
    case cmd::ViewToolbar:
    case cmd::ViewStatusBar:
    case cmd::TreeListView:
    case cmd::OneListView:
    case cmd::Grid:
        return true;
    default:
        return false;
    }
}

FrameCommands::FrameCommands(bool grid) : grid_(grid) {}

void FrameCommands::SetHandled(int id, bool handled) {
    if (handled)
        handled_.insert(id);
    else
        handled_.erase(id);
}

bool FrameCommands::Handled(int id) const {
    for (const FocusRoute& r : kFocusRoutes)
        if (r.command == id)
            return Handled(r.tree) || Handled(r.fileList) || Handled(r.cloneList);
    return id != 0 && handled_.contains(id);
}

bool FrameCommands::Enabled(int id) const {
    if (!Handled(id))
        return false;
    if (IsNavigation(id))
        return navigationEnabled_;
    if (NeedsResult(id))
        return resultEnabled_;
    if (id == cmd::OpenLastResult)
        return lastResultKept_;
    return true;
}

bool FrameCommands::Checked(int id) const {
    switch (id) {
    case cmd::GroupSet:
        return GroupSetSwitch::Instance().on();
    case cmd::ViewToolbar:
        return toolbar_;
    case cmd::ViewStatusBar:
        return statusBar_;
    case cmd::TreeListView:
        return layout_ == FrameLayout::TreeAndList;
    case cmd::OneListView:
        return layout_ == FrameLayout::OneList;
    case cmd::Grid:
        return grid_;
    default:
        return false;
    }
}

void FrameCommands::SearchEnded(bool foundDuplicates) {
    resultEnabled_ = foundDuplicates;
    // A search always ends in the tree layout, where navigation is allowed.
    navigationEnabled_ = foundDuplicates && layout_ == FrameLayout::TreeAndList;
}

bool FrameCommands::ShowTreeAndList(bool treeHasNodes) {
    if (layout_ == FrameLayout::TreeAndList)
        return false;
    layout_ = FrameLayout::TreeAndList;
    if (treeHasNodes)
        navigationEnabled_ = true;
    return true;
}

bool FrameCommands::ShowOneList() {
    if (layout_ == FrameLayout::OneList)
        return false;
    layout_ = FrameLayout::OneList;
    navigationEnabled_ = false;
    return true;
}

bool FrameCommands::ToggleGrid(bool fileListShowsGrid) {
    grid_ = !fileListShowsGrid;
    return grid_;
}

bool IsFocusDependent(int command) {
    return std::any_of(std::begin(kFocusRoutes), std::end(kFocusRoutes),
                       [command](const FocusRoute& r) { return r.command == command; });
}

int FocusTarget(int command, FramePane focused) {
    for (const FocusRoute& r : kFocusRoutes) {
        if (r.command != command)
            continue;
        switch (focused) {
        case FramePane::Tree:
            return r.tree;
        case FramePane::FileList:
            return r.fileList;
        case FramePane::CloneList:
            return r.cloneList;
        case FramePane::None:
        case FramePane::OneList:
            return 0;
        }
    }
    return command;
}

DirectoryScope OnlyFilesScope(FramePane focused) {
    switch (focused) {
    case FramePane::Tree:
        return DirectoryScope::Recursive;
    case FramePane::FileList:
        return DirectoryScope::ThisDirectory;
    case FramePane::CloneList:
    case FramePane::OneList:
    case FramePane::None:
        break;
    }
    return DirectoryScope::None;
}

std::optional<ListKind> ListOfPane(FramePane pane) {
    switch (pane) {
    case FramePane::FileList:
        return ListKind::FileList;
    case FramePane::CloneList:
        return ListKind::CloneList;
    case FramePane::OneList:
        return ListKind::OneList;
    case FramePane::Tree:
    case FramePane::None:
        break;
    }
    return std::nullopt;
}

std::optional<ListKind> NameCommandList(int command, FramePane focused) {
    const std::optional<ListKind> list = ListOfPane(focused);
    switch (command) {
    case cmd::Rename:
        return list;
    case cmd::CopyName:
    case cmd::PasteName:
        if (list == ListKind::FileList)
            return std::nullopt;
        return list;
    case cmd::FileRestoreName:
        return ListKind::FileList;
    case cmd::CloneRestoreName:
    case cmd::ClonePasteNameGroup:
        return ListKind::CloneList;
    case cmd::OneListRestoreName:
        return ListKind::OneList;
    default:
        return std::nullopt;
    }
}

FramePane NextPane(FramePane from, bool forward) {
    switch (from) {
    case FramePane::Tree:
        return forward ? FramePane::FileList : FramePane::CloneList;
    case FramePane::FileList:
        return forward ? FramePane::CloneList : FramePane::Tree;
    case FramePane::CloneList:
        return forward ? FramePane::Tree : FramePane::FileList;
    case FramePane::OneList:
        return FramePane::OneList;
    case FramePane::None:
        break;
    }
    return FramePane::None;
}

MenuStyle MenuStyleOf(int menuStyle) {
    return menuStyle == 1 ? MenuStyle::OfficeXP : MenuStyle::WindowsDefault;
}

} // namespace paradrex
