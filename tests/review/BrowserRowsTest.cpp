#include "review/BrowserRows.h"
#include "engine/ResultBuilder.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "review/Browser.h"
#include "review/Navigation.h"
#include "review/ResultTreeOrder.h"

#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

#include <string>

namespace paradrex {
namespace {

constexpr RowColours kColours{/*textBk1*/ 0x000001, /*textBk2*/ 0x000002, /*textBlock*/ 0x000003};

// A hand-built result:
//   /a holds two clone-set blocks (signatures a,b and c,a) and two run blocks;
//   /b holds one clone-set block and the second run of the first run group;
//   /c holds one clone-set block.
class BrowserRows : public test::HandBuiltResult {
protected:
    BrowserRows() {
        a = Dir(nullptr, "/a");
        b = Dir(nullptr, "/b");
        c = Dir(nullptr, "/c");
        StoreGroup(state, {File(a, "g1"), File(b, "g1")});
        StoreGroup(state, {File(a, "g2"), File(b, "g2")});
        StoreGroup(state, {File(c, "g3"), File(a, "g3")});
        StoreGroup(state,
                   {File(a, "r1"), File(a, "r2"), File(a, "r3"), File(a, "r4"), File(b, "r5")});
        StoreGroup(state, {File(a, "s1"), File(a, "s2"), File(a, "s3"), File(a, "s4")});
        BuildResultTree(state);
        ra = FindResultDir(state.resultRoot.get(), "/a");
        rb = FindResultDir(state.resultRoot.get(), "/b");
        rc = FindResultDir(state.resultRoot.get(), "/c");
    }
    static std::string Name(const FileRecord* f) { return f->name; }

    const NameRecord *a, *b, *c;
    ResultDir *ra, *rb, *rc;
};

TEST_F(BrowserRows, FileListHasCloneBlocksThenRunBlocksWithIndexesAndAlternatingColours) {
    ASSERT_TRUE(ra && rb && rc);
    ASSERT_EQ(ra->cloneRefs.size(), 2u);
    ASSERT_EQ(ra->runRefs.size(), 2u);
    std::vector<FileListRow> rows = BuildFileListRows(*ra, kColours);
    ASSERT_EQ(rows.size(), FileListRowCount(*ra));

    // The clone blocks come in the order of the directory's CloneRefs.
    std::vector<std::string> names;
    size_t i = 0;
    for (uint32_t blk = 0; blk < 2; ++blk) {
        const CloneRef& ref = ra->cloneRefs[blk];
        for (uint32_t g = 0; g < ref.set->size(); ++g, ++i) {
            ASSERT_LT(i, rows.size());
            EXPECT_EQ(rows[i].block, blk);
            EXPECT_EQ(rows[i].indexInBlock, g);
            EXPECT_EQ(rows[i].position, ref.position);
            EXPECT_EQ(rows[i].set, ref.set);
            EXPECT_EQ(rows[i].runGroup, nullptr);
            EXPECT_FALSE(rows[i].run);
            EXPECT_EQ(rows[i].file->directory, a);
            EXPECT_EQ(rows[i].background, blk == 0 ? kColours.textBk2 : kColours.textBk1);
        }
    }
    EXPECT_EQ(i, 3u); // g1, g2 in one set, g3 in the other
    // Then the runs in run-group list order, file by file.
    const char* runNames[] = {"r1", "r2", "r3", "r4", "s1", "s2", "s3", "s4"};
    for (size_t k = 0; k < 8; ++k, ++i) {
        ASSERT_LT(i, rows.size());
        EXPECT_EQ(Name(rows[i].file), runNames[k]);
        EXPECT_TRUE(rows[i].run);
        EXPECT_EQ(rows[i].block, k < 4 ? 2u : 3u);
        EXPECT_EQ(rows[i].indexInBlock, k % 4);
        EXPECT_EQ(rows[i].position, 0u); // the first run of each run group
        EXPECT_EQ(rows[i].set, nullptr);
        // Run blocks count their colours from 0 again: textBlock, then textBk1.
        EXPECT_EQ(rows[i].background, k < 4 ? kColours.textBlock : kColours.textBk1);
    }
    EXPECT_EQ(i, rows.size());
}

TEST_F(BrowserRows, EveryRowFindsItsOwnFileAsItsCloneRow) {
    for (ResultDir* d : {ra, rb, rc}) {
        std::vector<FileListRow> rows = BuildFileListRows(*d, kColours);
        ASSERT_FALSE(rows.empty());
        for (const FileListRow& row : rows) {
            const DuplicateGroup& group = GroupOf(row);
            size_t k = CloneListRowOf(row);
            ASSERT_LT(k, group.size());
            EXPECT_EQ(group[k], row.file);
        }
    }
}

TEST_F(BrowserRows, RunRowOfASecondRunReachesTheWholeGroup) {
    std::vector<FileListRow> rows = BuildFileListRows(*rb, kColours);
    // /b: one clone block (position 1 of the a,b set, two groups), then r5.
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].background, kColours.textBk2);
    EXPECT_EQ(rows[1].background, kColours.textBk2);
    const FileListRow& run = rows[2];
    EXPECT_TRUE(run.run);
    EXPECT_EQ(run.block, 1u);
    EXPECT_EQ(run.position, 1u); // second run of its run group
    EXPECT_EQ(run.background, kColours.textBlock);
    EXPECT_EQ(Name(run.file), "r5");
    EXPECT_EQ(GroupOf(run).size(), 5u); // the four files in /a included
    EXPECT_EQ(CloneListRowOf(run), 4u);

