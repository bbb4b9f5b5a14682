#include "uimodel/ListColumns.h"
#include "settings/SettingKeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace paradrex {
namespace {

// Every width key set to its own value, so a key read for the wrong column
// shows.
_Layout_section NumberedWidths() {
    _Layout_section l;
    l.LVFile_name = 1;
    l.LVFile_size = 2;
    l.LVFile_type = 3;
    l.LVFile_modified = 4;
    l.LVSame_name = 11;
    l.LVSame_directory = 12;
    l.LVSame_modified = 13;
    l.LVOne_name = 21;
    l.LVOne_directory = 22;
    l.LVOne_size = 23;
    l.LVOne_type = 24;
    l.LVOne_modified = 25;
    return l;
}

TEST(ListColumns, WidthsFollowTheDataColumnsInDisplayOrder) {
    const _Layout_section l = NumberedWidths();
    EXPECT_EQ(ColumnWidths(l, ListKind::FileList), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ColumnWidths(l, ListKind::CloneList), (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(ColumnWidths(l, ListKind::OneList), (std::vector<int>{21, 22, 23, 24, 25}));
    for (ListKind kind : kListKinds) {
        // One width for every column after the state column, which comes first.
        const auto columns = Columns(kind);
        ASSERT_EQ(columns.size(), ColumnWidths(l, kind).size() + 1);
        EXPECT_EQ(columns.front(), ListColumn::State);
        EXPECT_STREQ(ColumnTitle(columns.front()), "");
    }
    EXPECT_EQ(Columns(ListKind::CloneList)[2], ListColumn::Directory);
    EXPECT_EQ(Columns(ListKind::OneList)[3], ListColumn::Size);
}

TEST(ListColumns, StoringWritesOnlyTheListsOwnKeys) {
    _Layout_section l = NumberedWidths();
    const std::vector<int> clone = {110, 120, 130, 999}; // one too many
    StoreColumnWidths(l, ListKind::CloneList, clone);
    EXPECT_EQ(ColumnWidths(l, ListKind::CloneList), (std::vector<int>{110, 120, 130}));
    EXPECT_EQ(ColumnWidths(l, ListKind::FileList), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ColumnWidths(l, ListKind::OneList), (std::vector<int>{21, 22, 23, 24, 25}));
    const std::vector<int> two = {210, 220}; // the others keep their settings
    StoreColumnWidths(l, ListKind::OneList, two);
    EXPECT_EQ(ColumnWidths(l, ListKind::OneList), (std::vector<int>{210, 220, 23, 24, 25}));
}

} // namespace
} // namespace paradrex
