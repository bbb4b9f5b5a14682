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

bool HomePageConfigured(std::string_view address) {
    std::string host(address);
    if (const size_t scheme = host.find("://"); scheme != std::string::npos)
        host.erase(0, scheme + 3);
    host = host.substr(0, host.find_first_of("/:?#"));
    if (const size_t at = host.rfind('@'); at != std::string::npos)
        host.erase(0, at + 1);
    for (char& c : host)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    while (!host.empty() && host.back() == '.')
        host.pop_back();
    if (host.empty())
        return false;
    for (std::string_view reserved :
         {"example.org", "example.com", "example.net", "example", "invalid"}) {
        if (host == reserved)
            return false;
        if (host.size() > reserved.size() && host.ends_with(reserved) &&
            host[host.size() - reserved.size() - 1] == '.')
            return false;
    }
    return true;
}

std::string HomePageTarget(std::string_view configured, std::string_view manualUrl) {
    return std::string(HomePageConfigured(configured) ? configured : manualUrl);
}

AboutTexts AboutTexts::Make(std::string_view version, std::string_view homePage,
                            std::string_view manualUrl, const CumulativeTotals& totals,
                            const NumberFormat& format) {
    AboutTexts t;
    t.productName = "Paradrex " + std::string(version);
    t.notice = "Free software, without any warranty. Keep a backup of what you cannot lose.";
    const bool home = HomePageConfigured(homePage);
    t.linkText = home ? "Visit the Paradrex home page" : "Read the Paradrex user manual";
    t.linkTarget = HomePageTarget(homePage, manualUrl);
    t.thanksTitle = "Special thanks:";
    t.thanks = "Everyone who tried the early versions and reported what went wrong.";
    t.filesLine = CumulativeFilesLine(totals.files, format);
    t.dataLine = CumulativeDataLine(totals.bytes, format);
    return t;
}

} // namespace paradrex
