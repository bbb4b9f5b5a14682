// Default programs from the desktop's MIME associations.

#include "platform/MimeAssociations.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace paradrex::platform {
namespace {

using test::TempTree;

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
