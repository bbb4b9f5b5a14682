#pragma once
// One error-log line: "[time] message" and " Error Code: n" when the code is not 0.
// Writing sends the whole line to the record stream in one call, so lines
// written by several threads never interleave. The record stream is standard
// error unless the desktop program's error log points it at error.log; file
// descriptor 2 itself is never redirected, so the programs the desktop program
// starts write their messages to its terminal, not into error.log.

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
    // Formats the line for now and writes it to the record stream.
    void Write() const;

    // Points the record stream at an open file descriptor (2 at start) and
    // returns the one it replaces.
    static int SetStream(int fd);

private:
    std::string message_;
    int32_t code_;
};

} // namespace paradrex
