#include "engine/PathSet.h"
#include "engine/SizeText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <unistd.h>

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

TEST(NormalizeDirEntry, TrimsExpandsAndMakesAbsoluteAndNormal) {
    EXPECT_EQ(NormalizeDirEntry(""), "");
    EXPECT_EQ(NormalizeDirEntry("   "), "");
    EXPECT_EQ(NormalizeDirEntry("  /data/ "), "/data");
    EXPECT_EQ(NormalizeDirEntry("/data//"), "/data");
    EXPECT_EQ(NormalizeDirEntry("/"), "/");
    EXPECT_EQ(NormalizeDirEntry("//"), "/");
    EXPECT_EQ(NormalizeDirEntry("/a/./b/../c"), "/a/c");
    EXPECT_EQ(NormalizeDirEntry("/.."), "/");
    EXPECT_EQ(NormalizeDirEntry("/with inner space"), "/with inner space");

    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(NormalizeDirEntry("~"), AbsoluteNormalPath(home));
    EXPECT_EQ(NormalizeDirEntry("~/docs/"), AbsoluteNormalPath(std::string(home) + "/docs"));

    char cwd[PATH_MAX];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(NormalizeDirEntry("sub"), AbsoluteNormalPath(std::string(cwd) + "/sub"));
    EXPECT_EQ(NormalizeDirEntry("."), AbsoluteNormalPath(cwd));
    // Blanks at the ends of a path given as it is are kept.
    EXPECT_EQ(AbsoluteNormalPath("/x/ y "), "/x/ y ");
}

TEST(ParseTypeList, SplitsAtSpacesLowersAndSorts) {
    auto list = ParseTypeList("JPG  Bmp gif ");
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, (std::vector<std::string>{"bmp", "gif", "jpg"}));
    EXPECT_FALSE(ParseTypeList("jpg;bmp"));
    EXPECT_FALSE(ParseTypeList("*.jpg"));
    ASSERT_TRUE(ParseTypeList(""));
    EXPECT_TRUE(ParseTypeList("")->empty());
    EXPECT_TRUE(ParseTypeList("    ")->empty());
    // Tabs are ordinary characters; duplicates stay.
    EXPECT_EQ(*ParseTypeList("a\tb a"), (std::vector<std::string>{"a", "a\tb"}));
}

TEST(SizeLimit, ShiftsByUnitAndClampsToThirtyTwoBits) {
    EXPECT_EQ(SizeLimit("2", 1), 2048u);
    EXPECT_EQ(SizeLimit("0", 2), 0u);
    EXPECT_EQ(SizeLimit("3", 2), 3u << 20);
    EXPECT_EQ(SizeLimit("12abc", 0), 12u);
    EXPECT_EQ(SizeLimit("abc", 0), 0u);
    EXPECT_EQ(SizeLimit("4095", 2), 4095u << 20);
    // Would wrap to 0 in 32 bits: clamped instead, so no file is excluded by surprise.
    EXPECT_EQ(SizeLimit("4096", 2), 0xFFFFFFFFu);
    EXPECT_EQ(SizeLimit("99999999999999999999", 0), 0xFFFFFFFFu);
    EXPECT_EQ(SizeLimit("4294967295", 0), 0xFFFFFFFFu);
}

TEST(FileExtension, IsTheTextAfterTheLastDot) {
    EXPECT_EQ(FileExtension("photo.JPG"), "JPG");
    EXPECT_EQ(FileExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(FileExtension("README"), "");
    EXPECT_EQ(FileExtension("trailing."), "");
}

TEST(SizeText, ScalesByPowersOf1024WithUpToTwoDecimals) {
    EXPECT_EQ(SizeText(1234567), "1.18 MB");
    EXPECT_EQ(SizeText(0), "0 B");
    EXPECT_EQ(SizeText(1023), "1023 B");
    EXPECT_EQ(SizeText(1536), "1.50 KB");
    EXPECT_EQ(SizeText(10485760), "10.0 MB");
    EXPECT_EQ(SizeText(157286400), "150 MB");
    EXPECT_EQ(SizeText(uint64_t{5} << 40), "5.00 TB");
    EXPECT_EQ(SizeText(uint64_t{1} << 50), "");
}

TEST(GroupDigits, GroupsByThreesFromTheRight) {
    EXPECT_EQ(GroupDigits(0), "0");
    EXPECT_EQ(GroupDigits(999), "999");
    EXPECT_EQ(GroupDigits(1000), "1,000");
    EXPECT_EQ(GroupDigits(1234567), "1,234,567");
    EXPECT_EQ(GroupDigits(18446744073709551615ull), "18,446,744,073,709,551,615");
}

} // namespace
} // namespace paradrex
