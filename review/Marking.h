#pragma once
// The marking commands of the review, without widgets: they write the review
// states of files of the result and answer what the window must repaint or
// select. They read the browser's selection (directory, file-list rows,
// selected row, clone rows) and never change the browser: its rows stay
// valid, only the files' states change.
//
// Directory-level marking (SetDirectoryFiles, OnlyDirectoryFiles) always
// answers a refill; file- and clone-level marking answers the rows whose
// state icons changed, and the selection and scroll position stay.
//
// Group Set: where a command takes `groupSet`, the default is the
// process-wide switch at the time of the call; tests pass it explicitly.
// While it is on and the file list's selected row (for the clone-list
// commands) or the marked row (for the file-list commands) is a clone-set
// row, marking the file at position p marks the file at p in every group of
// the clone set. A run row is always marked alone.

#include "review/Browser.h"
#include "review/GroupSetSwitch.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace paradrex {

// Rows [first, first + count) of a list.
struct RowSpan {
    size_t first = 0;
    size_t count = 0;
    bool operator==(const RowSpan&) const = default;
};

// What the window does after a marking.
struct MarkingUpdate {
    // Fill the file list again from the selected directory
    // (Browser::SelectDirectory, which empties the clone list); then, when
    // selectFileRow is set, select that row, make it the current row and
    // scroll it into view (which fills the clone list). The keyboard focus
    // stays where it is.
    bool refillFileList = false;
    std::optional<size_t> selectFileRow;
    // Repaint the state icons of these rows of the file list (ascending,
    // disjoint), of the clone list, and of the one list.
    std::vector<RowSpan> fileRows;
    std::optional<RowSpan> cloneRows;
    std::optional<size_t> oneRow;

    // Nothing was marked (no directory, row or clone row to act on).
    bool empty() const { return !refillFileList && fileRows.empty() && !cloneRows && !oneRow; }
    bool operator==(const MarkingUpdate&) const = default;
};

// The state after `state` when its icon is clicked: Unsettled, Preserved,
// Deleted, Unsettled again.
FileState NextState(FileState state);
// Preserved for Deleted and the other way round; Unsettled stays.
FileState OppositeState(FileState state);

// "Set All Files to ...": every file of the selected directory (the file at
// the ref's position in every group of each CloneRef, the files of each
// RunRef) and, when `recursive`, of every directory below it gets `value`.
MarkingUpdate SetDirectoryFiles(const Browser& browser, FileState value, bool recursive);

// "Only Preserve / Only Delete Files in This Directory" (`value` Preserved or
// Deleted): for each directory, below ones first when `recursive`, in
// child-map order: every file of a CloneRef block gets `value` and every
// other file of its group that is still Unsettled gets the opposite value;
// decided files elsewhere keep their decision. A RunRef's files get `value`
// and the rest of the run group is left alone.
MarkingUpdate OnlyDirectoryFiles(const Browser& browser, FileState value, bool recursive);

// "Only Preserve / Only Delete Selected File" from the file list: the
// selected row's file gets `value`, every other file of its group the
// opposite, overwriting earlier decisions (with Group Set, in every group of
// the clone set). Nothing without a selected row.
MarkingUpdate OnlySelectedFile(const Browser& browser, FileState value,
                               bool groupSet = GroupSetSwitch::Instance().on());
// The same from the clone list, for clone row `cloneRow`.
MarkingUpdate OnlyCloneRow(const Browser& browser, size_t cloneRow, FileState value,
                           bool groupSet = GroupSetSwitch::Instance().on());
// "Set All Files to ..." from the clone list: every clone row gets `value`
// (with Group Set, every group of the clone set).
MarkingUpdate SetAllClones(const Browser& browser, FileState value,
                           bool groupSet = GroupSetSwitch::Instance().on());

// One file from the clone list: clone row `cloneRow` gets `value` (with
// Group Set, the file at that position in every group of the clone set).
MarkingUpdate MarkCloneRow(const Browser& browser, size_t cloneRow, FileState value,
                           bool groupSet = GroupSetSwitch::Instance().on());
// One file from the file list: row `row` gets `value` (with Group Set, the
// whole group block of a clone-set row).
MarkingUpdate MarkFileRow(const Browser& browser, size_t row, FileState value,
                          bool groupSet = GroupSetSwitch::Instance().on());

// A click on a state icon, or Space, advances the row's file to
// NextState(its state): in the file list as MarkFileRow, in the clone list as
// MarkCloneRow, in the one list the one file alone (no Group Set there). A
// click selects the row first; a double click advances twice.
MarkingUpdate AdvanceFileRow(const Browser& browser, size_t row,
                             bool groupSet = GroupSetSwitch::Instance().on());
MarkingUpdate AdvanceCloneRow(const Browser& browser, size_t cloneRow,
                              bool groupSet = GroupSetSwitch::Instance().on());
MarkingUpdate AdvanceOneRow(const Browser& browser, size_t oneRow);

} // namespace paradrex
