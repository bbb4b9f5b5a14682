// The file context menu rows of a first start.

#include "settings/DefaultFileContextMenu.h"
#include "platform/MimeAssociations.h"
#include "settings/SettingFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace paradrex {
namespace {

using test::TempTree;

TEST(ProgramPath, UnquotedProgramBeforeAPlaceholder) {
    EXPECT_EQ(ProgramPathFromCommand("/usr/bin/gedit %U"), "/usr/bin/gedit");
    EXPECT_EQ(ProgramPathFromCommand("eog %U %F"), "eog");
    EXPECT_EQ(ProgramPathFromCommand("vlc --started-from-file %U"), "vlc --started-from-file");
    EXPECT_EQ(ProgramPathFromCommand("/usr/bin/mousepad"), "/usr/bin/mousepad");
    EXPECT_EQ(ProgramPathFromCommand("a%b"), "");   // "%" as second character
    EXPECT_EQ(ProgramPathFromCommand("%1"), "%1");  // looked for from the third on
    EXPECT_EQ(ProgramPathFromCommand("ab%f"), "a"); // the character before "%" goes
    EXPECT_EQ(ProgramPathFromCommand(""), "");
}

TEST(ProgramPath, QuotedProgram) {
    EXPECT_EQ(ProgramPathFromCommand("\"/opt/My Viewer/view\" \"%f\""), "/opt/My Viewer/view");
    EXPECT_EQ(ProgramPathFromCommand("\"\" %f"), "");
    EXPECT_EQ(ProgramPathFromCommand("\"/opt/no close %f"), "/opt/no close %f");
    EXPECT_EQ(ProgramPathFromCommand("\""), "");
}

TEST(ProgramPath, RundllCommandsGiveNoProgram) {
    EXPECT_EQ(DefaultRowProgram("rundll32.exe shimgvw.dll,ImageView_Fullscreen %1"), "");
    EXPECT_EQ(DefaultRowProgram("RunDLL32 x %1"), "");
    EXPECT_EQ(DefaultRowProgram("rundl"), "rundl");
    EXPECT_EQ(DefaultRowProgram("/usr/bin/rundll %f"), "/usr/bin/rundll");
}

// Points an environment variable elsewhere for one test.
class EnvOverride {
public:
    EnvOverride(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvOverride() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A desktop with its own XDG folders: the defaults in the user's
// mimeapps.list, the desktop entries in the data folders. Programs that a
// lookup might run are traps that leave a mark.
class FakeDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        tree_.createFile("config/mimeapps.list", "[Default Applications]\n"
                                                 "text/plain=fake-editor.desktop\n"
                                                 "image/bmp=viewer.desktop\n"
                                                 "audio/wav=player.desktop\n"
                                                 "video/x-msvideo=legacy.desktop\n");
        // The editor lives in a subfolder named by its id's prefix.
        tree_.createFile("home/applications/fake/editor.desktop",
                         "[Desktop Entry]\nName=Editor\nExec=/usr/bin/fake-edit %F\n");
        tree_.createFile("sys1/applications/viewer.desktop",
                         "[Desktop Action new]\nExec=/wrong\n"
                         "[Desktop Entry]\nExec = \"/opt/My Viewer/view\" \"%f\"\n");
        tree_.createFile("sys2/applications/player.desktop",
                         "[Desktop Entry]\nExec=/usr/bin/play\\s--quiet %U\n");
        tree_.createFile("sys2/applications/legacy.desktop",
                         "[Desktop Entry]\nExec=rundll32 legacy.dll %1\n");
        for (const char* name : {"xdg-mime", "gio", "xdg-open", "mimeopen", "sh", "bash"}) {
            tree_.createFile(std::string("bin/") + name,
                             "#!/bin/sh\necho \"$0 $*\" >>'" + tree_.path("ran") + "'\n");
            tree_.chmod(std::string("bin/") + name, 0755);
        }
    }
    // What the traps recorded.
    std::string Ran() const { return tree_.exists("ran") ? tree_.readFile("ran") : ""; }

