#include "uimodel/FrameCommands.h"

#include "review/GroupSetSwitch.h"

#include <algorithm>

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

bool FrameCommands::Enabled(int id) const {
    if (IsNavigation(id))
        return navigationEnabled_;
    if (NeedsResult(id))
        return resultEnabled_;
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

int FocusTarget(int command, FramePane focused) {
    auto pick = [focused](int tree, int fileList, int cloneList) {
        switch (focused) {
        case FramePane::Tree:
            return tree;
        case FramePane::FileList:
            return fileList;
        case FramePane::CloneList:
            return cloneList;
        default:
            return 0;
        }
    };
    switch (command) {
    case cmd::FocusPreserve:
        return pick(0, cmd::FileOnlyPreserve, cmd::CloneOnlyPreserve);
    case cmd::FocusDelete:
        return pick(0, cmd::FileOnlyDelete, cmd::CloneOnlyDelete);
    case cmd::FocusStatistics:
        return pick(cmd::DirStatistics, 0, 0);
    case cmd::FocusSetAllPreserved:
        return pick(cmd::DirSetAllPreserved, cmd::FileSetAllPreserved, cmd::CloneSetAllPreserved);
    case cmd::FocusSetAllDeleted:
        return pick(cmd::DirSetAllDeleted, cmd::FileSetAllDeleted, cmd::CloneSetAllDeleted);
    case cmd::FocusSetAllUnsettled:
        return pick(cmd::DirSetAllUnsettled, cmd::FileSetAllUnsettled, cmd::CloneSetAllUnsettled);
    default:
        return command;
    }
}

} // namespace paradrex
