// The recent directory list: recency order, the bound of ten, byte order of
// the box.

#include "uimodel/RecentDirList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paradrex {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentDirList, NewPathsGoToTheFrontAndTheEleventhDropsTheLeastRecent) {
    RecentDirList list;
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(list.Use("/d" + std::to_string(i)));
    EXPECT_EQ(list.size(), 10u);
    EXPECT_EQ(list.recent().front(), "/d9");
    EXPECT_EQ(list.recent().back(), "/d0");

    EXPECT_TRUE(list.Use("/new"));
    EXPECT_EQ(list.size(), 10u);
    EXPECT_EQ(list.recent().front(), "/new");
    EXPECT_FALSE(list.Contains("/d0"));
    EXPECT_EQ(list.Sorted().size(), 10u);
}

TEST(RecentDirList, ReusingAListedPathOnlyMovesItToTheFront) {
    RecentDirList list;
    list.Load({"/a", "/b", "/c"});
    EXPECT_FALSE(list.Use("/c")); // the box needs no refill
    EXPECT_EQ(list.Store(), (Paths{"/c", "/a", "/b"}));
    EXPECT_FALSE(list.Use("/c"));
    EXPECT_EQ(list.Store(), (Paths{"/c", "/a", "/b"}));
    // Membership is exact: case and a trailing slash make another path.
    EXPECT_TRUE(list.Use("/A"));
    EXPECT_EQ(list.size(), 4u);
}

TEST(RecentDirList, BoxOrderIsByteOrderWhateverTheRecency) {
    RecentDirList list;
    list.Use("/a");
    list.Use("/Z");
    list.Use("/b");
    list.Use("/a/c");
    EXPECT_EQ(list.Sorted(), (Paths{"/Z", "/a", "/a/c", "/b"}));
    EXPECT_EQ(list.Store(), (Paths{"/a/c", "/b", "/Z", "/a"}));
}

TEST(RecentDirList, RemoveDropsFromBothOrders) {
    RecentDirList list;
    list.Load({"/x", "/y"});
    EXPECT_TRUE(list.Remove("/x"));
    EXPECT_FALSE(list.Remove("/x"));
    EXPECT_FALSE(list.Contains("/x"));
    EXPECT_EQ(list.Store(), Paths{"/y"});
    EXPECT_EQ(list.Sorted(), Paths{"/y"});
}

TEST(RecentDirList, ALongerStoredListIsTrimmedToItsFirstTenAndStaysBounded) {
    Paths stored;
    for (int i = 0; i < 14; ++i)
        stored.push_back("/s" + std::to_string(i));
    RecentDirList list;
    list.Load(stored);
    EXPECT_EQ(list.Store(), Paths(stored.begin(), stored.begin() + 10));
    list.Use("/fresh");
    EXPECT_EQ(list.size(), 10u);
    EXPECT_EQ(list.recent().back(), "/s8");

    // A path stored twice is kept once, at its first place.
    list.Load({"/p", "/q", "/p"});
    EXPECT_EQ(list.Store(), (Paths{"/p", "/q"}));
    EXPECT_TRUE(list.Remove("/p"));
    EXPECT_FALSE(list.Contains("/p"));
}

} // namespace
} // namespace paradrex
