#pragma once
// The state behind the result panes, without widgets: the result shown, the
// selected directory with its file-list rows, the selected row with its
// clone rows, and the one list. The panes mirror it; review commands read it.

#include "review/BrowserRows.h"

#include <optional>
#include <span>
#include <vector>

namespace paradrex {

class SearchState;

class Browser {
public:
    // Shows the result of `state` (null: none). Every list is emptied and
    // nothing is selected.
    void SetResult(SearchState* state);
    void Clear() { SetResult(nullptr); }
    bool hasResult() const { return root_ != nullptr; }
    ResultDir* root() const { return root_; }

    // The row colours; they take effect when a list is filled next.
    void SetColours(const RowColours& colours) { colours_ = colours; }
    const RowColours& colours() const { return colours_; }

    // Fills the file list for `dir` (null: none) and empties the clone list.
    void SelectDirectory(ResultDir* dir);
    // Fills the file list of the selected directory again with the current
    // colours and selects the row that was selected (if it still exists).
    void RefillFileList();
    ResultDir* selectedDirectory() const { return selectedDir_; }
    const std::vector<FileListRow>& fileRows() const { return fileRows_; }

    // Selects a file-list row and fills the clone list with its group; no
    // row (or one out of range) empties the clone list.
    void SelectRow(std::optional<size_t> row);
    std::optional<size_t> selectedRow() const { return selectedRow_; }
    std::span<FileRecord* const> cloneRows() const;

    // Fills the one list unless it already holds this result; answers
    // whether it filled.
    bool FillOneList();
    bool oneListFilled() const { return oneListFilled_; }
    const std::vector<OneListRow>& oneRows() const { return oneRows_; }

private:
    SearchState* state_ = nullptr;
    ResultDir* root_ = nullptr;
    RowColours colours_;
    ResultDir* selectedDir_ = nullptr;
    std::vector<FileListRow> fileRows_;
    std::optional<size_t> selectedRow_;
    const DuplicateGroup* cloneGroup_ = nullptr;
    std::vector<OneListRow> oneRows_;
    bool oneListFilled_ = false;
};

} // namespace paradrex
