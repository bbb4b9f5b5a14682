#include "fileops/NameCommands.h"

#include "fileops/FileRename.h"
#include "fileops/LogText.h"
#include "review/ListCells.h"

#include <algorithm>

namespace paradrex {

namespace {

std::optional<size_t> Index(int row, size_t count) {
    if (row < 0 || static_cast<size_t>(row) >= count)
        return std::nullopt;
    return static_cast<size_t>(row);
}

size_t RowCount(const Browser& browser, ListKind list) {
    switch (list) {
    case ListKind::FileList:
        return browser.fileRows().size();
    case ListKind::CloneList:
        return browser.cloneRows().size();
    case ListKind::OneList:
        return browser.oneRows().size();
    }
    return 0;
}

FileRecord* FileAt(const Browser& browser, ListKind list, size_t row) {
    switch (list) {
    case ListKind::FileList:
        return browser.fileRows()[row].file;
    case ListKind::CloneList:
        return browser.cloneRows()[row];
    case ListKind::OneList:
        return browser.oneRows()[row].file;
    }
    return nullptr;
}

RowRange& RowsOf(NameCommandAnswer& answer, ListKind list) {
    switch (list) {
    case ListKind::FileList:
        return answer.fileRows;
    case ListKind::CloneList:
        return answer.cloneRows;
    case ListKind::OneList:
        break;
    }
    return answer.oneRows;
}

RowRange One(size_t row) {
    return {row, 1};
}

// The row and the same file's row in the other list: the file list and the
// clone list answer for each other; the one list for itself only.
void AnswerRows(NameCommandAnswer& answer, const Browser& browser, ListKind list, size_t row,
                const FileRecord* file) {
    RowsOf(answer, list) = One(row);
    if (list == ListKind::FileList) {
        std::span<FileRecord* const> clones = browser.cloneRows();
        auto it = std::find(clones.begin(), clones.end(), file);
        if (it != clones.end())
            answer.cloneRows = One(static_cast<size_t>(it - clones.begin()));
    } else if (list == ListKind::CloneList) {
        if (std::optional<size_t> fileRow = FileListRowOf(browser.fileRows(), file))
            answer.fileRows = One(*fileRow);
    }
}

// Renames `file` to `name`, another file's name text: on success the file
// points at its own origin name when the text reads like it, else at `name`
// itself, shared.
FileOutcome TakeName(FileRecord& file, const char* name) {
    FileOutcome outcome = RenameFile(file, name);
    if (outcome.succeeded())
        file.name = outcome.target == file.originName ? file.originName : name;
    return outcome;
}

// The rows of the file list's group block that holds `row`.
RowRange BlockOf(std::span<const FileListRow> rows, size_t row) {
    size_t first = row;
    while (first > 0 && rows[first - 1].block == rows[row].block)
        --first;
    size_t end = row + 1;
    while (end < rows.size() && rows[end].block == rows[row].block)
        ++end;
    return {first, end - first};
}

} // namespace

NameCommandAnswer RenameRow(const Browser& browser, ListKind list, int row, std::string_view typed,
                            BlockPool& recordPool) {
    NameCommandAnswer answer;
    const std::optional<size_t> at = Index(row, RowCount(browser, list));
    if (!at)
        return answer;
    FileRecord& file = *FileAt(browser, list, *at);
    if (typed == std::string_view(file.name))
        return answer;
    FileOutcome& outcome = answer.outcomes.emplace_back(RenameFile(file, typed));
    if (!outcome.succeeded()) {
        answer.statusMessage = RenameErrorMessage(outcome);
        return answer;
    }
    file.name = typed == file.originName ? file.originName : CopyName(recordPool, typed);
    answer.renamed = true;
    AnswerRows(answer, browser, list, *at, &file);
    return answer;
}

NameCommandAnswer RestoreRow(const Browser& browser, ListKind list, int row) {
    NameCommandAnswer answer;
    const std::optional<size_t> at = Index(row, RowCount(browser, list));
    if (!at)
        return answer;
    FileRecord& file = *FileAt(browser, list, *at);
    if (HasOriginName(file))
        return answer;
    FileOutcome& outcome = answer.outcomes.emplace_back(RenameFile(file, file.originName));
    answer.statusMessage = RestoreMessage(outcome);
    if (!outcome.succeeded())
        return answer;
    file.name = file.originName;
    answer.renamed = true;
    AnswerRows(answer, browser, list, *at, &file);
    return answer;
}

NameCommandAnswer PasteName(const Browser& browser, ListKind list, int selectedRow, int copiedRow) {
    NameCommandAnswer answer;
    if (list == ListKind::FileList)
        return answer; // Copy Name and Paste Name belong to the other two lists
    const size_t count = RowCount(browser, list);
    const std::optional<size_t> a = Index(selectedRow, count);
    const std::optional<size_t> b = Index(copiedRow, count);
    if (!a || !b || *a == *b)
        return answer;
    FileRecord& file = *FileAt(browser, list, *a);
    const char* name = FileAt(browser, list, *b)->name;
    if (std::string_view(name) == file.name)
        return answer;
    FileOutcome& outcome = answer.outcomes.emplace_back(TakeName(file, name));
    if (!outcome.succeeded()) {
        answer.statusMessage = RenameErrorMessage(outcome);
        return answer;
    }
    answer.renamed = true;
    AnswerRows(answer, browser, list, *a, &file);
    return answer;
}

NameCommandAnswer PasteNameGroup(const Browser& browser, int selectedRow, int copiedRow) {
    NameCommandAnswer answer;
    const std::optional<size_t> fileRow = browser.selectedRow();
    if (!fileRow || *fileRow >= browser.fileRows().size())
        return answer;
    const FileListRow& selected = browser.fileRows()[*fileRow];
    if (selected.run)
        return answer;
    const size_t count = GroupOf(selected).size();
    const std::optional<size_t> a = Index(selectedRow, count);
    const std::optional<size_t> b = Index(copiedRow, count);
    if (!a || !b || *a == *b)
        return answer;
    for (DuplicateGroup& group : *selected.set) {
        FileRecord& file = *group[*a];
        const char* name = group[*b]->name;
        if (std::string_view(name) == file.name)
            continue;
        FileOutcome& outcome = answer.outcomes.emplace_back(TakeName(file, name));
        if (outcome.succeeded())
            answer.renamed = true;
        else
            answer.statusMessage = RenameErrorMessage(outcome);
    }
    if (!answer.renamed)
        return answer;
    answer.cloneRows = One(*a);
    const FileRecord* shown = GroupOf(selected)[*a];
    if (std::optional<size_t> row = FileListRowOf(browser.fileRows(), shown))
        answer.fileRows = BlockOf(browser.fileRows(), *row);
    return answer;
}

} // namespace paradrex
