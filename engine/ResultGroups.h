#pragma once
// Every duplicate group of a result in result order: the groups of the clone
// sets in map order (each set's groups as stored), then the run groups in
// list order. The one list, the command-line output and whatever else walks
// the whole result go through this one range.

#include "engine/SearchModel.h"

#include <cstddef>
#include <iterator>

namespace paradrex {

class SearchState;

class ResultGroups {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = DuplicateGroup;
        using difference_type = std::ptrdiff_t;
        using pointer = const DuplicateGroup*;
        using reference = const DuplicateGroup&;

        iterator() = default;
        reference operator*() const { return set_ != setEnd_ ? set_->second[group_] : run_->group; }
        pointer operator->() const { return &**this; }
        iterator& operator++();
        iterator operator++(int) {
            iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const iterator&) const = default;

    private:
        friend class ResultGroups;
        iterator(CloneSetMap::const_iterator set, CloneSetMap::const_iterator setEnd,
                 RunGroupList::const_iterator run);
        // Passes over clone sets without groups.
        void SkipEmptySets();

        CloneSetMap::const_iterator set_, setEnd_;
        size_t group_ = 0; // within *set_
        RunGroupList::const_iterator run_;
    };

    ResultGroups(const CloneSetMap& sets, const RunGroupList& runs) : sets_(sets), runs_(runs) {}
    explicit ResultGroups(const SearchState& state);

    iterator begin() const { return {sets_.begin(), sets_.end(), runs_.begin()}; }
    iterator end() const { return {sets_.end(), sets_.end(), runs_.end()}; }
    bool empty() const { return begin() == end(); }
    // The number of groups.
    size_t size() const;

private:
    const CloneSetMap& sets_;
    const RunGroupList& runs_;
};

} // namespace paradrex
