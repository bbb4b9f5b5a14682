#include "uimodel/NumberFormat.h"

#include "uimodel/SizeText.h"

#include <charconv>

namespace paradrex {

NumberFormat NumberFormat::Plain() {
    NumberFormat f;
    f.integer = [](uint64_t v) { return GroupDigits(v); };
    f.seconds = [](double v) {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
        std::string text(buf, r.ptr);
        const size_t point = text.find('.');
        const bool negative = !text.empty() && text[0] == '-';
        const std::string whole = text.substr(negative ? 1 : 0, point - (negative ? 1 : 0));
        return (negative ? "-" : "") + GroupDigits(whole) + text.substr(point);
    };
    return f;
}

} // namespace paradrex
