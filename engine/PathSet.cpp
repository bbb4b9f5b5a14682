#include "engine/PathSet.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace paradrex {

namespace {

bool IsSep(std::string_view s, size_t i) {
    return i < s.size() && s[i] == '/';
}

// The file-system root compares as the empty prefix of every absolute path.
std::string_view OrderKey(std::string_view p) {
    return p == "/" ? std::string_view{} : p;
}

} // namespace

bool PathOrder::operator()(std::string_view a, std::string_view b) const {
    a = OrderKey(a);
    b = OrderKey(b);
    const size_t n = std::min(a.size(), b.size());
    size_t i = IsSep(a, 0) ? 1 : 0;
    for (;;) {
        // Advance over equal non-separator bytes.
        while (!IsSep(a, i) && !IsSep(b, i) && i < n && a[i] == b[i])
            ++i;
        if (i >= n) {
            if (b.size() == n)
                return false;
            return !IsSep(b, i); // a is a proper prefix of b
        }
        if (IsSep(a, i) && IsSep(b, i)) {
            ++i;
            continue;
        }
        if (IsSep(a, i))
            return true;
        if (IsSep(b, i))
            return false;
        return static_cast<signed char>(a[i]) < static_cast<signed char>(b[i]);
    }
}

PathSet::AddResult PathSet::Add(const std::string& path) {
    auto lo = paths_.lower_bound(path);
    auto hi = paths_.upper_bound(path);
    const auto k = std::distance(lo, hi);
    if (k == 1 && path.size() >= lo->size())
        return {false, *lo};
    paths_.erase(lo, hi);
    paths_.insert(path);
    return {true, {}};
}

void PathSet::Erase(const std::string& path) {
    auto it = paths_.find(path);
    // find() matches by equivalence; erase only the member spelled exactly so.
    if (it != paths_.end() && *it == path)
        paths_.erase(it);
}

std::string NormalizeDirEntry(std::string_view text) {
    size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    size_t e = text.find_last_not_of(' ');
    std::string_view t = text.substr(b, e - b + 1);

    std::string full;
    if (t[0] == '~') {
        size_t slash = t.find('/');
        std::string_view user = t.substr(1, slash == std::string_view::npos ? t.npos : slash - 1);
        const char* home = nullptr;
        if (user.empty()) {
            home = std::getenv("HOME");
            if (!home || !*home) {
                const passwd* pw = ::getpwuid(::getuid());
                home = pw ? pw->pw_dir : nullptr;
            }
        } else {
            const passwd* pw = ::getpwnam(std::string(user).c_str());
            home = pw ? pw->pw_dir : nullptr;
        }
        if (home) {
            full = home;
            if (slash != std::string_view::npos)
                full.append(t.substr(slash));
        } else {
            full.assign(t);
        }
    } else {
        full.assign(t);
    }
    return AbsoluteNormalPath(full);
}

std::string AbsoluteNormalPath(std::string_view path) {
    std::string full(path);
    if (full.empty() || full[0] != '/') {
        char cwd[PATH_MAX];
        std::string base = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
        full = base + "/" + full;
    }

    // Lexical normalisation: no empty or "." components, ".." removes one.
    std::vector<std::string_view> parts;
    std::string_view rest = full;
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view comp = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (comp.empty() || comp == ".")
            continue;
        if (comp == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(comp);
    }
    if (parts.empty())
        return "/";
    std::string out;
    for (std::string_view p : parts) {
        out += '/';
        out += p;
    }
    return out;
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

std::string_view FileExtension(std::string_view name) {
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    return name.substr(dot + 1);
}

} // namespace paradrex
