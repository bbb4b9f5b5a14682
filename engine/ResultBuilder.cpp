#include "engine/ResultBuilder.h"

#include "engine/SearchState.h"

namespace paradrex {

void StoreGroup(SearchState& state, DuplicateGroup group) {
    const size_t n = group.size();
    std::vector<const NameRecord*> dirs(n);
    for (size_t i = 0; i < n; ++i)
        dirs[i] = group[i]->directory;

    bool isRun = false;
    for (size_t i = 0; n >= 4 && i + 3 < n && !isRun; ++i)
        isRun = dirs[i] == dirs[i + 1] && dirs[i] == dirs[i + 2] && dirs[i] == dirs[i + 3];
    if (isRun) {
        RunGroup rg;
        for (size_t i = 0; i < n;) {
            size_t j = i + 1;
            while (j < n && dirs[j] == dirs[i])
                ++j;
            rg.runs.push_back({dirs[i], static_cast<uint32_t>(i), static_cast<uint32_t>(j - i)});
            i = j;
        }
        rg.group = std::move(group);
        state.runGroups.push_back(std::move(rg));
        return;
    }
    auto sig = std::make_shared<const std::vector<const NameRecord*>>(std::move(dirs));
    state.cloneSets[sig].push_back(std::move(group));
}

namespace {

// The ResultDir of a directory, created with its ancestors when absent.
ResultDir* WalkDown(ResultDir* root, const NameRecord* dir) {
    std::vector<const NameRecord*> chain;
    for (const NameRecord* r = dir; r; r = r->parent)
        chain.push_back(r);
    ResultDir* cur = root;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        auto& slot = cur->children[*it];
        if (!slot)
            slot = std::make_unique<ResultDir>(*it, cur);
        cur = slot.get();
    }
    return cur;
}

} // namespace

void BuildResultTree(SearchState& state) {
    state.resultRoot = std::make_unique<ResultDir>();
    ResultDir* root = state.resultRoot.get();
    for (auto& [sig, set] : state.cloneSets)
        for (uint32_t k = 0; k < sig->size(); ++k)
            WalkDown(root, (*sig)[k])->cloneRefs.push_back({&set, k});
    for (RunGroup& rg : state.runGroups)
        for (uint32_t r = 0; r < rg.runs.size(); ++r)
            WalkDown(root, rg.runs[r].directory)->runRefs.push_back({&rg, r});
}

void ApplyDefaultDirectories(SearchState& state, const std::vector<std::string>& dirs,
                             FileState value) {
    for (const std::string& path : dirs)
        if (ResultDir* d = FindResultDir(state.resultRoot.get(), path))
            SetStateRecursive(*d, value);
}

} // namespace paradrex
