#pragma once
// Storing duplicate groups (as run groups or in the clone set of their
// directory signature), building the result directory tree, and applying the
// default Preserve and Delete directories.

#include "engine/SearchModel.h"

#include <string>
#include <vector>

namespace paradrex {

class SearchState;

// A group goes to the run group list when it has at least four files and at
// least four consecutive ones lie in one directory; otherwise it joins the
// clone set of its directory signature.
void StoreGroup(SearchState& state, DuplicateGroup group);

// Builds the ResultDir tree from the clone sets (in map order, each position)
// and the run groups (in list order, each run).
void BuildResultTree(SearchState& state);

// Sets every file under each listed directory (found in the result tree) to
// `value`; paths not in the tree are ignored.
void ApplyDefaultDirectories(SearchState& state, const std::vector<std::string>& dirs,
                             FileState value);

} // namespace paradrex
