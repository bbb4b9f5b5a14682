#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
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

// Waits for the child until the deadline, then kills it. Nothing when it had
// to be killed.
std::optional<int> ReapBefore(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        int status = 0;
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return ExitCode(status);
        if (r < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            Reap(pid);
            return std::nullopt;
        }
        ::usleep(2000);
    }
}

// Tells the starting process why the start failed, from a child that may
// only make async-signal-safe calls.
void ReportStartError(int fd) {
    const int code = errno;
    [[maybe_unused]] ssize_t n = ::write(fd, &code, sizeof code);
}

} // namespace

Result<ChildResult> RunChild(const std::vector<std::string>& argv,
                             std::chrono::milliseconds timeout, size_t maxOutput) {
    if (argv.empty() || argv[0].empty())
        return Error{EINVAL, "spawn", {}, {}};
    const std::string& program = argv[0];
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return Error::FromErrno("pipe", program);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        return Error{rc, "spawn", program, {}};
    }

    ChildResult result;
    bool killed = false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buf[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            killed = true;
            break;
        }
        pollfd pfd{fds[0], POLLIN, 0};
        int ready = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            break;
        if (ready == 0)
            continue; // the deadline check above ends the wait
        ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // end of output: the child closed its side
        // Keep draining beyond the limit so the child never blocks on a full pipe.
        size_t room = maxOutput > result.output.size() ? maxOutput - result.output.size() : 0;
        result.output.append(buf, std::min(room, static_cast<size_t>(n)));
    }
    ::close(fds[0]);
    if (killed) {
        Reap(pid);
        return Error{ETIMEDOUT, "wait", program, {}};
    }
    std::optional<int> code = ReapBefore(pid, deadline);
    if (!code)
        return Error{ETIMEDOUT, "wait", program, {}};
    result.exitCode = *code;
    return result;
}

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
