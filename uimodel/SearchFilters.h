#pragma once
// The filters of a search as the user types them, in the New Search dialog
// or on paradrex-cli's command line: directory entries, the type list and the
// size limits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paradrex {

// A directory entry as typed: spaces trimmed, "~" expanded, made absolute
// against the working directory and lexically normal, no trailing slash
// (except "/"). Empty text stays empty.
std::string NormalizeDirEntry(std::string_view text);

// The type list of a search: refused (nullopt) when the text holds '*' or
// ';'; otherwise the lower-case extensions split at spaces, sorted by bytes.
std::optional<std::vector<std::string>> ParseTypeList(std::string_view text);

// Size limit from the typed number and the unit (0 Bytes, 1 KB, 2 MB, 3 GB):
// the leading decimal number of at most the first 31 characters shifted left
// by 10 bits per unit; a product beyond 64 bits is clamped to the largest
// value.
uint64_t SizeLimit(std::string_view number, int unit);

} // namespace paradrex
