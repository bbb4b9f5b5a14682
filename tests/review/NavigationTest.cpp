#include "review/Navigation.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "review/Browser.h"
#include "review/ResultTreeOrder.h"

#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace paradrex {

void PrintTo(const ReviewPlace& place, std::ostream* out) {
    *out << "{dir " << place.dir << ", row " << place.row << "}";
}

namespace {

// A hand-built result, in tree order:
//   /m    no files of its own
//     a   rows 0-1: a clone-set block (x1, x2, with n); rows 2-5: a run
//       a1  row 0: y1 (with b1)
//     b   no files of its own
//       b1  rows: y1 (with a1), then z1 and Z2 (with n) in one block
//   /n    x1, x2 (with a); z1, z2 (with b1)
class Navigation : public test::HandBuiltResult {
protected:
    Navigation() {
        const NameRecord* m = Dir(nullptr, "/m");
        names_["m"] = m;
        names_["a"] = Dir(m, "a");
        names_["a1"] = Dir(names_["a"], "a1");
        names_["b"] = Dir(m, "b");
        names_["b1"] = Dir(names_["b"], "b1");
        names_["n"] = Dir(nullptr, "/n");
        for (const char* g : {"x1", "x2"})
            StoreGroup(state, {F("a", g), F("n", g)});
        StoreGroup(state, {F("a", "r1"), F("a", "r2"), F("a", "r3"), F("a", "r4")});
        StoreGroup(state, {F("a1", "y1"), F("b1", "y1")});
        StoreGroup(state, {F("b1", "z1"), F("n", "z1")});
        StoreGroup(state, {F("b1", "Z2"), F("n", "z2")});
        BuildResultTree(state);
        browser.SetResult(&state);
    }
    void SetUp() override {
        // The order the cases are written for.
        std::vector<std::string> order;
        for (ResultDir* d = NextInTreeOrder(state.resultRoot.get()); d; d = NextInTreeOrder(d))
            order.push_back(NameOf(d));
        ASSERT_EQ(order, (std::vector<std::string>{"m", "a", "a1", "b", "b1", "n"}));
        ASSERT_EQ(FileListRowCount(*DirOf("a")), 6u);
        ASSERT_TRUE(DirOf("a")->runRefs.size() == 1 && DirOf("a")->cloneRefs.size() == 1);
    }

    FileRecord* F(const std::string& dir, const char* name) {
        FileRecord* f = File(names_.at(dir), name);
        files_[dir + "/" + name] = f;
        return f;
    }
    ResultDir* DirOf(const std::string& name) {
        return ResultDirOf(state.resultRoot.get(), names_.at(name));
    }
    std::string NameOf(const ResultDir* d) {
        for (const auto& [name, record] : names_)
            if (d && d->name == record)
                return name;
        return "?";
    }
    // Shows `dir` ("" for none) with `row` selected (-1: none).
    void Show(const std::string& dir, int row) {
        browser.SelectDirectory(dir.empty() ? nullptr : DirOf(dir));
        if (row >= 0)
            browser.SelectRow(size_t(row));
        ASSERT_EQ(browser.selectedRow().has_value(), row >= 0);
    }
    // "dir:row", or "none".
    std::string Text(const std::optional<ReviewPlace>& place) {
        return place ? NameOf(place->dir) + ":" + std::to_string(place->row) : "none";
    }
    void SetAll(FileState s) {
        for (auto& [label, f] : files_)
            f->state = s;
    }

