#pragma once
// Where the worker looks at the control flags: each directory, each file,
// each chunk it reads. A pending stop unwinds the search with StopSearch,
// which the driver turns into the stop clean-up; a pause waits here.

#include "engine/SearchState.h"

namespace paradrex {

struct StopSearch {};

inline void Checkpoint(SearchState& state) {
    if (state.paused.load(std::memory_order_relaxed))
        state.WaitWhilePaused();
    if (state.stopRequested.load(std::memory_order_relaxed))
        throw StopSearch{};
}

} // namespace paradrex
