#pragma once
// Directory listing and file opening relative to directory descriptors.
// Links are never followed below a root, special files are never opened
// (O_NONBLOCK keeps a FIFO that replaced a file from blocking), and atime is
// left alone where permitted.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <sys/types.h>

namespace paradrex::platform {

// Owns one file descriptor.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { Reset(); }
    Fd(Fd&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Fd& operator=(Fd&& o) noexcept {
        if (this != &o) {
            Reset();
            fd_ = o.fd_;
            o.fd_ = -1;
        }
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void Reset(int fd = -1);
    int Release() {
        int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_ = -1;
};

// A search root: links are followed here (a root that is a link means its target).
int OpenRootDirectory(const char* path);
// A directory below an open one; a link is not followed.
int OpenDirectoryAt(int dirFd, const char* name);
// A file below an open directory (or by absolute path when dirFd is
// AT_FDCWD) for reading; a link is not followed.
int OpenFileForReading(int dirFd, const char* name);

// Tells the virtual file systems (proc, sysfs, devtmpfs, ...) that a search
// never enters below its roots. The devices of the mounted ones are read
// from /proc/self/mounts once; the file-system type of the directory itself
// is the fallback (devtmpfs cannot be told from tmpfs that way).
class VirtualFileSystems {
public:
    VirtualFileSystems();
    bool Contains(dev_t device, int dirFd) const;

private:
    dev_t devices_[64];
    size_t count_ = 0;
};

enum class EntryType : uint8_t { Unknown, File, Directory, Other };

struct DirectoryEntry {
    std::string_view name; // valid until the next call to Next()
    EntryType type;
};

// Lists one open directory in the order the system returns its entries,
// without "." and "..". Does not own the descriptor.
class DirectoryReader {
public:
    explicit DirectoryReader(int dirFd);
    ~DirectoryReader();
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    // False at the end of the listing or on an error (see error()).
    bool Next(DirectoryEntry& entry);
    bool failed() const { return error_ != 0; }
    // The errno of the failed listing, 0 when it did not fail.
    int error() const { return error_; }

private:
    int fd_;
    char* buffer_;
    size_t filled_ = 0;
    size_t pos_ = 0;
    bool end_ = false;
    int error_ = 0;
};

} // namespace paradrex::platform
