// Default programs from the desktop's MIME associations, and the helper
// process runner behind them.

#include "platform/MimeAssociations.h"
#include "platform/ChildProcess.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace paradrex::platform {
namespace {

using namespace std::chrono_literals;
using test::TempTree;

TEST(ChildProcess, CapturesOutputAndExitCode) {
    auto r = RunChild({"/bin/sh", "-c", "printf 'a\\nb'; echo err >&2; exit 3"}, 5s);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->output, "a\nb");
    EXPECT_EQ(r->exitCode, 3);
    auto limited = RunChild({"/bin/sh", "-c", "head -c 100000 /dev/zero"}, 5s, 10);
    ASSERT_TRUE(limited);
    EXPECT_EQ(limited->output.size(), 10u);
}

TEST(ChildProcess, MissingProgramAndHangingProgram) {
    EXPECT_FALSE(RunChild({"/nonexistent/program"}, 1s));
    EXPECT_FALSE(RunChild({"paradrex-no-such-tool-on-path"}, 1s));
    EXPECT_FALSE(RunChild({}, 1s));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunChild({"/bin/sh", "-c", "sleep 30"}, 200ms));
    // Closing its output does not let a child hang the caller either.
    EXPECT_FALSE(RunChild({"/bin/sh", "-c", "exec >&-; sleep 30"}, 200ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(MimeAssociations, ExecLineOfTheDesktopEntryGroup) {
    EXPECT_EQ(MimeAssociations::ExecFromDesktopEntry("# c\n[Desktop Entry]\r\nName=x\r\n"
                                                     "Exec=gedit %U\r\n"),
              "gedit %U");
    EXPECT_EQ(MimeAssociations::ExecFromDesktopEntry("[Desktop Action a]\nExec=no\n"
                                                     "[Desktop Entry]\nTryExec=no\nExec=yes\n"),
              "yes");
    EXPECT_EQ(MimeAssociations::ExecFromDesktopEntry("Exec=outside\n"), std::nullopt);
    EXPECT_EQ(MimeAssociations::ExecFromDesktopEntry("[Desktop Entry]\nExec=\n"), std::nullopt);
    EXPECT_EQ(MimeAssociations::ExecFromDesktopEntry("[Desktop Entry]\nExec=a\\sb\\\\c\n"),
              "a b\\c");
}

TEST(MimeAssociations, QueryThroughAFakeTool) {
    TempTree tree;
    std::string tool =
        tree.createFile("xdg-mime", "#!/bin/sh\n"
                                    "[ \"$1\" = --version ] && exit 0\n"
                                    "[ \"$3\" = text/plain ] && echo ' ed.desktop;other.desktop'\n"
                                    "[ \"$3\" = bad/type ] && echo ../../etc/passwd\n"
                                    "exit 0\n");
    tree.chmod("xdg-mime", 0755);
    tree.createFile("data/applications/ed.desktop", "[Desktop Entry]\nExec=/bin/ed %f\n");
    const std::string oldHome = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", tree.path("data").c_str(), 1);
    MimeAssociations associations(tool);
    EXPECT_TRUE(associations.Available());
    EXPECT_EQ(associations.DefaultDesktopEntry("text/plain"), "ed.desktop");
    EXPECT_EQ(associations.DefaultCommand("text/plain"), "/bin/ed %f");
    EXPECT_EQ(associations.DefaultDesktopEntry("image/png"), "");
    EXPECT_EQ(associations.DefaultDesktopEntry("bad/type"), "");
    EXPECT_FALSE(MimeAssociations("").Available());
    EXPECT_FALSE(MimeAssociations(tree.path("none")).Available());
    ::setenv("XDG_DATA_HOME", oldHome.c_str(), 1);
}

} // namespace
} // namespace paradrex::platform
