// The options sheet: the page it opens on, switching pages through their
// leave check, OK storing only the pages shown, Cancel storing nothing, and
// the changes reported to the main window.

#include "uimodel/OptionSheet.h"
#include "settings/SettingFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace paradrex {
namespace {

using Changes = OptionSheet::Changes;
using Paths = std::vector<std::string>;

const std::string kInvalidMove = "You shall input a valid directory!";

class OptionSheetTest : public testing::Test {
protected:
    OptionSheetTest() {
        Fill(settings);
        Fill(before);
    }
    // Settings with something in every list and a few vanished directories.
    static void Fill(_Setting_file& s) {
        s.defaultSearchDirectory.dirs = {"/data", "/vanished", "/home"};
        s.defaultPreserveDirectory.dirs = {"/vanished", "/keep"};
        s.defaultDeleteDirectory.dirs = {"/trash/a", "/vanished/too"};
        s.deleteOption.MoveDirectory = "/old";
        s.fileContextMenu.rows[0].Visible = 1;
        s.fileContextMenu.rows[0].Menu = "Open as &Text";
        s.fileContextMenu.rows[0].Command = "good";
    }
    OptionSheet::Environment Fakes() {
        return {[this](const std::string& p) { return dirs.count(p) != 0; },
                [](const std::string& program) { return program == "good"; }};
    }
    void ExpectSettingsUnchanged() const { EXPECT_TRUE(settings.SameValues(before)); }

