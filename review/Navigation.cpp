#include "review/Navigation.h"

#include "review/ResultTreeOrder.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace paradrex {

namespace {

bool AllInState(const DuplicateGroup& group, FileState state) {
    return std::all_of(group.begin(), group.end(),
                       [state](const FileRecord* f) { return f->state == state; });
}

bool NamesDiffer(const DuplicateGroup& group) {
    for (size_t i = 1; i < group.size(); ++i)
        if (std::strcmp(group[i - 1]->name, group[i]->name) != 0)
            return true;
    return false;
}

// A row given by its group, its file and whether it comes from a run.
bool Matches(const DuplicateGroup& group, const FileRecord& file, bool run, FindWhat what) {
    switch (what) {
    case FindWhat::Unsettled:
        return file.state == FileState::Unsettled;
    case FindWhat::AllPreserved:
        return AllInState(group, FileState::Preserved);
    case FindWhat::AllDeleted:
        return AllInState(group, FileState::Deleted);
    case FindWhat::NamesDiffer:
        return !run && NamesDiffer(group);
    }
    return false;
}

// Every row of a run block has the run group's whole group, so for the tests
// of the group the block's first row answers for all of it.
bool TestsTheFileOnly(FindWhat what) {
    return what == FindWhat::Unsettled;
}

// The first matching row among rows [from, to) of the file list.
std::optional<size_t> FirstMatchInRows(std::span<const FileListRow> rows, size_t from, size_t to,
                                       FindWhat what) {
    uint32_t testedRunBlock = std::numeric_limits<uint32_t>::max();
    for (size_t r = from; r < to; ++r) {
        const FileListRow& row = rows[r];
        if (row.run && !TestsTheFileOnly(what)) {
            if (row.block == testedRunBlock)
                continue;
            testedRunBlock = row.block;
        }
        if (Matches(GroupOf(row), *row.file, row.run, what))
            return r;
    }
    return std::nullopt;
}

// The first matching row of a directory's file list, without building it:
// clone-set blocks group by group, then run blocks file by file.
std::optional<size_t> FirstMatchIn(const ResultDir& dir, FindWhat what) {
    size_t row = 0;
    for (const CloneRef& ref : dir.cloneRefs)
        for (const DuplicateGroup& group : *ref.set) {
            if (Matches(group, *group[ref.position], false, what))
                return row;
            ++row;
        }
    for (const RunRef& ref : dir.runRefs) {
        const Run& run = ref.group->runs[ref.run];
        const DuplicateGroup& group = ref.group->group;
        const uint32_t tested = TestsTheFileOnly(what) ? run.count : std::min(run.count, 1u);
        for (uint32_t i = 0; i < tested; ++i)
            if (Matches(group, *group[run.first + i], true, what))
                return row + i;
        row += run.count;
    }
    return std::nullopt;
}

// Pre-order from `from` up to, not including, `stop` (null: the end).
std::optional<ReviewPlace> FindInTree(ResultDir* from, const ResultDir* stop, FindWhat what) {
    for (ResultDir* d = from; d && d != stop; d = NextInTreeOrder(d))
        if (std::optional<size_t> row = FirstMatchIn(*d, what))
            return ReviewPlace{d, *row};
    return std::nullopt;
}

ResultDir* NextWrapped(const ResultDir* root, const ResultDir* dir) {
    ResultDir* next = NextInTreeOrder(dir);
    return next ? next : NextInTreeOrder(root);
}

ResultDir* PreviousWrapped(const ResultDir* root, const ResultDir* dir) {
    ResultDir* previous = PreviousInTreeOrder(dir);
    return previous ? previous : LastInTreeOrder(root);
}

// The first directory with duplicates from `start` on, `start` included,
// wrapping around the ends of the tree; null after a whole round.
ResultDir* WalkWithWrap(const ResultDir* root, ResultDir* start, bool forwards) {
    if (!start)
        return nullptr;
    ResultDir* d = start;
    do {
        if (HoldsDuplicates(*d))
            return d;
        d = forwards ? NextWrapped(root, d) : PreviousWrapped(root, d);
    } while (d != start);
    return nullptr;
}

std::optional<ReviewPlace> FirstRowOf(ResultDir* dir) {
    if (!dir)
        return std::nullopt;
    return ReviewPlace{dir, 0};
}

std::optional<ReviewPlace> LastRowOf(ResultDir* dir) {
    if (!dir)
        return std::nullopt;
    const size_t rows = FileListRowCount(*dir);
    return ReviewPlace{dir, rows ? rows - 1 : 0};
}

} // namespace

