#include "support/EngineFixture.h"

#include "engine/ContentComparer.h"
#include "engine/PrefixPass.h"
#include "support/Privileges.h"

namespace paradrex::test {
namespace {

using CompareTest = EngineTest;

constexpr uint64_t kMiB = 1024 * 1024;

TEST(PrefixSum, AddsLittleEndianWordsWrapping) {
    const unsigned char four[] = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(PrefixSum(four), 0x04030201u);
    const unsigned char wrap[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 0x09};
    EXPECT_EQ(PrefixSum(wrap), 1u); // the ninth byte is not a whole word
}

TEST_F(CompareTest, EmptyFilesFormOneGroupOfSizeZero) {
    tree.createFile("a", "");
    tree.createFile("sub/b", "");
    tree.createFile("sub/c", "");
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"a", "sub/b", "sub/c"}}));
    EXPECT_EQ(state.counters.duplicateCount.load(), 3u);
    EXPECT_EQ(state.counters.duplicateSize.load(), 0u);
}

TEST_F(CompareTest, TinyAndShortFilesAreToldApartByContent) {
    tree.createFile("t1", "ab");
    tree.createFile("t2", "ab");
    tree.createFile("t3", "ac");
    // 5 to 7 bytes: only the first word enters the prefix sum.
    tree.createFile("s1", "abcdXYZ");
    tree.createFile("s2", "abcdXYW");
    // 1,000 bytes sharing the first 500.
    std::string head(500, 'h');
    tree.createFile("k1", head + std::string(500, 'x'));
    tree.createFile("k2", head + std::string(500, 'y'));
    tree.createFile("k3", head + std::string(500, 'x'));
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"k1", "k3"}, {"t1", "t2"}}));
    EXPECT_EQ(state.counters.duplicateCount.load(), 4u);
    EXPECT_EQ(state.counters.duplicateSize.load(), 2u * 2 + 2u * 1000);
}

TEST_F(CompareTest, GroupsOfOneSetComeOutInAscendingContentOrder) {
    // One candidate set (same size, same prefix), two contents; "B" files
    // listed in a directory that comes first in post-order.
    std::string head(500, 'p');
    tree.createFile("d/sub/b1", head + "BBBB");
    tree.createFile("d/sub/b2", head + "BBBB");
    tree.createFile("d/a1", head + "AAAA");
    tree.createFile("d/a2", head + "AAAA");
    ASSERT_EQ(Search(), 0);
    auto groups = Groups();
    ASSERT_EQ(groups.size(), 2u);
    // Both groups lie in one directory each: the clone set map order is by
    // record address, so look up the groups by their files instead.
    std::vector<Group> sorted = SortedGroups();
    EXPECT_EQ(sorted, (std::vector<Group>{{"d/a1", "d/a2"}, {"d/sub/b1", "d/sub/b2"}}));
}

TEST(SampleOffset, SpreadsTheBlocksEvenlyOverTheWholeLength) {
    constexpr size_t kBlocks = ContentComparer::kSampleBlocks;
    constexpr uint64_t kBlock = ContentComparer::kSampleBlockSize;
    for (uint64_t size : {ContentComparer::kSampledFrom, 10 * kMiB + 7, uint64_t{5} << 30,
                          (uint64_t{1} << 32) + 1, UINT64_MAX}) {
        const uint64_t gap = (size - kBlock) / (kBlocks - 1);
        EXPECT_EQ(ContentComparer::SampleOffset(size, 0), 0u) << size;
        EXPECT_EQ(ContentComparer::SampleOffset(size, kBlocks - 1) + kBlock, size) << size;
        for (size_t k = 1; k < kBlocks; ++k) {
            const uint64_t step =
                ContentComparer::SampleOffset(size, k) - ContentComparer::SampleOffset(size, k - 1);
            EXPECT_TRUE(step == gap || step == gap + 1) << size << " block " << k;
        }
    }
}

TEST_F(CompareTest, LargeFilesAreVerifiedOverTheirWholeLength) {
    const uint64_t size = 10 * kMiB;
    auto sample = [&](size_t k) { return ContentComparer::SampleOffset(size, k); };
    std::string base = PatternBytes(size, 7);
    tree.createFile("same1", base);
    tree.createFile("same2", base);
    // Different between the last two sampled blocks.
    std::string lateDiff = base;
    lateDiff[sample(62) + 600] ^= 0x55;
    tree.createFile("late", lateDiff);
    // Different inside one sampled block.
    std::string sampledDiff = base;
    sampledDiff[sample(10) + 3] ^= 0x01;
    tree.createFile("sampled", sampledDiff);
    // Different in the last byte, the end of the last sampled block.
    std::string lastDiff = base;
    lastDiff[size - 1] ^= 0x01;
    tree.createFile("last", lastDiff);
    // Different between two sampled blocks, early in the file.
    std::string gapDiff = base;
    gapDiff[sample(2) + 600] ^= 0x01;
    tree.createFile("gap", gapDiff);
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"same1", "same2"}}));
    EXPECT_EQ(state.counters.duplicateSize.load(), 2 * size);
}

TEST_F(CompareTest, TwoLargeFilesEqualInEverySampledBlockAreNoGroup) {
    const uint64_t size = 10 * kMiB;
    std::string a = PatternBytes(size, 3);
    std::string b = a;
    for (size_t k = 0; k + 1 < ContentComparer::kSampleBlocks; ++k) {
        const uint64_t between = ContentComparer::SampleOffset(size, k) + 1024;
        b[between] = static_cast<char>(b[between] ^ 0xFF);
    }
    tree.createFile("a", a);
    tree.createFile("b", b);
    ASSERT_EQ(Search(), 0);
    EXPECT_TRUE(Groups().empty());
    EXPECT_EQ(state.resultRoot, nullptr);
}

