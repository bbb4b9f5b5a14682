// The New Search dialog's rules on real temporary folders: opening, adding,
// covering and replacing roots, the recent list, removing, and OK.

#include "uimodel/NewSearchForm.h"
#include "platform/Paths.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace paradrex {
namespace {

using Outcome = NewSearchForm::Outcome;
using Paths = std::vector<std::string>;
using test::TempTree;

class NewSearchFormTest : public testing::Test {
protected:
    NewSearchFormTest() {
        for (const char* d : {"data/old", "data/new", "dat", "A-B", "A/X", "other"})
            tree.createDir(d);
        tree.createFile("file.txt", "x");
    }
    std::string P(const char* rel) const { return tree.path(rel); }

    TempTree tree;
    SearchJob job;
    NewSearchForm form{job};
};

TEST_F(NewSearchFormTest, OpeningTakesTheExistingDefaultsAsRootsAndLoadsTheRecentList) {
    job.roots.Add("/left/over/from/last/search");
    job.minSizeEnabled = true;
    job.minSize = 77;
    Paths recent;
    for (int i = 0; i < 12; ++i)
        recent.push_back("/r" + std::to_string(i));
    form.Open({P("data/old"), P("missing"), P("data/new"), P("data"), P("data/old"), P("file.txt"),
               P("other") + "/./", ""},
              recent);
    // "data" replaces its two subfolders; the later "data/old" is covered and
    // dropped without a word; missing entries and files are left out.
    EXPECT_EQ(form.Roots(), (Paths{P("data"), P("other")}));
    EXPECT_EQ(form.recent().Store(), Paths(recent.begin(), recent.begin() + 10));
    EXPECT_FALSE(form.accepted());
    // Filters stay until OK writes them.
    EXPECT_TRUE(job.minSizeEnabled);
    EXPECT_EQ(job.minSize, 77u);
}

TEST_F(NewSearchFormTest, AddingShowsBalloonsAndAlwaysUpdatesTheRecentList) {
    form.Open({}, {"/kept"});
    auto r = form.AddEntry("  " + P("data") + "/ ");
    EXPECT_EQ(r.outcome, Outcome::Added);
    EXPECT_TRUE(r.recentChanged);
    EXPECT_FALSE(r.showBalloon());

    r = form.AddEntry(P("data/old"));
    EXPECT_EQ(r.outcome, Outcome::Covered);
    EXPECT_EQ(form.BalloonText(), "\"" + P("data") + "\" had been added!");
    EXPECT_EQ(form.Roots(), Paths{P("data")});
    // The recent list takes the path even though the roots refused it.
    EXPECT_TRUE(r.recentChanged);
    EXPECT_EQ(form.recent().Store(), (Paths{P("data/old"), P("data"), "/kept"}));

    for (const char* bad : {"nowhere", "file.txt"}) {
        r = form.AddEntry(P(bad));
        EXPECT_EQ(r.outcome, Outcome::Invalid);
        EXPECT_EQ(form.BalloonText(), "Not a valid directory!");
        EXPECT_FALSE(r.recentChanged);
    }
    r = form.AddEntry("   ");
    EXPECT_EQ(r.outcome, Outcome::Nothing);
    EXPECT_FALSE(r.showBalloon());
    EXPECT_EQ(form.Roots(), Paths{P("data")});
    EXPECT_EQ(form.recent().size(), 3u);
}

TEST_F(NewSearchFormTest, TildeExpandsToHome) {
    const std::string home = std::getenv("HOME");
    form.Open({}, {});
    EXPECT_EQ(form.AddEntry("~").outcome, Outcome::Added);
    EXPECT_EQ(form.Roots(), Paths{platform::AbsoluteNormalPath(home)});
}

TEST_F(NewSearchFormTest, ChoosingRecentEntries) {
    form.Open({}, {P("other"), P("data"), P("gone")});
    auto r = form.ChooseRecent(P("data"));
    EXPECT_EQ(r.outcome, Outcome::Added);
    EXPECT_FALSE(r.recentChanged);
    // Not reordered.
    EXPECT_EQ(form.recent().Store(), (Paths{P("other"), P("data"), P("gone")}));

    form.AddEntry(P("data/new")); // makes it recent, but covered
    r = form.ChooseRecent(P("data/new"));
    EXPECT_EQ(r.outcome, Outcome::Covered);
    EXPECT_EQ(form.BalloonText(), "\"" + P("data") + "\" had been added!");

    r = form.ChooseRecent(P("gone"));
    EXPECT_EQ(r.outcome, Outcome::Invalid);
    EXPECT_TRUE(r.recentChanged);
    EXPECT_EQ(form.BalloonText(), "Not a valid directory!");
    EXPECT_FALSE(form.recent().Contains(P("gone")));
    EXPECT_EQ(form.Roots(), Paths{P("data")});
}

TEST_F(NewSearchFormTest, RemovingByPositionInSetOrder) {
    form.Open({P("other"), P("dat"), P("A-B"), P("A/X")}, {});
    ASSERT_EQ(form.Roots(), (Paths{P("A/X"), P("A-B"), P("dat"), P("other")}));
    form.RemoveRoots({3, 1});
    EXPECT_EQ(form.Roots(), (Paths{P("A/X"), P("dat")}));
    form.RemoveRoots({});
    form.RemoveRoots({7});
    EXPECT_EQ(form.Roots().size(), 2u);
}

TEST_F(NewSearchFormTest, OkWritesTheFiltersAndKeepsTheChosenRoots) {
    form.Open({P("data")}, {});
    // The filters themselves are MakeSearchJob's; the form writes them.
    SearchFilters f;
    f.typeText = "JPG gif";
    f.hidden = true;
    ASSERT_TRUE(form.Accept(f, P("other")));
    EXPECT_TRUE(form.accepted());
    EXPECT_EQ(job.typeList, (Paths{"gif", "jpg"}));
    EXPECT_EQ(job.includeHidden, 1);
    // Roots were chosen, so the path box is not added.
    EXPECT_EQ(form.Roots(), Paths{P("data")});
}

TEST_F(NewSearchFormTest, RefusedTypeTextChangesNothing) {
    form.Open({}, {});
    job.typeList = {"keep"};
    SearchFilters f;
    f.typeText = "jpg;bmp";
    f.hidden = true;
    EXPECT_FALSE(form.Accept(f, P("data")));
    EXPECT_FALSE(form.accepted());
    EXPECT_EQ(job.typeList, Paths{"keep"});
    EXPECT_EQ(job.includeHidden, 0);
    EXPECT_TRUE(form.Roots().empty());
    EXPECT_TRUE(form.recent().Store().empty());
}

TEST_F(NewSearchFormTest, OkWithoutRootsAddsThePathBoxQuietly) {
    form.Open({}, {});
    ASSERT_TRUE(form.Accept({}, " " + P("data") + "/"));
    EXPECT_EQ(form.Roots(), Paths{P("data")});
    EXPECT_EQ(form.recent().Store(), Paths{P("data")});

    NewSearchForm bad(job);
    bad.Open({}, {});
    EXPECT_TRUE(bad.Accept({}, P("nowhere")));
    EXPECT_TRUE(bad.accepted());
    EXPECT_TRUE(bad.Roots().empty());
    EXPECT_TRUE(bad.Accept({}, ""));
    EXPECT_TRUE(bad.Roots().empty());
    EXPECT_TRUE(bad.recent().Store().empty());
}

} // namespace
} // namespace paradrex
