// The helper-process runner: output, exit status, and the limits that keep a
// misbehaving tool from blocking the caller.

#include "platform/ChildProcess.h"

#include "support/ResultAssertions.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace paradrex::platform {
namespace {

using namespace std::chrono_literals;
using test::FailsWith;
using test::Succeeded;
using test::TempTree;

TEST(ChildProcess, CapturesStandardOutputAndTheExitCode) {
    auto r = RunChild({"/bin/sh", "-c", "printf 'a\\nb'; echo err >&2; exit 3"}, 5s);
    ASSERT_TRUE(Succeeded(r));
    EXPECT_EQ(r->output, "a\nb"); // standard error is not captured
    EXPECT_EQ(r->exitCode, 3);
    // Standard input is empty: a tool waiting for input ends at once.
    auto cat = RunChild({"cat"}, 5s);
    ASSERT_TRUE(Succeeded(cat));
    EXPECT_EQ(cat->output, "");
    EXPECT_EQ(cat->exitCode, 0);
    // Ended by a signal.
    auto killed = RunChild({"/bin/sh", "-c", "kill -9 $$"}, 5s);
    ASSERT_TRUE(Succeeded(killed));
    EXPECT_EQ(killed->exitCode, -1);
}

TEST(ChildProcess, OutputIsCutAtTheLimitWhileTheChildRunsToItsEnd) {
    for (size_t limit : {size_t{0}, size_t{10}, size_t{4096}, size_t{99999}}) {
        SCOPED_TRACE(limit);
        // Far more than a pipe holds: the child must not block on a full pipe.
        auto r = RunChild({"/bin/sh", "-c", "head -c 1000000 /dev/zero; exit 4"}, 10s, limit);
        ASSERT_TRUE(Succeeded(r));
        EXPECT_EQ(r->output, std::string(limit, '\0'));
        EXPECT_EQ(r->exitCode, 4);
    }
}

TEST(ChildProcess, ProgramThatCannotBeStarted) {
    Result<ChildResult> missing = RunChild({"/nonexistent/program"}, 1s);
    ASSERT_TRUE(FailsWith(missing, ENOENT));
    EXPECT_EQ(missing.error().path, "/nonexistent/program");
    EXPECT_TRUE(FailsWith(RunChild({"paradrex-no-such-tool-on-path"}, 1s), ENOENT));
    EXPECT_TRUE(FailsWith(RunChild({}, 1s), EINVAL));
    EXPECT_TRUE(FailsWith(RunChild({""}, 1s), EINVAL));
}

TEST(ChildProcess, ChildOutlivingItsTimeIsKilled) {
    TempTree t;
    const std::string pidFile = t.path("pid");
    const auto start = std::chrono::steady_clock::now();
    Result<ChildResult> r =
        RunChild({"/bin/sh", "-c", "echo $$ > '" + pidFile + "'; exec sleep 30"}, 1s);
    ASSERT_TRUE(FailsWith(r, ETIMEDOUT));
    EXPECT_EQ(r.error().path, "/bin/sh");
    // Closing its output does not let a child hang the caller either.
    EXPECT_TRUE(FailsWith(RunChild({"/bin/sh", "-c", "exec >&-; sleep 30"}, 300ms), ETIMEDOUT));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    // Killed and reaped: no such process any more.
    const pid_t pid = std::stoi(t.readFile("pid"));
    EXPECT_NE(::kill(pid, 0), 0);
    EXPECT_EQ(errno, ESRCH);
}

// Waits until the started program has written its file; empty when it never
// does.
std::string WaitForFile(const TempTree& t, const char* rel) {
    for (int i = 0; i < 500 && !t.exists(rel); ++i)
        std::this_thread::sleep_for(10ms);
    return t.exists(rel) ? t.readFile(rel) : std::string();
}

TEST(ChildProcess, DetachedProgramGetsEachArgumentAsItsBytes) {
    TempTree t;
    // Writes its arguments, each ended by a NUL byte, then what it read from
    // standard input; the rename makes the file appear whole.
    const std::string script = t.createFile(
        "record", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >\"$0.tmp\"\n"
                  "cat >>\"$0.tmp\"\nmv \"$0.tmp\" \"$0.argv\"\n");
    t.chmod("record", 0755);
    const std::vector<std::string> args = {
        script, t.path("; touch pwned"), "$(touch pwned)", "a b\tc", "-x", "\xff\xfe\xc3(", ""};
    ASSERT_TRUE(Succeeded(StartDetached(args)));
    std::string expected;
    for (size_t i = 1; i < args.size(); ++i)
        expected += args[i] + '\0';
    EXPECT_EQ(WaitForFile(t, "record.argv"), expected);
    EXPECT_FALSE(t.exists("pwned"));
    // Nothing is left to reap: the program is not this process's child.
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(ChildProcess, DetachedProgramThatCannotBeStarted) {
    TempTree t;
    t.createFile("plain", "#!/bin/sh\ntouch ran\n");
    t.createFile("garbage", "neither a script nor a program");
    t.chmod("garbage", 0755);
    EXPECT_TRUE(FailsWith(StartDetached({t.path("missing")}), ENOENT));
    EXPECT_TRUE(FailsWith(StartDetached({t.path("plain"), "x"}), EACCES));
    EXPECT_TRUE(FailsWith(StartDetached({t.path("garbage")}), ENOEXEC));
    EXPECT_TRUE(FailsWith(StartDetached({t.root()}), EACCES));
    EXPECT_TRUE(FailsWith(StartDetached({}), EINVAL));
    EXPECT_TRUE(FailsWith(StartDetached({""}), EINVAL));
    // The PATH is not searched.
    EXPECT_TRUE(FailsWith(StartDetached({"sh", "-c", "true"}), ENOENT));
    EXPECT_FALSE(t.exists("ran"));
}

} // namespace
} // namespace paradrex::platform