    std::set<std::string> dirs = {"/data", "/home", "/keep", "/trash/a", "/old", "/new"};
    _Setting_file settings = _Setting_file::FromText("");
    _Setting_file before = _Setting_file::FromText("");
};

TEST_F(OptionSheetTest, OpensOnDefaultSearchDirectoryWithOnlyThatPageLoaded) {
    OptionSheet sheet(settings, Fakes());
    EXPECT_EQ(sheet.currentPage(), 0u);
    EXPECT_EQ(sheet.title(), "Default Search Directory");
    EXPECT_EQ(sheet.dirListPage(OptionSheet::kSearchDirectories).rows(), (Paths{"/data", "/home"}));
    for (size_t page = 1; page < OptionSheet::kPageCount; ++page)
        EXPECT_FALSE(sheet.WasShown(page)) << page;
    EXPECT_TRUE(sheet.dirListPage(OptionSheet::kPreserveDirectories).rows().empty());
    EXPECT_EQ(sheet.changes(), Changes{});
}

TEST_F(OptionSheetTest, APageIsLoadedWhenFirstShownAndKeepsItsEditsWhenLeft) {
    OptionSheet sheet(settings, Fakes());
    for (size_t page : {6, 3, 1, 5, 2, 4}) {
        EXPECT_EQ(sheet.SelectPage(page), std::nullopt) << page;
        EXPECT_EQ(sheet.currentPage(), page);
        EXPECT_EQ(sheet.title(), OptionSheet::kPageTitles[page]);
        EXPECT_TRUE(sheet.WasShown(page));
    }
    EXPECT_EQ(sheet.deletePage().moveDirectory(), "/old");
    EXPECT_EQ(sheet.dirListPage(OptionSheet::kPreserveDirectories).rows(), Paths{"/keep"});
    sheet.deletePage().SetMoveDirectory("edited");
    settings.deleteOption.MoveDirectory = "/elsewhere";
    ASSERT_EQ(sheet.SelectPage(0), std::nullopt);
    ASSERT_EQ(sheet.SelectPage(3), std::nullopt);
    EXPECT_EQ(sheet.deletePage().moveDirectory(), "edited");
}

TEST_F(OptionSheetTest, ARefusedPageKeepsTheSelectionAndRefusesOk) {
    OptionSheet sheet(settings, Fakes());
    ASSERT_EQ(sheet.SelectPage(OptionSheet::kDeleteOption), std::nullopt);
    sheet.deletePage().SetChoice(OptionDeletePage::kMoveToDirectory);
    sheet.deletePage().SetMoveDirectory("");
    EXPECT_EQ(sheet.SelectPage(OptionSheet::kColorScheme), kInvalidMove);
    EXPECT_EQ(sheet.currentPage(), size_t(OptionSheet::kDeleteOption));
    EXPECT_EQ(sheet.title(), "Delete Option");
    EXPECT_FALSE(sheet.WasShown(OptionSheet::kColorScheme));
    EXPECT_EQ(sheet.Accept(), kInvalidMove);
    EXPECT_EQ(sheet.changes(), Changes{});
    ExpectSettingsUnchanged();

    sheet.deletePage().SetMoveDirectory("/new/");
    EXPECT_EQ(sheet.SelectPage(OptionSheet::kFileContextMenu), std::nullopt);
    sheet.fileContextMenuPage().SetRow(2, {true, "", "good"});
    EXPECT_EQ(sheet.SelectPage(0), "Line 3: You shall input a menu item name!");
    EXPECT_EQ(sheet.Accept(), "Line 3: You shall input a menu item name!");
    EXPECT_EQ(sheet.currentPage(), size_t(OptionSheet::kFileContextMenu));
    ExpectSettingsUnchanged();

    sheet.fileContextMenuPage().SetRow(2, {false, "", ""});
    EXPECT_EQ(sheet.Accept(), std::nullopt);
    EXPECT_EQ(settings.deleteOption.DeleteOption.value, 2);
    EXPECT_EQ(settings.deleteOption.MoveDirectory.value, "/new");
}

TEST_F(OptionSheetTest, CancelStoresNothing) {
    {
        OptionSheet sheet(settings, Fakes());
        sheet.dirListPage(0).Add("/new");
        sheet.dirListPage(0).Remove({0});
        for (size_t page = 1; page < OptionSheet::kPageCount; ++page)
            ASSERT_EQ(sheet.SelectPage(page), std::nullopt);
        sheet.dirListPage(OptionSheet::kPreserveDirectories).Add("/old");
        sheet.dirListPage(OptionSheet::kDeleteDirectories).Remove({0});
        sheet.deletePage().SetChoice(OptionDeletePage::kDeleteDirectly);
        sheet.colorPage().SetColour(OptionColorPage::kInterval, 0x123456);
        sheet.interfacePage().SetMenuStyle(0);
        sheet.interfacePage().SetListStyle(0);
        sheet.fileContextMenuPage().SetRow(0, {false, "x", "y"});
        // Cancel closes the sheet without a call.
    }
    ExpectSettingsUnchanged();
}

TEST_F(OptionSheetTest, OkAfterOnlyLookingChangesNothingReported) {
    for (size_t looked : {0, 4, 5, 6}) {
        OptionSheet sheet(settings, Fakes());
        ASSERT_EQ(sheet.SelectPage(looked), std::nullopt);
        EXPECT_EQ(sheet.Accept(), std::nullopt);
        EXPECT_EQ(sheet.changes(), Changes{}) << looked;
    }
    // Only the search list was stored, without its vanished directory.
    before.defaultSearchDirectory.dirs = {"/data", "/home"};
    ExpectSettingsUnchanged();
}

TEST_F(OptionSheetTest, OkStoresOnlyThePagesThatWereShown) {
    OptionSheet sheet(settings, Fakes());
    ASSERT_EQ(sheet.SelectPage(OptionSheet::kDeleteDirectories), std::nullopt);
    ASSERT_EQ(sheet.SelectPage(OptionSheet::kCustomInterface), std::nullopt);
    sheet.interfacePage().SetListStyle(0);
    EXPECT_EQ(sheet.Accept(), std::nullopt);
    // The shown directory pages lose their vanished directories; the
    // preserve list was never shown and keeps its own.
    EXPECT_EQ(settings.defaultSearchDirectory.dirs, (Paths{"/data", "/home"}));
    EXPECT_EQ(settings.defaultPreserveDirectory.dirs, (Paths{"/vanished", "/keep"}));
    EXPECT_EQ(settings.defaultDeleteDirectory.dirs, Paths{"/trash/a"});
    EXPECT_EQ(settings.interfaceStyle.ListViewStyle.value, 0);
    EXPECT_EQ(sheet.changes(), (Changes{false, false, true, false}));
}

TEST_F(OptionSheetTest, OkReportsWhichGroupsChanged) {
    struct Case {
        const char* what;
        size_t page;
        std::function<void(OptionSheet&)> edit;
        Changes changes; // file context menu, menu style, list style, colours
    };
    using Row = OptionFileContextMenuPage::Row;
    const std::vector<Case> cases = {
        {"a row's check box",
         6,
         [](OptionSheet& s) {
             s.fileContextMenuPage().SetRow(0, {false, "Open as &Text", "good"});
         },
         {true, false, false, false}},
        {"a row's caption",
         6,
         [](OptionSheet& s) {
             s.fileContextMenuPage().SetRow(0, {true, "Open &Text", "good"});
         },
         {true, false, false, false}},
        {"a row's program",
         6,
         [](OptionSheet& s) {
             s.fileContextMenuPage().SetRow(9, Row{false, "", "other"});
         },
         {true, false, false, false}},
        {"a row edited back",
         6,
         [](OptionSheet& s) {
             s.fileContextMenuPage().SetRow(0, {false, "", ""});
             s.fileContextMenuPage().SetRow(0, {true, "Open as &Text", "good"});
         },
         {}},
        {"the interval colour",
         4,
         [](OptionSheet& s) { s.colorPage().SetColour(OptionColorPage::kInterval, 0x1); },
         {false, false, false, true}},
        {"the classified colour",
         4,
         [](OptionSheet& s) { s.colorPage().SetColour(OptionColorPage::kClassified, 0x1); },
         {false, false, false, true}},
        {"the duplicate colour",
         4,
         [](OptionSheet& s) { s.colorPage().SetColour(OptionColorPage::kDuplicate, 0x1); },
         {false, false, false, true}},
        {"the menu style",
         5,
         [](OptionSheet& s) { s.interfacePage().SetMenuStyle(0); },
         {false, true, false, false}},
        {"the list style",
         5,
         [](OptionSheet& s) { s.interfacePage().SetListStyle(0); },
         {false, false, true, false}},
        {"both styles",
         5,
         [](OptionSheet& s) {
             s.interfacePage().SetMenuStyle(0);
             s.interfacePage().SetListStyle(0);
         },
         {false, true, true, false}},
        {"the delete option",
         3,
         [](OptionSheet& s) { s.deletePage().SetChoice(OptionDeletePage::kDeleteDirectly); },
         {}},
        {"a default directory", 1, [](OptionSheet& s) { s.dirListPage(1).Add("/new"); }, {}},
    };
    for (const Case& c : cases) {
        _Setting_file s = _Setting_file::FromText("");
        Fill(s);
        OptionSheet sheet(s, Fakes());
        ASSERT_EQ(sheet.SelectPage(c.page), std::nullopt) << c.what;
        c.edit(sheet);
        EXPECT_EQ(sheet.Accept(), std::nullopt) << c.what;
        EXPECT_EQ(sheet.changes(), c.changes) << c.what;
    }
}

} // namespace
} // namespace paradrex
