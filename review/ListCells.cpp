#include "review/ListCells.h"

#include <ctime>

namespace paradrex {

std::string_view TypeExtension(std::string_view name) {
    if (name.size() < 2)
        return {};
    size_t start = name.size() > 10 ? name.size() - 9 : 1;
    size_t dot = name.find('.', start);
    if (dot == std::string_view::npos)
        return {};
    return name.substr(dot + 1);
}

std::string ModifiedText(int64_t secondsSinceEpoch) {
    time_t t = static_cast<time_t>(secondsSinceEpoch);
    struct tm local {};
    if (!localtime_r(&t, &local))
        return {};
    char buffer[64];
    size_t n = std::strftime(buffer, sizeof buffer, "%m/%d/%y %H:%M", &local);
    return std::string(buffer, n);
}

std::string InfoTipText(std::string tip, const FileRecord& file) {
    if (!HasOriginName(file)) {
        if (!tip.empty())
            tip += '\n';
        tip += "Origin: ";
        tip += file.originName;
    }
    return tip;
}

} // namespace paradrex
