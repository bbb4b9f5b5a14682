#pragma once
// Size grouping and prefix validation: keeps files whose size occurs more
// than once, takes the prefix sum of those of 4 bytes or more, and builds the
// candidate sets (equal size, and from 4 bytes on equal prefix sum).

#include "engine/ErrorSink.h"

#include <cstdint>
#include <span>

namespace paradrex {

class SearchState;

// Marks every entry whose size (4 bytes or more) is shared.
void MarkSizeCandidates(SearchState& state);
// Takes the prefix sums of the marked entries, counting `validated`.
void ValidatePrefixes(SearchState& state, const ErrorSink& log, unsigned threads = 1);
// Builds the candidate sets from the SizeMap.
void BuildCandidateSets(SearchState& state);
// Creates the FileRecords of the candidate set members still found. The
// files are looked at on `threads` threads; the records are allocated in
// the order of a one-thread run.
void CreateRecords(SearchState& state, unsigned threads = 1);

// The 32-bit wrapping sum of the little-endian words of `bytes` (whole words only).
uint32_t PrefixSum(std::span<const unsigned char> bytes);

} // namespace paradrex
