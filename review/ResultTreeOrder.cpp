#include "review/ResultTreeOrder.h"

#include <iterator>
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

namespace {

// `dir`, or the last directory of its subtree in pre-order.
ResultDir* LastOfSubtree(ResultDir* dir) {
    while (!dir->children.empty())
        dir = dir->children.rbegin()->second.get();
    return dir;
}

} // namespace

ResultDir* PreviousInTreeOrder(const ResultDir* dir) {
    ResultDir* parent = dir ? dir->parent : nullptr;
    if (!parent)
        return nullptr;
    auto it = parent->children.find(dir->name);
    if (it != parent->children.begin() && it != parent->children.end())
        return LastOfSubtree(std::prev(it)->second.get());
    // The tree's own root is not an item: before the first root is nothing.
    return parent->parent ? parent : nullptr;
}

ResultDir* LastInTreeOrder(const ResultDir* root) {
    if (!root || root->children.empty())
        return nullptr;
    return LastOfSubtree(root->children.rbegin()->second.get());
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
