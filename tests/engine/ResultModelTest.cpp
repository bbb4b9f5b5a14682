#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"

#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

using ResultModel = test::HandBuiltResult;

TEST_F(ResultModel, GroupWithFourConsecutiveFilesInOneDirectoryIsARunGroup) {
    auto* a = Dir(nullptr, "/a");
    auto* b = Dir(nullptr, "/b");
    auto* c = Dir(nullptr, "/c");
    StoreGroup(state, {File(a, "1"), File(a, "2"), File(a, "3"), File(a, "4"), File(b, "5"),
                       File(c, "6")});
    ASSERT_EQ(state.runGroups.size(), 1u);
    EXPECT_TRUE(state.cloneSets.empty());
    const auto& runs = state.runGroups.front().runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].directory, a);
    EXPECT_EQ(runs[0].first, 0u);
    EXPECT_EQ(runs[0].count, 4u);
    EXPECT_EQ(runs[1].directory, b);
    EXPECT_EQ(runs[1].first, 4u);
    EXPECT_EQ(runs[2].first, 5u);
    EXPECT_EQ(runs[2].count, 1u);
}

TEST_F(ResultModel, GroupsWithoutFourConsecutiveGoToTheCloneSetOfTheirSignature) {
    auto* a = Dir(nullptr, "/a");
    auto* b = Dir(nullptr, "/b");
    // A, A, B, B: four files, but no four consecutive ones in one directory.
    StoreGroup(state, {File(a, "1"), File(a, "2"), File(b, "3"), File(b, "4")});
    // Three in one directory: too few for a run group.
    StoreGroup(state, {File(a, "5"), File(a, "6"), File(a, "7")});
    // Same directories in the same order as the first: same clone set.
    StoreGroup(state, {File(a, "8"), File(a, "9"), File(b, "10"), File(b, "11")});
    EXPECT_TRUE(state.runGroups.empty());
    ASSERT_EQ(state.cloneSets.size(), 2u);
    bool sawAABB = false, sawAAA = false;
    for (const auto& [sig, set] : state.cloneSets) {
        if (sig->size() == 4) {
            EXPECT_EQ(*sig, (std::vector<const NameRecord*>{a, a, b, b}));
            EXPECT_EQ(set.size(), 2u);
            sawAABB = true;
        } else {
            EXPECT_EQ(*sig, (std::vector<const NameRecord*>{a, a, a}));
            sawAAA = true;
        }
    }
    EXPECT_TRUE(sawAABB && sawAAA);

    BuildResultTree(state);
    ResultDir* ra = FindResultDir(state.resultRoot.get(), "/a");
    ResultDir* rb = FindResultDir(state.resultRoot.get(), "/b");
    ASSERT_TRUE(ra && rb);
    // A: positions 0 and 1 of the A,A,B,B set and 0, 1, 2 of the A,A,A set.
    EXPECT_EQ(ra->cloneRefs.size(), 5u);
    ASSERT_EQ(rb->cloneRefs.size(), 2u);
    EXPECT_EQ(rb->cloneRefs[0].position, 2u);
    EXPECT_EQ(rb->cloneRefs[1].position, 3u);
}

TEST_F(ResultModel, SignatureOrderComparesBytesThenLength) {
    SignatureLess less;
    std::vector<const NameRecord*> x(2), y(3);
    auto* raw = reinterpret_cast<unsigned char*>(x.data());
    auto* raw2 = reinterpret_cast<unsigned char*>(y.data());
    std::fill(raw, raw + 2 * sizeof(void*), 0x10);
    std::fill(raw2, raw2 + 3 * sizeof(void*), 0x10);
    auto sx = std::make_shared<const std::vector<const NameRecord*>>(x);
    auto sy = std::make_shared<const std::vector<const NameRecord*>>(y);
    EXPECT_TRUE(less(sx, sy)); // prefix first
    EXPECT_FALSE(less(sy, sx));
    raw2[0] = 0x0F; // the first byte decides, as an unsigned byte
    sy = std::make_shared<const std::vector<const NameRecord*>>(y);
    EXPECT_TRUE(less(sy, sx));
    raw2[0] = 0xF0;
    sy = std::make_shared<const std::vector<const NameRecord*>>(y);
    EXPECT_FALSE(less(sy, sx));
}

TEST_F(ResultModel, FindResultDirMatchesWholeRootsAndComponentsByteForByte) {
    auto* root = Dir(nullptr, "/data/photos");
    auto* sub = Dir(root, "2020");
    auto* deeper = Dir(sub, "May");
    StoreGroup(state, {File(sub, "x"), File(deeper, "y")});
    BuildResultTree(state);
    ResultDir* top = state.resultRoot.get();
    ASSERT_NE(FindResultDir(top, "/data/photos"), nullptr);
    EXPECT_EQ(FindResultDir(top, "/data/photos/2020")->name, sub);
    EXPECT_EQ(FindResultDir(top, "/data/photos/2020/May")->name, deeper);
    EXPECT_EQ(FindResultDir(top, "/data/photos/2020/"), nullptr);    // trailing slash
    EXPECT_EQ(FindResultDir(top, "/data/photos2020"), nullptr);      // root must end at a slash
    EXPECT_EQ(FindResultDir(top, "/data/photos/2020/may"), nullptr); // case matters
    EXPECT_EQ(FindResultDir(top, "/data"), nullptr);
    EXPECT_EQ(FindResultDir(nullptr, "/data"), nullptr);
}

TEST_F(ResultModel, FileSystemRootIsFoundAndPrefixesItsChildren) {
    auto* root = Dir(nullptr, "/");
    auto* etc = Dir(root, "etc");
    StoreGroup(state, {File(root, "a"), File(etc, "b")});
    BuildResultTree(state);
    EXPECT_EQ(FindResultDir(state.resultRoot.get(), "/")->name, root);
    EXPECT_EQ(FindResultDir(state.resultRoot.get(), "/etc")->name, etc);
}

TEST_F(ResultModel, RecursiveStateChangeReachesEveryFileBelow) {
    auto* root = Dir(nullptr, "/r");
    auto* inner = Dir(root, "inner");
    auto* other = Dir(nullptr, "/other");
    FileRecord* f[8];
    for (int i = 0; i < 4; ++i)
        f[i] = File(inner, "run");
    f[4] = File(root, "top");
    f[5] = File(other, "o");
    f[6] = File(root, "top2");
    f[7] = File(other, "o2");
    StoreGroup(state, {f[0], f[1], f[2], f[3]});
    StoreGroup(state, {f[4], f[5]});
    StoreGroup(state, {f[6], f[7]});
    BuildResultTree(state);

    ApplyDefaultDirectories(state, {"/r"}, FileState::Preserved);
    for (int i : {0, 1, 2, 3, 4, 6})
        EXPECT_EQ(f[i]->state, FileState::Preserved) << i;
    EXPECT_EQ(f[5]->state, FileState::Unsettled);
    // Delete applied after Preserve wins for the files they share.
    ApplyDefaultDirectories(state, {"/r/inner", "/missing", "/other/"}, FileState::Deleted);
    for (int i : {0, 1, 2, 3})
        EXPECT_EQ(f[i]->state, FileState::Deleted) << i;
    EXPECT_EQ(f[4]->state, FileState::Preserved);
    EXPECT_EQ(f[5]->state, FileState::Unsettled); // "/other/" ends with a slash: no match
}

} // namespace
} // namespace paradrex
