#include "fileops/NameOperations.h"

#include "engine/SearchModel.h"
#include "fileops/FileRename.h"
#include "fileops/LogText.h"
#include "review/ListCells.h"
#include "review/ResultTreeOrder.h"

#include <cstring>

namespace paradrex {

namespace {

// One run of either operation: the walk, the stop request, the counts and
// the reports.
class NameRun {
public:
    explicit NameRun(const OperationCallbacks& callbacks) : callbacks_(callbacks) {}

    // Calls each(dir) for the directories of the walk, until stopped.
    template <class Each> void Walk(ResultDir& dir, bool recursive, Each each) {
        ForEachInPostOrder(dir, recursive, [&](ResultDir& d) {
            if (!stopped_)
                each(d);
        });
    }

    // Read before each CloneRef.
    bool StopRequested() {
        if (callbacks_.stop && callbacks_.stop->load(std::memory_order_relaxed))
            stopped_ = true;
        return stopped_;
    }

    void Report(const FileOutcome& outcome) {
        ++(outcome.succeeded() ? succeeded_ : failed_);
        if (callbacks_.fileDone)
            callbacks_.fileDone(outcome);
        if (callbacks_.append)
            callbacks_.append(RenameLogLine(outcome));
    }

    void Summary(const std::string& text) {
        if (callbacks_.append)
            callbacks_.append(text);
    }

    NameOperationOutcome outcome() const { return {succeeded_, failed_, stopped_}; }
    bool stopped() const { return stopped_; }

private:
    const OperationCallbacks& callbacks_;
    uint64_t succeeded_ = 0;
    uint64_t failed_ = 0;
    bool stopped_ = false;
};

// Group order keeps the files of one directory together, so two files in
// one directory are neighbours.
bool TwoInOneDirectory(const DuplicateGroup& group) {
    for (size_t i = 1; i < group.size(); ++i)
        if (group[i]->directory == group[i - 1]->directory)
            return true;
    return false;
}

void Restore(FileRecord& file, NameRun& run) {
    if (HasOriginName(file))
        return;
    const FileOutcome outcome = RenameFile(file, file.originName);
    if (outcome.succeeded())
        file.name = file.originName;
    run.Report(outcome);
}

} // namespace

std::string_view NameOperationCaption(NameOperation operation, bool recursive) {
    if (operation == NameOperation::RenameBase)
        return "Renaming";
    return recursive ? "Restoring Names" : "Restoring Name";
}

NameOperationOutcome RunRenameBase(ResultDir& dir, bool recursive, BlockPool& recordPool,
                                   const OperationCallbacks& callbacks) {
    NameRun run(callbacks);
    run.Walk(dir, recursive, [&](ResultDir& d) {
        for (const CloneRef& ref : d.cloneRefs) {
            if (run.StopRequested())
                return;
            for (DuplicateGroup& group : *ref.set) {
                if (TwoInOneDirectory(group))
                    continue;
                const char* base = group[ref.position]->name;
                const char* copy = nullptr; // one copy serves every file of the group
                for (size_t j = 0; j < group.size(); ++j) {
                    FileRecord& file = *group[j];
                    if (j == ref.position || std::strcmp(file.name, base) == 0)
                        continue;
                    const FileOutcome outcome = RenameFile(file, base);
                    if (outcome.succeeded()) {
                        if (!copy)
                            copy = CopyName(recordPool, base);
                        file.name = copy;
                    }
                    run.Report(outcome);
                }
            }
        }
    });
    if (run.stopped())
        return run.outcome();
    const NameOperationOutcome outcome = run.outcome();
    run.Summary(RenameBaseLogSummary(DirectoryPath(dir.name), recursive, outcome.succeeded,
                                     outcome.failed));
    return outcome;
}

NameOperationOutcome RunRestoreNames(ResultDir& dir, bool recursive,
                                     const OperationCallbacks& callbacks) {
    NameRun run(callbacks);
    run.Walk(dir, recursive, [&](ResultDir& d) {
        for (const CloneRef& ref : d.cloneRefs) {
            if (run.StopRequested())
                return;
            for (DuplicateGroup& group : *ref.set)
                Restore(*group[ref.position], run);
        }
        for (const RunRef& ref : d.runRefs) {
            const Run& r = ref.group->runs[ref.run];
            for (uint32_t i = r.first; i < r.first + r.count; ++i)
                Restore(*ref.group->group[i], run);
        }
    });
    if (run.stopped())
        return run.outcome();
    const NameOperationOutcome outcome = run.outcome();
    run.Summary(RestoreNamesLogSummary(DirectoryPath(dir.name), recursive, outcome.succeeded,
                                       outcome.failed));
    return outcome;
}

} // namespace paradrex
