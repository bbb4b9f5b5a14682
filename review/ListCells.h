#pragma once
// What the cells of the result lists show for a file, apart from painting:
// the extension its type is looked up by, the "Modified" text, the info tip
// and the state image.

#include "engine/SearchModel.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace paradrex {

// The extension a file's type is looked up by: within the last nine
// characters of the name (the whole name less its first character when it
// has at most ten), the text after the leftmost dot; empty without a dot
// there. Case is kept, so "JPG" and "jpg" are different extensions.
std::string_view TypeExtension(std::string_view name);

// Last-write time in local time as "%m/%d/%y %H:%M"; empty when the time
// cannot be converted.
std::string ModifiedText(int64_t secondsSinceEpoch);

// A file has its origin name exactly when its name is its own origin name
// record, by address: a name copied from elsewhere that reads the same (Rename
// Base on This Directory copies names) is still a new name, which Restore
// Origin Name moves back.
inline bool HasOriginName(const FileRecord& file) {
    return file.name == file.originName;
}

// The info tip of a row: `tip` (the cell's own tip, possibly empty), and for a
// file without its origin name "Origin: " and the name the search found,
// after a newline when `tip` is not empty.
std::string InfoTipText(std::string tip, const FileRecord& file);

// Index of a file's state image among the three state images (cross,
// empty box, tick): state + 1.
constexpr int StateImageIndex(FileState state) {
    return static_cast<int>(state) + 1;
}
inline constexpr int kStateImageCount = 3;

} // namespace paradrex
