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

} // namespace
} // namespace paradrex::platform
