#include "uimodel/PaneSettings.h"
#include "settings/SettingFile.h"

#include <gtest/gtest.h>

#include <string>

namespace paradrex {
namespace {

TEST(PaneSettings, ListStyleOneIsThemedEveryOtherValuePlain) {
    EXPECT_EQ(ListStyleOf(1), ListStyle::WindowsVista);
    for (int v : {0, 2, -1, 7})
        EXPECT_EQ(ListStyleOf(v), ListStyle::WindowsDefault) << v;
}

TEST(PaneSettings, ReadFromTheSettingsGridOnlyWhenOne) {
    for (int grid : {0, 1, 2, -1}) {
        _Setting_file s = _Setting_file::FromText("");
        s.layout.Grid = grid;
        s.layout.LVSame_name = 55;
        s.color.clrTextBk1 = 123u;
        s.interfaceStyle.ListViewStyle = 0;
        const PaneSettings p = PaneSettingsOf(s);
        EXPECT_EQ(p.grid, grid == 1) << grid;
        EXPECT_EQ(p.listStyle, ListStyle::WindowsDefault);
        EXPECT_EQ(p.colours.textBk1, 123u);
        EXPECT_EQ(p.colours.textBk2, RowColours().textBk2);
        EXPECT_EQ(p.columnWidths[size_t(ListKind::CloneList)][0], 55);
    }
    // A new Setting.ini and the defaults agree.
    const PaneSettings fresh = PaneSettingsOf(_Setting_file::FromText(""));
    const PaneSettings defaults;
    EXPECT_EQ(fresh.grid, defaults.grid);
    EXPECT_EQ(fresh.listStyle, defaults.listStyle);
    EXPECT_EQ(fresh.colours, defaults.colours);
    EXPECT_EQ(fresh.columnWidths, defaults.columnWidths);
}

TEST(PaneSettings, StoredLayoutReadsBack) {
    _Setting_file s = _Setting_file::FromText("");
    std::array<std::vector<int>, 3> widths = {std::vector<int>{11, 12, 13, 14},
                                              std::vector<int>{21, 22, 23},
                                              std::vector<int>{31, 32, 33, 34, 35}};
    StorePaneLayout(s.layout, widths, true);
    EXPECT_EQ(s.layout.Grid.value, 1);
    EXPECT_EQ(PaneSettingsOf(s).columnWidths, widths);
    EXPECT_TRUE(PaneSettingsOf(s).grid);
    StorePaneLayout(s.layout, widths, false);
    EXPECT_EQ(s.layout.Grid.value, 0);
}

} // namespace
} // namespace paradrex
