// The rules of the "Delete Option", "Color Scheme", "Custom Interface" and
// "File Context Menu" pages of the options sheet.

#include "settings/SettingFile.h"
#include "support/TempTree.h"
#include "uimodel/OptionColorPage.h"
#include "uimodel/OptionDeletePage.h"
#include "uimodel/OptionFileContextMenuPage.h"
#include "uimodel/OptionInterfacePage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace paradrex {
namespace {

using test::TempTree;

const std::string kInvalidMove = "You shall input a valid directory!";

TEST(OptionDeletePage, LoadingChecksTheStoredChoiceOrNone) {
    for (int stored : {0, 1, 2, 3, -1, 77}) {
        _Setting_file s = _Setting_file::FromText("");
        s.deleteOption.DeleteOption = stored;
        s.deleteOption.MoveDirectory = "/srv/old";
        OptionDeletePage page;
        page.Load(s);
        EXPECT_EQ(page.choice(), stored >= 0 && stored <= 2 ? stored : -1) << stored;
        EXPECT_EQ(page.moveDirectory(), "/srv/old");
        // Nothing checked is stored back as -1.
        page.Store(s);
        EXPECT_EQ(s.deleteOption.DeleteOption.value, page.choice());
    }
}

TEST(OptionDeletePage, TheMoveDirectoryIsCheckedOnlyWhenMoving) {
    const std::set<std::string> dirs = {"/srv/old", "/srv/a\nb"};
    struct Case {
        int choice;
        std::string edit;
        bool refused;
        std::string stored; // MoveDirectory after storing
    };
    const std::vector<Case> cases = {
        {2, "", true, ""},
        {2, "   ", true, ""},
        {2, "no such place", true, ""},
        {2, "/srv/missing", true, ""},
        // A directory whose name holds a line end could not be kept.
        {2, "/srv/a\nb", true, ""},
        {2, "/srv/old", false, "/srv/old"},
        // Normalised as the New Search path box does, and stored so.
        {2, " /srv/old/ ", false, "/srv/old"},
        {2, "/srv/new/../old/.", false, "/srv/old"},
        // Anything goes with the other choices, and is kept as typed.
        {1, "garbage ?*", false, "garbage ?*"},
        {1, "", false, ""},
        {0, "/srv/missing", false, "/srv/missing"},
        {-1, "x", false, "x"},
    };
    for (const Case& c : cases) {
        OptionDeletePage page([&](const std::string& p) { return dirs.count(p) != 0; });
        page.SetChoice(c.choice);
        page.SetMoveDirectory(c.edit);
        const std::optional<std::string> refusal = page.LeaveRefusal();
        EXPECT_EQ(refusal.has_value(), c.refused) << c.choice << " '" << c.edit << "'";
        if (c.refused) {
            EXPECT_EQ(*refusal, kInvalidMove);
            continue;
        }
        _Setting_file s = _Setting_file::FromText("");
        page.Store(s);
        EXPECT_EQ(s.deleteOption.DeleteOption.value, c.choice);
        EXPECT_EQ(s.deleteOption.MoveDirectory.value, c.stored)
            << c.choice << " '" << c.edit << "'";
    }
}

TEST(OptionColorPage, TheRowsEditTheirSettingsAndColourThePreview) {
    _Setting_file s = _Setting_file::FromText("");
    s.color.clrTextBk1 = 0x111111u;
    s.color.clrTextBk2 = 0x222222u;
    s.color.clrTextBlock = 0x333333u;
    OptionColorPage page;
    page.Load(s);
    EXPECT_EQ(page.colour(OptionColorPage::kClassified), 0x222222u);
    EXPECT_EQ(page.colour(OptionColorPage::kDuplicate), 0x333333u);
    EXPECT_EQ(page.colour(OptionColorPage::kInterval), 0x111111u);

    page.SetColour(OptionColorPage::kClassified, 0xAAu);
    page.SetColour(OptionColorPage::kDuplicate, 0xBBu);
    page.SetColour(OptionColorPage::kInterval, 0xCCu);
    // Preview rows 1 and 2 show the classified colour, 5 and 6 the duplicate
    // colour, the others the interval colour.
    const Colour expected[8] = {0xAA, 0xAA, 0xCC, 0xCC, 0xBB, 0xBB, 0xCC, 0xCC};
    for (size_t row = 0; row < OptionColorPage::kPreviewRowCount; ++row)
        EXPECT_EQ(page.PreviewBackground(row), expected[row]) << row;

    page.Store(s);
    EXPECT_EQ(s.color.clrTextBk2.value, 0xAAu);
    EXPECT_EQ(s.color.clrTextBlock.value, 0xBBu);
    EXPECT_EQ(s.color.clrTextBk1.value, 0xCCu);
}

TEST(OptionColorPage, TheCustomColoursLastForTheRun) {
    std::array<Colour, 16>& custom = OptionColorPage::CustomColours();
    EXPECT_EQ(custom, OptionColorPage::kInitialCustomColours);
    EXPECT_EQ(custom[0], 0xFFF1F1u);
    EXPECT_EQ(custom[1], 0xF1F1FFu);
    EXPECT_EQ(custom[15], 0xFFFFFFu);
    custom[3] = 0x123456;
    EXPECT_EQ(OptionColorPage::CustomColours()[3], 0x123456u);
    custom = OptionColorPage::kInitialCustomColours;
}

TEST(OptionInterfacePage, StylesOutsideTheirValuesCheckNothingAndStoreMinusOne) {
    struct Case {
        int stored;
        int shown;
    };
    for (const Case& c : std::vector<Case>{{0, 0}, {1, 1}, {2, -1}, {-1, -1}, {100, -1}}) {
        _Setting_file s = _Setting_file::FromText("");
        s.interfaceStyle.MenuStyle = c.stored;
        s.interfaceStyle.ListViewStyle = 1 - c.stored;
        OptionInterfacePage page;
        page.Load(s);
        EXPECT_EQ(page.menuStyle(), c.shown) << c.stored;
        page.Store(s);
        EXPECT_EQ(s.interfaceStyle.MenuStyle.value, c.shown) << c.stored;
    }
    _Setting_file s = _Setting_file::FromText("");
    OptionInterfacePage page;
    page.Load(s);
    EXPECT_EQ(page.menuStyle(), 1);
    EXPECT_EQ(page.listStyle(), 1);
    page.SetMenuStyle(0);
    page.SetListStyle(0);
    page.Store(s);
    EXPECT_EQ(s.interfaceStyle.MenuStyle.value, 0);
    EXPECT_EQ(s.interfaceStyle.ListViewStyle.value, 0);
}

using Row = OptionFileContextMenuPage::Row;

const std::string kProgramText =
    ": The file Don't exists, or it is not a executable file with postfix \"exe\"!";

TEST(OptionFileContextMenuPage, CheckedRowsNeedACaptionAndAProgramThatStarts) {
    struct Case {
        const char* what;
        std::vector<std::pair<size_t, Row>> rows; // others unchecked and empty
        std::optional<std::string> refusal;
    };
    const Row good{true, "Open as &Text", "good"};
    const std::vector<Case> cases = {
        {"nothing checked", {}, std::nullopt},
        {"unchecked rows may hold anything",
         {{0, {false, "", "unexamined"}}, {4, {false, "x", ""}}, {9, {false, "", "unexamined"}}},
         std::nullopt},
        {"good rows pass", {{0, good}, {9, good}}, std::nullopt},
        {"row 3 without a caption",
         {{2, {true, "", "unexamined"}}},
         "Line 3: You shall input a menu item name!"},
        {"row 3 without a caption and without a program",
         {{2, {true, "", ""}}},
         "Line 3: You shall input a menu item name!"},
        {"row 3 with a program that cannot be started",
         {{2, {true, "View", "C:\\Tools\\viewer.com"}}},
         "Line 3" + kProgramText},
        {"row 3 with no program", {{2, {true, "View", ""}}}, "Line 3" + kProgramText},
        {"the first failing row from the top",
         {{1, good}, {4, {true, "", "unexamined"}}, {6, {true, "View", "unexamined"}}},
         "Line 5: You shall input a menu item name!"},
        {"row 10", {{9, {true, "Ten", "missing"}}}, "Line 10" + kProgramText},
    };
    for (const Case& c : cases) {
        std::vector<std::string> asked;
        OptionFileContextMenuPage page([&](const std::string& program) {
            asked.push_back(program);
            return program == "good";
        });
        for (const auto& [index, row] : c.rows)
            page.SetRow(index, row);
        EXPECT_EQ(page.LeaveRefusal(), c.refusal) << c.what;
        // Only checked rows with a caption, up to the first failure, have
        // their program examined.
        for (const std::string& program : asked)
            EXPECT_NE(program, "unexamined") << c.what;
    }
}

TEST(OptionFileContextMenuPage, RowsExchangeVisibleMenuAndCommand) {
    _Setting_file s = _Setting_file::FromText("");
    const int visible[10] = {1, 0, 2, -1, 1, 0, 0, 7, 0, 1};
    for (size_t i = 0; i < 10; ++i) {
        s.fileContextMenu.rows[i].Visible = visible[i];
        s.fileContextMenu.rows[i].Menu = "menu " + std::to_string(i);
        s.fileContextMenu.rows[i].Command = "/bin/cmd" + std::to_string(i);
    }
    OptionFileContextMenuPage page;
    page.Load(s);
    for (size_t i = 0; i < 10; ++i) {
        // Only 1 shows a row in the "Open" submenu, and only 1 checks it.
        EXPECT_EQ(page.rows()[i], (Row{visible[i] == 1, "menu " + std::to_string(i),
                                       "/bin/cmd" + std::to_string(i)}))
            << i;
    }
    page.SetRow(1, {true, "Open as &Image", "eog"});
    page.SetRow(0, {false, "", ""});
    page.Store(s);
    const int stored[10] = {0, 1, 0, 0, 1, 0, 0, 0, 0, 1};
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(s.fileContextMenu.rows[i].Visible.value, stored[i]) << i;
    EXPECT_EQ(s.fileContextMenu.rows[0].Menu.value, "");
    EXPECT_EQ(s.fileContextMenu.rows[1].Menu.value, "Open as &Image");
    EXPECT_EQ(s.fileContextMenu.rows[1].Command.value, "eog");
    EXPECT_EQ(s.fileContextMenu.rows[2].Command.value, "/bin/cmd2");
}

// Sets PATH while it lives.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& value) {
        if (const char* old = std::getenv("PATH"))
            old_ = old;
        ::setenv("PATH", value.c_str(), 1);
    }
    ~ScopedPath() {
        if (old_)
            ::setenv("PATH", old_->c_str(), 1);
        else
            ::unsetenv("PATH");
    }

