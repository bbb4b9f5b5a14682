#include "uimodel/AboutTexts.h"

#include "engine/SearchDriver.h"
#include "platform/KeyStore.h"
#include "uimodel/SizeText.h"

namespace paradrex {

namespace {

uint64_t ReadTotal(const platform::KeyStore& store, const char* name) {
    auto value = store.Read(kTotalsKey, name);
    if (!value || value->type != platform::KeyValueType::Qword)
        return 0;
    return value->number;
}

} // namespace

CumulativeTotals ReadCumulativeTotals(const platform::KeyStore& store) {
    return {ReadTotal(store, kTotalsFiles), ReadTotal(store, kTotalsBytes)};
}

std::string CumulativeFilesLine(uint64_t files, const NumberFormat& format) {
    return "Cumulative Compared Files: " + format.integer(files);
}

std::string CumulativeDataLine(uint64_t bytes, const NumberFormat& format) {
    std::string line = "Cumulative Compared Data: " + format.integer(bytes) + " Bytes";
    const std::string size = SizeText(bytes);
    if (bytes >= 1000 && !size.empty())
        line += " (" + size + ")";
    return line;
}

AboutTexts AboutTexts::Make(std::string_view version, std::string_view homePage,
                            const CumulativeTotals& totals, const NumberFormat& format) {
    AboutTexts t;
    t.productName = "Paradrex " + std::string(version);
    t.notice = "Free software, without any warranty. Keep a backup of what you cannot lose.";
    t.linkText = "Visit the Paradrex home page";
    t.linkTarget = std::string(homePage);
    t.thanksTitle = "Special thanks:";
    t.thanks = "Everyone who tried the early versions and reported what went wrong.";
    t.filesLine = CumulativeFilesLine(totals.files, format);
    t.dataLine = CumulativeDataLine(totals.bytes, format);
    return t;
}

} // namespace paradrex
