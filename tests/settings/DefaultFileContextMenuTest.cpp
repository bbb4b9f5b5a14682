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

// A desktop with a fake association tool and its own desktop entries.
class FakeDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        tool_ = tree_.createFile("bin/xdg-mime",
                                 "#!/bin/sh\n"
                                 "if [ \"$1\" = --version ]; then echo fake; exit 0; fi\n"
                                 "[ \"$1\" = query ] && [ \"$2\" = default ] || exit 1\n"
                                 "case \"$3\" in\n"
                                 "text/plain) echo fake-editor.desktop ;;\n"
                                 "image/bmp) echo viewer.desktop ;;\n"
                                 "audio/wav) echo player.desktop ;;\n"
                                 "video/x-msvideo) echo legacy.desktop ;;\n"
                                 "esac\n");
        tree_.chmod("bin/xdg-mime", 0755);
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
    }

    TempTree tree_;
    std::string tool_;
    EnvOverride home_{"XDG_DATA_HOME", tree_.path("home")};
    EnvOverride dirs_{"XDG_DATA_DIRS", tree_.path("sys1") + ":relative:" + tree_.path("sys2")};
};

TEST_F(FakeDesktop, RowsGetTheDesktopsDefaultPrograms) {
    _File_context_menu_section menu;
    ComputeDefaultFileContextMenu(menu, platform::MimeAssociations(tool_));
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
    ComputeDefaultFileContextMenu(menu, platform::MimeAssociations(tool_));
    EXPECT_EQ(menu.rows[0].Menu.value, "Open as &Text");
    EXPECT_EQ(menu.rows[0].Command.value, "");
    EXPECT_EQ(menu.rows[0].Visible.value, 0);
    EXPECT_EQ(menu.rows[1].Visible.value, 1);
}

TEST_F(FakeDesktop, WithoutTheServiceRowsKeepOnlyTheirCaptions) {
    for (std::string tool : {std::string(), tree_.path("bin/missing-tool")}) {
        _File_context_menu_section menu;
        ComputeDefaultFileContextMenu(menu, platform::MimeAssociations(tool));
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
        _Setting_file first(dir.root(), {_Setting_file::Access::ReadWrite, tool_});
        EXPECT_EQ(first.fileContextMenu.rows[0].Command.value, "/usr/bin/fake-edit");
    }
    std::string written = dir.readFile("Setting.ini");
    EXPECT_NE(written.find("[File Context Menu]\r\nVisible=1\r\nMenu=Open as &Text\r\n"
                           "Command=/usr/bin/fake-edit\r\nVisible=1\r\nMenu=Open as &Image\r\n"
                           "Command=/opt/My Viewer/view\r\n"),
              std::string::npos);
    // The next start reads the rows and asks nobody.
    tree_.remove("home/applications/fake/editor.desktop");
    _Setting_file second(dir.root(), {_Setting_file::Access::ReadOnly, tool_});
    EXPECT_EQ(second.fileContextMenu.rows[0].Command.value, "/usr/bin/fake-edit");
}

} // namespace
} // namespace paradrex
