#pragma once
// The directory scan: walks every root depth first, builds the DirNode tree
// with one FileEntry per accepted file (its name kept in the name pool),
// counts directories, files and bytes, and fills the SizeMap in post-order.

namespace paradrex {

class SearchState;

void ScanAllRoots(SearchState& state);

} // namespace paradrex
