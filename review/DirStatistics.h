#pragma once
// How far the review of a directory and everything below it has got: files
// and bytes per state, group blocks and subdirectories, counted afresh from
// the states whenever asked.

#include "engine/SearchModel.h"

#include <cstdint>

namespace paradrex {

struct DirStatistics {
    uint64_t preservedCount = 0;
    uint64_t deletedCount = 0;
    uint64_t unsettledCount = 0;
    uint64_t preservedSize = 0; // bytes
    uint64_t deletedSize = 0;
    uint64_t unsettledSize = 0;
    // CloneRefs plus RunRefs of every directory counted: the group blocks
    // their file lists show.
    uint64_t groupCount = 0;
    // Directories below the starting one (not itself).
    uint64_t subdirectoryCount = 0;

    uint64_t totalCount() const { return preservedCount + deletedCount + unsettledCount; }
    uint64_t totalSize() const { return preservedSize + deletedSize + unsettledSize; }
    bool operator==(const DirStatistics&) const = default;

    // Counts `dir` and its whole subtree: for each directory the file at the
    // ref's position in every group of each CloneRef and the files of each
    // RunRef. Walks without recursion. Given the tree's root, the whole
    // result (the roots count as subdirectories).
    static DirStatistics Count(const ResultDir& dir);

    // Adds one file to the count and size of its state.
    void Add(const FileRecord& file);
};

} // namespace paradrex
