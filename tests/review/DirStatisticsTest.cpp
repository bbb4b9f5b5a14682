#include "review/DirStatistics.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "review/ResultTreeOrder.h"

#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

constexpr uint64_t kBig = 0xFFFFFFFFu; // the largest 32-bit size

// /s
//   l    two groups with /o (files of kBig bytes), and a run of four 7-byte files
//   k    one group at two positions of k, the third file in k1 (100 bytes each)
//     k1
// /o     the other copies of l's groups
class DirStatisticsCount : public test::HandBuiltResult {
protected:
    DirStatisticsCount() {
        s = Dir(nullptr, "/s");
        l = Dir(s, "l");
        k = Dir(s, "k");
        k1 = Dir(k, "k1");
        o = Dir(nullptr, "/o");
        la = Sized(l, "a", kBig);
        oa = Sized(o, "a", kBig);
        StoreGroup(state, {la, oa});
        StoreGroup(state, {Sized(l, "b", kBig), Sized(o, "b", kBig)});
        kc1 = Sized(k, "c1", 100);
        StoreGroup(state, {kc1, Sized(k, "c2", 100), Sized(k1, "c", 100)});
        StoreGroup(state,
                   {Sized(l, "r1", 7), Sized(l, "r2", 7), Sized(l, "r3", 7), Sized(l, "r4", 7)});
        BuildResultTree(state);
    }
    FileRecord* Sized(const NameRecord* dir, const char* name, uint64_t size) {
        return FileRecord::Create(state.recordPool, dir, name, size, 0);
    }
    const ResultDir& DirOf(const NameRecord* name) {
        return name ? *ResultDirOf(state.resultRoot.get(), name) : *state.resultRoot;
    }

    const NameRecord *s, *l, *k, *k1, *o;
    FileRecord *la, *oa, *kc1;
};

TEST_F(DirStatisticsCount, CountsFilesBytesBlocksAndSubdirectoriesOfTheSubtree) {
    la->state = FileState::Preserved;
    oa->state = FileState::Deleted;
    kc1->state = FileState::Deleted;
    struct Case {
        const char* name;
        const NameRecord* dir; // null: the whole result
        DirStatistics expected;
    } cases[] = {
        // preserved, deleted, unsettled counts; their sizes; groups; subdirectories
        // A leaf has no subdirectories; sizes add up beyond 32 bits.
        {"leaf", l, {1, 0, 5, kBig, 0, kBig + 28, 2, 0}},
        // Two positions of one clone set in k are two blocks.
        {"two positions", k, {0, 1, 2, 0, 100, 200, 3, 1}},
        {"root path", s, {1, 1, 7, kBig, 100, kBig + 228, 5, 3}},
        {"whole result", nullptr, {1, 2, 8, kBig, kBig + 100, 2 * kBig + 228, 6, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DirStatistics got = DirStatistics::Count(DirOf(c.dir));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(got.totalCount(),
                  c.expected.preservedCount + c.expected.deletedCount + c.expected.unsettledCount);
    }
    const DirStatistics all = DirStatistics::Count(*state.resultRoot);
    EXPECT_EQ(all.totalSize(), 4 * kBig + 328);
    EXPECT_GT(all.totalSize(), uint64_t{1} << 33);
}

TEST_F(DirStatisticsCount, UndecidedFilesAreAllUnsettled) {
    const DirStatistics got = DirStatistics::Count(DirOf(s));
    EXPECT_EQ(got.preservedCount, 0u);
    EXPECT_EQ(got.deletedCount, 0u);
    EXPECT_EQ(got.unsettledCount, got.totalCount());
    EXPECT_EQ(got.unsettledSize, got.totalSize());
}

TEST_F(DirStatisticsCount, ADeepChainIsCountedWithoutRecursion) {
    const NameRecord* d = Dir(nullptr, "/deep");
    const NameRecord* top = d;
    for (int i = 0; i < 20000; ++i)
        d = Dir(d, "d");
    StoreGroup(state, {File(top, "x"), File(d, "x")});
    state.resultRoot.reset();
    BuildResultTree(state);
    const DirStatistics got = DirStatistics::Count(DirOf(top));
    EXPECT_EQ(got.subdirectoryCount, 20000u);
    EXPECT_EQ(got.groupCount, 2u);
    EXPECT_EQ(got.unsettledCount, 2u);
}

} // namespace
} // namespace paradrex
