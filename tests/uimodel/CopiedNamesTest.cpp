#include "uimodel/CopiedNames.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

TEST(CopiedNames, EachListKeepsItsRowUntilItIsFilledAgain) {
    CopiedNames c;
    for (ListKind list : kListKinds)
        EXPECT_EQ(c.row(list), -1);
    c.Copy(ListKind::CloneList, 2);
    c.Copy(ListKind::OneList, 7);
    c.Copy(ListKind::FileList, 3); // the file list has no Copy Name
    EXPECT_EQ(c.row(ListKind::CloneList), 2);
    EXPECT_EQ(c.row(ListKind::OneList), 7);
    EXPECT_EQ(c.row(ListKind::FileList), -1);

    c.Refilled(ListKind::CloneList); // a new file-list row selected
    EXPECT_EQ(c.row(ListKind::CloneList), -1);
    EXPECT_EQ(c.row(ListKind::OneList), 7);
    c.Copy(ListKind::CloneList, 0);
    c.Refilled(ListKind::OneList); // a new result
    EXPECT_EQ(c.row(ListKind::OneList), -1);
    EXPECT_EQ(c.row(ListKind::CloneList), 0);
    c.Copy(ListKind::CloneList, -5); // no selected row: nothing copied
    EXPECT_EQ(c.row(ListKind::CloneList), -1);
}

} // namespace
} // namespace paradrex
