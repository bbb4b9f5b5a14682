#pragma once
// Walking the result directory tree in the order the folder tree shows it:
// pre-order, children in child-map order. Iterative, so deep trees are safe.

#include "engine/SearchModel.h"

#include <utility>
#include <vector>

namespace paradrex {

// A directory holds duplicates when it has a CloneRef or a RunRef; one that
// only leads to deeper directories does not.
bool HoldsDuplicates(const ResultDir& dir);

// The directory after `dir` in pre-order: its first child, else its next
// sibling, else the next sibling of the nearest ancestor that has one; null
// at the end. Given the tree's root (which is not shown), the first root.
ResultDir* NextInTreeOrder(const ResultDir* dir);

// The directory before `dir` in pre-order: the last directory of its previous
// sibling's subtree, else its parent; null before the first root (the tree's
// root is not shown).
ResultDir* PreviousInTreeOrder(const ResultDir* dir);

// The last directory in pre-order below the tree's root: the last root, then
// repeatedly the last child; null for an empty tree.
ResultDir* LastInTreeOrder(const ResultDir* root);

// Calls fn(ResultDir&) for `dir` and, when `recursive`, for every directory
// below it first: depth first, children in child-map order, each subtree
// before its parent (post-order).
template <class Fn> void ForEachInPostOrder(ResultDir& dir, bool recursive, Fn&& fn) {
    if (!recursive) {
        fn(dir);
        return;
    }
    // An explicit stack with a "children done" mark per entry.
    std::vector<std::pair<ResultDir*, bool>> stack{{&dir, false}};
    while (!stack.empty()) {
        auto& [d, childrenDone] = stack.back();
        if (!childrenDone) {
            childrenDone = true;
            ResultDir* parent = d; // the push below may move the entry
            for (auto it = parent->children.rbegin(); it != parent->children.rend(); ++it)
                stack.push_back({it->second.get(), false});
            continue;
        }
        ResultDir* done = d;
        stack.pop_back();
        fn(*done);
    }
}

// The ResultDir of a directory name record, found through the child maps
// (which are keyed by the records), or null.
ResultDir* ResultDirOf(ResultDir* root, const NameRecord* dir);

} // namespace paradrex
