#pragma once
// A real search on a temporary tree for the rename commands: files found by
// the relative path the search met them under, the browser showing a
// directory and a row, and the logged operations run with every callback
// recorded.

#include "fileops/NameOperations.h"
#include "review/Browser.h"
#include "review/ResultTreeOrder.h"
#include "support/EngineFixture.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace paradrex::test {

class NameTest : public EngineTest {
protected:
    void SearchTree() {
        ASSERT_EQ(Search(), 0);
        ASSERT_NE(state.resultRoot, nullptr);
        browser.SetResult(&state);
    }

    // The file the search found at `rel` (whatever its name is now).
    FileRecord* Found(const std::string& rel) const {
        for (const DuplicateGroup& g : ResultGroups(state))
            for (FileRecord* f : g)
                if (DirectoryPath(f->directory) + "/" + f->originName == tree.path(rel))
                    return f;
        ADD_FAILURE() << "no file " << rel << " in the result";
        return nullptr;
    }

    ResultDir* Dir(const std::string& rel) const {
        ResultDir* d = FindResultDir(state.resultRoot.get(), tree.path(rel));
        EXPECT_NE(d, nullptr) << rel;
        return d;
    }

    // Shows the directory of the file found at `rel` and selects its row, so
    // the clone list shows its group. Answers the file-list row.
    int Show(const std::string& rel) {
        FileRecord* f = Found(rel);
        browser.SelectDirectory(ResultDirOf(state.resultRoot.get(), f->directory));
        const std::optional<size_t> row = FileListRowOf(browser.fileRows(), f);
        EXPECT_TRUE(row.has_value()) << rel;
        browser.SelectRow(row);
        return row ? static_cast<int>(*row) : -1;
    }

    // The clone-list row of the file found at `rel`, -1 when not shown.
    int CloneRow(const std::string& rel) const {
        std::span<FileRecord* const> rows = browser.cloneRows();
        const FileRecord* f = Found(rel);
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == f)
                return static_cast<int>(i);
        return -1;
    }

    OperationCallbacks Callbacks() {
        OperationCallbacks cb;
        cb.append = [this](std::string_view text) { log += text; };
        cb.stop = &stop;
        cb.fileDone = [this](const FileOutcome& o) {
            outcomes.push_back(o);
            if (onFile)
                onFile(o);
        };
        return cb;
    }
    NameOperationOutcome RenameBase(const std::string& dirRel, bool recursive) {
        return RunRenameBase(*Dir(dirRel), recursive, state.recordPool, Callbacks());
    }
    NameOperationOutcome RestoreNames(const std::string& dirRel, bool recursive) {
        return RunRestoreNames(*Dir(dirRel), recursive, Callbacks());
    }

    // The log's file lines relative to the tree's root, without the summary.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t nl; (nl = log.find('\n', start)) != std::string::npos; start = nl + 1) {
            if (nl == start)
                break; // the empty line before the summary
            std::string line = log.substr(start, nl - start);
            if (line.compare(0, tree.root().size() + 1, tree.root() + "/") == 0)
                line.erase(0, tree.root().size() + 1);
            lines.push_back(line);
        }
        return lines;
    }

    Browser browser;
    std::string log;
    std::vector<FileOutcome> outcomes;
    std::function<void(const FileOutcome&)> onFile;
    std::atomic<bool> stop{false};
};

} // namespace paradrex::test
