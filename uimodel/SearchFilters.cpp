#include "uimodel/SearchFilters.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cctype>

namespace paradrex {

std::string NormalizeDirEntry(std::string_view text) {
    size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    size_t e = text.find_last_not_of(' ');
    std::string_view t = text.substr(b, e - b + 1);

    std::string full(t);
    if (t[0] == '~') {
        size_t slash = t.find('/');
        std::string_view user = t.substr(1, slash == std::string_view::npos ? t.npos : slash - 1);
        if (std::optional<std::string> home = platform::HomeDirectory(user)) {
            full = *home;
            if (slash != std::string_view::npos)
                full.append(t.substr(slash));
        }
    }
    return platform::AbsoluteNormalPath(full);
}

std::optional<std::vector<std::string>> ParseTypeList(std::string_view text) {
    if (text.find_first_of("*;") != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string> list;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        size_t j = i;
        while (j < text.size() && text[j] != ' ')
            ++j;
        if (j > i) {
            std::string token(text.substr(i, j - i));
            for (char& c : token)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            list.push_back(std::move(token));
        }
        i = j;
    }
    std::sort(list.begin(), list.end());
    return list;
}

uint64_t SizeLimit(std::string_view number, int unit) {
    number = number.substr(0, 31);
    size_t i = 0;
    while (i < number.size() && std::isspace(static_cast<unsigned char>(number[i])))
        ++i;
    bool negative = false;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        negative = number[i++] == '-';
    unit = std::clamp(unit, 0, 3);
    // The largest number that still fits once shifted.
    const uint64_t most = UINT64_MAX >> (10 * unit);
    uint64_t value = 0;
    for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
        const auto digit = static_cast<uint64_t>(number[i] - '0');
        if (value > (most - digit) / 10)
            return negative ? 0 : UINT64_MAX;
        value = value * 10 + digit;
    }
    if (negative)
        return 0;
    return value << (10 * unit);
}

SearchJobOrError MakeSearchJob(const SearchFilters& f, SearchJob base) {
    std::optional<std::vector<std::string>> types = ParseTypeList(f.typeText);
    if (!types)
        return {std::nullopt, std::string(kTypeInputError)};
    base.typeList = std::move(*types);
    base.minSizeEnabled = f.moreThan;
    if (f.moreThan)
        base.minSize = SizeLimit(f.moreThanNumber, f.moreThanUnit);
    base.maxSizeEnabled = f.lessThan;
    if (f.lessThan)
        base.maxSize = SizeLimit(f.lessThanNumber, f.lessThanUnit);
    base.includeReadOnly = f.readOnly ? 1 : 0;
    base.includeHidden = f.hidden ? 1 : 0;
    base.includeSystem = f.system ? 1 : 0;
    return {std::move(base), std::string()};
}

} // namespace paradrex
