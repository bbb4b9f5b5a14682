#include "engine/ResultGroups.h"

#include "engine/SearchState.h"

namespace paradrex {

ResultGroups::iterator::iterator(CloneSetMap::const_iterator set,
                                 CloneSetMap::const_iterator setEnd,
                                 RunGroupList::const_iterator run)
    : set_(set), setEnd_(setEnd), run_(run) {
    SkipEmptySets();
}

void ResultGroups::iterator::SkipEmptySets() {
    while (set_ != setEnd_ && set_->second.empty())
        ++set_;
}

ResultGroups::iterator& ResultGroups::iterator::operator++() {
    if (set_ == setEnd_) {
        ++run_;
    } else if (++group_ == set_->second.size()) {
        ++set_;
        group_ = 0;
        SkipEmptySets();
    }
    return *this;
}

ResultGroups::ResultGroups(const SearchState& state)
    : ResultGroups(state.cloneSets, state.runGroups) {}

size_t ResultGroups::size() const {
    size_t n = runs_.size();
    for (const auto& [signature, set] : sets_)
        n += set.size();
    return n;
}

} // namespace paradrex