TEST_F(CompareTest, FilesOfFiveGibibytesAreComparedOverTheirWholeLength) {
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    constexpr uint64_t size = 5 * kGiB;
    const TempTree::Patch head{0, "head of a huge file"};
    const TempTree::Patch beyond{4 * kGiB + 3, "beyond 32-bit offsets"};
    tree.createSparseFile("same1", size, {head, beyond, {size - 1, "Z"}});
    tree.createSparseFile("same2", size, {head, beyond, {size - 1, "Z"}});
    tree.createSparseFile("lastByte", size, {head, beyond, {size - 1, "Y"}});
    // Different between two sampled blocks, past 4 GiB.
    tree.createSparseFile("pastFour", size, {head, {4 * kGiB + 3, "beyond 32-bit offsetZ"}});
    ASSERT_LT(ContentComparer::SampleOffset(size, 50) + 512, 4 * kGiB);
    ASSERT_GT(ContentComparer::SampleOffset(size, 51), 4 * kGiB + 64);
    // The same low 32 bits of the size and the same first bytes: a size of
    // its own all the same, so never opened.
    tree.createSparseFile("oneGiB", size - 4 * kGiB, {head});
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"same1", "same2"}}));
    EXPECT_TRUE(errors.empty());
    const auto v = state.counters.Snapshot();
    EXPECT_EQ(v.fileCount, 5u);
    EXPECT_EQ(v.totalSize, 4 * size + kGiB);
    EXPECT_EQ(v.duplicateCount, 2u);
    EXPECT_EQ(v.duplicateSize, 2 * size);
    for (const auto& [sig, set] : state.cloneSets)
        for (const DuplicateGroup& g : set)
            for (const FileRecord* f : g)
                EXPECT_EQ(f->size, size);
}

TEST_F(CompareTest, ManyFilesOfOneSetSplitExactly) {
    // 300 files of one size and prefix: more than are kept open at a time.
    std::string head(600, 'q');
    for (int i = 0; i < 300; ++i) {
        std::string tail(40000, static_cast<char>('a' + i % 3));
        tail[39999] = static_cast<char>('0' + (i % 5 == 0 ? 1 : 0));
        tree.createFile("m/f" + std::to_string(i), head + tail);
    }
    ASSERT_EQ(Search(), 0);
    // Contents: letter (3 kinds) x last byte (i%5==0 or not), all kinds shared.
    auto groups = Groups();
    size_t files = 0;
    for (auto& g : groups)
        files += g.size();
    EXPECT_EQ(files, 300u);
    EXPECT_EQ(groups.size(), 6u);
    EXPECT_EQ(state.counters.duplicateCount.load(), 300u);
}

TEST_F(CompareTest, UnreadableFileLeavesItsTwinAloneAndIsLogged) {
    tree.createFile("a", "identical!");
    tree.createFile("b", "identical!");
    tree.createFile("c", "identical!");
    tree.createFile("x", "lonely-one");
    tree.createFile("y", "lonely-one");
    tree.chmod("c", 0200); // writable, so not read-only, but unreadable
    tree.chmod("y", 0200);
    Unprivileged unprivileged;
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"a", "b"}}));
    ASSERT_EQ(errors.size(), 2u);
    std::sort(errors.begin(), errors.end());
    EXPECT_EQ(errors[0], tree.path("c") + " can't open!");
    EXPECT_EQ(errors[1], tree.path("y") + " can't open!");
}

TEST_F(CompareTest, UnreadableTinyFileIsLoggedByTheComparison) {
    // Tiny files skip the prefix pass: the comparison opens them first.
    tree.createFile("t1", "ab");
    tree.createFile("t2", "ab");
    tree.chmod("t2", 0200);
    Unprivileged unprivileged;
    ASSERT_EQ(Search(), 0);
    EXPECT_TRUE(Groups().empty());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], tree.path("t2") + "  can't open!");
}

TEST_F(CompareTest, SameContentAcrossManyDirectoriesGivesOneGroupPerContent) {
    for (int d = 0; d < 5; ++d)
        for (int f = 0; f < 3; ++f)
            tree.createFile("dir" + std::to_string(d) + "/file" + std::to_string(f),
                            "content number " + std::to_string(f));
    ASSERT_EQ(Search(), 0);
    auto groups = SortedGroups();
    ASSERT_EQ(groups.size(), 3u);
    for (auto& g : groups)
        EXPECT_EQ(g.size(), 5u);
    // The three groups have the same signature (one file per directory, in
    // the same directory order): one clone set.
    EXPECT_EQ(state.cloneSets.size(), 1u);
    EXPECT_EQ(state.cloneSets.begin()->second.size(), 3u);
}

TEST_F(CompareTest, FiveIdenticalFilesInOneDirectoryAreOneRunGroup) {
    for (int i = 0; i < 5; ++i)
        tree.createFile("d/f" + std::to_string(i), "five");
    tree.createFile("d/g1", "three");
    tree.createFile("d/g2", "three");
    tree.createFile("d/g3", "three");
    ASSERT_EQ(Search(), 0);
    ASSERT_EQ(state.runGroups.size(), 1u);
    EXPECT_EQ(state.runGroups.front().runs.size(), 1u);
    EXPECT_EQ(state.runGroups.front().runs[0].count, 5u);
    ASSERT_EQ(state.cloneSets.size(), 1u);
    EXPECT_EQ(state.cloneSets.begin()->first->size(), 3u);
    ResultDir* d = FindResultDir(state.resultRoot.get(), tree.path("d"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->runRefs.size(), 1u);
    EXPECT_EQ(d->cloneRefs.size(), 3u);
}

} // namespace
} // namespace paradrex::test
