#include "uimodel/StatisticsTexts.h"

#include "uimodel/SizeText.h"

namespace paradrex {

std::string StatisticsSizeText(uint64_t bytes) {
    const std::string text = SizeText(bytes);
    if (text.size() < 2 || text[text.size() - 2] == ' ')
        return {};
    return "(" + text + ")";
}

std::string StatisticsLocation(const ResultDir& dir) {
    return DirectoryPath(dir.name);
}

std::optional<std::string> StatisticsTexts::TextOf(int id) const {
    for (const auto& [control, text] : texts)
        if (control == id)
            return text;
    return std::nullopt;
}

StatisticsTexts StatisticsTexts::Of(const ResultDir& dir, const DirStatistics& s,
                                    const NumberFormat& format) {
    StatisticsTexts t;
    t.texts.emplace_back(stats::Location, StatisticsLocation(dir));
    auto row = [&](int amount, int size, int sizeText, uint64_t count, uint64_t bytes) {
        t.texts.emplace_back(amount, format.integer(count));
        t.texts.emplace_back(size, format.integer(bytes));
        t.texts.emplace_back(sizeText, StatisticsSizeText(bytes));
    };
    row(stats::TotalAmount, stats::TotalSize, stats::TotalSizeText, s.totalCount(), s.totalSize());
    row(stats::PreservedAmount, stats::PreservedSize, stats::PreservedSizeText, s.preservedCount,
        s.preservedSize);
    row(stats::DeletedAmount, stats::DeletedSize, stats::DeletedSizeText, s.deletedCount,
        s.deletedSize);
    row(stats::UnsettledAmount, stats::UnsettledSize, stats::UnsettledSizeText, s.unsettledCount,
        s.unsettledSize);
    t.texts.emplace_back(stats::Groups, format.integer(s.groupCount));
    t.texts.emplace_back(stats::Directories, format.integer(s.subdirectoryCount));
    return t;
}

StatisticsTexts StatisticsTexts::Count(const ResultDir& dir, const NumberFormat& format) {
    return Of(dir, DirStatistics::Count(dir), format);
}

} // namespace paradrex
