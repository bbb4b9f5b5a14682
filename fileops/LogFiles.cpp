#include "fileops/LogFiles.h"

#include "platform/FileIo.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>

namespace paradrex {

std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

platform::Result<void> SaveLog(const std::string& path, std::string_view logText) {
    return platform::ReplaceFileAtomically(path, WithCrLf(logText));
}

std::string SaveLogFailureMessage(const platform::Error& error) {
    char buf[256];
    return "The log could not be saved to " + error.path + ": " +
           ::strerror_r(error.code, buf, sizeof buf);
}

std::string OperationRecordPath() {
    const std::string dir = platform::StateDirectory();
    return dir.empty() ? dir : dir + "/operations.log"; // empty: nowhere to keep it
}

std::string OperationRecordHeader(std::string_view caption, bool stopped, std::time_t when) {
    struct tm local {};
    ::localtime_r(&when, &local);
    char date[64];
    const size_t n = std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S %z", &local);
    std::string header = "[" + std::string(date, n) + "] ";
    header += caption;
    if (stopped)
        header += ", stopped";
    return header;
}

platform::Result<void> AppendOperationRecord(const std::string& recordPath,
                                             std::string_view caption, std::string_view logText,
                                             bool stopped, std::time_t when) {
    if (recordPath.empty())
        return platform::Error{ENOENT, "open", recordPath, {}};
    const size_t slash = recordPath.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (auto made = platform::MakeDirectories(recordPath.substr(0, slash), 0700); !made)
            return made;
    }
    std::string entry = OperationRecordHeader(caption, stopped, when) + "\n";
    entry += logText;
    if (entry.back() != '\n')
        entry += '\n';
    auto file = platform::File::Open(recordPath,
                                     O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (!file)
        return file.error();
    if (auto written = file->WriteAll(entry); !written)
        return written;
    return file->Close();
}

} // namespace paradrex
