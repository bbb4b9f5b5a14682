#include "review/ResultTreeOrder.h"

#include <vector>

namespace paradrex {

bool HoldsDuplicates(const ResultDir& dir) {
    return !dir.cloneRefs.empty() || !dir.runRefs.empty();
}

ResultDir* NextInTreeOrder(const ResultDir* dir) {
    if (!dir)
        return nullptr;
    if (!dir->children.empty())
        return dir->children.begin()->second.get();
    while (const ResultDir* parent = dir->parent) {
        auto it = parent->children.find(dir->name);
        if (it != parent->children.end() && ++it != parent->children.end())
            return it->second.get();
        dir = parent;
    }
    return nullptr;
}

ResultDir* FirstDirectoryWithDuplicates(const ResultDir* root) {
    for (ResultDir* d = NextInTreeOrder(root); d; d = NextInTreeOrder(d))
        if (HoldsDuplicates(*d))
            return d;
    return nullptr;
}

ResultDir* ResultDirOf(ResultDir* root, const NameRecord* dir) {
    if (!root || !dir)
        return nullptr;
    std::vector<const NameRecord*> chain;
    for (const NameRecord* n = dir; n; n = n->parent)
        chain.push_back(n);
    ResultDir* d = root;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        auto child = d->children.find(*it);
        if (child == d->children.end())
            return nullptr;
        d = child->second.get();
    }
    return d;
}

} // namespace paradrex
