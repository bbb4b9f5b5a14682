#pragma once
// Moving through a result, without widgets: the next or previous directory
// with duplicates, the next or previous group block, and the searches for the
// next file that is undecided, whose whole group is kept or crossed, or whose
// group's names differ. Each reads the browser's selection (directory, rows,
// selected row) and answers the place to select; none changes anything or
// shows a message, so the delete command can reuse the searches.
//
// The window applies a place: when its directory is not the selected one it
// selects that tree item (which fills the file list), then it selects the row,
// makes it the current row and scrolls it into view. The keyboard focus stays
// where it is.

#include "review/Browser.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace paradrex {

// A directory that holds duplicates and a row of its file list.
struct ReviewPlace {
    ResultDir* dir = nullptr;
    size_t row = 0;
    bool operator==(const ReviewPlace&) const = default;
};

// The directories walk the folder tree's pre-order and wrap around at its
// ends, skipping directories without duplicates of their own. They start
// after (before) the selected directory, or, with none selected, at the first
// (last) directory. Next selects the first row, Previous the last one. When
// the selected directory is the only one with duplicates it is found again.
std::optional<ReviewPlace> NextDirectory(const Browser& browser);
std::optional<ReviewPlace> PreviousDirectory(const Browser& browser);

// The first row of the next group block of the file list (row 0 when no row
// is selected); after the last block, the first row of the next directory as
// NextDirectory finds it. With an empty file list the walk tests the selected
// directory itself first (with none selected, the first directory): this is
// the selection a new result starts with.
std::optional<ReviewPlace> NextGroup(const Browser& browser);
// The last row of the previous group block (the last row when no row is
// selected); before the first block, the last row of the previous directory.
// With an empty file list the walk tests the selected directory first (with
// none selected, the last directory).
std::optional<ReviewPlace> PreviousGroup(const Browser& browser);

// What the searches look for in a file-list row. A row's group is, for a
// clone-set row, its group of the clone set; for a run row the whole group of
// the run group, files in other directories included.
enum class FindWhat {
    Unsettled,    // the row's file is undecided
    AllPreserved, // every file of the row's group is Preserved
    AllDeleted,   // every file of the row's group is Deleted
    NamesDiffer,  // a clone-set row whose group's current names are not all
                  // equal, byte for byte (case counts); never a run row
};

// The next row that matches, from the row after the selected one (or the
// first row when none is selected) to the end of the file list, then the
// directories after the selected one to the end of the tree, then from the
// first directory up to the selected one, then the file list from its first
// row up to and including the selected one. Nothing when no row matches.
std::optional<ReviewPlace> FindNext(const Browser& browser, FindWhat what);

// The text the window shows, in a message box captioned kNavigationCaption
// with an information icon, when a command's search found nothing.
inline constexpr std::string_view kNavigationCaption = "Message";
std::string_view NothingFoundMessage(FindWhat what);

} // namespace paradrex
