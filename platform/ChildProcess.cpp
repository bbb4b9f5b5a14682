#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace paradrex::platform {

namespace {

int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reaps the child, retrying on interruption.
int Reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return ExitCode(status);
}

// Tells the starting process why the start failed, from a child that may
// only make async-signal-safe calls.
void ReportStartError(int fd) {
    const int code = errno;
    [[maybe_unused]] ssize_t n = ::write(fd, &code, sizeof code);
}

} // namespace

Result<void> StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty())
        return Error{EINVAL, "spawn", {}, {}};
    const std::string& program = argv[0];
    // Everything the children need is made before the fork: a copy of a
    // threaded process may only make async-signal-safe calls.
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The program's exec closes the pipe; an errno arrives through it when
    // the start failed.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return Error::FromErrno("pipe", program);

    // Forked twice: the program's parent ends at once, so the program is
    // adopted by the system and never left as this process's zombie.
    const pid_t child = ::fork();
    if (child < 0) {
        Error error = Error::FromErrno("fork", program);
        ::close(fds[0]);
        ::close(fds[1]);
        return error;
    }
    if (child == 0) {
        ::close(fds[0]);
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::setsid();
            sigset_t none;
            ::sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            const int in = ::open("/dev/null", O_RDONLY);
            if (in > 0) {
                ::dup2(in, 0);
                ::close(in);
            }
            ::execve(args[0], args.data(), environ);
            ReportStartError(fds[1]);
            ::_exit(127);
        }
        if (grandchild < 0)
            ReportStartError(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    Reap(child);
    int code = 0;
    ssize_t n = 0;
    do
        n = ::read(fds[0], &code, sizeof code);
    while (n < 0 && errno == EINTR);
    ::close(fds[0]);
    if (n == static_cast<ssize_t>(sizeof code))
        return Error{code, "spawn", program, {}};
    return {};
}

} // namespace paradrex::platform
