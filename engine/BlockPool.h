#pragma once
// Bump allocator for small records that are never freed one by one: the name
// pool and the record pool of a search. Blocks hold 65,520 bytes of payload;
// requests are rounded up to a multiple of 4 bytes. A reset frees every block
// and leaves the used count at 65,520, so the next request opens a fresh block.
//
// Blocks are carved, in order, from one address range reserved per pool and
// aligned to 4 GiB, so the low four bytes of a record's address are its offset
// in the pool. Orders that compare record addresses byte by byte (the clone
// set map) are therefore the same in every run of the same search.

#include <cstddef>
#include <cstdint>

namespace paradrex {

class BlockPool {
public:
    static constexpr size_t kPayload = 65520;

    BlockPool();
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // Returns n bytes (n <= kPayload), valid until the next Reset().
    void* Allocate(size_t n);
    void Reset();
    // Exchanges the blocks of two pools; every address stays valid and now
    // belongs to the other pool.
    void swap(BlockPool& other) noexcept;

    size_t blockCount() const { return blockCount_; }
    size_t used() const { return used_; }

private:
    struct Block;
    Block* NewBlock();

    Block* newest_ = nullptr;
    size_t used_ = kPayload;
    size_t blockCount_ = 0;
    // The reserved range blocks are carved from; null when it could not be
    // reserved (blocks then come from the heap).
    char* arena_ = nullptr;
    size_t arenaBlocks_ = 0;
    size_t arenaCommitted_ = 0;
};

} // namespace paradrex
