#include "settings/IniReader.h"

namespace HV {

_Ini_reader::_Ini_reader(std::string_view fileBytes) {
    text_.reserve(fileBytes.size());
    for (size_t i = 0; i < fileBytes.size(); ++i) {
        if (fileBytes[i] == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n')
            continue;
        text_ += fileBytes[i];
    }
}

bool _Ini_reader::ReadLine(std::string& line, size_t limit) {
    line.clear();
    if (AtEnd())
        return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos)
        end = text_.size();
    line.assign(text_, pos_, std::min(end - pos_, limit));
    pos_ = end < text_.size() ? end + 1 : end;
    return true;
}

void _Ini_reader::SkipPastEmptyLine() {
    std::string line;
    while (ReadLine(line, 1)) {
        if (line.empty())
            return;
    }
}

bool _Ini_reader::ReadKey(std::string& key, size_t limit) {
    key.clear();
    while (!AtEnd() && key.size() < limit) {
        char c = text_[pos_];
        if (c == '\n')
            return false;
        ++pos_;
        if (c == '=')
            return true;
        key += c;
    }
    // A key of exactly `limit` characters still ends at its "=".
    if (!AtEnd() && text_[pos_] == '=') {
        ++pos_;
        return true;
    }
    return false;
}

void _Ini_reader::SkipRestOfLine(size_t limit) {
    for (size_t n = 0; n < limit && !AtEnd(); ++n) {
        if (text_[pos_++] == '\n')
            return;
    }
}

void _Ini_reader::ReadRestOfLine(std::string& value, size_t limit) {
    ReadLine(value, limit);
}

bool _Ini_reader::SkipPastEquals(size_t limit) {
    for (size_t i = pos_; i < text_.size() && i - pos_ < limit; ++i) {
        if (text_[i] == '\n')
            return false;
        if (text_[i] == '=') {
            pos_ = i + 1;
            return true;
        }
    }
    return false;
}

std::optional<int64_t> _Ini_reader::ReadDecimal() {
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
        ++pos_;
    bool negative = false;
    if (!AtEnd() && (text_[pos_] == '+' || text_[pos_] == '-'))
        negative = text_[pos_++] == '-';
    if (AtEnd() || text_[pos_] < '0' || text_[pos_] > '9')
        return std::nullopt;
    constexpr int64_t kClamp = int64_t{1} << 40;
    int64_t v = 0;
    while (!AtEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
        if (v < kClamp)
            v = v * 10 + (text_[pos_] - '0');
        ++pos_;
    }
    return negative ? -v : v;
}

} // namespace HV
