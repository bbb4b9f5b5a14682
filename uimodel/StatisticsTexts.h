#pragma once
// The texts of the statistics dialog ("Statistics"), without widgets: the
// location box, and for each row its amount, its size in bytes and its size
// text in parentheses, keyed by the dialog's control ids. Counted afresh from
// the review states each time.

#include "review/DirStatistics.h"
#include "uimodel/NumberFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace paradrex {

// Control ids of the statistics dialog.
namespace stats {
inline constexpr int Location = 1049;
inline constexpr int TotalAmount = 1035;
inline constexpr int TotalSize = 1036;
inline constexpr int TotalSizeText = 1045;
inline constexpr int PreservedAmount = 1032;
inline constexpr int PreservedSize = 1033;
inline constexpr int PreservedSizeText = 1034;
inline constexpr int DeletedAmount = 1037;
inline constexpr int DeletedSize = 1041;
inline constexpr int DeletedSizeText = 1046;
inline constexpr int UnsettledAmount = 1039;
inline constexpr int UnsettledSize = 1042;
inline constexpr int UnsettledSizeText = 1047;
inline constexpr int Groups = 1038;
inline constexpr int Directories = 1040;
} // namespace stats

inline constexpr std::string_view kStatisticsCaption = "Statistics";

// The rows of the dialog from top to bottom: the label and the controls of
// the "Amount" column, the "Size" column (bytes) and the size text; 0 where
// the row has no such control.
struct StatisticsRow {
    std::string_view label;
    int amount;
    int size;
    int sizeText;
};
inline constexpr StatisticsRow kStatisticsRows[] = {
    {"Total Files:", stats::TotalAmount, stats::TotalSize, stats::TotalSizeText},
    {"Preserved Files:", stats::PreservedAmount, stats::PreservedSize, stats::PreservedSizeText},
    {"Deleted Files:", stats::DeletedAmount, stats::DeletedSize, stats::DeletedSizeText},
    {"Unsettled Files:", stats::UnsettledAmount, stats::UnsettledSize, stats::UnsettledSizeText},
    {"Groups:", stats::Groups, 0, 0},
    {"Directories:", stats::Directories, 0, 0},
};

// "(1.00 KB)": the size text in parentheses, or empty when the size text is
// empty or its last-but-one character is a blank, that is below 1024 bytes
// and from 2^50 bytes on.
std::string StatisticsSizeText(uint64_t bytes);

// The location box: the directory's full path; empty for the tree's root,
// which Total Statistics reports on.
std::string StatisticsLocation(const ResultDir& dir);

// The dialog's texts, in the order the controls are filled.
struct StatisticsTexts {
    std::vector<std::pair<int, std::string>> texts; // control id, text

    std::optional<std::string> TextOf(int id) const;

    // Every text of the dialog for `counted`, the statistics of `dir`.
    static StatisticsTexts Of(const ResultDir& dir, const DirStatistics& counted,
                              const NumberFormat& format = NumberFormat::Plain());
    // Counts `dir` with its subtree and forms the texts.
    static StatisticsTexts Count(const ResultDir& dir,
                                 const NumberFormat& format = NumberFormat::Plain());
};

} // namespace paradrex
