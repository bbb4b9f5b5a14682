#include "review/BrowserRows.h"

namespace paradrex {

size_t FileListRowCount(const ResultDir& dir) {
    size_t n = 0;
    for (const CloneRef& ref : dir.cloneRefs)
        n += ref.set->size();
    for (const RunRef& ref : dir.runRefs)
        n += ref.group->runs[ref.run].count;
    return n;
}

std::vector<FileListRow> BuildFileListRows(const ResultDir& dir, const RowColours& colours) {
    std::vector<FileListRow> rows;
    rows.reserve(FileListRowCount(dir));
    uint32_t block = 0;
    for (const CloneRef& ref : dir.cloneRefs) {
        Colour bk = CloneBlockColour(block, colours);
        uint32_t index = 0;
        for (DuplicateGroup& group : *ref.set) {
            rows.push_back(
                {bk, block, index++, ref.position, ref.set, nullptr, group[ref.position], false});
        }
        ++block;
    }
    uint32_t runBlock = 0;
    for (const RunRef& ref : dir.runRefs) {
        Colour bk = RunBlockColour(runBlock++, colours);
        const Run& run = ref.group->runs[ref.run];
        for (uint32_t i = 0; i < run.count; ++i) {
            rows.push_back(
                {bk, block, i, ref.run, nullptr, ref.group, ref.group->group[run.first + i], true});
        }
        ++block;
    }
    return rows;
}

const DuplicateGroup& GroupOf(const FileListRow& row) {
    return row.run ? row.runGroup->group : (*row.set)[row.indexInBlock];
}

size_t CloneListRowOf(const FileListRow& row) {
    return row.run ? size_t(row.runGroup->runs[row.position].first) + row.indexInBlock
                   : row.position;
}

std::optional<size_t> FileListRowOf(std::span<const FileListRow> rows, const FileRecord* file) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].file == file)
            return i;
    return std::nullopt;
}

std::vector<OneListRow> BuildOneListRows(const ResultGroups& groups, const RowColours& colours) {
    size_t n = 0;
    for (const DuplicateGroup& g : groups)
        n += g.size();

    std::vector<OneListRow> rows;
    rows.reserve(n);
    uint32_t group = 0;
    for (const DuplicateGroup& g : groups) {
        Colour bk = OneListGroupColour(group++, colours);
        for (FileRecord* f : g)
            rows.push_back({bk, f});
    }
    return rows;
}

} // namespace paradrex
