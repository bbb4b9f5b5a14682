#pragma once
// The delete operation ("Delete Files Marked Cross"): trashes, deletes or
// moves every file marked cross in a qualifying group (DeleteRules.h),
// offers the directories it left empty for removal, logs one line per file
// and a summary, and prunes the groups that took part from the result.
//
// The caller, before: checks the DeleteOption (DeleteSettingsOf; a value
// outside 0 to 2 gets UnknownDeleteOptionMessage and nothing runs), asks
// DeleteQuestion with the boxes of ConfirmBoxesFor, and makes everything
// that points into the result let go of it (the worker prunes it, and may
// discard it). After: when the outcome says `stopped`, it discards the
// result (SearchState::ClearAll): the groups not reached were never
// processed. Otherwise it rebuilds its views from what is left (nothing when
// `state.resultRoot` is null) and may keep the log (LogFiles.h).
//
// The walk, per root of the result in child order, depth first: every child
// directory (its own subtree first, then its files, then, when it is empty
// on disk, the emptied-directory check; a root is never checked), then the
// directory's CloneRefs in order (for every group of the clone set, the file
// at the ref's position when it is Deleted and its group qualifies), then
// its RunRefs in order (the Deleted files of the run, when the run group
// qualifies). A file's state is not changed by processing it.

#include "fileops/DeleteOption.h"
#include "fileops/DeleteRules.h"
#include "fileops/OperationCallbacks.h"

#include <cstdint>

namespace paradrex {

class SearchState;

struct DeleteOutcome {
    uint64_t succeeded = 0;
    uint64_t failed = 0;
    // Stopped before a file: no summary was logged and the result was left
    // as it was (partly processed); the caller discards it.
    bool stopped = false;
};

// Runs the whole operation on the calling thread; callbacks are called on
// it too. The result of `state` is read and, at the end, pruned.
DeleteOutcome RunDeleteOperation(SearchState& state, const DeleteSettings& settings,
                                 const DeleteChoices& choices, const OperationCallbacks& callbacks);

} // namespace paradrex
