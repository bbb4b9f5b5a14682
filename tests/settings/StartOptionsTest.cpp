#include "settings/StartOptions.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace paradrex {
namespace {

StartOptions Parse(std::vector<const char*> args) {
    return ParseStartOptions(args, "/home/u/.config/Paradrex");
}

TEST(StartOptions, TheSettingsFolderComesFromTheCommandLine) {
    struct Case {
        std::vector<const char*> args;
        std::string dir;
    };
    const Case cases[] = {
        {{}, ""}, // the working directory
        {{"--settings-dir", "/data/p"}, "/data/p"},
        {{"--settings-dir=/data/q"}, "/data/q"},
        {{"--settings-dir", "relative dir"}, "relative dir"},
        {{"--user-settings"}, "/home/u/.config/Paradrex"},
        // The toolkit's own options are left alone.
        {{"-style", "fusion", "--settings-dir", "-odd name"}, "-odd name"},
        {{"-platform", "offscreen"}, ""},
    };
    for (const Case& c : cases) {
        const StartOptions o = Parse(c.args);
        EXPECT_EQ(o.settingsDir, c.dir) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_EQ(o.error, "");
    }
}

TEST(StartOptions, AMissingOrRepeatedFolderIsAUsageError) {
    for (const std::vector<const char*>& args :
         std::vector<std::vector<const char*>>{{"--settings-dir"},
                                               {"--settings-dir="},
                                               {"--settings-dir", ""},
                                               {"--user-settings", "--settings-dir", "/x"},
                                               {"--settings-dir=/a", "--settings-dir=/b"}}) {
        const StartOptions o = Parse(args);
        EXPECT_FALSE(o.error.empty()) << args[0];
        EXPECT_EQ(o.settingsDir, "");
    }
}

TEST(StartOptions, UserFolderFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(UserSettingsFolder(), "/cfg/Paradrex");
    unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    EXPECT_EQ(UserSettingsFolder(), std::string(home ? home : "") + "/.config/Paradrex");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST(StartOptions, TheFolderIsCreatedOrTheFailureSaid) {
    test::TempTree tree;
    const std::string dir = tree.root() + "/a/b/Paradrex";
    EXPECT_EQ(PrepareSettingsFolder(dir), "");
    struct stat st;
    ASSERT_EQ(::stat(dir.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(PrepareSettingsFolder(dir), ""); // already there
    EXPECT_EQ(PrepareSettingsFolder(""), "");  // the working directory
    tree.createFile("file", "x");
    const std::string message = PrepareSettingsFolder(tree.root() + "/file/sub");
    EXPECT_NE(message.find("cannot use the settings folder"), std::string::npos) << message;
}

} // namespace
} // namespace paradrex
