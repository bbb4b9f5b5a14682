#include "engine/PathSet.h"

#include <algorithm>

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

std::string_view FileExtension(std::string_view name) {
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    return name.substr(dot + 1);
}

} // namespace paradrex
