#include "review/Marking.h"

#include "review/ResultTreeOrder.h"

namespace paradrex {

namespace {

// The files a file- or clone-level marking changed, to find the rows that
// show them.
struct Changed {
    enum Kind {
        OneFile,    // `file`
        Position,   // the file at `position` in every group of `set`
        WholeGroup, // every file of `group`
        WholeSet,   // every file of every group of `set`
    } kind;
    const FileRecord* file = nullptr;
    const CloneSet* set = nullptr;
    uint32_t position = 0;
    const DuplicateGroup* group = nullptr;
};

bool Shows(const FileListRow& row, const Changed& c) {
    switch (c.kind) {
    case Changed::OneFile:
        return row.file == c.file;
    case Changed::Position:
        return !row.run && row.set == c.set && row.position == c.position;
    case Changed::WholeGroup:
        return &GroupOf(row) == c.group;
    case Changed::WholeSet:
        return !row.run && row.set == c.set;
    }
    return false;
}

const FileListRow* SelectedRow(const Browser& browser) {
    const std::optional<size_t> row = browser.selectedRow();
    return row && *row < browser.fileRows().size() ? &browser.fileRows()[*row] : nullptr;
}

// The rows of the file list and the clone list that show changed files.
MarkingUpdate IconsOf(const Browser& browser, const Changed& c) {
    MarkingUpdate u;
    const std::vector<FileListRow>& rows = browser.fileRows();
    for (size_t r = 0; r < rows.size(); ++r) {
        if (!Shows(rows[r], c))
            continue;
        if (!u.fileRows.empty() && u.fileRows.back().first + u.fileRows.back().count == r)
            ++u.fileRows.back().count;
        else
            u.fileRows.push_back({r, 1});
    }
    // The clone list shows the group of the selected row.
    const FileListRow* selected = SelectedRow(browser);
    if (!selected)
        return u;
    const DuplicateGroup& clones = GroupOf(*selected);
    const bool sameSet = !selected->run && selected->set == c.set;
    switch (c.kind) {
    case Changed::OneFile:
        for (size_t i = 0; i < clones.size(); ++i)
            if (clones[i] == c.file)
                u.cloneRows = RowSpan{i, 1};
        break;
    case Changed::Position:
        if (sameSet)
            u.cloneRows = RowSpan{c.position, 1};
        break;
    case Changed::WholeGroup:
        if (&clones == c.group)
            u.cloneRows = RowSpan{0, clones.size()};
        break;
    case Changed::WholeSet:
        if (sameSet)
            u.cloneRows = RowSpan{0, clones.size()};
        break;
    }
    return u;
}

// One clone row of the selected row `selected` (whose group the clone list
// shows) gets `value`; with Group Set and a clone-set row, the file at that
// position in every group of the set.
Changed MarkClone(const FileListRow& selected, size_t cloneRow, FileState value, bool groupSet) {
    if (groupSet && !selected.run) {
        for (DuplicateGroup& group : *selected.set)
            group[cloneRow]->state = value;
        return {Changed::Position, nullptr, selected.set, static_cast<uint32_t>(cloneRow)};
    }
    FileRecord* file = GroupOf(selected)[cloneRow];
    file->state = value;
    return {Changed::OneFile, file};
}

// Clone row `keep` gets `value`, every other clone row the opposite value.
MarkingUpdate OnlyPosition(const Browser& browser, size_t keep, FileState value, bool groupSet) {
    const FileListRow* selected = SelectedRow(browser);
    if (!selected)
        return {};
    const DuplicateGroup& clones = GroupOf(*selected);
    if (keep >= clones.size())
        return {};
    for (size_t i = 0; i < clones.size(); ++i)
        MarkClone(*selected, i, i == keep ? value : OppositeState(value), groupSet);
    if (groupSet && !selected->run)
        return IconsOf(browser, {Changed::WholeSet, nullptr, selected->set});
    return IconsOf(browser, {Changed::WholeGroup, nullptr, nullptr, 0, &clones});
}

void SetOwnFiles(ResultDir& dir, FileState value) {
    for (const CloneRef& ref : dir.cloneRefs)
        for (DuplicateGroup& group : *ref.set)
            group[ref.position]->state = value;
    for (const RunRef& ref : dir.runRefs) {
        const Run& run = ref.group->runs[ref.run];
        for (uint32_t i = 0; i < run.count; ++i)
            ref.group->group[run.first + i]->state = value;
    }
}

void OnlyOwnFiles(ResultDir& dir, FileState value) {
    const FileState opposite = OppositeState(value);
    for (const CloneRef& ref : dir.cloneRefs)
        for (DuplicateGroup& group : *ref.set)
            for (size_t i = 0; i < group.size(); ++i) {
                if (i == ref.position)
                    group[i]->state = value;
                else if (group[i]->state == FileState::Unsettled)
                    group[i]->state = opposite;
            }
    for (const RunRef& ref : dir.runRefs) {
        const Run& run = ref.group->runs[ref.run];
        for (uint32_t i = 0; i < run.count; ++i)
            ref.group->group[run.first + i]->state = value;
    }
}

MarkingUpdate RefillAndSelectFirstRow(const Browser& browser) {
    MarkingUpdate u;
    u.refillFileList = true;
    if (!browser.fileRows().empty())
        u.selectFileRow = 0;
    return u;
}

} // namespace

FileState NextState(FileState state) {
    switch (state) {
    case FileState::Unsettled:
        return FileState::Preserved;
    case FileState::Preserved:
        return FileState::Deleted;
    case FileState::Deleted:
        return FileState::Unsettled;
    }
    return FileState::Unsettled;
}

FileState OppositeState(FileState state) {
    return static_cast<FileState>(-static_cast<int32_t>(state));
}

MarkingUpdate SetDirectoryFiles(const Browser& browser, FileState value, bool recursive) {
    ResultDir* dir = browser.selectedDirectory();
    if (!dir)
        return {};
    ForEachInPostOrder(*dir, recursive, [value](ResultDir& d) { SetOwnFiles(d, value); });
    return RefillAndSelectFirstRow(browser);
}

MarkingUpdate OnlyDirectoryFiles(const Browser& browser, FileState value, bool recursive) {
    ResultDir* dir = browser.selectedDirectory();
    if (!dir)
        return {};
    ForEachInPostOrder(*dir, recursive, [value](ResultDir& d) { OnlyOwnFiles(d, value); });
    return RefillAndSelectFirstRow(browser);
}

MarkingUpdate OnlySelectedFile(const Browser& browser, FileState value, bool groupSet) {
    const FileListRow* selected = SelectedRow(browser);
    if (!selected)
        return {};
    return OnlyPosition(browser, CloneListRowOf(*selected), value, groupSet);
}

MarkingUpdate OnlyCloneRow(const Browser& browser, size_t cloneRow, FileState value,
                           bool groupSet) {
    return OnlyPosition(browser, cloneRow, value, groupSet);
}

MarkingUpdate SetAllClones(const Browser& browser, FileState value, bool groupSet) {
    const FileListRow* selected = SelectedRow(browser);
    if (!selected)
        return {};
    const DuplicateGroup& clones = GroupOf(*selected);
    for (size_t i = 0; i < clones.size(); ++i)
        MarkClone(*selected, i, value, groupSet);
    if (groupSet && !selected->run)
        return IconsOf(browser, {Changed::WholeSet, nullptr, selected->set});
    return IconsOf(browser, {Changed::WholeGroup, nullptr, nullptr, 0, &clones});
}

MarkingUpdate MarkCloneRow(const Browser& browser, size_t cloneRow, FileState value,
                           bool groupSet) {
    const FileListRow* selected = SelectedRow(browser);
    if (!selected || cloneRow >= GroupOf(*selected).size())
        return {};
    return IconsOf(browser, MarkClone(*selected, cloneRow, value, groupSet));
}

MarkingUpdate MarkFileRow(const Browser& browser, size_t row, FileState value, bool groupSet) {
    const std::vector<FileListRow>& rows = browser.fileRows();
    if (row >= rows.size())
        return {};
    const FileListRow& r = rows[row];
    if (r.run || !groupSet) {
        r.file->state = value;
        return IconsOf(browser, {Changed::OneFile, r.file});
    }
    for (DuplicateGroup& group : *r.set)
        group[r.position]->state = value;
    return IconsOf(browser, {Changed::Position, nullptr, r.set, r.position});
}

MarkingUpdate AdvanceFileRow(const Browser& browser, size_t row, bool groupSet) {
    const std::vector<FileListRow>& rows = browser.fileRows();
    if (row >= rows.size())
        return {};
    return MarkFileRow(browser, row, NextState(rows[row].file->state), groupSet);
}

MarkingUpdate AdvanceCloneRow(const Browser& browser, size_t cloneRow, bool groupSet) {
    std::span<FileRecord* const> clones = browser.cloneRows();
    if (cloneRow >= clones.size())
        return {};
    return MarkCloneRow(browser, cloneRow, NextState(clones[cloneRow]->state), groupSet);
}

MarkingUpdate AdvanceOneRow(const Browser& browser, size_t oneRow) {
    const std::vector<OneListRow>& rows = browser.oneRows();
    if (oneRow >= rows.size())
        return {};
    FileRecord* file = rows[oneRow].file;
    file->state = NextState(file->state);
    MarkingUpdate u;
    u.oneRow = oneRow;
    return u;
}

} // namespace paradrex
