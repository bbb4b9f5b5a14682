#pragma once
// Visits the scanned directories the way the later phases do: the roots in
// order, each directory before its subdirectories, subdirectories from the
// last to the first. The callback gets the DirNode and a chain whose Fd()
// opens that directory on demand.

#include "engine/Checkpoint.h"
#include "engine/DirChain.h"

#include <utility>
#include <vector>

namespace paradrex {

template <class Fn> void WalkDirTree(SearchState& state, Fn&& fn) {
    if (!state.dirTree)
        return;
    DirChain chain;
    std::vector<std::pair<DirNode*, size_t>> stack;
    const auto& roots = state.dirTree->children;
    for (auto r = roots.rbegin(); r != roots.rend(); ++r)
        stack.push_back({r->get(), 0});
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        chain.Truncate(depth);
        chain.Push(node->name);
        Checkpoint(state);
        fn(*node, chain);
        for (auto& child : node->children)
            stack.push_back({child.get(), depth + 1});
    }
}

} // namespace paradrex
