#pragma once
// The filters of a search as the user types them, in the New Search dialog
// or on paradrex-cli's command line: directory entries, the type list and the
// size limits, and the one place that turns them into a search job.

#include "engine/SearchState.h"

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

// What the user chose besides the directories.
struct SearchFilters {
    std::string typeText; // "jpg bmp gif"; empty: every type
    bool moreThan = false;
    std::string moreThanNumber;
    int moreThanUnit = 0; // 0 Bytes, 1 KB, 2 MB
    bool lessThan = false;
    std::string lessThanNumber;
    int lessThanUnit = 0;
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
};

// The message both front ends show for a refused type text.
inline constexpr std::string_view kTypeInputError =
    "File type input is incorrect, please input like \"ext1 ext2 ext3\" !";

struct SearchJobOrError {
    std::optional<SearchJob> job; // nothing when the filters were refused
    std::string error;            // the message to show then
};

// The search job the filters describe, built on `base`: its roots are kept,
// and so is the old value of a size limit whose box is not checked (the
// limit is switched off). A refused type text gives no job but the message.
SearchJobOrError MakeSearchJob(const SearchFilters& filters, SearchJob base = {});

} // namespace paradrex
