#include "platform/SystemCalls.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace paradrex::platform {

namespace {

SystemCalls realCalls;
std::atomic<SystemCalls*> current{&realCalls};
std::atomic<TrashImplementation> trashImplementation{nullptr};

} // namespace

const char* OpName(Op op) {
    switch (op) {
    case Op::Open:
        return "open";
    case Op::Read:
        return "read";
    case Op::Write:
        return "write";
    case Op::Fsync:
        return "fsync";
    case Op::Close:
        return "close";
    case Op::Stat:
        return "stat";
    case Op::Chmod:
        return "chmod";
    case Op::Unlink:
        return "unlink";
    case Op::Rmdir:
        return "rmdir";
    case Op::Mkdir:
        return "mkdir";
    case Op::Rename:
        return "rename";
    case Op::Link:
        return "link";
    case Op::ReadDirectory:
        return "getdents";
    case Op::Trash:
        return "trash";
    }
    return "?";
}

int SystemCalls::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

ssize_t SystemCalls::Read(const char*, int fd, void* buffer, size_t size) {
    return ::read(fd, buffer, size);
}

ssize_t SystemCalls::Write(const char*, int fd, const void* buffer, size_t size) {
    return ::write(fd, buffer, size);
}

int SystemCalls::Fsync(const char*, int fd) {
    return ::fsync(fd);
}

int SystemCalls::Close(const char*, int fd) {
    return ::close(fd);
}

int SystemCalls::Stat(const char* path, struct stat* st, bool followLink) {
    return followLink ? ::stat(path, st) : ::lstat(path, st);
}

int SystemCalls::Fstat(const char*, int fd, struct stat* st) {
    return ::fstat(fd, st);
}

int SystemCalls::Chmod(const char* path, mode_t mode) {
    return ::chmod(path, mode);
}

int SystemCalls::Fchmod(const char*, int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int SystemCalls::Unlink(const char* path) {
    return ::unlink(path);
}

int SystemCalls::Rmdir(const char* path) {
    return ::rmdir(path);
}

int SystemCalls::Mkdir(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}

int SystemCalls::Rename(const char* from, const char* to, unsigned flags) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, flags);
}

int SystemCalls::Link(const char* from, const char* to) {
    return ::link(from, to);
}

long SystemCalls::ReadDirectory(const char*, int fd, void* buffer, size_t size) {
    return ::syscall(SYS_getdents64, fd, buffer, size);
}

int SystemCalls::Trash(const char* path) {
    if (TrashImplementation trash = trashImplementation.load(std::memory_order_acquire))
        return trash(path);
    errno = ENOTSUP;
    return -1;
}

void SetTrashImplementation(TrashImplementation trash) {
    trashImplementation.store(trash, std::memory_order_release);
}

SystemCalls& Sys() {
    return *current.load(std::memory_order_acquire);
}

SystemCalls* InstallSystemCalls(SystemCalls* calls) {
    return current.exchange(calls ? calls : &realCalls, std::memory_order_acq_rel);
}

} // namespace paradrex::platform
