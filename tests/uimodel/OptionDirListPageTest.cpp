// The default directory pages of the options sheet on real temporary
// folders: loading and storing without vanished directories, the add rule
// and its balloons, removing, and the balloon timer.

#include "uimodel/OptionDirListPage.h"
#include "settings/SettingFile.h"
#include "support/TempTree.h"
#include "uimodel/SearchFilters.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace paradrex {
namespace {

using Outcome = OptionDirListPage::Outcome;
using Paths = std::vector<std::string>;
using test::TempTree;

class OptionDirListPageTest : public testing::Test {
protected:
    OptionDirListPageTest() {
        for (const char* d : {"data/old", "data/new", "dat", "A-B", "A/X", "other", "gone"})
            tree.createDir(d);
        tree.createFile("file.txt", "x");
    }
    std::string P(const char* rel) const { return tree.path(rel); }
    // The page with the given rows loaded from the preserve list.
    void LoadRows(const Paths& rows) {
        settings.defaultPreserveDirectory.dirs = rows;
        page.Load(settings);
    }

    TempTree tree;
    _Setting_file settings = _Setting_file::FromText("");
    OptionDirListPage page{&_Setting_file::defaultPreserveDirectory};
};

TEST_F(OptionDirListPageTest, LoadingShowsTheExistingDirectoriesInStoredOrder) {
    settings.defaultSearchDirectory.dirs = {P("other")};
    LoadRows({P("other"), P("missing"), P("data") + "/./new/", P("file.txt"), "", P("dat")});
    // Stored order, not path order; vanished entries and files are not shown.
    EXPECT_EQ(page.rows(), (Paths{P("other"), P("data/new"), P("dat")}));
    // The page's own list only.
    OptionDirListPage search(&_Setting_file::defaultSearchDirectory);
    search.Load(settings);
    EXPECT_EQ(search.rows(), Paths{P("other")});
}

TEST_F(OptionDirListPageTest, StoringDropsDirectoriesThatVanishedMeanwhile) {
    LoadRows({P("other"), P("gone"), P("dat")});
    tree.remove("gone");
    page.Store(settings);
    EXPECT_EQ(settings.defaultPreserveDirectory.dirs, (Paths{P("other"), P("dat")}));
    // A directory that vanished and came back before OK is kept.
    tree.remove("dat");
    tree.createDir("dat");
    page.Store(settings);
    EXPECT_EQ(settings.defaultPreserveDirectory.dirs, (Paths{P("other"), P("dat")}));
    EXPECT_TRUE(settings.defaultSearchDirectory.dirs.empty());
}

TEST_F(OptionDirListPageTest, TheAddRule) {
    struct Case {
        const char* what;
        Paths rows;       // relative to the tree
        std::string edit; // relative to the tree unless empty or starting with ' '
        Outcome outcome;
        Paths after;
        std::string balloon; // relative directory of a Covered balloon
    };
    const std::vector<Case> cases = {
        {"a containing directory replaces both",
         {"data/old", "data/new"},
         "data",
         Outcome::Added,
         {"data"},
         ""},
        {"a directory inside a row is refused",
         {"data"},
         "data/old",
         Outcome::Covered,
         {"data"},
         "data"},
        {"an equal directory is refused",
         {"other", "data"},
         "data",
         Outcome::Covered,
         {"other", "data"},
         "data"},
        {"a name prefix is not containment", {"data"}, "dat", Outcome::Added, {"dat", "data"}, ""},
        {"rows end up in path order",
         {"other", "dat"},
         "A-B",
         Outcome::Added,
         {"A-B", "dat", "other"},
         ""},
        {"'/' sorts before every other byte", {"A-B"}, "A/X", Outcome::Added, {"A/X", "A-B"}, ""},
        {"the edit is normalised", {}, "data/old/../new/", Outcome::Added, {"data/new"}, ""},
        {"a missing directory", {"dat"}, "missing", Outcome::Invalid, {"dat"}, ""},
        {"a file", {"dat"}, "file.txt", Outcome::Invalid, {"dat"}, ""},
        {"an empty edit", {"dat"}, "", Outcome::Invalid, {"dat"}, ""},
        {"a blank edit", {"dat"}, "   ", Outcome::Invalid, {"dat"}, ""},
    };
    for (const Case& c : cases) {
        Paths rows;
        for (const std::string& r : c.rows)
            rows.push_back(P(r.c_str()));
        LoadRows(rows);
        const std::string edit = c.edit.empty() || c.edit[0] == ' ' ? c.edit : P(c.edit.c_str());
        EXPECT_EQ(page.Add(edit), c.outcome) << c.what;
        Paths after;
        for (const std::string& r : c.after)
            after.push_back(P(r.c_str()));
        EXPECT_EQ(page.rows(), after) << c.what;
        const std::string balloon = c.outcome == Outcome::Covered
                                        ? "\"" + P(c.balloon.c_str()) + "\" had been selected!"
                                        : "Not a valid directory!";
        if (DirectoryAddRule::ShowsBalloon(c.outcome)) {
            EXPECT_EQ(page.BalloonText(), balloon) << c.what;
        }
    }
}

TEST_F(OptionDirListPageTest, TildeAndBlanksAreTakenAsInTheNewSearchPathBox) {
    LoadRows({});
    EXPECT_EQ(page.Add("  ~ "), Outcome::Added);
    EXPECT_EQ(page.rows(), Paths{NormalizeDirEntry(std::getenv("HOME"))});
}

TEST_F(OptionDirListPageTest, RemovingDeletesTheSelectedRows) {
    LoadRows({P("other"), P("dat"), P("A-B"), P("A/X")});
    page.Remove({3, 1, 9, 1});
    EXPECT_EQ(page.rows(), (Paths{P("other"), P("A-B")}));
    page.Remove({});
    EXPECT_EQ(page.rows().size(), 2u);
    page.Remove({0, 1});
    EXPECT_TRUE(page.rows().empty());
}

TEST_F(OptionDirListPageTest, TheBalloonStaysThreeToFourSeconds) {
    LoadRows({});
    EXPECT_FALSE(page.TimerTick(false));
    ASSERT_EQ(page.Add(P("missing")), Outcome::Invalid);
    // The first tick comes up to a second after the balloon appeared.
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_TRUE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(false));

    // A balloon hidden early (the edit changed) starts afresh next time.
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(false));
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(true));
    // A new message while one is showing gets its full time.
    EXPECT_EQ(page.Add(""), Outcome::Invalid);
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_FALSE(page.TimerTick(true));
    EXPECT_TRUE(page.TimerTick(true));
}

} // namespace
} // namespace paradrex
