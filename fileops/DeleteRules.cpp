#include "fileops/DeleteRules.h"

#include "engine/SearchState.h"
#include "review/ResultTreeOrder.h"

#include <algorithm>
#include <cstring>

namespace paradrex {

bool GroupQualifies(const DuplicateGroup& group, bool throughCloneRef,
                    const DeleteChoices& choices) {
    bool allDeleted = true;
    for (const FileRecord* f : group) {
        if (f->state == FileState::Unsettled)
            return false;
        allDeleted = allDeleted && f->state == FileState::Deleted;
    }
    if (allDeleted && !choices.includeAllMarked)
        return false;
    if (throughCloneRef && !choices.includeNameMismatch) {
        for (size_t i = 1; i < group.size(); ++i)
            if (std::strcmp(group[i - 1]->name, group[i]->name) != 0)
                return false;
    }
    return true;
}

bool PruneResult(SearchState& state, const DeleteChoices& choices) {
    if (!state.resultRoot)
        return false;
    auto hollow = [](const ResultDir& d) {
        return d.children.empty() && d.cloneRefs.empty() && d.runRefs.empty();
    };
    // Children are pruned before their parent looks at them.
    ForEachInPostOrder(*state.resultRoot, true, [&](ResultDir& dir) {
        std::erase_if(dir.children, [&](const auto& child) { return hollow(*child.second); });
        // A clone set shared by several directories is filtered at its first
        // reference; later ones find only groups that do not qualify.
        for (const CloneRef& ref : dir.cloneRefs)
            std::erase_if(*ref.set, [&](const DuplicateGroup& g) {
                return GroupQualifies(g, true, choices);
            });
        std::erase_if(dir.cloneRefs, [](const CloneRef& ref) { return ref.set->empty(); });
        std::erase_if(dir.runRefs, [&](const RunRef& ref) {
            return GroupQualifies(ref.group->group, false, choices);
        });
    });
    std::erase_if(state.cloneSets, [](const auto& entry) { return entry.second.empty(); });
    std::erase_if(state.runGroups,
                  [&](const RunGroup& rg) { return GroupQualifies(rg.group, false, choices); });
    if (state.resultRoot->children.empty()) {
        state.ClearAll();
        return false;
    }
    return true;
}

} // namespace paradrex
