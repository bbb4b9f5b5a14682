#pragma once
// Fails chosen calls of the platform's system-call seam with a chosen errno
// while it lives, and forwards every other call to the calls installed
// before it (normally the real system), which it restores when destroyed.
//
//     test::FaultInjector faults;
//     faults.Fail({.op = Op::Write, .error = ENOSPC, .nth = 2}); // the 2nd write
//     faults.Fail({.op = Op::Rename, .error = EINVAL});           // the 1st rename
//     faults.Fail({.op = Op::Unlink, .error = EACCES, .times = 0,
//                  .path = "*/keep/*"});                          // every unlink there
//
// A fault counts only the calls of its operation whose path matches its
// pattern (fnmatch, '*' also matching '/'; either path of a rename or link);
// it fires on the nth of them and the `times - 1` after it. `before` runs
// when the fault fires, before the call, e.g. to change the file system at
// exactly that moment; with error 0 the call then goes ahead, and a read or
// write moves at most `maxBytes` bytes when that is set (a short transfer).
// Injected failures do not touch the file system, except that a failed close
// still releases the descriptor, as close(2) does.

#include "platform/SystemCalls.h"

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace paradrex::test {

class FaultInjector : public platform::SystemCalls {
public:
    struct Fault {
        platform::Op op;
        int error = 0;         // the errno the call fails with; 0: it runs
        int nth = 1;           // the first matching call that fires, from 1
        int times = 1;         // how many in a row fire; 0: every one from the nth
        std::string path = {}; // fnmatch pattern for the call's path; empty: any
        std::function<void()> before = {};
        long maxBytes = -1; // read or write with error 0: moves at most this many bytes
    };

    FaultInjector();
    ~FaultInjector() override;
    FaultInjector(const FaultInjector&) = delete;
    FaultInjector& operator=(const FaultInjector&) = delete;

    FaultInjector& Fail(Fault fault);
    // How many calls of the operation went through the seam so far.
    int Calls(platform::Op op) const;
    // How many calls failed by injection so far.
    int Injected() const;

    int Open(const char* path, int flags, mode_t mode) override;
    ssize_t Read(const char* path, int fd, void* buffer, size_t size) override;
    ssize_t Write(const char* path, int fd, const void* buffer, size_t size) override;
    int Fsync(const char* path, int fd) override;
    int Close(const char* path, int fd) override;
    int Stat(const char* path, struct stat* st, bool followLink) override;
    int Fstat(const char* path, int fd, struct stat* st) override;
    int Chmod(const char* path, mode_t mode) override;
    int Fchmod(const char* path, int fd, mode_t mode) override;
    int Unlink(const char* path) override;
    int Rmdir(const char* path) override;
    int Mkdir(const char* path, mode_t mode) override;
    int Rename(const char* from, const char* to, unsigned flags) override;
    int Link(const char* from, const char* to) override;
    long ReadDirectory(const char* path, int fd, void* buffer, size_t size) override;
    int Trash(const char* path) override;

private:
    struct Armed {
        Fault fault;
        int seen = 0;
    };
    struct Verdict {
        int error = 0;      // the errno to fail the call with, or 0 to let it run
        long maxBytes = -1; // a limit on the bytes the call moves
    };
    // What happens to this call. A pattern matches a two-path call (rename,
    // link) when it matches either path.
    Verdict Hit(platform::Op op, const char* path, const char* target = nullptr);

    platform::SystemCalls* next_;
    mutable std::mutex mutex_;
    std::vector<Armed> faults_;
    std::array<int, platform::kOpCount> calls_{};
    int injected_ = 0;
};

} // namespace paradrex::test
