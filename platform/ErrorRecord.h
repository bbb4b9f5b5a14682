#pragma once
// One error-log line: "[time] message" and " Error Code: n" when the code is not 0.
// Writing sends the whole line to standard error in one call, so lines written
// by several threads never interleave; the desktop program points standard
// error at error.log, the command-line front end leaves it on the terminal.

#include <cstdint>
#include <ctime>
#include <string>

namespace paradrex {

class _Error_record {
public:
    _Error_record(std::string message, int32_t code = 0)
        : message_(std::move(message)), code_(code) {}

    const std::string& message() const { return message_; }
    int32_t code() const { return code_; }

    // The line for the given local time, with its line end.
    std::string Format(std::time_t when) const;
    // Formats the line for now and writes it to file descriptor 2.
    void Write() const;

private:
    std::string message_;
    int32_t code_;
};

} // namespace paradrex