    Browser browser;
    std::map<std::string, FileRecord*> files_;

private:
    std::map<std::string, const NameRecord*> names_;
};

TEST_F(Navigation, NextAndPreviousDirectoryWrapAndSkipDirectoriesWithoutDuplicates) {
    struct Case {
        const char* dir; // "" no selection
        bool forwards;
        const char* expected;
    } cases[] = {
        {"a", true, "a1:0"}, // into the subdirectory, not to the next sibling
        {"a1", true, "b1:0"},  {"b", true, "b1:0"},
        {"n", true, "a:0"},                          // wraps to the first directory with duplicates
        {"", true, "a:0"},     {"a", false, "n:3"},  // wraps to the last, on its last row
        {"b1", false, "a1:0"}, {"a1", false, "a:5"}, // the parent
        {"b", false, "a1:0"},  {"", false, "n:3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dir) + (c.forwards ? " next" : " previous"));
        Show(c.dir, -1);
        EXPECT_EQ(Text(c.forwards ? NextDirectory(browser) : PreviousDirectory(browser)),
                  c.expected);
    }
}

TEST_F(Navigation, NextAndPreviousGroupMoveByBlockThenByDirectory) {
    struct Case {
        const char* dir;
        int row;
        bool forwards;
        const char* expected;
    } cases[] = {
        {"a", -1, true, "a:0"},   {"a", 0, true, "a:2"}, // the run block's first row
        {"a", 1, true, "a:2"},    {"a", 3, true, "a1:0"},
        {"n", 3, true, "a:0"},  // last block of the last directory: wraps
        {"m", -1, true, "a:0"}, // an empty file list: the walk tests m first
        {"", -1, true, "a:0"},  // a new result starts here
        {"a", -1, false, "a:5"},  {"a", 3, false, "a:1"}, // the last row of the previous block
        {"a1", 0, false, "a:5"},                          // the last row of the previous directory
        {"a", 0, false, "n:3"},                           // wraps backwards
        {"b", -1, false, "a1:0"}, {"", -1, false, "n:3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dir) + ":" + std::to_string(c.row) +
                     (c.forwards ? " next" : " previous"));
        Show(c.dir, c.row);
        EXPECT_EQ(Text(c.forwards ? NextGroup(browser) : PreviousGroup(browser)), c.expected);
    }
}

TEST_F(Navigation, FindWalksOnFromTheSelectionAndAroundToIt) {
    constexpr FileState U = FileState::Unsettled, P = FileState::Preserved, D = FileState::Deleted;
    struct Case {
        const char* name;
        FindWhat what;
        FileState others; // every file not listed below
        std::map<std::string, FileState> states;
        const char* dir;
        int row;
        const char* expected;
    } cases[] = {
        {"next row", FindWhat::Unsettled, U, {}, "a", 0, "a:1"},
        {"no row selected", FindWhat::Unsettled, U, {}, "a", -1, "a:0"},
        // The only undecided file is the selected one: found again.
        {"selected only", FindWhat::Unsettled, P, {{"a/x1", U}}, "a", 0, "a:0"},
        {"all decided", FindWhat::Unsettled, D, {}, "a", 0, "none"},
        {"later directory", FindWhat::Unsettled, P, {{"n/z1", U}}, "a", 0, "n:2"},
        // Rows above the selected one come last.
        {"earlier rows last", FindWhat::Unsettled, P, {{"a/x1", U}, {"n/z1", U}}, "a", 1, "n:2"},
        // Past the end of the tree the walk starts again at the top.
        {"around", FindWhat::Unsettled, P, {{"a/x2", U}}, "a1", 0, "a:1"},
        {"same run block", FindWhat::Unsettled, P, {{"a/r4", U}}, "a", 3, "a:5"},
        // An empty file list: the walk starts at the selected directory.
        {"from b", FindWhat::Unsettled, P, {{"a1/y1", U}}, "b", -1, "a1:0"},
        {"nothing selected", FindWhat::Unsettled, P, {{"b1/Z2", U}}, "", -1, "b1:2"},
        {"all kept", FindWhat::AllPreserved, U, {{"a1/y1", P}, {"b1/y1", P}}, "a", 0, "a1:0"},
        {"kept and crossed",
         FindWhat::AllPreserved,
         U,
         {{"a1/y1", P}, {"b1/y1", D}},
         "a",
         0,
         "none"},
        // A walk reaches a run block at its first row; within the shown
        // directory the next row of the same block is found.
        {"kept run",
         FindWhat::AllPreserved,
         D,
         {{"a/r1", P}, {"a/r2", P}, {"a/r3", P}, {"a/r4", P}},
         "a1",
         0,
         "a:2"},
        {"kept run, same block",
         FindWhat::AllPreserved,
         D,
         {{"a/r1", P}, {"a/r2", P}, {"a/r3", P}, {"a/r4", P}},
         "a",
         2,
         "a:3"},
        // All crossed means every copy, in every directory.
        {"all crossed", FindWhat::AllDeleted, U, {{"b1/z1", D}, {"n/z1", D}}, "a", 0, "b1:1"},
        {"one copy crossed", FindWhat::AllDeleted, P, {{"a1/y1", D}}, "a", 0, "none"},
        // Names that differ only in case differ; a run's names never count.
        {"names", FindWhat::NamesDiffer, U, {}, "a", 0, "b1:2"},
        {"names from n", FindWhat::NamesDiffer, U, {}, "n", 0, "n:3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetAll(c.others);
        for (const auto& [label, s] : c.states)
            files_.at(label)->state = s;
        Show(c.dir, c.row);
        const std::optional<size_t> selectedBefore = browser.selectedRow();
        EXPECT_EQ(Text(FindNext(browser, c.what)), c.expected);
        EXPECT_EQ(browser.selectedRow(), selectedBefore) << "a search selects nothing itself";
    }
}

TEST_F(Navigation, NameMismatchIsByteExactAndMessagesNameWhatWasNotFound) {
    files_.at("b1/Z2")->name = "z2";
    Show("a", 0);
    EXPECT_FALSE(FindNext(browser, FindWhat::NamesDiffer));
    files_.at("n/z2")->name = "z2\xC3\xA9";
    EXPECT_EQ(Text(FindNext(browser, FindWhat::NamesDiffer)), "b1:2");

    EXPECT_EQ(NothingFoundMessage(FindWhat::Unsettled),
              "Congratulations! All file had been settled!");
    EXPECT_EQ(NothingFoundMessage(FindWhat::AllPreserved), "Not exist!");
    EXPECT_EQ(NothingFoundMessage(FindWhat::AllDeleted), "Not exist!");
    EXPECT_EQ(NothingFoundMessage(FindWhat::NamesDiffer),
              "Identical files all have the same name!");
    EXPECT_EQ(kNavigationCaption, "Message");

    Browser none;
    EXPECT_FALSE(FindNext(none, FindWhat::Unsettled));
    EXPECT_FALSE(NextDirectory(none));
    EXPECT_FALSE(PreviousGroup(none));
}

// One directory with duplicates: every walk comes back to it.
class SingleDirectory : public test::HandBuiltResult {};

TEST_F(SingleDirectory, EveryWalkFindsTheOnlyDirectoryAgain) {
    const NameRecord* only = Dir(Dir(nullptr, "/top"), "only");
    StoreGroup(state, {File(only, "1"), File(only, "2"), File(only, "3"), File(only, "4")});
    BuildResultTree(state);
    Browser browser;
    browser.SetResult(&state);
    ResultDir* dir = ResultDirOf(state.resultRoot.get(), only);
    browser.SelectDirectory(dir);
    ASSERT_EQ(browser.fileRows().size(), 4u) << "one run block";
    browser.SelectRow(0);
    EXPECT_EQ(NextDirectory(browser), (ReviewPlace{dir, 0}));
    EXPECT_EQ(PreviousDirectory(browser), (ReviewPlace{dir, 3}));
    EXPECT_EQ(NextGroup(browser), (ReviewPlace{dir, 0}));
    EXPECT_EQ(PreviousGroup(browser), (ReviewPlace{dir, 3}));
    EXPECT_EQ(FindNext(browser, FindWhat::Unsettled), (ReviewPlace{dir, 1}));
    browser.SelectRow(3);
    EXPECT_EQ(FindNext(browser, FindWhat::Unsettled), (ReviewPlace{dir, 0})) << "around";
}

// A chain of 20,000 directories with duplicates at the top and the bottom:
// the walks do not recurse.
class DeepChain : public test::HandBuiltResult {};

TEST_F(DeepChain, WalksReachTheBottomAndWrapBack) {
    const NameRecord* top = Dir(nullptr, "/deep");
    const NameRecord* d = top;
    for (int i = 0; i < 20000; ++i)
        d = Dir(d, "d");
    FileRecord* upper = File(top, "1");
    FileRecord* lower = File(d, "1");
    StoreGroup(state, {upper, lower});
    BuildResultTree(state);
    Browser browser;
    browser.SetResult(&state);
    ResultDir* first = ResultDirOf(state.resultRoot.get(), top);
    ResultDir* last = ResultDirOf(state.resultRoot.get(), d);
    browser.SelectDirectory(first);
    browser.SelectRow(0);
    EXPECT_EQ(NextDirectory(browser), (ReviewPlace{last, 0}));
    EXPECT_EQ(PreviousGroup(browser), (ReviewPlace{last, 0}));
    upper->state = FileState::Preserved;
    EXPECT_EQ(FindNext(browser, FindWhat::Unsettled), (ReviewPlace{last, 0}));
    browser.SelectDirectory(last);
    EXPECT_EQ(NextGroup(browser), (ReviewPlace{last, 0})) << "an unselected list: its first row";
    browser.SelectRow(0);
    EXPECT_EQ(NextGroup(browser), (ReviewPlace{first, 0}));
    EXPECT_EQ(PreviousDirectory(browser), (ReviewPlace{first, 0}));
}

} // namespace
} // namespace paradrex
