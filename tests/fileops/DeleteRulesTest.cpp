// Which groups the delete operation takes part in, and what the pruning
// leaves of a result, on hand-built results (nothing on disk).

#include "fileops/DeleteRules.h"

#include "engine/ResultBuilder.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace paradrex {
namespace {

constexpr FileState U = FileState::Unsettled;
constexpr FileState P = FileState::Preserved;
constexpr FileState D = FileState::Deleted;

class DeleteRules : public test::HandBuiltResult {
protected:
    // A group of files named by `names`, one per directory of `dirs`, in the
    // given states.
    DuplicateGroup Group(const std::vector<const NameRecord*>& dirs,
                         const std::vector<const char*>& names, const std::vector<FileState>& s) {
        DuplicateGroup g;
        for (size_t i = 0; i < dirs.size(); ++i) {
            g.push_back(File(dirs[i], names[i]));
            g.back()->state = s[i];
        }
        return g;
    }
    // The groups left, each as the name of its first file.
    std::set<std::string> GroupsLeft() const {
        std::set<std::string> left;
        for (const DuplicateGroup& g : ResultGroups(state))
            left.insert(g.front()->name);
        return left;
    }
};

TEST_F(DeleteRules, AGroupQualifiesByItsStatesAndForCloneRefsByItsNames) {
    const NameRecord* a = Dir(nullptr, "/a");
    const NameRecord* b = Dir(nullptr, "/b");
    struct Case {
        std::vector<FileState> states;
        std::vector<const char*> names;
        bool cloneRef, allMarked, nameMismatch, qualifies;
    };
    const Case cases[] = {
        {{P, D}, {"x", "x"}, true, false, false, true},
        {{P, P}, {"x", "x"}, true, false, false, true}, // takes part, deletes nothing
        {{U, D}, {"x", "x"}, true, true, true, false},  // an undecided file keeps the group out
        {{D, D}, {"x", "x"}, true, false, true, false},
        {{D, D}, {"x", "x"}, true, true, false, true},
        {{P, D}, {"x", "y"}, true, true, false, false},
        {{P, D}, {"x", "y"}, true, false, true, true},
        {{P, D}, {"x", "X"}, true, false, false, false}, // case counts
        {{P, D}, {"x", "y"}, false, false, false, true}, // run groups skip the name test
        {{D, D}, {"x", "y"}, false, false, false, false},
    };
    for (const Case& c : cases) {
        const DuplicateGroup g = Group({a, b}, c.names, c.states);
        EXPECT_EQ(GroupQualifies(g, c.cloneRef, {c.allMarked, c.nameMismatch}), c.qualifies)
            << c.names[0] << "/" << c.names[1] << " states " << int(c.states[0]) << ","
            << int(c.states[1]) << " cloneRef " << c.cloneRef << " allMarked " << c.allMarked
            << " nameMismatch " << c.nameMismatch;
    }
}

TEST_F(DeleteRules, PruningDropsEveryGroupThatTookPartAndKeepsTheRestAsItWas) {
    const NameRecord* top = Dir(nullptr, "/top");
    const NameRecord* a = Dir(top, "a");
    const NameRecord* b = Dir(top, "b");
    const NameRecord* c = Dir(top, "c");
    const NameRecord* deep = Dir(Dir(c, "c1"), "c2");
    // One clone set over (a, b): three groups.
    StoreGroup(state, Group({a, b}, {"done", "done"}, {P, D}));
    StoreGroup(state, Group({a, b}, {"undecided", "undecided"}, {U, D}));
    StoreGroup(state, Group({a, b}, {"differ1", "differ2"}, {P, D}));
    // All crossed, in (a, c).
    StoreGroup(state, Group({a, c}, {"allcrossed", "allcrossed"}, {D, D}));
    // All kept, alone in the deep directory's clone set: leaves the result.
    StoreGroup(state, Group({deep, c}, {"kept", "kept"}, {P, P}));
    // Run groups: with differing names (qualifies) and with an undecided file.
    StoreGroup(state, Group({b, b, b, b}, {"run1", "r", "s", "t"}, {P, D, D, D}));
    StoreGroup(state, Group({c, c, c, c}, {"run2", "run2", "run2", "run2"}, {P, D, U, D}));
    BuildResultTree(state);
    const FileState before = state.runGroups.back().group[2]->state;

    ASSERT_TRUE(PruneResult(state, {.includeAllMarked = false, .includeNameMismatch = false}));
    EXPECT_EQ(GroupsLeft(), (std::set<std::string>{"undecided", "differ1", "allcrossed", "run2"}));
    // The deep chain held only the group that left: gone up to c, which keeps
    // its own files.
    ResultDir* topDir = state.resultRoot->children.begin()->second.get();
    std::set<std::string> children;
    for (const auto& [name, child] : topDir->children)
        children.insert(std::string(name->name()));
    EXPECT_EQ(children, (std::set<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(topDir->children.at(c)->children.empty());
    EXPECT_EQ(state.runGroups.size(), 1u);
    EXPECT_EQ(state.runGroups.back().group[2]->state, before); // states stay

    // A second operation including everything takes the rest but the
    // undecided groups.
    ASSERT_TRUE(PruneResult(state, {.includeAllMarked = true, .includeNameMismatch = true}));
    EXPECT_EQ(GroupsLeft(), (std::set<std::string>{"undecided", "run2"}));
    EXPECT_EQ(state.cloneSets.size(), 1u); // empty clone sets leave the map
}

TEST_F(DeleteRules, WhenNothingIsLeftTheResultIsDiscarded) {
    const NameRecord* a = Dir(nullptr, "/a");
    const NameRecord* b = Dir(nullptr, "/b");
    StoreGroup(state, Group({a, b}, {"x", "x"}, {P, D}));
    StoreGroup(state, Group({a, a, a, a}, {"r", "r", "r", "r"}, {P, P, D, D}));
    BuildResultTree(state);
    EXPECT_FALSE(PruneResult(state, {}));
    EXPECT_EQ(state.resultRoot, nullptr);
    EXPECT_TRUE(state.cloneSets.empty());
    EXPECT_TRUE(state.runGroups.empty());
    EXPECT_EQ(state.recordPool.blockCount(), 0u);
    EXPECT_FALSE(PruneResult(state, {})); // no result: nothing to do
}

} // namespace
} // namespace paradrex
