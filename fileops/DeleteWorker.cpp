#include "fileops/DeleteWorker.h"

#include "engine/SearchState.h"
#include "fileops/FileAction.h"
#include "fileops/LogText.h"
#include "review/ResultTreeOrder.h"

namespace paradrex {

namespace {

class DeleteRun {
public:
    DeleteRun(const DeleteSettings& settings, const DeleteChoices& choices,
              const OperationCallbacks& callbacks)
        : settings_(settings), choices_(choices), callbacks_(callbacks),
          emptyDirs_(callbacks.askEmptyDirectory) {}

    // One root and everything below it; false once stopped.
    bool Root(ResultDir& root) {
        ForEachInPostOrder(root, true, [&](ResultDir& dir) {
            if (stopped_)
                return;
            Files(dir);
            if (!stopped_ && &dir != &root)
                emptyDirs_.Check(DirectoryPath(dir.name));
        });
        return !stopped_;
    }

    DeleteOutcome outcome() const { return {succeeded_, failed_, stopped_}; }

private:
    void Files(const ResultDir& dir) {
        for (const CloneRef& ref : dir.cloneRefs)
            for (const DuplicateGroup& group : *ref.set) {
                if (stopped_)
                    return;
                const FileRecord* f = group[ref.position];
                if (f->state == FileState::Deleted && GroupQualifies(group, true, choices_))
                    File(*f, group);
            }
        for (const RunRef& ref : dir.runRefs) {
            const RunGroup& rg = *ref.group;
            if (!GroupQualifies(rg.group, false, choices_))
                continue;
            const Run& run = rg.runs[ref.run];
            for (uint32_t i = run.first; i < run.first + run.count && !stopped_; ++i)
                if (rg.group[i]->state == FileState::Deleted)
                    File(*rg.group[i], rg.group);
        }
    }

    void File(const FileRecord& file, const DuplicateGroup& group) {
        if (callbacks_.stop && callbacks_.stop->load(std::memory_order_relaxed)) {
            stopped_ = true;
            return;
        }
        const FileOutcome outcome = ActOnFile(file, group, settings_);
        ++(outcome.succeeded() ? succeeded_ : failed_);
        if (callbacks_.fileDone)
            callbacks_.fileDone(outcome);
        if (callbacks_.append)
            callbacks_.append(DeleteLogLine(outcome));
    }

    const DeleteSettings& settings_;
    const DeleteChoices& choices_;
    const OperationCallbacks& callbacks_;
    EmptyDirectoryCheck emptyDirs_;
    uint64_t succeeded_ = 0;
    uint64_t failed_ = 0;
    bool stopped_ = false;
};

} // namespace

DeleteOutcome RunDeleteOperation(SearchState& state, const DeleteSettings& settings,
                                 const DeleteChoices& choices,
                                 const OperationCallbacks& callbacks) {
    DeleteRun run(settings, choices, callbacks);
    if (state.resultRoot) {
        for (auto& [name, root] : state.resultRoot->children)
            if (!run.Root(*root))
                return run.outcome();
    }
    PruneResult(state, choices);
    const DeleteOutcome outcome = run.outcome();
    if (callbacks.append)
        callbacks.append(DeleteLogSummary(settings, outcome.succeeded, outcome.failed));
    return outcome;
}

} // namespace paradrex
