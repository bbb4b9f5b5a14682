#include "settings/ErrorLog.h"

#include "platform/ErrorRecord.h"
#include "platform/FileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {

namespace {

constexpr off_t kTrimAbove = 65535;
constexpr off_t kCutAt = 32767;
constexpr size_t kLineSkipLimit = 65535;

std::string InDir(const std::string& dir, const char* name) {
    if (dir.empty())
        return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

} // namespace

void _Error_log::Trim(const std::string& directory) {
    const std::string logPath = InDir(directory, "error.log");
    const std::string tmpPath = InDir(directory, "tmp.log");
    struct stat st;
    if (::stat(logPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= kTrimAbove)
        return;
    int in = ::open(logPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return;
    int out = ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        ::close(in);
        return;
    }
    bool ok = ::lseek(in, kCutAt, SEEK_SET) == kCutAt;
    // Discard up to and including the next line end, then copy the rest.
    char buf[65536];
    size_t skipped = 0;
    bool lineFound = false;
    while (ok) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        size_t start = 0;
        if (!lineFound) {
            while (start < static_cast<size_t>(n) && skipped < kLineSkipLimit) {
                ++skipped;
                if (buf[start++] == '\n') {
                    lineFound = true;
                    break;
                }
            }
            if (!lineFound && skipped >= kLineSkipLimit)
                lineFound = true;
        }
        if (lineFound &&
            !platform::WriteAll(out, std::string_view(buf + start, static_cast<size_t>(n) - start),
                                tmpPath))
            ok = false;
    }
    ::close(in);
    if (::close(out) != 0)
        ok = false;
    // An atomic replace keeps the old log whole when anything failed.
    if (!ok || ::rename(tmpPath.c_str(), logPath.c_str()) != 0)
        ::unlink(tmpPath.c_str());
}

_Error_log::_Error_log(std::string directory) {
    Trim(directory);
    logFd_ = ::open(InDir(directory, "error.log").c_str(),
                    O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (logFd_ >= 0)
        previousStream_ = _Error_record::SetStream(logFd_);
}

_Error_log::~_Error_log() {
    if (logFd_ < 0)
        return;
    _Error_record::SetStream(previousStream_);
    ::close(logFd_);
}

} // namespace paradrex