std::optional<ReviewPlace> NextDirectory(const Browser& browser) {
    const ResultDir* root = browser.root();
    if (!root)
        return std::nullopt;
    ResultDir* dir = browser.selectedDirectory();
    ResultDir* start = dir ? NextWrapped(root, dir) : NextInTreeOrder(root);
    return FirstRowOf(WalkWithWrap(root, start, true));
}

std::optional<ReviewPlace> PreviousDirectory(const Browser& browser) {
    const ResultDir* root = browser.root();
    if (!root)
        return std::nullopt;
    ResultDir* dir = browser.selectedDirectory();
    ResultDir* start = dir ? PreviousWrapped(root, dir) : LastInTreeOrder(root);
    return LastRowOf(WalkWithWrap(root, start, false));
}

std::optional<ReviewPlace> NextGroup(const Browser& browser) {
    const ResultDir* root = browser.root();
    if (!root)
        return std::nullopt;
    ResultDir* dir = browser.selectedDirectory();
    const std::vector<FileListRow>& rows = browser.fileRows();
    if (rows.empty()) {
        ResultDir* start = dir ? dir : NextInTreeOrder(root);
        return FirstRowOf(WalkWithWrap(root, start, true));
    }
    const std::optional<size_t> selected = browser.selectedRow();
    if (!selected)
        return ReviewPlace{dir, 0};
    for (size_t r = *selected + 1; r < rows.size(); ++r)
        if (rows[r].block != rows[*selected].block)
            return ReviewPlace{dir, r};
    return NextDirectory(browser);
}

std::optional<ReviewPlace> PreviousGroup(const Browser& browser) {
    const ResultDir* root = browser.root();
    if (!root)
        return std::nullopt;
    ResultDir* dir = browser.selectedDirectory();
    const std::vector<FileListRow>& rows = browser.fileRows();
    if (rows.empty()) {
        ResultDir* start = dir ? dir : LastInTreeOrder(root);
        return LastRowOf(WalkWithWrap(root, start, false));
    }
    const std::optional<size_t> selected = browser.selectedRow();
    if (!selected)
        return ReviewPlace{dir, rows.size() - 1};
    for (size_t r = *selected; r-- > 0;)
        if (rows[r].block != rows[*selected].block)
            return ReviewPlace{dir, r};
    return PreviousDirectory(browser);
}

std::optional<ReviewPlace> FindNext(const Browser& browser, FindWhat what) {
    ResultDir* root = browser.root();
    if (!root)
        return std::nullopt;
    ResultDir* dir = browser.selectedDirectory();
    const std::vector<FileListRow>& rows = browser.fileRows();
    const std::optional<size_t> selected = browser.selectedRow();

    // The rows after the selected one, then the directories after this one.
    ResultDir* walkFrom = dir;
    if (!rows.empty()) {
        const size_t from = selected ? *selected + 1 : 0;
        if (std::optional<size_t> row = FirstMatchInRows(rows, from, rows.size(), what))
            return ReviewPlace{dir, *row};
        walkFrom = NextInTreeOrder(dir);
    }
    if (walkFrom)
        if (std::optional<ReviewPlace> place = FindInTree(walkFrom, nullptr, what))
            return place;
    // From the top up to this directory, then this directory's rows up to the
    // selected one.
    if (std::optional<ReviewPlace> place = FindInTree(NextInTreeOrder(root), dir, what))
        return place;
    if (!rows.empty() && selected)
        if (std::optional<size_t> row = FirstMatchInRows(rows, 0, *selected + 1, what))
            return ReviewPlace{dir, *row};
    return std::nullopt;
}

std::string_view NothingFoundMessage(FindWhat what) {
    switch (what) {
    case FindWhat::Unsettled:
        return "Congratulations! All file had been settled!";
    case FindWhat::AllPreserved:
    case FindWhat::AllDeleted:
        return "Not exist!";
    case FindWhat::NamesDiffer:
        return "Identical files all have the same name!";
    }
    return {};
}

} // namespace paradrex
