#pragma once
// The single renames of the result lists, run at once on the UI thread:
// the end of an in-place edit (F2), Restore Origin Name, Paste Name and
// Paste Name (Group). Each renames files on disk (FileRename.h: one path
// component, still the file the search found, never over an existing file),
// points the records' names at their new text, and answers the window what
// to show: the status-bar message and the rows whose Name column changed.
//
// Names: a file has its origin name when its name points at its own inline
// origin name (HasOriginName); new names live in the record pool, are never
// changed in place, and several files may share one. Names are bytes; a
// typed name arrives as the bytes the window encodes it to (the way the lists
// decode names), so a name that is not UTF-8 keeps its bytes.
//
// Rows are the lists' row indexes as the window holds them (-1: none); a row
// out of range does nothing. The rows answered are those of the browser's
// lists as they are now: the window repaints them (no list is refilled).

#include "engine/SearchModel.h"
#include "fileops/FileOutcome.h"
#include "review/Browser.h"
#include "review/ListKind.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

class BlockPool;

// Rows [first, first + count) of a list; count 0: none.
struct RowRange {
    size_t first = 0;
    size_t count = 0;
    bool empty() const { return count == 0; }
    bool operator==(const RowRange&) const = default;
};

struct NameCommandAnswer {
    // Some file took a new name. After an in-place edit: accept the edit
    // (the row shows the record's new name); false: reject it, the row keeps
    // its name.
    bool renamed = false;
    // The status-bar message to show (path bytes: decode for display); empty
    // when the status bar stays as it is.
    std::string statusMessage;
    // Every rename tried, in order.
    std::vector<FileOutcome> outcomes;
    // The rows whose Name column shows a new name now.
    RowRange fileRows;
    RowRange cloneRows;
    RowRange oneRows;
};

// The end of an in-place edit of `row` in `list` (F2) with the typed name
// (committed, not cancelled; an empty name is refused). A name equal to the
// current one rejects the edit and does nothing else; one that is not one
// path component, or a rename that fails, rejects it with the message
// "Rename Error: " + old full path + " -> " + typed name. On success the
// name points at the file's origin name when the typed name reads like it
// (the file has its origin name again), else at a copy in `recordPool`; the
// rows answered are the edited row and the same file's row in the other
// list: after an edit in the file list the clone list's row, after one in
// the clone list the file list's row if it shows the file; the one list
// updates nothing else.
NameCommandAnswer RenameRow(const Browser& browser, ListKind list, int row, std::string_view typed,
                            BlockPool& recordPool);

// Restore Origin Name on `row` of `list` (32904 file list, 32914 clone
// list, 32951 one list). A file with its origin name is left alone (nothing
// answered). Otherwise it is renamed to its origin name, and the message
// old full path + " -> " + origin name (+ " ......Failed" on failure) is
// answered either way; on success the rows as for RenameRow. A file whose
// new name reads like its origin name (a copy made by Rename Base on This
// Directory) is already where it should be: it succeeds without a system
// call and has its origin name again.
NameCommandAnswer RestoreRow(const Browser& browser, ListKind list, int row);

// Paste Name (Ctrl+V) in the clone list or the one list: the name of the
// file of `copiedRow` (Copy Name's row) onto the file of `selectedRow`.
// Nothing when the rows are the same, either is out of range, or the file
// has that name already. On success the file's name points at its own
// origin name when the pasted name reads like it, else at the copied file's
// name text (shared, not copied); answered: the selected row, and in the
// clone list the file list's row of the file, if shown. Failure: "Rename
// Error: " + old full path + " -> " + pasted name.
NameCommandAnswer PasteName(const Browser& browser, ListKind list, int selectedRow, int copiedRow);

// Paste Name (Group) (32917): for every group of the clone set of the file
// list's selected row, the name of its file at clone position `copiedRow`
// onto its file at `selectedRow`, as Paste Name does for one file. Nothing
// when the rows are the same or out of range, or the file list's selected
// row is a run row (or none). A failure goes on with the next group; the
// message answered is the last failure's ("Rename Error: " ...). Answered:
// the selected clone row and, when the file list shows its file, that row's
// whole group block.
NameCommandAnswer PasteNameGroup(const Browser& browser, int selectedRow, int copiedRow);

} // namespace paradrex
