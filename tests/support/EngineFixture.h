#pragma once
// Runs real searches on temporary trees and reads the result back as
// relative paths.

#include "engine/ResultGroups.h"
#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paradrex::test {

using Group = std::vector<std::string>;

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        env.logError = [this](const _Error_record& r) { errors.push_back(r.message()); };
    }

    // Searches the tree's root (unless roots were set) and returns RunSearch's result.
    int Search() {
        if (state.job.roots.empty())
            state.job.roots.Add(tree.root());
        state.ClearFlags();
        return RunSearch(state, env);
    }

    std::string Rel(const FileRecord* f) const {
        std::string p = FilePath(*f);
        const std::string& r = tree.root();
        return p.compare(0, r.size() + 1, r + "/") == 0 ? p.substr(r.size() + 1) : p;
    }

    Group Files(const DuplicateGroup& g) const {
        Group out;
        for (const FileRecord* f : g)
            out.push_back(Rel(f));
        return out;
    }

    // Every group in result order: clone sets in map order, then run groups.
    std::vector<Group> Groups() const {
        std::vector<Group> out;
        for (const DuplicateGroup& g : ResultGroups(state))
            out.push_back(Files(g));
        return out;
    }

    // Groups with their files sorted, and the groups sorted: for checks that
    // do not depend on the order the system lists directories in.
    std::vector<Group> SortedGroups() const {
        std::vector<Group> out = Groups();
        for (Group& g : out)
            std::sort(g.begin(), g.end());
        std::sort(out.begin(), out.end());
        return out;
    }

    TempTree tree;
    SearchState state;
    SearchEnvironment env;
    std::vector<std::string> errors;
};

} // namespace paradrex::test
