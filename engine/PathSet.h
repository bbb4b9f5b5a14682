#pragma once
// Directory path ordering, the set of search roots, and the extension rule
// of the scan's type filter.

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

// Strict "less than" on directory paths in which '/' sorts before every other
// byte and a path equals every path inside it ("/a" ~ "/a/b"); plain name
// prefixes ("/ab" < "/abc") sort shortest first; other bytes compare as
// signed bytes. The file-system root "/" equals every absolute path.
struct PathOrder {
    bool operator()(std::string_view a, std::string_view b) const;
    using is_transparent = void;
};

// Ordered set of paths in which no member equals or lies inside another.
class PathSet {
public:
    struct AddResult {
        bool added; // false: covered by `coveringMember`
        std::string coveringMember;
    };
    AddResult Add(const std::string& path);
    void Erase(const std::string& path);
    void Clear() { paths_.clear(); }

    bool empty() const { return paths_.empty(); }
    size_t size() const { return paths_.size(); }
    auto begin() const { return paths_.begin(); }
    auto end() const { return paths_.end(); }
    std::vector<std::string> ToVector() const { return {paths_.begin(), paths_.end()}; }

private:
    std::set<std::string, PathOrder> paths_;
};

// The extension of a file name as the filters see it: the text after the last
// dot, empty when there is none.
std::string_view FileExtension(std::string_view name);

} // namespace paradrex
