#pragma once
// The body of the search worker: scan, size grouping, prefix validation,
// record creation, content comparison, totals, result tree, pre-marking.

#include "platform/ErrorRecord.h"

#include <functional>
#include <string>
#include <vector>

namespace paradrex {

namespace platform {
class KeyStore;
}
class SearchState;

struct DefaultDirectories {
    std::vector<std::string> preserve;
    std::vector<std::string> remove; // the default Delete directories
};

struct SearchEnvironment {
    // Asked once, at the end of a search that found duplicates.
    std::function<DefaultDirectories()> defaultDirectories;
    // Where error records go; empty: _Error_record::Write (the record stream).
    std::function<void(const _Error_record&)> logError;
    // The per-user key store the cumulative totals go to; null: none.
    platform::KeyStore* keyStore = nullptr;
    // Threads that compare candidate sets; 0: one per processor.
    unsigned threads = 0;
};

// The registry key of the cumulative totals, and its two qword values: the
// files and the bytes all completed searches compared.
inline constexpr const char* kTotalsKey = "Software\\Paradrex";
inline constexpr const char* kTotalsFiles = "Count";
inline constexpr const char* kTotalsBytes = "Size";

// Runs one search on the calling thread. Returns 0 when the search completed
// (done is set) and 1 when a stop was honoured (the state is then empty, as
// if no search had run).
int RunSearch(SearchState& state, const SearchEnvironment& env);

} // namespace paradrex