    EXPECT_EQ(FileListRowOf(rows, run.file), 2u);
    EXPECT_EQ(FileListRowOf(rows, ra->runRefs[0].group->group[0]), std::nullopt);
}

TEST_F(BrowserRows, OneListHasCloneSetsInMapOrderThenRunGroupsWithGroupColours) {
    std::vector<OneListRow> rows = BuildOneListRows(ResultGroups(state), kColours);
    ASSERT_EQ(rows.size(), 2u + 2 + 2 + 5 + 4);
    std::vector<const DuplicateGroup*> groups;
    for (const DuplicateGroup& g : ResultGroups(state))
        groups.push_back(&g);
    ASSERT_EQ(groups.size(), 5u);
    size_t i = 0;
    for (size_t g = 0; g < groups.size(); ++g)
        for (FileRecord* f : *groups[g]) {
            EXPECT_EQ(rows[i].file, f);
            EXPECT_EQ(rows[i].background, g % 2 == 0 ? kColours.textBk2 : kColours.textBk1);
            ++i;
        }
    // The last two groups are the run groups, in list order.
    EXPECT_EQ(Name(rows[6].file), "r1");
    EXPECT_EQ(Name(rows[11].file), "s1");
}

TEST_F(BrowserRows, BrowserFillsFileAndCloneListsFromSelections) {
    Browser browser;
    browser.SetColours(kColours);
    browser.SelectDirectory(ra); // without a result nothing is selected
    EXPECT_EQ(browser.selectedDirectory(), nullptr);

    browser.SetResult(&state);
    browser.SelectDirectory(ra);
    EXPECT_EQ(browser.fileRows().size(), 11u);
    EXPECT_TRUE(browser.cloneRows().empty());
    EXPECT_FALSE(browser.selectedRow());

    browser.SelectRow(4); // r2, in the first run
    ASSERT_EQ(browser.cloneRows().size(), 5u);
    EXPECT_EQ(Name(browser.cloneRows()[4]), "r5");

    browser.SelectRow(std::nullopt);
    EXPECT_TRUE(browser.cloneRows().empty());
    browser.SelectRow(99);
    EXPECT_FALSE(browser.selectedRow());
    EXPECT_TRUE(browser.cloneRows().empty());

    // A new colour shows only when the list is filled again; the row stays.
    browser.SelectRow(0);
    RowColours changed = kColours;
    changed.textBk2 = 0x123456;
    browser.SetColours(changed);
    EXPECT_EQ(browser.fileRows()[0].background, kColours.textBk2);
    browser.RefillFileList();
    EXPECT_EQ(browser.fileRows()[0].background, 0x123456u);
    EXPECT_EQ(browser.selectedRow(), 0u);
    EXPECT_EQ(browser.cloneRows().size(), 2u);

    // Selecting another directory empties the clone list.
    browser.SelectDirectory(rc);
    EXPECT_EQ(browser.fileRows().size(), 1u);
    EXPECT_TRUE(browser.cloneRows().empty());
}

TEST_F(BrowserRows, OneListIsFilledOncePerResult) {
    Browser browser;
    EXPECT_FALSE(browser.FillOneList());
    browser.SetResult(&state);
    EXPECT_TRUE(browser.FillOneList());
    EXPECT_EQ(browser.oneRows().size(), 15u);
    EXPECT_FALSE(browser.FillOneList());
    browser.SetResult(&state);
    EXPECT_TRUE(browser.oneRows().empty());
    EXPECT_TRUE(browser.FillOneList());
    browser.Clear();
    EXPECT_FALSE(browser.hasResult());
    EXPECT_TRUE(browser.oneRows().empty());
}