private:
    std::optional<std::string> old_;
};

TEST(OptionFileContextMenuPage, AProgramThatCanBeStarted) {
    TempTree tree;
    tree.createFile("bin/tool", "#!/bin/sh\n");
    tree.chmod("bin/tool", 0755);
    tree.createFile("bin/plain", "text");
    tree.chmod("bin/plain", 0644);
    tree.createFile("My Apps/my tool", "#!/bin/sh\n");
    tree.chmod("My Apps/my tool", 0755);
    tree.createDir("bin/subdir");
    tree.createSymlink(tree.path("bin/tool"), "link");
    tree.createFile("elsewhere/hidden", "#!/bin/sh\n");
    tree.chmod("elsewhere/hidden", 0755);
    const ScopedPath path(tree.path("nothing-here") + ":" + tree.path("bin"));

    const std::string spaced = tree.path("My Apps/my tool");
    struct Case {
        std::string program;
        bool starts;
    };
    const std::vector<Case> cases = {
        {tree.path("bin/tool"), true},
        {tree.path("link"), true},
        {spaced, true},                        // a program path holding a blank
        {"tool", true},                        // found on PATH
        {"tool --new-window", true},           // a command line
        {"  tool", true},                      // leading blanks
        {"\"" + spaced + "\" --x", true},      // a quoted program path
        {tree.path("bin/tool") + " -a", true}, // an Exec line with arguments
        {"hidden", false},                     // not on PATH
        {tree.path("bin/plain"), false},       // not executable
        {"plain", false},
        {tree.path("bin/subdir"), false}, // a directory
        {"subdir", false},
        {tree.path("bin/missing"), false},
        {"missing --x", false},
        {"C:\\Tools\\viewer.exe", false},
        {"", false},
        {"   ", false},
        {"\"\"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OptionFileContextMenuPage::CanStartProgram(c.program), c.starts) << c.program;
}

} // namespace
} // namespace paradrex
