#pragma once
// How the dialogs write numbers; the window injects the user's locale, tests
// and the command line use the plain form.

#include <cstdint>
#include <functional>
#include <string>

namespace paradrex {

// Counts with the user's digit grouping, seconds in fixed notation with three
// decimals. The plain form groups with "," and uses "." as the decimal point.
struct NumberFormat {
    std::function<std::string(uint64_t)> integer;
    std::function<std::string(double)> seconds;

    static NumberFormat Plain();
};

} // namespace paradrex