// Tree order over a hand-built tree:
//   /r            (no duplicates itself)
//     x           (no duplicates)  -> x1 (duplicates)
//     y           (duplicates)
//   /s            (duplicates)
class TreeOrder : public test::HandBuiltResult {
protected:
};

TEST_F(TreeOrder, PreOrderFollowsTheChildMapAndFindsTheFirstDirectoryWithDuplicates) {
    auto* r = Dir(nullptr, "/r");
    auto* x = Dir(r, "x");
    auto* y = Dir(r, "y");
    auto* x1 = Dir(x, "x1");
    auto* s = Dir(nullptr, "/s");
    StoreGroup(state, {File(y, "1"), File(s, "1")});
    StoreGroup(state, {File(x1, "2"), File(s, "2")});
    BuildResultTree(state);
    ResultDir* root = state.resultRoot.get();

    // Expected pre-order built from the child maps themselves.
    std::vector<const ResultDir*> expected;
    std::vector<const ResultDir*> stack;
    for (auto it = root->children.rbegin(); it != root->children.rend(); ++it)
        stack.push_back(it->second.get());
    while (!stack.empty()) {
        const ResultDir* d = stack.back();
        stack.pop_back();
        expected.push_back(d);
        for (auto it = d->children.rbegin(); it != d->children.rend(); ++it)
            stack.push_back(it->second.get());
    }
    std::vector<const ResultDir*> walked;
    for (ResultDir* d = NextInTreeOrder(root); d; d = NextInTreeOrder(d))
        walked.push_back(d);
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(walked.size(), 5u);
    // Backwards from the last directory, the same order reversed.
    std::vector<const ResultDir*> back;
    for (ResultDir* d = LastInTreeOrder(root); d; d = PreviousInTreeOrder(d))
        back.push_back(d);
    EXPECT_EQ(back, std::vector<const ResultDir*>(expected.rbegin(), expected.rend()));
    EXPECT_EQ(LastInTreeOrder(nullptr), nullptr);

    // A new result starts at the first directory with duplicates in that
    // order, on its first row: Next Group from no selection.
    const ResultDir* first = nullptr;
    for (const ResultDir* d : expected)
        if (HoldsDuplicates(*d)) {
            first = d;
            break;
        }
    Browser browser;
    browser.SetResult(&state);
    std::optional<ReviewPlace> start = NextGroup(browser);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->dir, first);
    EXPECT_EQ(start->row, 0u);
    EXPECT_FALSE(HoldsDuplicates(*ResultDirOf(root, r)));
    EXPECT_FALSE(HoldsDuplicates(*ResultDirOf(root, x)));
    EXPECT_TRUE(HoldsDuplicates(*ResultDirOf(root, x1)));

    EXPECT_EQ(ResultDirOf(root, x1)->name, x1);
    EXPECT_EQ(ResultDirOf(root, Dir(x, "absent")), nullptr);
    EXPECT_FALSE(NextGroup(Browser{})) << "no result";
}

TEST_F(TreeOrder, DeepTreesAreWalkedWithoutRecursion) {
    const NameRecord* d = Dir(nullptr, "/deep");
    for (int i = 0; i < 20000; ++i)
        d = Dir(d, "d");
    auto* other = Dir(nullptr, "/other");
    StoreGroup(state, {File(d, "1"), File(other, "1")});
    BuildResultTree(state);
    const ResultDir* root = state.resultRoot.get();
    size_t count = 0;
    for (ResultDir* r = NextInTreeOrder(root); r; r = NextInTreeOrder(r))
        ++count;
    EXPECT_EQ(count, 20001u + 1u);
    size_t backwards = 0;
    for (ResultDir* r = LastInTreeOrder(root); r; r = PreviousInTreeOrder(r))
        ++backwards;
    EXPECT_EQ(backwards, count);
    Browser browser;
    browser.SetResult(&state);
    std::optional<ReviewPlace> first = NextGroup(browser);
    ASSERT_TRUE(first);
    // Whichever root comes first in the child map, the walk finds a holder.
    EXPECT_TRUE(first->dir->name == d || first->dir->name == other);
    EXPECT_EQ(ResultDirOf(state.resultRoot.get(), d)->name, d);
}

} // namespace
} // namespace paradrex
