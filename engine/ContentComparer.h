#pragma once
// Exact content comparison of one candidate set. The files are read in
// lockstep, chunk by chunk, and split into classes as soon as their chunks
// differ; a file is no longer read once it matches no other file. Files of
// 5 MiB and more are first compared by 64 blocks of 512 bytes sampled over
// their whole length (a cheap filter) and then in full. Memory is the
// members of one class times one chunk; each file is read at most once (plus
// the sampled blocks). Groups come out in ascending order of content (the
// sampled key first for large files), each listing its files in set order.

#include "engine/ErrorSink.h"
#include "engine/SearchModel.h"

#include <span>
#include <string>
#include <vector>

namespace paradrex {

class SearchState;

class ContentComparer {
public:
    static constexpr uint64_t kSampledFrom = 5u * 1024 * 1024;
    static constexpr size_t kSampleBlocks = 64;
    static constexpr size_t kSampleBlockSize = 512;

    // Offset of sampled block k (0 to 63) of a file of `size` bytes (at
    // least one block): the blocks are spread evenly over the whole length,
    // the first at the start and the last ending at the end.
    static uint64_t SampleOffset(uint64_t size, size_t k);

    ContentComparer(SearchState& state, const ErrorSink& log, size_t memoryBudget = 8u << 20);
    ~ContentComparer();
    ContentComparer(const ContentComparer&) = delete;
    ContentComparer& operator=(const ContentComparer&) = delete;

    // Appends the groups of identical files among `records` (all of one
    // size) to `groups`.
    void Compare(std::span<FileRecord* const> records, std::vector<DuplicateGroup>& groups);

private:
    struct Member {
        FileRecord* record;
        int fd;
        bool opened; // the first open (with its checks) has been done
        bool dropped;
    };
    struct Pending;

    int OpenFile(const FileRecord& record);
    bool Read(Member& m, uint64_t offset, size_t len, bool sampled, unsigned char* out);
    bool FirstOpen(Member& m, bool sampled);
    void Close(Member& m);
    size_t ChunkFor(size_t members) const;

    SearchState& state_;
    const ErrorSink& log_;
    size_t budget_;
    uint64_t size_ = 0;
    bool keepOpen_ = true;
    std::vector<Member> members_;
    std::vector<unsigned char> buffer_;
    std::vector<std::pair<uint64_t, uint64_t>> identities_;
    std::vector<std::pair<const NameRecord*, int>> rootFds_; // kept open while comparing
    std::vector<const NameRecord*> chain_;
    std::string path_;
};

} // namespace paradrex
