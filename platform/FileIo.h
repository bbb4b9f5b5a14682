#pragma once
// Whole-file reading and atomic replacement, for the small files the program
// keeps (settings, the per-user key store) and reads (/proc, desktop entries).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace paradrex::platform {

// A regular file's bytes, at most `limit` of them; nothing when the file is
// missing, not a regular file, or cannot be read.
std::optional<std::string> ReadRegularFile(const std::string& path, size_t limit);

// Writes all of `bytes` to an open descriptor; false on any failure.
bool WriteAll(int fd, std::string_view bytes);

// Replaces `target` with `bytes` through a temporary file in the same folder
// and a rename, so the old file stays whole on any failure (a crash, a full
// disk). The new file gets `keepMode` when given (the old file's permission
// bits), else the usual mode for a new file.
bool ReplaceFileAtomically(const std::string& target, std::string_view bytes,
                           std::optional<mode_t> keepMode = std::nullopt);

} // namespace paradrex::platform
