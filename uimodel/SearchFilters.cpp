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

uint32_t SizeLimit(std::string_view number, int unit) {
    number = number.substr(0, 31);
    size_t i = 0;
    while (i < number.size() && std::isspace(static_cast<unsigned char>(number[i])))
        ++i;
    bool negative = false;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        negative = number[i++] == '-';
    uint64_t value = 0;
    for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(number[i] - '0');
        if (value > UINT32_MAX)
            return negative ? 0 : UINT32_MAX;
    }
    if (negative)
        return 0;
    if (unit < 0)
        unit = 0;
    if (unit > 2)
        unit = 2;
    value <<= 10 * unit;
    return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value);
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
