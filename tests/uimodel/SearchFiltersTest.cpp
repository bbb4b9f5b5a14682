#include "uimodel/SearchFilters.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace paradrex {
namespace {

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
    EXPECT_EQ(NormalizeDirEntry("~"), platform::AbsoluteNormalPath(home));
    EXPECT_EQ(NormalizeDirEntry("~/docs/"),
              platform::AbsoluteNormalPath(std::string(home) + "/docs"));

    char cwd[PATH_MAX];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(NormalizeDirEntry("sub"), platform::AbsoluteNormalPath(std::string(cwd) + "/sub"));
    EXPECT_EQ(NormalizeDirEntry("."), platform::AbsoluteNormalPath(cwd));
    // Blanks at the ends of a path given as it is are kept.
    EXPECT_EQ(platform::AbsoluteNormalPath("/x/ y "), "/x/ y ");
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

} // namespace
} // namespace paradrex
