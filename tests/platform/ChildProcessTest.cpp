// Starting a chosen program detached: its arguments arrive as exact bytes and
// a start that fails answers its errno.

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
