// The "Open" submenu: its items from the file context menu rows, and what a
// row starts on a file, or the status bar text when it cannot.

#include "uimodel/OpenSubmenu.h"

#include "support/TempTree.h"
#include "uimodel/CommandIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paradrex {
namespace {

using test::TempTree;
using Argv = std::vector<std::string>;

void SetRow(_File_context_menu_section& menu, size_t index, int visible, std::string caption,
            std::string command = {}) {
    menu.rows[index].Visible = visible;
    menu.rows[index].Menu = std::move(caption);
    menu.rows[index].Command = std::move(command);
}

TEST(OpenSubmenu, VisibleRowsFollowOpenWithTheirRowsIds) {
    _File_context_menu_section menu;
    EXPECT_EQ(OpenSubmenuItems(menu), (std::vector<OpenSubmenuItem>{{cmd::OpenFile, "&Open"}}));

    SetRow(menu, 0, 1, "Open as &Text", "gedit");
    SetRow(menu, 1, 0, "Open as &Image", "eog");
    SetRow(menu, 2, 1, "Open as &Audio");
    EXPECT_EQ(OpenSubmenuItems(menu),
              (std::vector<OpenSubmenuItem>{
                  {50, "&Open"}, {51, "Open as &Text"}, {53, "Open as &Audio"}}));

    // Only 1 shows a row: the half-checked 2 and stray values do not.
    SetRow(menu, 3, 2, "half");
    SetRow(menu, 4, -1, "negative");
    SetRow(menu, 9, 1, ""); // listed even without a caption
    const std::vector<OpenSubmenuItem> items = OpenSubmenuItems(menu);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items.back(), (OpenSubmenuItem{60, ""}));

    for (auto [id, row] : {std::pair{50, false}, std::pair{51, true}, std::pair{60, true},
                           std::pair{61, false}, std::pair{0, false}})
        EXPECT_EQ(IsOpenWithCommand(id), row) << id;
}

TEST(OpenSubmenu, ARowStartsItsProgramOnTheFileOrSaysItCannot) {
    TempTree tree;
    const std::string viewer = tree.createFile("my tools/viewer", "#!/bin/sh\n");
    tree.chmod("my tools/viewer", 0755);
    const std::string plain = tree.createFile("plain", "#!/bin/sh\n");
    const std::string file = tree.createFile("data/a b.txt", "x");
    const std::string gone = tree.path("data/gone.txt");

    struct Case {
        std::string command;
        std::string caption;
        std::string path;
        Argv argv; // empty: cannot start
        std::string failure;
    };
    const Case cases[] = {
        {viewer, "&View", file, {viewer, file}, "Can't start " + viewer},
        {"\"" + viewer + "\" --new %f",
         "&View",
         file,
         {viewer, "--new", file},
         "Can't start " + viewer},
        {"", "Open as &Text", file, {}, "Can't start Open as Text"},
        {"   ", "R&&D", file, {}, "Can't start R&D"},
        {"paradrex-missing-viewer %f", "x", file, {}, "Can't start paradrex-missing-viewer"},
        {plain, "x", file, {}, "Can't start " + plain},
        {tree.path("data"), "x", file, {}, "Can't start " + tree.path("data")},
        {viewer, "x", gone, {}, "Can't start " + viewer},
        {viewer, "x", tree.path("data"), {}, "Can't start " + viewer},
        {" viewer ; rm x ", "x", file, {}, "Can't start viewer ; rm x"},
    };
    for (const Case& c : cases) {
        _File_context_menu_section menu;
        SetRow(menu, 4, 1, c.caption, c.command);
        const OpenWithLaunch launch = PrepareOpenWith(menu, cmd::OpenWithFirst + 4, c.path);
        EXPECT_EQ(launch.argv, c.argv) << c.command;
        EXPECT_EQ(launch.ok(), !c.argv.empty()) << c.command;
        EXPECT_EQ(launch.failureText, c.failure) << c.command;
    }

    // A bare name is started as the file found on the search path.
    _File_context_menu_section menu;
    SetRow(menu, 0, 1, "&Shell", "sh");
    const OpenWithLaunch sh = PrepareOpenWith(menu, 51, file);
    ASSERT_TRUE(sh.ok());
    EXPECT_TRUE(sh.argv.front().ends_with("/sh")) << sh.argv.front();
    EXPECT_EQ(sh.argv.back(), file);
    EXPECT_EQ(sh.failureText, "Can't start sh");
    EXPECT_FALSE(PrepareOpenWith(menu, cmd::OpenFile, file).ok());
}

} // namespace
} // namespace paradrex
