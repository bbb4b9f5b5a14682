#include "uimodel/StatisticsTexts.h"
#include "engine/ResultBuilder.h"
#include "engine/SearchState.h"
#include "review/ResultTreeOrder.h"

#include "support/HandBuiltResult.h"

#include <gtest/gtest.h>

#include <set>

namespace paradrex {
namespace {

TEST(StatisticsSizeText, InParenthesesOnlyFromOneKilobyteBelowTwoToTheFifty) {
    struct Case {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, ""},
        {1023, ""}, // "1023 B": the last-but-one character is a blank
        {1024, "(1.00 KB)"},
        {10380902, "(9.90 MB)"},
        {uint64_t{5} << 40, "(5.00 TB)"},
        {(uint64_t{1} << 50) - 1, "(1024 TB)"},
        {uint64_t{1} << 50, ""}, // no size text at all
        {~uint64_t{0}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StatisticsSizeText(c.bytes), c.text) << c.bytes;
}

class StatisticsDialogTexts : public test::HandBuiltResult {};

TEST_F(StatisticsDialogTexts, EveryControlGetsItsAmountSizeOrLocation) {
    const NameRecord* top = Dir(nullptr, "/data");
    const NameRecord* sub = Dir(top, "sub dir");
    FileRecord* kept = FileRecord::Create(state.recordPool, top, "a", 1023, 0);
    FileRecord* crossed = FileRecord::Create(state.recordPool, sub, "a", 1023, 0);
    StoreGroup(state, {kept, crossed});
    BuildResultTree(state);
    kept->state = FileState::Preserved;
    crossed->state = FileState::Deleted;

    // The injected format shows which texts are amounts.
    NumberFormat format;
    format.integer = [](uint64_t v) { return "<" + std::to_string(v) + ">"; };
    const ResultDir& root = *state.resultRoot;
    StatisticsTexts t = StatisticsTexts::Count(root, format);
    EXPECT_EQ(t.TextOf(stats::Location), "") << "Total Statistics: no location";
    struct Expect {
        int id;
        const char* text;
    } expected[] = {
        {stats::TotalAmount, "<2>"},
        {stats::TotalSize, "<2046>"},
        {stats::TotalSizeText, "(2.00 KB)"},
        {stats::PreservedAmount, "<1>"},
        {stats::PreservedSize, "<1023>"},
        {stats::PreservedSizeText, ""},
        {stats::DeletedAmount, "<1>"},
        {stats::DeletedSize, "<1023>"},
        {stats::DeletedSizeText, ""},
        {stats::UnsettledAmount, "<0>"},
        {stats::UnsettledSize, "<0>"},
        {stats::UnsettledSizeText, ""},
        {stats::Groups, "<2>"},
        {stats::Directories, "<2>"},
    };
    for (const Expect& e : expected)
        EXPECT_EQ(t.TextOf(e.id), e.text) << e.id;
    // Every control of the rows is filled once, and nothing else.
    std::set<int> ids;
    for (const auto& [id, text] : t.texts)
        EXPECT_TRUE(ids.insert(id).second) << id;
    std::set<int> controls{stats::Location};
    for (const StatisticsRow& row : kStatisticsRows)
        for (int id : {row.amount, row.size, row.sizeText})
            if (id)
                controls.insert(id);
    EXPECT_EQ(ids, controls);

    // A directory shows its full path; the default format groups digits.
    const ResultDir* dir = ResultDirOf(state.resultRoot.get(), sub);
    StatisticsTexts d = StatisticsTexts::Count(*dir);
    EXPECT_EQ(d.TextOf(stats::Location), "/data/sub dir");
    EXPECT_EQ(d.TextOf(stats::TotalSize), "1,023");
    EXPECT_EQ(d.TextOf(stats::Directories), "0");
}

} // namespace
} // namespace paradrex