    TempTree tree_;
    EnvOverride configHome_{"XDG_CONFIG_HOME", tree_.path("config")};
    EnvOverride configDirs_{"XDG_CONFIG_DIRS", tree_.path("etc")};
    EnvOverride home_{"XDG_DATA_HOME", tree_.path("home")};
    EnvOverride dirs_{"XDG_DATA_DIRS", tree_.path("sys1") + ":relative:" + tree_.path("sys2")};
    EnvOverride desktop_{"XDG_CURRENT_DESKTOP", "fake"};
    EnvOverride path_{"PATH", tree_.path("bin")};
};

TEST_F(FakeDesktop, RowsGetTheDesktopsDefaultPrograms) {
    _File_context_menu_section menu;
    ComputeDefaultFileContextMenu(menu, platform::MimeAssociations());
    EXPECT_EQ(menu.rows[0].Menu.value, "Open as &Text");
    EXPECT_EQ(menu.rows[0].Command.value, "/usr/bin/fake-edit");
    EXPECT_EQ(menu.rows[0].Visible.value, 1);
    EXPECT_EQ(menu.rows[1].Menu.value, "Open as &Image");
    EXPECT_EQ(menu.rows[1].Command.value, "/opt/My Viewer/view");
    EXPECT_EQ(menu.rows[2].Menu.value, "Open as &Audio");
    EXPECT_EQ(menu.rows[2].Command.value, "/usr/bin/play --quiet"); // audio/wav after audio/x-wav
    // A rundll command gives no program, but the row is shown.
    EXPECT_EQ(menu.rows[3].Menu.value, "Open as &Video");
    EXPECT_EQ(menu.rows[3].Command.value, "");
    EXPECT_EQ(menu.rows[3].Visible.value, 1);
    for (size_t i = 4; i < 10; ++i) {
        EXPECT_EQ(menu.rows[i].Menu.value, "");
        EXPECT_EQ(menu.rows[i].Visible.value, 0);
    }
}

TEST_F(FakeDesktop, TextRowIsShownOnlyWhenItsProgramIsFound) {
    tree_.remove("home/applications/fake/editor.desktop");
    _File_context_menu_section menu;
    ComputeDefaultFileContextMenu(menu, platform::MimeAssociations());
    EXPECT_EQ(menu.rows[0].Menu.value, "Open as &Text");
    EXPECT_EQ(menu.rows[0].Command.value, "");
    EXPECT_EQ(menu.rows[0].Visible.value, 0);
    EXPECT_EQ(menu.rows[1].Visible.value, 1);
}

TEST_F(FakeDesktop, WithoutTheServiceRowsKeepOnlyTheirCaptions) {
    EnvOverride noDataHome{"XDG_DATA_HOME", tree_.path("none")};
    EnvOverride noDataDirs{"XDG_DATA_DIRS", tree_.path("none2")};
    for (bool service : {false, true}) {
        _File_context_menu_section menu;
        // Without the service, or on a system without applications folders.
        ComputeDefaultFileContextMenu(menu, service ? platform::MimeAssociations()
                                                    : platform::MimeAssociations::None());
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_FALSE(menu.rows[i].Menu.value.empty());
            EXPECT_EQ(menu.rows[i].Visible.value, 0);
            EXPECT_EQ(menu.rows[i].Command.value, "");
        }
    }
}

TEST_F(FakeDesktop, ComputedOnlyWhenTheFileIsMissing) {
    TempTree dir;
    {
        _Setting_file first(dir.root(), {_Setting_file::Access::ReadWrite, true});
        EXPECT_EQ(first.fileContextMenu.rows[0].Command.value, "/usr/bin/fake-edit");
    }
    // A first start finds the programs without running any.
    EXPECT_EQ(Ran(), "");
    std::string written = dir.readFile("Setting.ini");
    EXPECT_NE(written.find("[File Context Menu]\r\nVisible=1\r\nMenu=Open as &Text\r\n"
                           "Command=/usr/bin/fake-edit\r\nVisible=1\r\nMenu=Open as &Image\r\n"
                           "Command=/opt/My Viewer/view\r\n"),
              std::string::npos);
    // The next start reads the rows and asks nobody.
    tree_.remove("home/applications/fake/editor.desktop");
    _Setting_file second(dir.root(), {_Setting_file::Access::ReadOnly, true});
    EXPECT_EQ(second.fileContextMenu.rows[0].Command.value, "/usr/bin/fake-edit");
}

} // namespace
} // namespace paradrex
