#pragma once
// The texts of the About box ("About"), without widgets: the product name
// line, a notice line, the home page link, the thanks, and the two lines of
// what all completed searches have compared, read from the per-user key
// store.

#include "uimodel/NumberFormat.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace paradrex {

namespace platform {
class KeyStore;
}

inline constexpr std::string_view kAboutCaption = "About";

// The totals every completed search adds to.
struct CumulativeTotals {
    uint64_t files = 0;
    uint64_t bytes = 0;
    bool operator==(const CumulativeTotals&) const = default;
};
// A missing key, a missing value, a value of another type than qword and an
// unreadable store all count as 0: the box never fails to open.
CumulativeTotals ReadCumulativeTotals(const platform::KeyStore& store);

// "Cumulative Compared Files: 4,000,000,000"
std::string CumulativeFilesLine(uint64_t files, const NumberFormat& format);
// "Cumulative Compared Data: 1,536,000,000 Bytes (1.43 GB)": the size text in
// parentheses from 1000 bytes on, and only when there is a size text (none
// from 1024 TB on).
std::string CumulativeDataLine(uint64_t bytes, const NumberFormat& format);

// Whether the build names a home page: not empty, and not an address of the
// reserved example domains (example.org and the like, ".invalid"), which
// lead nowhere.
bool HomePageConfigured(std::string_view address);
// What "&Home Page" and the About box's link open: the home page, or the user
// manual (`manualUrl`) when the build names none.
std::string HomePageTarget(std::string_view configured, std::string_view manualUrl);

struct AboutTexts {
    std::string productName; // "Paradrex 0.1.0"
    std::string notice;
    std::string linkText;    // the link's text; it opens linkTarget: the home
    std::string linkTarget;  // page, or the user manual without one
    std::string thanksTitle; // the group box label, "Special thanks:"
    std::string thanks;
    std::string filesLine;
    std::string dataLine;

    // `version` and `homePage` come from the build; `manualUrl` is the
    // installed manual's address.
    static AboutTexts Make(std::string_view version, std::string_view homePage,
                           std::string_view manualUrl, const CumulativeTotals& totals,
                           const NumberFormat& format = NumberFormat::Plain());
};

} // namespace paradrex
