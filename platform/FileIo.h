#pragma once
// Files opened, read and written through the system-call seam
// (SystemCalls.h): whole-file reading and atomic replacement for the small
// files the program keeps (settings, the per-user key store) and reads
// (/proc, desktop entries), and the open file the file operations copy with.
// Every failure comes back as an Error with the errno and the path.

#include "platform/Result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace paradrex::platform {

// One descriptor opened through the seam, with the path it was opened by;
// closed when destroyed.
class File {
public:
    static Result<File> Open(std::string path, int flags, mode_t mode = 0);

    File(File&& o) noexcept : path_(std::move(o.path_)), fd_(o.fd_) { o.fd_ = -1; }
    File& operator=(File&& o) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    // Up to `size` bytes; 0 at the end of the file. Retries on interruption.
    Result<size_t> Read(void* buffer, size_t size);
    Result<void> WriteAll(std::string_view bytes);
    Result<struct stat> Stat();
    Result<void> Chmod(mode_t mode);
    Result<void> Sync();
    // Closes now and reports what close(2) reports (a delayed write error);
    // the descriptor is gone afterwards either way.
    Result<void> Close();

private:
    File(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

    std::string path_;
    int fd_ = -1;
};

// A regular file's bytes, at most `limit` of them. A directory fails with
// EISDIR and any other file that is not regular (a FIFO, a device) with
// EINVAL, without being read: opening never waits for a FIFO's writer.
Result<std::string> ReadRegularFile(const std::string& path, size_t limit);

// Writes all of `bytes` to an open descriptor of the file `path`.
Result<void> WriteAll(int fd, std::string_view bytes, const std::string& path);

// Replaces `target` with `bytes` through a temporary file in the same folder
// and a rename, so the old file stays whole on any failure (a crash, a full
// disk, a read-only file system); the temporary file is removed again. The
// new file gets `keepMode` when given (the old file's permission bits), else
// the usual mode for a new file.
Result<void> ReplaceFileAtomically(const std::string& target, std::string_view bytes,
                                   std::optional<mode_t> keepMode = std::nullopt);

// The same replacement written piece by piece, for files too large to build
// in memory first: Begin opens the temporary file ("<target>.tmp.<pid>"),
// Write appends to it, Commit syncs it and renames it over `target`.
// Destroyed (or failed) before Commit, it removes the temporary file and
// leaves `target` as it was.
class AtomicReplacement {
public:
    static Result<AtomicReplacement> Begin(const std::string& target,
                                           std::optional<mode_t> keepMode = std::nullopt);

    AtomicReplacement(AtomicReplacement&& o) noexcept;
    AtomicReplacement& operator=(AtomicReplacement&&) = delete;
    AtomicReplacement(const AtomicReplacement&) = delete;
    ~AtomicReplacement();

    Result<void> Write(std::string_view bytes);
    Result<void> Commit();

private:
    AtomicReplacement(std::string target, std::string temporary, File file)
        : target_(std::move(target)), temporary_(std::move(temporary)), file_(std::move(file)) {}
    void Abandon();

    std::string target_;
    std::string temporary_; // empty once committed or abandoned
    File file_;
};

} // namespace paradrex::platform
