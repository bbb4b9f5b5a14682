#include "engine/BlockPool.h"
#include "engine/SearchModel.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace paradrex {
namespace {

TEST(BlockPool, RoundsToFourBytesAndFillsBlocksOfPayloadSize) {
    BlockPool pool;
    auto* a = static_cast<char*>(pool.Allocate(1));
    auto* b = static_cast<char*>(pool.Allocate(5));
    auto* c = static_cast<char*>(pool.Allocate(4));
    EXPECT_EQ(b - a, 4);
    EXPECT_EQ(c - b, 8);
    EXPECT_EQ(pool.blockCount(), 1u);
    EXPECT_EQ(pool.used(), 16u);

    // Exactly filling the rest of the block stays in it; one more byte opens a new one.
    pool.Allocate(BlockPool::kPayload - 16);
    EXPECT_EQ(pool.blockCount(), 1u);
    auto* d = static_cast<char*>(pool.Allocate(1));
    EXPECT_EQ(pool.blockCount(), 2u);
    EXPECT_EQ(pool.used(), 4u);
    EXPECT_NE(d, nullptr);
}

TEST(BlockPool, ResetFreesBlocksAndNextRequestOpensFreshOne) {
    BlockPool pool;
    for (int i = 0; i < 40000; ++i)
        pool.Allocate(9);
    EXPECT_GT(pool.blockCount(), 1u);
    pool.Reset();
    EXPECT_EQ(pool.blockCount(), 0u);
    EXPECT_EQ(pool.used(), BlockPool::kPayload);
    auto* p = static_cast<unsigned char*>(pool.Allocate(8));
    EXPECT_EQ(pool.blockCount(), 1u);
    p[0] = 1; // writable after the reset
    EXPECT_THROW(pool.Allocate(BlockPool::kPayload + 1), std::bad_alloc);
}

TEST(BlockPool, AddressesAreTheSameInEveryPoolForTheSameRequests) {
    // The low four bytes of an address are its offset in the pool, so orders
    // that compare addresses byte by byte do not change from run to run.
    BlockPool p1, p2;
    for (int i = 0; i < 20000; ++i) {
        auto a = reinterpret_cast<uintptr_t>(p1.Allocate(static_cast<size_t>(i % 37 + 1)));
        auto b = reinterpret_cast<uintptr_t>(p2.Allocate(static_cast<size_t>(i % 37 + 1)));
        ASSERT_EQ(a & 0xFFFFFFFFu, b & 0xFFFFFFFFu);
    }
}

TEST(BlockPool, SwappedPoolsKeepTheirRecordsAndGoOnWhereTheOtherStopped) {
    BlockPool a, b;
    NameRecord* inA = NameRecord::Create(a, nullptr, "/kept in a");
    for (int i = 0; i < 3000; ++i) // a few blocks
        (void)b.Allocate(64);
    const size_t blocksOfB = b.blockCount();
    const size_t usedOfB = b.used();
    a.swap(b);
    EXPECT_EQ(a.blockCount(), blocksOfB);
    EXPECT_EQ(a.used(), usedOfB);
    EXPECT_EQ(b.blockCount(), 1u);
    EXPECT_EQ(inA->name(), "/kept in a"); // b holds it now
    // The next record of b follows the one it took over.
    auto* next = static_cast<char*>(b.Allocate(4));
    EXPECT_EQ(next, reinterpret_cast<char*>(inA) +
                        ((offsetof(NameRecord, text) + sizeof "/kept in a" + 3) & ~size_t{3}));
    a.Reset(); // frees what b had allocated, not a's old record
    EXPECT_EQ(inA->name(), "/kept in a");
}

TEST(NameRecord, HoldsNameAndParentAndFileRecordKeepsOriginName) {
    BlockPool names, records;
    NameRecord* root = NameRecord::Create(names, nullptr, "/data");
    NameRecord* sub = NameRecord::Create(names, root, "sub dir");
    EXPECT_EQ(sub->name(), "sub dir");
    EXPECT_EQ(sub->parent, root);
    EXPECT_EQ(DirectoryPath(sub), "/data/sub dir");

    FileRecord* f = FileRecord::Create(records, sub, "a.txt", 12, 1000);
    EXPECT_EQ(f->state, FileState::Unsettled);
    EXPECT_EQ(FilePath(*f), "/data/sub dir/a.txt");
    // Renaming points the name elsewhere; the origin name never changes.
    const char* renamed = "b.txt";
    f->name = renamed;
    EXPECT_EQ(FilePath(*f), "/data/sub dir/b.txt");
    EXPECT_STREQ(f->originName, "a.txt");
}

TEST(NameRecord, PathsBelowTheFileSystemRootHaveOneSlash) {
    BlockPool names, records;
    NameRecord* root = NameRecord::Create(names, nullptr, "/");
    NameRecord* etc = NameRecord::Create(names, root, "etc");
    EXPECT_EQ(DirectoryPath(root), "/");
    EXPECT_EQ(DirectoryPath(etc), "/etc");
    FileRecord* f = FileRecord::Create(records, root, "x", 1, 0);
    EXPECT_EQ(FilePath(*f), "/x");
}

} // namespace
} // namespace paradrex
