#include "engine/PathSet.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

bool Less(const char* a, const char* b) {
    return PathOrder()(a, b);
}
bool Equivalent(const char* a, const char* b) {
    return !Less(a, b) && !Less(b, a);
}

TEST(PathOrder, PathEqualsEveryPathInsideIt) {
    EXPECT_TRUE(Equivalent("/data", "/data"));
    EXPECT_TRUE(Equivalent("/data", "/data/old"));
    EXPECT_TRUE(Equivalent("/data/old/x", "/data"));
    EXPECT_TRUE(Equivalent("/", "/home/user"));
    EXPECT_FALSE(Equivalent("/data/old", "/data/new"));
}

TEST(PathOrder, SlashSortsBeforeEveryOtherByteAndNamePrefixesShortestFirst) {
    EXPECT_TRUE(Less("/A/X", "/A-B"));
    EXPECT_FALSE(Less("/A-B", "/A/X"));
    EXPECT_TRUE(Less("/Dat", "/Data"));
    EXPECT_FALSE(Less("/Data", "/Dat"));
    EXPECT_TRUE(Less("/ab", "/abc/d"));
    // Case matters; other bytes compare as signed bytes.
    EXPECT_TRUE(Less("/Z", "/a"));
    EXPECT_TRUE(Less("/\xC3\xA9", "/a"));
}

TEST(PathSet, CoveredPathsAreRefusedAndContainingPathsReplaceMembers) {
    PathSet set;
    EXPECT_TRUE(set.Add("/data").added);
    auto r = set.Add("/data/old");
    EXPECT_FALSE(r.added);
    EXPECT_EQ(r.coveringMember, "/data");
    r = set.Add("/data");
    EXPECT_FALSE(r.added);
    EXPECT_EQ(set.ToVector(), std::vector<std::string>{"/data"});

    PathSet two;
    two.Add("/data/old");
    two.Add("/data/new");
    EXPECT_EQ(two.size(), 2u);
    EXPECT_TRUE(two.Add("/data").added);
    EXPECT_EQ(two.ToVector(), std::vector<std::string>{"/data"});

    PathSet root;
    root.Add("/home");
    root.Add("/srv");
    EXPECT_TRUE(root.Add("/").added);
    EXPECT_EQ(root.ToVector(), std::vector<std::string>{"/"});
    EXPECT_FALSE(root.Add("/etc").added);
}

TEST(PathSet, NamePrefixIsNotContainmentAndSetOrderIsPathOrder) {
    PathSet set;
    set.Add("/Data");
    EXPECT_TRUE(set.Add("/Dat").added);
    EXPECT_EQ(set.ToVector(), (std::vector<std::string>{"/Dat", "/Data"}));

    PathSet s2;
    s2.Add("/A-B");
    s2.Add("/A/X");
    EXPECT_EQ(s2.ToVector(), (std::vector<std::string>{"/A/X", "/A-B"}));
    s2.Erase("/A/X");
    EXPECT_EQ(s2.ToVector(), std::vector<std::string>{"/A-B"});
    s2.Erase("/A-B/inner"); // only the member spelled exactly so is erased
    EXPECT_EQ(s2.size(), 1u);
}

TEST(FileExtension, IsTheTextAfterTheLastDot) {
    EXPECT_EQ(FileExtension("photo.JPG"), "JPG");
    EXPECT_EQ(FileExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(FileExtension("README"), "");
    EXPECT_EQ(FileExtension("trailing."), "");
}

} // namespace
} // namespace paradrex
