#include "engine/BlockPool.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace paradrex {

namespace {
constexpr size_t kStride = 65536;              // payload + link, page aligned
constexpr size_t kArenaSize = size_t{1} << 32; // 65,536 blocks, 4 GiB of addresses
} // namespace

struct BlockPool::Block {
    char payload[kPayload];
    Block* previous;
};

BlockPool::BlockPool() {
    // Reserve twice the size so that an aligned range fits; nothing is
    // committed until a block is used.
    void* p = ::mmap(nullptr, 2 * kArenaSize, PROT_NONE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        return;
    auto base = reinterpret_cast<uintptr_t>(p);
    uintptr_t aligned = (base + kArenaSize - 1) & ~(uintptr_t{kArenaSize} - 1);
    if (aligned > base)
        ::munmap(p, aligned - base);
    uintptr_t end = base + 2 * kArenaSize;
    if (end > aligned + kArenaSize)
        ::munmap(reinterpret_cast<void*>(aligned + kArenaSize), end - (aligned + kArenaSize));
    arena_ = reinterpret_cast<char*>(aligned);
}

BlockPool::~BlockPool() {
    Reset();
    if (arena_)
        ::munmap(arena_, kArenaSize);
}

BlockPool::Block* BlockPool::NewBlock() {
    static_assert(sizeof(Block) <= kStride);
    if (arena_ && arenaBlocks_ < kArenaSize / kStride) {
        char* at = arena_ + arenaBlocks_ * kStride;
        bool usable =
            arenaBlocks_ < arenaCommitted_ || ::mprotect(at, kStride, PROT_READ | PROT_WRITE) == 0;
        if (usable) {
            if (arenaBlocks_ >= arenaCommitted_)
                ++arenaCommitted_;
            ++arenaBlocks_;
            return reinterpret_cast<Block*>(at);
        }
    }
    void* p = std::malloc(sizeof(Block));
    if (!p)
        throw std::bad_alloc();
    return static_cast<Block*>(p);
}

void* BlockPool::Allocate(size_t n) {
    n = (n + 3) & ~size_t{3};
    if (n > kPayload)
        throw std::bad_alloc();
    if (used_ + n > kPayload) {
        Block* b = NewBlock();
        b->previous = newest_;
        newest_ = b;
        ++blockCount_;
        used_ = 0;
    }
    void* p = newest_->payload + used_;
    used_ += n;
    return p;
}

void BlockPool::swap(BlockPool& other) noexcept {
    std::swap(newest_, other.newest_);
    std::swap(used_, other.used_);
    std::swap(blockCount_, other.blockCount_);
    std::swap(arena_, other.arena_);
    std::swap(arenaBlocks_, other.arenaBlocks_);
    std::swap(arenaCommitted_, other.arenaCommitted_);
}

void BlockPool::Reset() {
    char* arenaEnd = arena_ ? arena_ + kArenaSize : nullptr;
    while (newest_) {
        Block* prev = newest_->previous;
        char* at = reinterpret_cast<char*>(newest_);
        if (!(arena_ && at >= arena_ && at < arenaEnd))
            std::free(newest_);
        newest_ = prev;
    }
    if (arena_ && arenaCommitted_ > 0) {
        // Give the memory back but keep the range committed for the next search.
        ::madvise(arena_, arenaCommitted_ * kStride, MADV_DONTNEED);
    }
    arenaBlocks_ = 0;
    blockCount_ = 0;
    used_ = kPayload;
}

} // namespace paradrex
