#pragma once
// A real search on a temporary tree, files marked by their relative paths,
// and the delete operation run on it with every callback recorded.

#include "fileops/DeleteWorker.h"
#include "platform/SystemCalls.h"
#include "platform/trash/FreedesktopTrash.h"
#include "support/EngineFixture.h"

#include <atomic>
#include <set>
#include <string>
#include <vector>

namespace paradrex::test {

class DeleteWorkerTest : public EngineTest {
protected:
    void SetUp() override { platform::UseFreedesktopTrash(); }
    void TearDown() override { platform::SetTrashImplementation(nullptr); }

    // Searches the tree; every file starts Unsettled.
    void SearchTree() {
        ASSERT_EQ(Search(), 0);
        ASSERT_NE(state.resultRoot, nullptr);
    }

    void Mark(const std::string& rel, FileState s) {
        for (const DuplicateGroup& g : ResultGroups(state))
            for (FileRecord* f : g)
                if (Rel(f) == rel) {
                    f->state = s;
                    return;
                }
        ADD_FAILURE() << "no file " << rel << " in the result";
    }

    DeleteOutcome Run(DeleteMethod method, DeleteChoices choices = {},
                      std::string moveDirectory = {}) {
        settings = {method, std::move(moveDirectory)};
        OperationCallbacks cb;
        cb.append = [this](std::string_view text) { log += text; };
        cb.askEmptyDirectory = [this](const std::string& path) {
            asked.push_back(path);
            return answers.empty() ? EmptyDirAnswer::No : NextAnswer();
        };
        cb.stop = &stop;
        cb.fileDone = [this](const FileOutcome& o) {
            outcomes.push_back(o);
            if (onFile)
                onFile(o);
        };
        return RunDeleteOperation(state, settings, choices, cb);
    }

    EmptyDirAnswer NextAnswer() {
        EmptyDirAnswer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }

    // The groups left in the result, each as its files' relative paths.
    std::set<Group> GroupsLeft() const {
        std::set<Group> left;
        for (const Group& g : SortedGroups())
            left.insert(g);
        return left;
    }

    // The log's file lines, without the summary.
    std::vector<std::string> FileLines() const {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t nl; (nl = log.find('\n', start)) != std::string::npos; start = nl + 1) {
            if (nl == start)
                break; // the empty line before the summary
            lines.push_back(log.substr(start, nl - start));
        }
        return lines;
    }

    DeleteSettings settings;
    std::string log;
    std::vector<std::string> asked;
    std::vector<EmptyDirAnswer> answers;
    std::vector<FileOutcome> outcomes;
    std::function<void(const FileOutcome&)> onFile;
    std::atomic<bool> stop{false};
};

} // namespace paradrex::test
