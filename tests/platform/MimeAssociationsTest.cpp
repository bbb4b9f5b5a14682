// Default programs from the desktop's MIME associations, read from fake XDG
// folders.

#include "platform/MimeAssociations.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

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
    EXPECT_EQ(MimeAssociations::ExecFromDesktopEntry("[Desktop Entry]\nExec = spaced %f \n"),
              "spaced %f");
    // A hidden entry counts as deleted.
    EXPECT_EQ(MimeAssociations::ExecFromDesktopEntry("[Desktop Entry]\nExec=x\nHidden=true\n"),
              std::nullopt);
}

// Five folders as a desktop has them: the user's and the system's
// configuration, the user's data and two system data folders.
class FakeXdg : public ::testing::Test {
protected:
    XdgLocations Where(std::vector<std::string> desktops = {}) const {
        return {{tree_->path("config"), tree_->path("etc")},
                {tree_->path("data"), tree_->path("sys1"), tree_->path("sys2")},
                std::move(desktops)};
    }
    // A desktop entry "<folder>/applications/<name>" starting /bin/<stem>.
    void Entry(const std::string& folder, const std::string& name, const std::string& extra = {}) {
        const std::string stem = name.substr(0, name.find('.'));
        tree_->createFile(folder + "/applications/" + name,
                          "[Desktop Entry]\nType=Application\nExec=/bin/" + stem + " %f\n" + extra);
    }

    std::unique_ptr<TempTree> tree_ = std::make_unique<TempTree>();
};

TEST_F(FakeXdg, DefaultOfATypeByPrecedenceOfTheFiles) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> files; // relative path -> content
        const char* expected;                     // desktop id, "" for none
    };
    const Case cases[] = {
        {"nothing anywhere", {}, ""},
        {"the user's configuration comes first",
         {{"config/mimeapps.list", "[Default Applications]\ntext/plain=a.desktop\n"},
          {"sys1/applications/mimeapps.list", "[Default Applications]\ntext/plain=b.desktop\n"}},
         "a.desktop"},
        {"then the system's configuration, then the data folders",
         {{"etc/mimeapps.list", "[Default Applications]\ntext/plain=c.desktop\n"},
          {"data/applications/mimeapps.list", "[Default Applications]\ntext/plain=a.desktop\n"}},
         "c.desktop"},
        {"the desktop's own list before the plain one",
         {{"config/mimeapps.list", "[Default Applications]\ntext/plain=a.desktop\n"},
          {"config/xfce-mimeapps.list", "[Default Applications]\ntext/plain=b.desktop\n"}},
         "b.desktop"},
        {"a list of another desktop is not read",
         {{"config/kde-mimeapps.list", "[Default Applications]\ntext/plain=b.desktop\n"},
          {"sys2/applications/mimeapps.list", "[Default Applications]\ntext/plain=c.desktop\n"}},
         "c.desktop"},
        {"entries that are not installed, hidden or no file names are passed over",
         {{"config/mimeapps.list",
           "[Default Applications]\ntext/plain=gone.desktop; ../x/a.desktop ;hidden.desktop;;"
           "c.desktop;a.desktop\n"}},
         "c.desktop"},
        {"a list naming only missing entries leaves the choice to the next",
         {{"config/mimeapps.list", "[Default Applications]\ntext/plain=gone.desktop\n"},
          {"sys1/applications/mimeapps.list", "[Default Applications]\ntext/plain=b.desktop\n"}},
         "b.desktop"},
        {"MIME types match in any case, other types and groups do not count",
         {{"config/mimeapps.list", "# comment\n[Default Applications]\ntext/html=a.desktop\n"
                                   "[Other]\ntext/plain=a.desktop\n"
                                   "[Default Applications]\r\nText/Plain = b.desktop\r\n"}},
         "b.desktop"},
        {"a default anywhere before any added association",
         {{"config/mimeapps.list", "[Added Associations]\ntext/plain=a.desktop\n"},
          {"sys2/applications/mimeapps.list", "[Default Applications]\ntext/plain=c.desktop\n"}},
         "c.desktop"},
        {"added associations in their order",
         {{"config/mimeapps.list",
           "[Added Associations]\ntext/plain=gone.desktop;c.desktop;a.desktop;\n"}},
         "c.desktop"},
        {"a folder's associations, its cache included, before those of later folders",
         {{"sys1/applications/mimeapps.list", "[Added Associations]\ntext/plain=b.desktop\n"},
          {"data/applications/mimeinfo.cache", "[MIME Cache]\ntext/plain=a.desktop;\n"}},
         "a.desktop"},
        {"the cache of the applications folders as the last resort",
         {{"sys1/applications/mimeinfo.cache",
           "[MIME Cache]\nimage/png=a.desktop;\ntext/plain=gone.desktop;b.desktop;a.desktop;\n"}},
         "b.desktop"},
        {"a removal hides the association of its own and of less important folders",
         {{"config/mimeapps.list", "[Removed Associations]\ntext/plain=b.desktop;\n"},
          {"sys1/applications/mimeinfo.cache", "[MIME Cache]\ntext/plain=b.desktop;a.desktop;\n"}},
         "a.desktop"},
        {"a removal does not reach a more important folder",
         {{"config/mimeapps.list", "[Added Associations]\ntext/plain=b.desktop\n"},
          {"sys1/applications/mimeapps.list", "[Removed Associations]\ntext/plain=b.desktop\n"},
          {"sys1/applications/mimeinfo.cache", "[MIME Cache]\ntext/plain=a.desktop;\n"}},
         "b.desktop"},
        {"a removal does not touch the defaults",
         {{"config/mimeapps.list", "[Removed Associations]\ntext/plain=c.desktop\n"
                                   "[Default Applications]\ntext/plain=c.desktop\n"}},
         "c.desktop"},
        {"without a cache, the MimeType lines of the folder's entries",
         {{"sys2/applications/zed.desktop",
           "[Desktop Entry]\nExec=/bin/zed\nMimeType=image/png;text/plain;\n"},
          {"sys2/applications/kde/viewer.desktop",
           "[Desktop Entry]\nExec=/bin/view\nMimeType=text/plain\n"}},
         "kde-viewer.desktop"},
    };
    for (const Case& c : cases) {
        tree_ = std::make_unique<TempTree>();
        Entry("data", "a.desktop");
        Entry("sys1", "b.desktop");
        Entry("sys2", "c.desktop");
        Entry("sys1", "hidden.desktop", "Hidden=true\n");
        for (const auto& [path, text] : c.files)
            tree_->createFile(path, text);
        MimeAssociations associations(Where({"xfce"}));
        EXPECT_EQ(associations.DefaultDesktopEntry("text/plain"), c.expected) << c.what;
    }
}

