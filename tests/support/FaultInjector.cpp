#include "support/FaultInjector.h"

#include <cerrno>
#include <fnmatch.h>

namespace paradrex::test {

using platform::Op;

namespace {

template <class T> T Failed(int error) {
    errno = error;
    return -1;
}

size_t Limited(size_t size, long maxBytes) {
    return maxBytes >= 0 && static_cast<size_t>(maxBytes) < size ? static_cast<size_t>(maxBytes)
                                                                 : size;
}

} // namespace

FaultInjector::FaultInjector() : next_(platform::InstallSystemCalls(this)) {}

FaultInjector::~FaultInjector() {
    platform::InstallSystemCalls(next_);
}

FaultInjector& FaultInjector::Fail(Fault fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back({std::move(fault), 0});
    return *this;
}

int FaultInjector::Calls(Op op) const {
    std::lock_guard lock(mutex_);
    return calls_[static_cast<size_t>(op)];
}

int FaultInjector::Injected() const {
    std::lock_guard lock(mutex_);
    return injected_;
}

FaultInjector::Verdict FaultInjector::Hit(Op op, const char* path, const char* target) {
    std::function<void()> before;
    Verdict verdict;
    {
        std::lock_guard lock(mutex_);
        ++calls_[static_cast<size_t>(op)];
        bool fired = false;
        for (Armed& a : faults_) {
            const Fault& f = a.fault;
            if (f.op != op)
                continue;
            if (!f.path.empty() && ::fnmatch(f.path.c_str(), path, 0) != 0 &&
                (!target || ::fnmatch(f.path.c_str(), target, 0) != 0))
                continue;
            const int n = ++a.seen;
            if (fired || n < f.nth || (f.times > 0 && n >= f.nth + f.times))
                continue;
            // The first fault that fires decides; the others still count the call.
            fired = true;
            before = f.before;
            verdict = {f.error, f.maxBytes};
        }
        if (verdict.error != 0)
            ++injected_;
    }
    // Outside the lock: the action may itself call through the seam.
    if (before)
        before();
    return verdict;
}

int FaultInjector::Open(const char* path, int flags, mode_t mode) {
    if (int e = Hit(Op::Open, path).error)
        return Failed<int>(e);
    return next_->Open(path, flags, mode);
}

ssize_t FaultInjector::Read(const char* path, int fd, void* buffer, size_t size) {
    const Verdict v = Hit(Op::Read, path);
    if (v.error)
        return Failed<ssize_t>(v.error);
    return next_->Read(path, fd, buffer, Limited(size, v.maxBytes));
}

ssize_t FaultInjector::Write(const char* path, int fd, const void* buffer, size_t size) {
    const Verdict v = Hit(Op::Write, path);
    if (v.error)
        return Failed<ssize_t>(v.error);
    return next_->Write(path, fd, buffer, Limited(size, v.maxBytes));
}

int FaultInjector::Fsync(const char* path, int fd) {
    if (int e = Hit(Op::Fsync, path).error)
        return Failed<int>(e);
    return next_->Fsync(path, fd);
}

int FaultInjector::Close(const char* path, int fd) {
    const int e = Hit(Op::Close, path).error;
    const int r = next_->Close(path, fd);
    return e ? Failed<int>(e) : r;
}

int FaultInjector::Stat(const char* path, struct stat* st, bool followLink) {
    if (int e = Hit(Op::Stat, path).error)
        return Failed<int>(e);
    return next_->Stat(path, st, followLink);
}

int FaultInjector::Fstat(const char* path, int fd, struct stat* st) {
    if (int e = Hit(Op::Stat, path).error)
        return Failed<int>(e);
    return next_->Fstat(path, fd, st);
}

int FaultInjector::Chmod(const char* path, mode_t mode) {
    if (int e = Hit(Op::Chmod, path).error)
        return Failed<int>(e);
    return next_->Chmod(path, mode);
}

int FaultInjector::Fchmod(const char* path, int fd, mode_t mode) {
    if (int e = Hit(Op::Chmod, path).error)
        return Failed<int>(e);
    return next_->Fchmod(path, fd, mode);
}

int FaultInjector::Unlink(const char* path) {
    if (int e = Hit(Op::Unlink, path).error)
        return Failed<int>(e);
    return next_->Unlink(path);
}

int FaultInjector::Rmdir(const char* path) {
    if (int e = Hit(Op::Rmdir, path).error)
        return Failed<int>(e);
    return next_->Rmdir(path);
}

int FaultInjector::Mkdir(const char* path, mode_t mode) {
    if (int e = Hit(Op::Mkdir, path).error)
        return Failed<int>(e);
    return next_->Mkdir(path, mode);
}

int FaultInjector::Rename(const char* from, const char* to, unsigned flags) {
    if (int e = Hit(Op::Rename, from, to).error)
        return Failed<int>(e);
    return next_->Rename(from, to, flags);
}

int FaultInjector::Link(const char* from, const char* to) {
    if (int e = Hit(Op::Link, from, to).error)
        return Failed<int>(e);
    return next_->Link(from, to);
}

long FaultInjector::ReadDirectory(const char* path, int fd, void* buffer, size_t size) {
    if (int e = Hit(Op::ReadDirectory, path).error)
        return Failed<long>(e);
    return next_->ReadDirectory(path, fd, buffer, size);
}

int FaultInjector::Trash(const char* path) {
    if (int e = Hit(Op::Trash, path).error)
        return Failed<int>(e);
    return next_->Trash(path);
}

} // namespace paradrex::test
