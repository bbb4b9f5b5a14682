#pragma once
// Which groups the delete operation takes part in, and what is left of the
// result afterwards.
//
// A group qualifies when none of its files is Unsettled; not all of its
// files are Deleted, unless includeAllMarked; and, for a group reached
// through a CloneRef, includeNameMismatch or the current names of all its
// files are equal (byte for byte, case counts). Groups of a run group skip
// the name test. The files of a group are all of its files, in every
// directory.

#include "engine/SearchModel.h"

namespace paradrex {

class SearchState;

// The confirmation dialog's answers (CDelAskDlg), read by the worker and by
// the pruning.
struct DeleteChoices {
    bool includeAllMarked = false;
    bool includeNameMismatch = false;
};

bool GroupQualifies(const DuplicateGroup& group, bool throughCloneRef,
                    const DeleteChoices& choices);

// After a finished (not stopped) operation: every group that qualified
// leaves the result (those in which a file failed, and those with nothing
// marked cross, too); the rest stays exactly as it was, states included.
// Depth first from the root: a directory is dropped when it is left without
// children, CloneRefs and RunRefs; a CloneRef when its clone set is left
// without groups; a RunRef when its group qualified. Clone sets without
// groups and run groups without references leave the result's lists too,
// and when no directory is left the whole result is discarded
// (SearchState::ClearAll). Answers whether a result remains.
bool PruneResult(SearchState& state, const DeleteChoices& choices);

} // namespace paradrex