TEST_F(FakeXdg, CommandComesFromTheFirstEntryOfItsId) {
    tree_->createFile("config/mimeapps.list", "[Default Applications]\n"
                                              "text/plain=ed.desktop\n"
                                              "image/bmp=kde-paint.desktop\n"
                                              "audio/wav=broken.desktop;play.desktop\n");
    // The user's entry hides the system's one of the same id.
    Entry("data", "ed.desktop");
    tree_->createFile("sys1/applications/ed.desktop", "[Desktop Entry]\nExec=/usr/bin/ed\n");
    tree_->createFile("sys1/applications/kde/paint.desktop",
                      "[Desktop Entry]\nExec=\"/opt/My Paint/paint\" %u\n");
    tree_->createFile("sys1/applications/broken.desktop", "[Desktop Entry]\nName=no program\n");
    Entry("sys2", "play.desktop");
    MimeAssociations associations(Where());
    EXPECT_TRUE(associations.Available());
    EXPECT_EQ(associations.DefaultCommand("text/plain"), "/bin/ed %f");
    EXPECT_EQ(associations.DefaultCommand("image/bmp"), "\"/opt/My Paint/paint\" %u");
    EXPECT_EQ(associations.DefaultCommand("audio/wav"), "/bin/play %f");
    EXPECT_EQ(associations.DefaultCommand("video/x-msvideo"), std::nullopt);
    EXPECT_EQ(associations.DesktopEntryExec("../sys1/applications/ed.desktop"), std::nullopt);
}

TEST_F(FakeXdg, AvailableWhenAnApplicationsFolderExists) {
    EXPECT_FALSE(MimeAssociations(Where()).Available());
    tree_->createDir("sys2/applications");
    EXPECT_TRUE(MimeAssociations(Where()).Available());
    Entry("sys2", "c.desktop");
    tree_->createFile("config/mimeapps.list", "[Default Applications]\ntext/plain=c.desktop\n");
    MimeAssociations none = MimeAssociations::None();
    EXPECT_FALSE(none.Available());
    EXPECT_EQ(none.DefaultDesktopEntry("text/plain"), "");
}

// Points environment variables elsewhere for one test.
class Environment {
public:
    void Set(const char* name, const char* value) {
        if (!saved_.count(name))
            saved_[name] =
                std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~Environment() {
        for (const auto& [name, value] : saved_)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(XdgLocations, FromTheEnvironmentWithTheBaseDirectoryDefaults) {
    Environment env;
    env.Set("HOME", "/home/u");
    env.Set("XDG_CONFIG_HOME", "/cfg/");
    env.Set("XDG_CONFIG_DIRS", "/etc/a:relative:/etc/b");
    env.Set("XDG_DATA_HOME", nullptr);
    env.Set("XDG_DATA_DIRS", "/opt/share:/usr/share/");
    env.Set("XDG_CURRENT_DESKTOP", "X-Cinnamon:GNOME");
    XdgLocations where = XdgLocations::FromEnvironment();
    EXPECT_EQ(where.configDirs, (std::vector<std::string>{"/cfg", "/etc/a", "/etc/b"}));
    EXPECT_EQ(where.dataDirs,
              (std::vector<std::string>{"/home/u/.local/share", "/opt/share", "/usr/share"}));
    EXPECT_EQ(where.desktops, (std::vector<std::string>{"x-cinnamon", "gnome"}));

    env.Set("XDG_CONFIG_HOME", "relative");
    env.Set("XDG_CONFIG_DIRS", "");
    env.Set("XDG_DATA_DIRS", nullptr);
    env.Set("XDG_CURRENT_DESKTOP", nullptr);
    where = XdgLocations::FromEnvironment();
    EXPECT_EQ(where.configDirs, (std::vector<std::string>{"/home/u/.config", "/etc/xdg"}));
    EXPECT_EQ(where.dataDirs,
              (std::vector<std::string>{"/home/u/.local/share", "/usr/local/share", "/usr/share"}));
    EXPECT_TRUE(where.desktops.empty());
}

} // namespace
} // namespace paradrex::platform
