#include "platform/DirectoryIo.h"

#include "platform/Dirent64.h"
#include "platform/FileIo.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <linux/magic.h>
#include <new>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace paradrex::platform {

namespace {

constexpr size_t kDirBuffer = 32768;

// O_NOATIME is refused (EPERM) for files the user does not own; remember
// that so the common case costs one call.
std::atomic<bool> noAtimeRefused{false};

int OpenWithNoAtime(int dirFd, const char* name, int flags) {
    if (!noAtimeRefused.load(std::memory_order_relaxed)) {
        int fd = ::openat(dirFd, name, flags | O_NOATIME);
        if (fd >= 0 || errno != EPERM)
            return fd;
        noAtimeRefused.store(true, std::memory_order_relaxed);
    }
    return ::openat(dirFd, name, flags);
}

} // namespace

void Fd::Reset(int fd) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

int OpenRootDirectory(const char* path) {
    return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int OpenDirectoryAt(int dirFd, const char* name) {
    return OpenWithNoAtime(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

int OpenFileForReading(int dirFd, const char* name) {
    return OpenWithNoAtime(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
}

namespace {

bool IsVirtualType(std::string_view type) {
    static constexpr std::string_view kTypes[] = {
        "proc",    "sysfs",      "devtmpfs", "devpts", "cgroup",   "cgroup2", "debugfs",
        "tracefs", "securityfs", "pstore",   "bpf",    "configfs", "fusectl", "mqueue"};
    for (std::string_view t : kTypes)
        if (t == type)
            return true;
    return false;
}

bool IsVirtualMagic(unsigned long magic) {
    switch (magic) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case PSTOREFS_MAGIC:
    case BPF_FS_MAGIC:
    case 0x62656570: // configfs
    case 0x65735543: // fusectl
    case 0x19800202: // mqueue
        return true;
    default:
        return false;
    }
}

// Mount points in /proc/self/mounts escape blanks and backslashes as \ooo.
std::string Unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '7') {
            out +=
                static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

VirtualFileSystems::VirtualFileSystems() {
    const std::string text = ReadRegularFile("/proc/self/mounts", 1u << 22).value_or(std::string());
    size_t pos = 0;
    while (pos < text.size() && count_ < std::size(devices_)) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        size_t a = line.find(' ');
        if (a == std::string_view::npos)
            continue;
        size_t b = line.find(' ', a + 1);
        if (b == std::string_view::npos)
            continue;
        size_t c = line.find(' ', b + 1);
        std::string_view type = line.substr(b + 1, c == std::string_view::npos ? c : c - b - 1);
        if (!IsVirtualType(type))
            continue;
        std::string mountPoint = Unescape(line.substr(a + 1, b - a - 1));
        struct stat st;
        if (::stat(mountPoint.c_str(), &st) == 0)
            devices_[count_++] = st.st_dev;
    }
}

bool VirtualFileSystems::Contains(dev_t device, int dirFd) const {
    for (size_t i = 0; i < count_; ++i)
        if (devices_[i] == device)
            return true;
    struct statfs fs;
    return dirFd >= 0 && ::fstatfs(dirFd, &fs) == 0 &&
           IsVirtualMagic(static_cast<unsigned long>(fs.f_type));
}

DirectoryReader::DirectoryReader(int dirFd) : fd_(dirFd) {
    buffer_ = static_cast<char*>(std::malloc(kDirBuffer));
    if (!buffer_)
        throw std::bad_alloc();
}

DirectoryReader::~DirectoryReader() {
    std::free(buffer_);
}

bool DirectoryReader::Next(DirectoryEntry& entry) {
    for (;;) {
        if (pos_ >= filled_) {
            if (end_)
                return false;
            long n = ::syscall(SYS_getdents64, fd_, buffer_, kDirBuffer);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error_ = errno;
                end_ = true;
                return false;
            }
            if (n == 0) {
                end_ = true;
                return false;
            }
            filled_ = static_cast<size_t>(n);
            pos_ = 0;
        }
        const Dirent64* d = RecordAt(buffer_, pos_);
        pos_ += d->d_reclen;
        const char* name = d->d_name;
        if (IsSelfOrParent(name))
            continue;
        entry.name = std::string_view(name);
        switch (d->d_type) {
        case DT_REG:
            entry.type = EntryType::File;
            break;
        case DT_DIR:
            entry.type = EntryType::Directory;
            break;
        case DT_UNKNOWN:
            entry.type = EntryType::Unknown;
            break;
        default:
            entry.type = EntryType::Other;
            break;
        }
        return true;
    }
}

} // namespace paradrex::platform
