#include "review/Browser.h"

#include "engine/ResultGroups.h"
#include "engine/SearchState.h"

namespace paradrex {

void Browser::SetResult(SearchState* state) {
    state_ = state;
    root_ = state ? state->resultRoot.get() : nullptr;
    if (!root_)
        state_ = nullptr;
    selectedDir_ = nullptr;
    fileRows_.clear();
    fileRows_.shrink_to_fit();
    selectedRow_.reset();
    cloneGroup_ = nullptr;
    oneRows_.clear();
    oneRows_.shrink_to_fit();
    oneListFilled_ = false;
}

void Browser::SelectDirectory(ResultDir* dir) {
    selectedDir_ = root_ ? dir : nullptr;
    fileRows_.clear();
    if (selectedDir_)
        fileRows_ = BuildFileListRows(*selectedDir_, colours_);
    SelectRow(std::nullopt);
}

void Browser::RefillFileList() {
    std::optional<size_t> row = selectedRow_;
    SelectDirectory(selectedDir_);
    SelectRow(row);
}

void Browser::SelectRow(std::optional<size_t> row) {
    if (row && *row < fileRows_.size()) {
        selectedRow_ = row;
        cloneGroup_ = &GroupOf(fileRows_[*row]);
    } else {
        selectedRow_.reset();
        cloneGroup_ = nullptr;
    }
}

std::span<FileRecord* const> Browser::cloneRows() const {
    if (!cloneGroup_)
        return {};
    return {cloneGroup_->data(), cloneGroup_->size()};
}

bool Browser::FillOneList() {
    if (oneListFilled_ || !state_)
        return false;
    oneRows_ = BuildOneListRows(ResultGroups(*state_), colours_);
    oneListFilled_ = true;
    return true;
}

} // namespace paradrex
