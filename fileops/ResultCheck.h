#pragma once
// Checking a result against the disk, for a result read back from a file
// (the files may have changed in between) or any time later:
//   - CheckAgainstDisk looks at every file (lstat: device, inode, size,
//     modification time to the nanosecond; a symbolic link in its place
//     fails) without reading it;
//   - Reverify compares the files of every group byte for byte again, with
//     the search's own comparer.
// A file that fails leaves its group. A group that lost files leaves its
// clone set or the run group list, and what is left of it (two files or
// more) is stored again by the rule the search stores groups by (StoreGroup:
// a run group, or the clone set of its new directory signature, at the end);
// a group left with fewer than two files leaves the result. Empty clone sets
// go and the result tree is built again (no tree when no group is left).
// Marks stay, with one exception: when the files a group kept (those not
// marked cross) are all gone, the files of it still marked cross go back to
// Unsettled, because they were marked so only as long as another copy was
// kept. Every group that did not change keeps its place and its marks.

#include "engine/ErrorSink.h"
#include "platform/ErrorRecord.h"

#include <cstddef>
#include <string>
#include <vector>

namespace paradrex {

class SearchState;

enum class DropReason {
    Vanished,       // no file of that name any more
    Unreachable,    // the name could not be looked at (permissions, I/O)
    NotRegular,     // a symbolic link, directory or special file now
    Replaced,       // another file (device or inode) under that name
    Modified,       // another size or modification time
    ContentDiffers, // re-verify: no longer equal to another file of its group
};

struct DroppedFile {
    std::string path;
    DropReason reason;
    int error = 0; // the errno of Vanished and Unreachable
};

// What a check took out of a result.
struct DropReport {
    std::vector<DroppedFile> files; // in result order
    size_t groupsRemoved = 0;       // left with fewer than two files
    size_t groupsReshaped = 0;      // kept with fewer files, or split, and stored again
    size_t marksTakenBack = 0;      // files set back from marked cross to Unsettled
    // Re-verify only: what the comparer could not open or read (its own lines).
    std::vector<_Error_record> readErrors;
    bool stopped = false; // Reverify: a stop came before every group was compared

    bool empty() const { return files.empty() && groupsRemoved == 0 && marksTakenBack == 0; }
    size_t Count(DropReason reason) const;

    // The text of one message box, "" when nothing was dropped: how many files
    // were taken out and why, how many groups went, which marks were taken
    // back.
    std::string Summary() const;
    // One error-log line per file taken out ("<path> vanished since the
    // result was saved", with the errno as the code where there is one),
    // then the comparer's own lines.
    std::vector<_Error_record> ErrorRecords() const;
};

// Looks at every file of the result and takes out those that changed.
DropReport CheckAgainstDisk(SearchState& state);

// Compares the files of every group again and takes out those that no longer
// equal another file of their group; a group whose files now differ among
// themselves is split as the search splits a candidate set. Reads every
// file; honours the state's pause and stop flags between reads (a stop
// keeps the groups not yet compared as they were and sets `stopped`).
DropReport Reverify(SearchState& state);

} // namespace paradrex
