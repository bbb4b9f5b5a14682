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

TEST(SizeLimit, ShiftsByUnitAndClampsOnlyBeyondSixtyFourBits) {
    EXPECT_EQ(SizeLimit("2", 1), 2048u);
    EXPECT_EQ(SizeLimit("0", 2), 0u);
    EXPECT_EQ(SizeLimit("3", 2), 3u << 20);
    EXPECT_EQ(SizeLimit("12abc", 0), 12u);
    EXPECT_EQ(SizeLimit("abc", 0), 0u);
    EXPECT_EQ(SizeLimit("-5", 1), 0u);
    EXPECT_EQ(SizeLimit("4095", 2), 4095u << 20);
    // Limits of 4 GiB and more are what they say.
    EXPECT_EQ(SizeLimit("4096", 2), uint64_t{1} << 32);
    EXPECT_EQ(SizeLimit("8000", 2), uint64_t{8000} << 20);
    EXPECT_EQ(SizeLimit("4294967296", 0), uint64_t{1} << 32);
    EXPECT_EQ(SizeLimit("18446744073709551615", 0), UINT64_MAX);
    EXPECT_EQ(SizeLimit("5", 3), uint64_t{5} << 30);
    EXPECT_EQ(SizeLimit("17592186044415", 2), UINT64_MAX >> 20 << 20); // the largest that fits
    EXPECT_EQ(SizeLimit("17179869183", 3), UINT64_MAX >> 30 << 30);
    // Products beyond 64 bits are clamped, so no file is excluded by surprise.
    EXPECT_EQ(SizeLimit("17592186044416", 2), UINT64_MAX);
    EXPECT_EQ(SizeLimit("17179869184", 3), UINT64_MAX);
    EXPECT_EQ(SizeLimit("18446744073709551616", 0), UINT64_MAX);
    EXPECT_EQ(SizeLimit("9999999999999999999999999999999", 0), UINT64_MAX);
}

TEST(MakeSearchJob, WritesEveryFilterAndKeepsTheRoots) {
    SearchJob base;
    base.roots.Add("/data");
    SearchFilters f;
    f.typeText = "JPG  Bmp gif ";
    f.moreThan = true;
    f.moreThanNumber = "2";
    f.moreThanUnit = 1;
    f.lessThan = true;
    f.lessThanNumber = "8000";
    f.lessThanUnit = 2; // beyond 32 bits: neither wrapped nor clamped
    f.readOnly = true;
    f.system = true;
    SearchJobOrError made = MakeSearchJob(f, base);
    ASSERT_TRUE(made.job);
    EXPECT_TRUE(made.error.empty());
    const SearchJob& job = *made.job;
    EXPECT_EQ(job.roots.ToVector(), std::vector<std::string>{"/data"});
    EXPECT_EQ(job.typeList, (std::vector<std::string>{"bmp", "gif", "jpg"}));
    EXPECT_TRUE(job.minSizeEnabled);
    EXPECT_EQ(job.minSize, 2048u);
    EXPECT_TRUE(job.maxSizeEnabled);
    EXPECT_EQ(job.maxSize, uint64_t{8000} << 20);
    EXPECT_EQ(job.includeReadOnly, 1);
    EXPECT_EQ(job.includeHidden, 0);
    EXPECT_EQ(job.includeSystem, 1);

    // Unchecked limits are switched off and keep their old values; the
    // attributes and the type list are replaced.
    SearchFilters plain;
    plain.moreThanNumber = "9";
    made = MakeSearchJob(plain, job);
    ASSERT_TRUE(made.job);
    EXPECT_FALSE(made.job->minSizeEnabled);
    EXPECT_EQ(made.job->minSize, 2048u);
    EXPECT_FALSE(made.job->maxSizeEnabled);
    EXPECT_TRUE(made.job->typeList.empty());
    EXPECT_EQ(made.job->includeReadOnly, 0);
    EXPECT_EQ(made.job->includeSystem, 0);
    EXPECT_EQ(made.job->roots.size(), 1u);
}

TEST(MakeSearchJob, RefusedTypeTextGivesTheMessageAndNoJob) {
    for (const char* bad : {"jpg;bmp", "*.jpg", "a b*"}) {
        SearchFilters f;
        f.typeText = bad;
        f.moreThan = true;
        f.moreThanNumber = "5";
        SearchJobOrError made = MakeSearchJob(f);
        EXPECT_FALSE(made.job) << bad;
        EXPECT_EQ(made.error,
                  "File type input is incorrect, please input like \"ext1 ext2 ext3\" !");
    }
}

} // namespace
} // namespace paradrex
