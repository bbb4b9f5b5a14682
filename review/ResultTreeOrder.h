#pragma once
// Walking the result directory tree in the order the folder tree shows it:
// pre-order, children in child-map order. Iterative, so deep trees are safe.

#include "engine/SearchModel.h"

namespace paradrex {

// A directory holds duplicates when it has a CloneRef or a RunRef; one that
// only leads to deeper directories does not.
bool HoldsDuplicates(const ResultDir& dir);

// The directory after `dir` in pre-order: its first child, else its next
// sibling, else the next sibling of the nearest ancestor that has one; null
// at the end. Given the tree's root (which is not shown), the first root.
ResultDir* NextInTreeOrder(const ResultDir* dir);

// The first directory in tree order that holds duplicates, or null.
ResultDir* FirstDirectoryWithDuplicates(const ResultDir* root);

// The ResultDir of a directory name record, found through the child maps
// (which are keyed by the records), or null.
ResultDir* ResultDirOf(ResultDir* root, const NameRecord* dir);

} // namespace paradrex
