#pragma once
// The directory scan: walks every root depth first, builds the DirNode tree
// with one FileEntry per accepted file (its name kept in the name pool),
// counts directories, files and bytes, and fills the SizeMap in post-order.
//
// One thread (the caller) builds the tree in depth-first order; reader
// threads list the directories it will reach next (open, list, stat every
// entry, apply the filters) so the system calls of several directories run
// at once. Everything that depends on order (identity of directories and
// hard-linked files met before, records, counters) is decided by the caller
// in the order of a one-thread scan, so the result does not depend on the
// number of readers.

namespace paradrex {

class SearchState;

void ScanAllRoots(SearchState& state, unsigned readers = 0);

} // namespace paradrex
