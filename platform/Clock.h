#pragma once
// The tick count the search times itself with: a steady clock in milliseconds.

#include <chrono>
#include <cstdint>

namespace paradrex::platform {

inline uint64_t TickMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Seconds elapsed since a tick taken earlier.
inline double SecondsSince(uint64_t startMs) {
    return static_cast<double>(TickMs() - startMs) / 1000.0;
}

} // namespace paradrex::platform
