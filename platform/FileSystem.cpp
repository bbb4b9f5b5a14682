#include "platform/FileSystem.h"

#include "platform/Dirent64.h"
#include "platform/FileIo.h"
#include "platform/SystemCalls.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex::platform {

namespace {

constexpr size_t kCopyChunk = 256 * 1024;

// The folder of a path: "." for a bare name, "/" for a name in the root.
std::string ParentOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

FileStatus StatusFrom(const struct stat& st) {
    FileStatus s;
    s.identity.device = st.st_dev;
    s.identity.inode = st.st_ino;
    s.identity.size = static_cast<uint64_t>(st.st_size);
    s.identity.mtimeSeconds = st.st_mtim.tv_sec;
    s.identity.mtimeNanoseconds = st.st_mtim.tv_nsec;
    s.mode = st.st_mode;
    return s;
}

// The file system refuses RENAME_NOREPLACE itself (not the rename).
bool FlagRefused(int code) {
    return code == EINVAL || code == ENOSYS || code == EOPNOTSUPP;
}

// An unused name beside `to` for the copy of a cross-device move: short, so
// it fits where `to` fits, and hidden.
Result<File> CreateTemporaryBeside(const std::string& to) {
    static std::atomic<unsigned> serial{0};
    const std::string prefix = ParentOf(to) + "/.paradrex-move-" + std::to_string(::getpid()) + "-";
    constexpr int kAttempts = 100;
    for (int attempt = 1;; ++attempt) {
        const unsigned n = serial.fetch_add(1, std::memory_order_relaxed);
        Result<File> file = File::Open(prefix + std::to_string(n),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        // A name left behind by an earlier process with the same pid: try
        // the next one.
        if (file || file.code() != EEXIST || attempt == kAttempts)
            return file;
    }
}

// Copies the whole of `in` (expected to hold `size` bytes) to `out`, synced.
Result<void> CopyContents(File& in, File& out, uint64_t size) {
    std::unique_ptr<char[]> buffer(new char[kCopyChunk]);
    uint64_t copied = 0;
    for (;;) {
        Result<size_t> n = in.Read(buffer.get(), kCopyChunk);
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        if (Result<void> w = out.WriteAll(std::string_view(buffer.get(), *n)); !w)
            return w;
        copied += *n;
    }
    if (Result<void> s = out.Sync(); !s)
        return s;
    // The copy must hold exactly what the source held when the move began.
    Result<struct stat> written = out.Stat();
    if (!written)
        return written.error();
    if (copied != size || static_cast<uint64_t>(written->st_size) != size)
        return Error{EIO, "copy", in.path(), out.path()};
    return {};
}

void SyncDirectory(const std::string& dir) {
    if (Result<File> d = File::Open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC))
        (void)d->Sync();
}

// The move of a regular file to another file system: copy beside the target,
// check, rename into place without replacing, then remove the source.
Result<void> CopyThenRemove(const std::string& from, const std::string& to) {
    Result<File> in = File::Open(from, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (!in)
        return in.error();
    Result<struct stat> st = in->Stat();
    if (!st)
        return st.error();
    // Only regular files are copied; a directory cannot be moved this way.
    if (!S_ISREG(st->st_mode))
        return Error{EXDEV, "rename", from, to};
    // An existing target fails before anything is copied (the rename below
    // still never replaces one that appears meanwhile).
    struct stat existing;
    if (Sys().Stat(to.c_str(), &existing, false) == 0)
        return Error{EEXIST, "rename", from, to};

    Result<File> out = CreateTemporaryBeside(to);
    if (!out)
        return out.error();
    const std::string tmp = out->path();
    Result<void> r = CopyContents(*in, *out, static_cast<uint64_t>(st->st_size));
    if (r) {
        // Permission bits and times where the target file system keeps them.
        (void)out->Chmod(st->st_mode & 07777);
        const struct timespec times[2] = {st->st_atim, st->st_mtim};
        ::futimens(out->fd(), times);
    }
    // The source must not have changed while it was copied.
    if (r) {
        Result<struct stat> after = in->Stat();
        if (!after)
            r = after.error();
        else if (after->st_size != st->st_size || after->st_mtim.tv_sec != st->st_mtim.tv_sec ||
                 after->st_mtim.tv_nsec != st->st_mtim.tv_nsec)
            r = Error{EIO, "copy", from, to};
    }
    Result<void> closed = out->Close();
    if (r && !closed)
        r = closed;
    if (r)
        r = RenameNoReplace(tmp, to);
    if (!r) {
        (void)Sys().Unlink(tmp.c_str());
        return r;
    }
    // The copy's name must be on disk before the source is gone.
    SyncDirectory(ParentOf(to));
    (void)in->Close();
    if (Sys().Unlink(from.c_str()) != 0) {
        Error e = Error::FromErrno("unlink", from);
        // Leave things as they were: the source stays, the copy goes.
        (void)Sys().Unlink(to.c_str());
        return e;
    }
    return {};
}

} // namespace

bool FileStatus::IsRegular() const {
    return S_ISREG(mode);
}

bool FileStatus::IsDirectory() const {
    return S_ISDIR(mode);
}

bool FileStatus::IsLink() const {
    return S_ISLNK(mode);
}

bool FileStatus::OwnerWritable() const {
    return (mode & S_IWUSR) != 0;
}

Result<FileStatus> StatusOf(const std::string& path) {
    struct stat st;
    if (Sys().Stat(path.c_str(), &st, false) != 0)
        return Error::FromErrno("stat", path);
    return StatusFrom(st);
}

Result<void> RemoveFile(const std::string& path) {
    if (Sys().Unlink(path.c_str()) != 0)
        return Error::FromErrno("unlink", path);
    return {};
}

Result<void> RemoveDirectory(const std::string& path) {
    if (Sys().Rmdir(path.c_str()) != 0)
        return Error::FromErrno("rmdir", path);
    return {};
}

Result<bool> IsDirectoryEmpty(const std::string& path) {
    Result<File> dir = File::Open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (!dir)
        return dir.error();
    alignas(Dirent64) char buffer[8192];
    for (;;) {
        long n = Sys().ReadDirectory(path.c_str(), dir->fd(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Error::FromErrno("getdents", path);
        if (n == 0)
            return true;
        for (size_t pos = 0; pos < static_cast<size_t>(n);) {
            const Dirent64* d = RecordAt(buffer, pos);
            if (!IsSelfOrParent(d->d_name))
                return false;
            pos += d->d_reclen;
        }
    }
}

Result<void> MakeDirectories(const std::string& path, mode_t mode) {
    const std::string dir = WithoutTrailingSlashes(path);
    if (dir.empty())
        return Error{ENOENT, "mkdir", path, {}};
    struct stat st;
    if (Sys().Stat(dir.c_str(), &st, true) == 0) {
        if (S_ISDIR(st.st_mode))
            return {};
        return Error{ENOTDIR, "mkdir", dir, {}};
    }
    if (errno != ENOENT)
        return Error::FromErrno("stat", dir);
    const std::string parent = ParentOf(dir);
    if (parent != dir) {
        if (Result<void> r = MakeDirectories(parent, mode); !r)
            return r;
    }
    if (Sys().Mkdir(dir.c_str(), mode) == 0)
        return {};
    Error e = Error::FromErrno("mkdir", dir);
    // Created by someone else meanwhile.
    if (e.code == EEXIST && Sys().Stat(dir.c_str(), &st, true) == 0 && S_ISDIR(st.st_mode))
        return {};
    return e;
}

Result<void> AddOwnerWrite(const std::string& path) {
    Result<FileStatus> status = StatusOf(path);
    if (!status)
        return status.error();
    if (status->IsLink())
        return Error{ELOOP, "chmod", path, {}};
    if (status->OwnerWritable())
        return {};
    if (Sys().Chmod(path.c_str(), (status->mode & 07777) | S_IWUSR) != 0)
        return Error::FromErrno("chmod", path);
    return {};
}

Result<void> SetPermissions(const std::string& path, mode_t bits) {
    Result<FileStatus> status = StatusOf(path);
    if (!status)
        return status.error();
    if (status->IsLink())
        return Error{ELOOP, "chmod", path, {}};
    if (Sys().Chmod(path.c_str(), bits & 07777) != 0)
        return Error::FromErrno("chmod", path);
    return {};
}

Result<void> RenameNoReplace(const std::string& from, const std::string& to) {
    if (Sys().Rename(from.c_str(), to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    Error e = Error::FromErrno("rename", from, to);
    if (!FlagRefused(e.code))
        return e;
    // link() fails on an existing name just as the refused flag would.
    if (Sys().Link(from.c_str(), to.c_str()) != 0)
        return Error::FromErrno("link", from, to);
    if (Sys().Unlink(from.c_str()) != 0) {
        Error u = Error::FromErrno("unlink", from);
        // Both names are the one file: dropping the new one loses nothing.
        (void)Sys().Unlink(to.c_str());
        return u;
    }
    return {};
}

Result<void> MoveNoReplace(const std::string& from, const std::string& to) {
    Result<void> r = RenameNoReplace(from, to);
    if (r || r.code() != EXDEV)
        return r;
    return CopyThenRemove(from, to);
}

Result<void> Trash(const std::string& path) {
    if (Sys().Trash(path.c_str()) != 0)
        return Error::FromErrno("trash", path);
    return {};
}

} // namespace paradrex::platform
