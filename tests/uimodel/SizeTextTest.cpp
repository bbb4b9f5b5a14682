#include "uimodel/SizeText.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

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
