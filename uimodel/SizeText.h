#pragma once
// The size text shown in parentheses by the progress dialog, the statistics
// and the About box: the byte count scaled by 1024 with " B" to " TB" and 0 to
// 2 decimals ("1.18 MB", "150 MB", "1023 B"), at most 9 characters; empty from
// 1024 TB on.

#include <cstdint>
#include <string>
#include <string_view>

namespace paradrex {

std::string SizeText(uint64_t bytes);

// Decimal digits grouped by threes with commas ("1,234,567"), for texts that
// do not follow the user's locale.
std::string GroupDigits(std::string_view digits);
inline std::string GroupDigits(uint64_t value) {
    return GroupDigits(std::to_string(value));
}

} // namespace paradrex
