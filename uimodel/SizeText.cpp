#include "uimodel/SizeText.h"

#include <charconv>

namespace paradrex {

std::string SizeText(uint64_t bytes) {
    static const char* const kUnits[] = {" B", " KB", " MB", " GB", " TB"};
    int u = 0;
    while (u < 5 && (bytes >> (10 * (u + 1))) != 0)
        ++u;
    if (u == 5)
        return {};
    const double number = static_cast<double>(bytes) / static_cast<double>(uint64_t{1} << (10 * u));
    const int decimals = (u == 0 || number >= 100) ? 0 : (number >= 10 ? 1 : 2);
    // to_chars ignores the C locale: the decimal point is always '.'.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, number, std::chars_format::fixed, decimals);
    std::string text(buf, r.ptr);
    text += kUnits[u];
    if (text.size() > 9)
        text.resize(9);
    return text;
}

std::string GroupDigits(std::string_view digits) {
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

} // namespace paradrex
