#include "engine/ResultGroups.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"

#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace paradrex {
namespace {

using ResultGroupsTest = test::HandBuiltResult;
using Walk = std::vector<const DuplicateGroup*>;

Walk Walked(const SearchState& state) {
    Walk out;
    for (const DuplicateGroup& g : ResultGroups(state))
        out.push_back(&g);
    return out;
}

TEST_F(ResultGroupsTest, EmptyResultHasNoGroups) {
    const ResultGroups groups(state);
    EXPECT_TRUE(groups.empty());
    EXPECT_EQ(groups.size(), 0u);
    EXPECT_EQ(groups.begin(), groups.end());
}

TEST_F(ResultGroupsTest, CloneSetGroupsInMapOrderThenRunGroupsInListOrder) {
    auto* a = Dir(nullptr, "/a");
    auto* b = Dir(nullptr, "/b");
    // Stored interleaved: run groups and clone set groups in turn.
    StoreGroup(state, {File(a, "r1"), File(a, "r2"), File(a, "r3"), File(a, "r4")});
    StoreGroup(state, {File(a, "x1"), File(b, "x2")});
    StoreGroup(state, {File(b, "y1"), File(a, "y2"), File(a, "y3")});
    StoreGroup(state, {File(b, "s1"), File(b, "s2"), File(b, "s3"), File(b, "s4")});
    StoreGroup(state, {File(a, "z1"), File(b, "z2")}); // the set of x
    ASSERT_EQ(state.cloneSets.size(), 2u);
    ASSERT_EQ(state.runGroups.size(), 2u);

    Walk expected;
    for (const auto& [signature, set] : state.cloneSets)
        for (const DuplicateGroup& g : set)
            expected.push_back(&g);
    for (const RunGroup& rg : state.runGroups)
        expected.push_back(&rg.group);
    EXPECT_EQ(Walked(state), expected);
    // The groups of one set stay together in the order they were stored.
    const CloneSet& xz = state.cloneSets.begin()->second.size() == 2
                             ? state.cloneSets.begin()->second
                             : std::next(state.cloneSets.begin())->second;
    const Walk walk = Walked(state);
    auto x = std::find(walk.begin(), walk.end(), &xz[0]);
    ASSERT_NE(x, walk.end());
    EXPECT_EQ(*std::next(x), &xz[1]);
    EXPECT_EQ(walk[3], &state.runGroups.front().group);
    EXPECT_EQ(walk[4], &state.runGroups.back().group);

    const ResultGroups groups(state);
    EXPECT_EQ(groups.size(), 5u);
    EXPECT_EQ(std::distance(groups.begin(), groups.end()), 5);
    auto it = groups.begin();
    EXPECT_EQ(&*it++, walk[0]);
    EXPECT_EQ(&*it, walk[1]);
    EXPECT_EQ(it->size(), walk[1]->size());
}

TEST_F(ResultGroupsTest, CloneSetsWithoutGroupsArePassedOver) {
    auto* a = Dir(nullptr, "/a");
    auto* b = Dir(nullptr, "/b");
    // Only clone sets, one of them emptied (as when its groups were dropped).
    StoreGroup(state, {File(a, "1"), File(b, "2")});
    StoreGroup(state, {File(b, "3"), File(a, "4")});
    StoreGroup(state, {File(a, "5"), File(a, "6"), File(b, "7")});
    ASSERT_EQ(state.cloneSets.size(), 3u);
    std::next(state.cloneSets.begin())->second.clear();
    Walk expected;
    for (const auto& [signature, set] : state.cloneSets)
        for (const DuplicateGroup& g : set)
            expected.push_back(&g);
    EXPECT_EQ(Walked(state), expected);
    EXPECT_EQ(ResultGroups(state).size(), 2u);

    // Every set emptied: nothing at all, also with run groups absent.
    for (auto& [signature, set] : state.cloneSets)
        set.clear();
    EXPECT_TRUE(ResultGroups(state).empty());

    // Only run groups.
    StoreGroup(state, {File(a, "8"), File(a, "9"), File(a, "10"), File(a, "11")});
    EXPECT_EQ(Walked(state), Walk{&state.runGroups.front().group});
}

} // namespace
} // namespace paradrex
