// The About box's texts: the two cumulative lines with their edge values, and
// the totals read from the per-user key store whatever state it is in.

#include "uimodel/AboutTexts.h"

#include "engine/SearchDriver.h"
#include "platform/KeyStore.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace paradrex {
namespace {

using platform::KeyStore;
using platform::KeyValue;
using platform::KeyValues;
using test::TempTree;

TEST(AboutTexts, TheDataLineAddsTheSizeTextFromAThousandBytesOn) {
    const struct {
        uint64_t bytes;
        const char* line;
    } cases[] = {
        {0, "Cumulative Compared Data: 0 Bytes"},
        {999, "Cumulative Compared Data: 999 Bytes"},
        {1000, "Cumulative Compared Data: 1,000 Bytes (1000 B)"},
        {1023, "Cumulative Compared Data: 1,023 Bytes (1023 B)"},
        {10240, "Cumulative Compared Data: 10,240 Bytes (10.0 KB)"},
        {1048575, "Cumulative Compared Data: 1,048,575 Bytes (1024 KB)"},
        {1536000000, "Cumulative Compared Data: 1,536,000,000 Bytes (1.43 GB)"},
        // No size text from 1024 TB on: no empty parentheses either.
        {uint64_t{1} << 50, "Cumulative Compared Data: 1,125,899,906,842,624 Bytes"},
        {UINT64_MAX, "Cumulative Compared Data: 18,446,744,073,709,551,615 Bytes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CumulativeDataLine(c.bytes, NumberFormat::Plain()), c.line) << c.bytes;
}

TEST(AboutTexts, TheFilesLineIsTheGroupedCountAlone) {
    EXPECT_EQ(CumulativeFilesLine(0, NumberFormat::Plain()), "Cumulative Compared Files: 0");
    EXPECT_EQ(CumulativeFilesLine(4000000000, NumberFormat::Plain()),
              "Cumulative Compared Files: 4,000,000,000");
    // The user's digit grouping is the injected one.
    NumberFormat dots = NumberFormat::Plain();
    dots.integer = [](uint64_t v) { return v == 10240 ? std::string("10.240") : "?"; };
    EXPECT_EQ(CumulativeFilesLine(10240, dots), "Cumulative Compared Files: 10.240");
    EXPECT_EQ(CumulativeDataLine(10240, dots), "Cumulative Compared Data: 10.240 Bytes (10.0 KB)");
}

TEST(AboutTexts, TotalsMissingOrOfAnotherTypeCountAsZero) {
    TempTree tree;
    KeyStore store(tree.path("config/Paradrex/registry.ini"));
    EXPECT_EQ(ReadCumulativeTotals(store), (CumulativeTotals{0, 0})); // no file

    ASSERT_TRUE(store.CreateKey(kTotalsKey));
    EXPECT_EQ(ReadCumulativeTotals(store), (CumulativeTotals{0, 0})); // no values

    auto set = [&](KeyValue files, KeyValue bytes) {
        ASSERT_TRUE(store.Update(kTotalsKey, [&](KeyValues& v) {
            v[kTotalsFiles] = files;
            v[kTotalsBytes] = bytes;
            return true;
        }));
    };
    set(KeyValue::Qword(4000000000), KeyValue::Qword(UINT64_MAX));
    EXPECT_EQ(ReadCumulativeTotals(store), (CumulativeTotals{4000000000, UINT64_MAX}));
    set(KeyValue::Dword(7), KeyValue::String("1000"));
    EXPECT_EQ(ReadCumulativeTotals(store), (CumulativeTotals{0, 0}));
    set(KeyValue::Qword(3), KeyValue::Dword(9));
    EXPECT_EQ(ReadCumulativeTotals(store), (CumulativeTotals{3, 0}));

    // Only the totals' own key counts.
    KeyStore other(tree.path("other.ini"));
    ASSERT_TRUE(other.CreateKey("Software\\Other"));
    ASSERT_TRUE(other.Update("Software\\Other", [](KeyValues& v) {
        v[kTotalsFiles] = KeyValue::Qword(5);
        return true;
    }));
    EXPECT_EQ(ReadCumulativeTotals(other), (CumulativeTotals{0, 0}));
}

TEST(AboutTexts, TheBoxShowsTheBuildsVersionAndHomePageAndTheTotals) {
    const AboutTexts t =
        AboutTexts::Make("1.2.3", "https://paradrex.dev/", "file:///m/index.htm", {1000, 999});
    EXPECT_EQ(t.productName, "Paradrex 1.2.3");
    EXPECT_EQ(t.linkTarget, "https://paradrex.dev/");
    EXPECT_EQ(t.linkText, "Visit the Paradrex home page");
    EXPECT_EQ(t.thanksTitle, "Special thanks:");
    EXPECT_EQ(t.filesLine, "Cumulative Compared Files: 1,000");
    EXPECT_EQ(t.dataLine, "Cumulative Compared Data: 999 Bytes");
    for (const std::string* text : {&t.notice, &t.linkText, &t.thanks})
        EXPECT_FALSE(text->empty());
}

TEST(AboutTexts, WithoutAHomePageTheLinkAndTheCommandOpenTheManual) {
    const std::string manual = "file:///usr/share/doc/paradrex/index.htm";
    for (const char* none :
         {"", "https://paradrex.example.org/", "http://EXAMPLE.com", "https://www.example.net/x",
          "https://example/", "https://paradrex.invalid/", "https://user@example.org:8080/a"}) {
        EXPECT_FALSE(HomePageConfigured(none)) << none;
        EXPECT_EQ(HomePageTarget(none, manual), manual) << none;
        const AboutTexts t = AboutTexts::Make("1", none, manual, {});
        EXPECT_EQ(t.linkTarget, manual);
        EXPECT_EQ(t.linkText, "Read the Paradrex user manual");
    }
    for (const char* home : {"https://paradrex.dev/", "https://counterexample.org/",
                             "https://example.org.dev/", "http://localhost:8000/"}) {
        EXPECT_TRUE(HomePageConfigured(home)) << home;
        EXPECT_EQ(HomePageTarget(home, manual), home);
    }
}

} // namespace
} // namespace paradrex
