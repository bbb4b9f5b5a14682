#include "platform/FileIo.h"

#include "platform/SystemCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace paradrex::platform {

Result<File> File::Open(std::string path, int flags, mode_t mode) {
    int fd = Sys().Open(path.c_str(), flags, mode);
    if (fd < 0)
        return Error::FromErrno("open", path);
    return File(std::move(path), fd);
}

File& File::operator=(File&& o) noexcept {
    if (this != &o) {
        (void)Close();
        path_ = std::move(o.path_);
        fd_ = o.fd_;
        o.fd_ = -1;
    }
    return *this;
}

File::~File() {
    (void)Close();
}

Result<size_t> File::Read(void* buffer, size_t size) {
    for (;;) {
        ssize_t n = Sys().Read(path_.c_str(), fd_, buffer, size);
        if (n >= 0)
            return static_cast<size_t>(n);
        if (errno != EINTR)
            return Error::FromErrno("read", path_);
    }
}

Result<void> File::WriteAll(std::string_view bytes) {
    return platform::WriteAll(fd_, bytes, path_);
}

Result<struct stat> File::Stat() {
    struct stat st;
    if (Sys().Fstat(path_.c_str(), fd_, &st) != 0)
        return Error::FromErrno("stat", path_);
    return st;
}

Result<void> File::Chmod(mode_t mode) {
    if (Sys().Fchmod(path_.c_str(), fd_, mode) != 0)
        return Error::FromErrno("chmod", path_);
    return {};
}

Result<void> File::Sync() {
    if (Sys().Fsync(path_.c_str(), fd_) != 0)
        return Error::FromErrno("fsync", path_);
    return {};
}

Result<void> File::Close() {
    if (fd_ < 0)
        return {};
    const int fd = fd_;
    fd_ = -1;
    if (Sys().Close(path_.c_str(), fd) != 0 && errno != EINTR)
        return Error::FromErrno("close", path_);
    return {};
}

Result<std::string> ReadRegularFile(const std::string& path, size_t limit) {
    // O_NONBLOCK: a FIFO is not waited on; it is refused below.
    Result<File> file = File::Open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (!file)
        return file.error();
    Result<struct stat> st = file->Stat();
    if (!st)
        return st.error();
    if (!S_ISREG(st->st_mode))
        return Error{S_ISDIR(st->st_mode) ? EISDIR : EINVAL, "read", path, {}};
    std::string out;
    char buf[65536];
    while (out.size() < limit) {
        Result<size_t> n = file->Read(buf, std::min(sizeof buf, limit - out.size()));
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        out.append(buf, *n);
    }
    return out;
}

Result<void> WriteAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        ssize_t n = Sys().Write(path.c_str(), fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Error::FromErrno("write", path);
        if (n == 0) // no room and no reason given: count it as a full disk
            return Error{ENOSPC, "write", path, {}};
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return {};
}

namespace {

std::string ParentOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

Result<AtomicReplacement> AtomicReplacement::Begin(const std::string& target,
                                                   std::optional<mode_t> keepMode) {
    std::string tmp = target + ".tmp." + std::to_string(::getpid());
    (void)Sys().Unlink(tmp.c_str()); // left over from a crashed run with the same pid
    Result<File> file = File::Open(tmp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (!file)
        return file.error();
    AtomicReplacement r(target, std::move(tmp), std::move(*file));
    if (keepMode) {
        if (Result<void> changed = r.file_.Chmod(*keepMode & 07777); !changed) {
            r.Abandon();
            return changed.error();
        }
    }
    return r;
}

AtomicReplacement::AtomicReplacement(AtomicReplacement&& o) noexcept
    : target_(std::move(o.target_)), temporary_(std::move(o.temporary_)),
      file_(std::move(o.file_)) {
    o.temporary_.clear();
}

AtomicReplacement::~AtomicReplacement() {
    Abandon();
}

void AtomicReplacement::Abandon() {
    if (temporary_.empty())
        return;
    (void)file_.Close();
    (void)Sys().Unlink(temporary_.c_str());
    temporary_.clear();
}

Result<void> AtomicReplacement::Write(std::string_view bytes) {
    if (temporary_.empty())
        return Error{EBADF, "write", target_, {}};
    Result<void> r = file_.WriteAll(bytes);
    if (!r)
        Abandon();
    return r;
}

Result<void> AtomicReplacement::Commit() {
    if (temporary_.empty())
        return Error{EBADF, "rename", target_, {}};
    Result<void> r = file_.Sync();
    Result<void> closed = file_.Close();
    if (r)
        r = closed;
    if (r && Sys().Rename(temporary_.c_str(), target_.c_str(), 0) != 0)
        r = Error::FromErrno("rename", temporary_, target_);
    if (!r) {
        Abandon();
        return r;
    }
    temporary_.clear();
    // Make the rename itself durable; the new file is in place either way.
    if (Result<File> dir = File::Open(ParentOf(target_), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
        (void)dir->Sync();
    return {};
}

Result<void> ReplaceFileAtomically(const std::string& target, std::string_view bytes,
                                   std::optional<mode_t> keepMode) {
    Result<AtomicReplacement> replacement = AtomicReplacement::Begin(target, keepMode);
    if (!replacement)
        return replacement.error();
    if (Result<void> written = replacement->Write(bytes); !written)
        return written;
    return replacement->Commit();
}

} // namespace paradrex::platform
