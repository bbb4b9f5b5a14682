#pragma once
// JSON text as Paradrex writes it, for paradrex-cli --format json and the
// result file alike: strings hold path bytes, and bytes that are not valid
// UTF-8 become the escapes \udc80 to \udcff, one per byte, so every path
// survives the trip (JsonReader turns them back into the same bytes).

#include "engine/SearchModel.h"
#include "engine/SearchState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace paradrex {

// A JSON string literal of the bytes.
void AppendJsonString(std::string& out, std::string_view bytes);

void AppendJsonNumber(std::string& out, uint64_t value);
void AppendJsonNumber(std::string& out, int64_t value);
// The shortest text that reads back as the same double; a value that is not
// finite (which JSON cannot hold) is written as 0.
void AppendJsonNumber(std::string& out, double value);

// The search's counters as one JSON object, {"totalSize":…,"pretreatTime":…},
// as paradrex-cli --format json and the result file write them.
void AppendJsonCounters(std::string& out, const SearchCounters::Values& v);

// A file state as JSON text names it: "Unsettled", "Preserved", "Deleted".
const char* JsonStateName(FileState state);
std::optional<FileState> JsonState(std::string_view name);

inline void AppendJsonNumber(std::string& out, uint32_t value) {
    AppendJsonNumber(out, uint64_t{value});
}
inline void AppendJsonNumber(std::string& out, int32_t value) {
    AppendJsonNumber(out, int64_t{value});
}

} // namespace paradrex
