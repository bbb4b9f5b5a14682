#pragma once
// Writes a search result as text (one full path per line, an empty line after
// each group) or as one JSON object (strings as fileops/JsonText.h writes
// them).

#include <cstdio>

namespace paradrex {
class SearchState;
}

namespace paradrex::cli {

void WriteText(std::FILE* out, const SearchState& state);
void WriteJson(std::FILE* out, const SearchState& state);

} // namespace paradrex::cli
