#pragma once
// The rows of the result lists, shared by the panes and the review commands:
// the file list of a result directory (group blocks), the clone list of a
// file-list row and the one list of the whole result.

#include "engine/ResultGroups.h"
#include "engine/SearchModel.h"
#include "review/Colour.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace paradrex {

// One row of the file list. A block is the rows that come from one CloneRef
// (one row per group of the clone set, the file at the ref's position) or
// from one RunRef (one row per file of the run).
struct FileListRow {
    Colour background;
    uint32_t block; // counts over the whole list: clone blocks, then run blocks
    uint32_t
        indexInBlock;   // CloneRef: index of the group in the clone set; RunRef: index in the run
    uint32_t position;  // CloneRef: the ref's position; RunRef: the index of the run
    CloneSet* set;      // CloneRef rows, else null
    RunGroup* runGroup; // RunRef rows, else null
    FileRecord* file;
    bool run; // the block comes from a RunRef
};

// One row of the one list.
struct OneListRow {
    Colour background;
    FileRecord* file;
};

// Rows of the file list of `dir`: one block per CloneRef in order, then one
// per RunRef. Clone blocks alternate textBk2/textBk1, run blocks
// textBlock/textBk1, each series starting with its own colour.
std::vector<FileListRow> BuildFileListRows(const ResultDir& dir, const RowColours& colours);
size_t FileListRowCount(const ResultDir& dir);

// The group a file-list row belongs to: for a CloneRef row the group of its
// clone set, for a RunRef row the whole group of the run group (files in
// other directories included). These are the clone-list rows of the row.
const DuplicateGroup& GroupOf(const FileListRow& row);
// The clone-list row that shows the file of a file-list row.
size_t CloneListRowOf(const FileListRow& row);
// The file-list row that shows `file`, if any.
std::optional<size_t> FileListRowOf(std::span<const FileListRow> rows, const FileRecord* file);

// Every grouped file, group by group in result order (ResultGroups). Groups
// count from 0 over the whole list and alternate textBk2/textBk1.
std::vector<OneListRow> BuildOneListRows(const ResultGroups& groups, const RowColours& colours);

} // namespace paradrex
