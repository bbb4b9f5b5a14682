#pragma once
// Directory path ordering and the set of search roots, plus the other
// window-free rules of the New Search dialog: entry normalisation, the type
// list parser and the size-limit rule.

#include <cstdint>
#include <optional>
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

// A directory entry as typed: spaces trimmed, "~" expanded, made absolute
// against the working directory and lexically normal, no trailing slash
// (except "/"). Empty text stays empty.
std::string NormalizeDirEntry(std::string_view text);

// A path made absolute against the working directory and lexically normal
// ("." and empty components dropped, ".." removing one), without a trailing
// slash except for "/". Nothing is trimmed or expanded.
std::string AbsoluteNormalPath(std::string_view path);

// The type list of a search: refused (nullopt) when the text holds '*' or
// ';'; otherwise the lower-case extensions split at spaces, sorted by bytes.
std::optional<std::vector<std::string>> ParseTypeList(std::string_view text);

// Size limit from the typed number and the unit (0 Bytes, 1 KB, 2 MB): the
// leading decimal number of at most the first 31 characters shifted left by
// 10 bits per unit; a product beyond 32 bits is clamped to the largest value.
uint32_t SizeLimit(std::string_view number, int unit);

// The extension of a file name as the filters see it: the text after the last
// dot, empty when there is none.
std::string_view FileExtension(std::string_view name);

} // namespace paradrex
