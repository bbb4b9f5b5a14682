#pragma once
// Writes a search result as text (one full path per line, an empty line after
// each group) or as one JSON object.

#include <cstdio>
#include <string>
#include <string_view>

namespace paradrex {
class SearchState;
}

namespace paradrex::cli {

void WriteText(std::FILE* out, const SearchState& state);
void WriteJson(std::FILE* out, const SearchState& state);

// A JSON string literal; bytes that are not valid UTF-8 become the escapes
// U+DC80 to U+DCFF, one per byte, so every path survives the trip.
void AppendJsonString(std::string& out, std::string_view bytes);

} // namespace paradrex::cli
