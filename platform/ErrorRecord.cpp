#include "platform/ErrorRecord.h"

#include <atomic>
#include <cerrno>
#include <unistd.h>

namespace paradrex {

namespace {

std::atomic<int> g_stream{STDERR_FILENO};

} // namespace

int _Error_record::SetStream(int fd) {
    return g_stream.exchange(fd, std::memory_order_relaxed);
}

std::string _Error_record::Format(std::time_t when) const {
    std::tm tm{};
    ::localtime_r(&when, &tm);
    // Numeric fields only, so the text does not depend on the user's locale.
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S", &tm);
    std::string line;
    line.reserve(message_.size() + 48);
    line += '[';
    line += stamp;
    line += "] ";
    line += message_;
    if (code_ != 0) {
        line += " Error Code: ";
        line += std::to_string(code_);
    }
    line += '\n';
    return line;
}

void _Error_record::Write() const {
    const std::string line = Format(std::time(nullptr));
    const int fd = g_stream.load(std::memory_order_relaxed);
    const char* p = line.data();
    size_t left = line.size();
    // One write() for the whole line; only a partial write (rare, e.g. a full
    // pipe) continues with the rest.
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
}

} // namespace paradrex
