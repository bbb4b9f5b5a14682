// Benchmark of the review commands without widgets: Group Set marking of one
// position, directory-level marking, Next Unsettled File across the tree and
// Total Statistics, on generated results. Not a test: it prints the median
// and the slowest of several runs of each. The window's repaint of the
// visible rows comes on top (bench_panes_fill measures that).
//
//   bench_review_commands [runs=7]

#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "review/Browser.h"
#include "review/DirStatistics.h"
#include "review/Marking.h"
#include "review/Navigation.h"
#include "review/ResultTreeOrder.h"
#include "uimodel/StatisticsTexts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace paradrex;

namespace {

FileRecord* NewFile(SearchState& state, const NameRecord* dir, const std::string& name,
                    uint32_t size) {
    return FileRecord::Create(state.recordPool, dir, name, size, 1700000000);
}

// One clone set of `groups` groups: every group a file in /bench/a and its
// copy in /bench/b, so /bench/a shows one block of `groups` rows.
void BuildOneCloneSet(SearchState& state, int groups) {
    const NameRecord* root = NameRecord::Create(state.namePool, nullptr, "/bench");
    const NameRecord* a = NameRecord::Create(state.namePool, root, "a");
    const NameRecord* b = NameRecord::Create(state.namePool, root, "b");
    for (int g = 0; g < groups; ++g) {
        const std::string name = "file" + std::to_string(g);
        StoreGroup(state, {NewFile(state, a, name, 1000u + g), NewFile(state, b, name, 1000u + g)});
    }
    BuildResultTree(state);
}

// `outer` x `inner` directories /wide/dI/eJ, each pairing with the next one
// in two groups (a clone set per pair): every directory holds duplicates.
void BuildManyDirectories(SearchState& state, int outer, int inner) {
    const NameRecord* root = NameRecord::Create(state.namePool, nullptr, "/wide");
    std::vector<const NameRecord*> leaves;
    for (int i = 0; i < outer; ++i) {
        const NameRecord* d = NameRecord::Create(state.namePool, root, "d" + std::to_string(i));
        for (int j = 0; j < inner; ++j)
            leaves.push_back(NameRecord::Create(state.namePool, d, "e" + std::to_string(j)));
    }
    for (size_t i = 0; i + 1 < leaves.size(); ++i)
        for (int k = 0; k < 2; ++k) {
            const std::string name = "f" + std::to_string(i) + "_" + std::to_string(k);
            StoreGroup(state, {NewFile(state, leaves[i], name, 4096),
                               NewFile(state, leaves[i + 1], name, 4096)});
        }
    BuildResultTree(state);
}

// A chain of `depth` nested directories, each sharing a group with its parent.
void BuildDeepChain(SearchState& state, int depth) {
    const NameRecord* parent = NameRecord::Create(state.namePool, nullptr, "/deep");
    for (int i = 0; i < depth; ++i) {
        const NameRecord* child = NameRecord::Create(state.namePool, parent, "d");
        const std::string name = "f" + std::to_string(i);
        StoreGroup(state, {NewFile(state, parent, name, 100), NewFile(state, child, name, 100)});
        parent = child;
    }
    BuildResultTree(state);
}

void SetEveryFile(SearchState& state, FileState value) {
    for (auto& [sig, set] : state.cloneSets)
        for (DuplicateGroup& g : set)
            for (FileRecord* f : g)
                f->state = value;
    for (RunGroup& rg : state.runGroups)
        for (FileRecord* f : rg.group)
            f->state = value;
}

// Runs `op` `runs` times, each after an untimed `prepare`; prints the median
// and the slowest run.
void Time(const char* what, int runs, const std::function<void()>& op,
          const std::function<void()>& prepare = {}) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        const auto start = std::chrono::steady_clock::now();
        op();
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("  %-58s median %8.3f ms, slowest %8.3f ms\n", what, ms[ms.size() / 2], ms.back());
}

// Shows the place in the browser as the window would.
void Show(Browser& browser, const std::optional<ReviewPlace>& place) {
    if (!place)
        return;
    browser.SelectDirectory(place->dir);
    browser.SelectRow(place->row);
}

// Kept so that the searches are not optimised away.
size_t g_sink = 0;

void Expect(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "unexpected result: %s\n", what);
        std::exit(1);
    }
}

// Next Unsettled from the first directory to the only undecided file, in the
// last directory in tree order, and the same search finding nothing.
void TimeFindAcrossTheTree(SearchState& state, int runs) {
    ResultDir* last = LastInTreeOrder(state.resultRoot.get());
    SetEveryFile(state, FileState::Preserved);
    const CloneRef& ref = last->cloneRefs.front();
    (*ref.set)[0][ref.position]->state = FileState::Unsettled;
    Browser browser;
    browser.SetResult(&state);
    Show(browser, NextGroup(browser));
    Time("Next Unsettled File, first to last directory", runs, [&] {
        std::optional<ReviewPlace> found = FindNext(browser, FindWhat::Unsettled);
        Expect(found && found->dir == last, "the last directory");
        g_sink += found->row;
    });
    Time("Next All Deleted File, nothing found (every directory)", runs,
         [&] { Expect(!FindNext(browser, FindWhat::AllDeleted), "nothing"); });
    browser.SelectDirectory(NextInTreeOrder(state.resultRoot.get()));
    Time(
        "Only Delete Files in This Directory (Recursively), top", runs,
        [&] { g_sink += OnlyDirectoryFiles(browser, FileState::Deleted, true).refillFileList; },
        [&] { SetEveryFile(state, FileState::Unsettled); });
    Time("Total Statistics", runs, [&] {
        StatisticsTexts t = StatisticsTexts::Count(*state.resultRoot);
        g_sink += t.texts.size();
    });
}

size_t DirectoryCount(const ResultDir* root) {
    size_t n = 0;
    for (const ResultDir* d = NextInTreeOrder(root); d; d = NextInTreeOrder(d))
        ++n;
    return n;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    {
        SearchState state;
        BuildOneCloneSet(state, 100000);
        Browser browser;
        browser.SetResult(&state);
        Show(browser, NextGroup(browser));
        std::printf("one clone set of 100,000 groups: %zu file-list rows\n",
                    browser.fileRows().size());
        Time("Group Set marking of one position, file list", runs, [&] {
            MarkingUpdate u = AdvanceFileRow(browser, 0, true);
            Expect(u.fileRows.size() == 1 && u.fileRows[0].count == 100000, "one block");
        });
        Time("Group Set marking of one position, clone list", runs, [&] {
            MarkingUpdate u = AdvanceCloneRow(browser, 1, true);
            Expect(u.fileRows.empty() && u.cloneRows, "the clone row");
        });
        Time("Only Preserve Selected File, Group Set (every group)", runs, [&] {
            g_sink += OnlySelectedFile(browser, FileState::Preserved, true).fileRows.size();
        });
        Time(
            "Only Preserve Files in This Directory", runs,
            [&] {
                g_sink += OnlyDirectoryFiles(browser, FileState::Preserved, false).refillFileList;
            },
            [&] { SetEveryFile(state, FileState::Unsettled); });
        Time("Set All Files to Deleted, this directory", runs, [&] {
            g_sink += SetDirectoryFiles(browser, FileState::Deleted, false).refillFileList;
        });
        SetEveryFile(state, FileState::Deleted);
        Time("Next Unsettled File, nothing found", runs,
             [&] { Expect(!FindNext(browser, FindWhat::Unsettled), "nothing"); });
        Time("Total Statistics", runs, [&] {
            StatisticsTexts t = StatisticsTexts::Count(*state.resultRoot);
            g_sink += t.texts.size();
        });
    }
    {
        SearchState state;
        BuildManyDirectories(state, 100, 200);
        std::printf("%zu directories, 200 per parent:\n", DirectoryCount(state.resultRoot.get()));
        TimeFindAcrossTheTree(state, runs);
    }
    {
        SearchState state;
        BuildDeepChain(state, 20000);
        std::printf("a chain of %zu nested directories:\n", DirectoryCount(state.resultRoot.get()));
        TimeFindAcrossTheTree(state, runs);
    }
    return g_sink == 0 ? 1 : 0;
}
