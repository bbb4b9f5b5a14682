// Reading Setting.ini from its folder and writing it back.

#include "settings/SettingFile.h"
#include "support/Privileges.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {
namespace {

using test::TempTree;
using test::Unprivileged;
using Access = _Setting_file::Access;

const _Setting_file::Options kNoAssociations{Access::ReadWrite, false};
constexpr time_t kOldTime = 1000000000; // 2001

time_t ModTime(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtime;
}

// Names in the folder other than Setting.ini (left-over temporary files).
std::vector<std::string> Others(const TempTree& tree) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(tree.root())) {
        if (e.path().filename() != "Setting.ini")
            names.push_back(e.path().filename().string());
    }
    return names;
}

std::string DefaultText() {
    return _Setting_file::FromText("").Text();
}

TEST(SettingFileDisk, UnchangedRunLeavesTheFileUntouched) {
    TempTree tree;
    std::string text = DefaultText();
    std::string path = tree.createFile("Setting.ini", text, kOldTime);
    {
        _Setting_file settings(tree.root(), kNoAssociations);
        EXPECT_TRUE(settings.fileExisted());
        EXPECT_TRUE(settings.Save());
    }
    EXPECT_EQ(tree.readFile("Setting.ini"), text);
    EXPECT_EQ(ModTime(path), kOldTime);
}

TEST(SettingFileDisk, UnchangedFileWithBareLfKeepsItsLineEnds) {
    TempTree tree;
    std::string lf;
    for (char c : DefaultText()) {
        if (c != '\r')
            lf += c;
    }
    std::string path = tree.createFile("Setting.ini", lf, kOldTime);
    { _Setting_file settings(tree.root(), kNoAssociations); }
    EXPECT_EQ(tree.readFile("Setting.ini"), lf);
    EXPECT_EQ(ModTime(path), kOldTime);
}

TEST(SettingFileDisk, ChangedValueRewritesTheFileAtExit) {
    TempTree tree;
    tree.createFile("Setting.ini", DefaultText(), kOldTime);
    ::chmod(tree.path("Setting.ini").c_str(), 0600);
    {
        _Setting_file settings(tree.root(), kNoAssociations);
        settings.layout.Grid = 1;
        settings.recentDirectory.dirs = {"/data"};
    }
    std::string written = tree.readFile("Setting.ini");
    EXPECT_NE(written.find("\r\nGrid=1\r\n"), std::string::npos);
    EXPECT_NE(written.find("[Recent Directory]\r\ndir0=/data\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(Others(tree).empty());
    struct stat st {};
    ::stat(tree.path("Setting.ini").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u); // the file keeps its permissions
}

TEST(SettingFileDisk, OldVersionIsWrittenAsVersion20) {
    TempTree tree;
    tree.createFile("Setting.ini", "; x\r\n[version]\r\nVersion=19\r\n\r\n");
    { _Setting_file settings(tree.root(), kNoAssociations); }
    EXPECT_EQ(tree.readFile("Setting.ini"), DefaultText());
}

TEST(SettingFileDisk, ReadOnlyInstanceNeverWrites) {
    TempTree tree;
    {
        auto missing = _Setting_file::ReadOnly(tree.root());
        EXPECT_FALSE(missing.fileExisted());
        // No association lookup for a read-only store: rows stay invisible.
        EXPECT_EQ(missing.fileContextMenu.rows[1].Visible.value, 0);
        missing.layout.Grid = 1;
        EXPECT_FALSE(missing.Save());
    }
    EXPECT_FALSE(tree.exists("Setting.ini"));

    std::string old = "; x\r\n[version]\r\nVersion=19\r\n\r\n[Default Preserve Directory]\r\n"
                      "dir0=/keep\r\n\r\n[Default Delete Directory]\r\ndir0=/junk\r\n";
    tree.createFile("Setting.ini", old, kOldTime);
    {
        auto settings = _Setting_file::ReadOnly(tree.root());
        EXPECT_EQ(settings.defaultPreserveDirectory.dirs, std::vector<std::string>{"/keep"});
        EXPECT_EQ(settings.defaultDeleteDirectory.dirs, std::vector<std::string>{"/junk"});
        EXPECT_FALSE(settings.Save());
    }
    EXPECT_EQ(tree.readFile("Setting.ini"), old);
    EXPECT_EQ(ModTime(tree.path("Setting.ini")), kOldTime);
}

TEST(SettingFileDisk, EmptyFileGivesDefaultsWithoutComputedRows) {
    TempTree tree;
    tree.createFile("Setting.ini", "");
    // The associations are not asked when the file exists.
    _Setting_file settings(tree.root(), {Access::ReadOnly, true});
    EXPECT_EQ(settings.fileContextMenu.rows[0].Menu.value, "");
    EXPECT_EQ(settings.fileContextMenu.rows[1].Visible.value, 0);
    EXPECT_EQ(settings.version.Version.value, 20u);
}

TEST(SettingFileDisk, WorkingDirectoryIsTheDefaultSettingsDirectory) {
    TempTree tree;
    std::string old = std::filesystem::current_path();
    std::filesystem::current_path(tree.root());
    {
        _Setting_file settings(std::string(), kNoAssociations);
        EXPECT_EQ(settings.path(), std::string(std::filesystem::current_path()) + "/Setting.ini");
        settings.layout.window_x = 12;
        // The remembered folder is used even when the working directory changes.
        std::filesystem::current_path(old);
    }
    EXPECT_NE(tree.readFile("Setting.ini").find("window_x=12\r\n"), std::string::npos);
}

TEST(SettingFileDisk, FailedWriteKeepsTheOldFileWhole) {
    TempTree tree;
    Unprivileged unprivileged; // permissions bind root too
    std::string old = DefaultText();
    tree.createFile("Setting.ini", old);
    tree.chmod("", 0555); // the folder is read-only: no temporary file can be made
    {
        _Setting_file settings(tree.root(), kNoAssociations);
        settings.layout.window_x = 99;
        EXPECT_FALSE(settings.Save());
    }
    tree.chmod("", 0755);
    EXPECT_EQ(tree.readFile("Setting.ini"), old);
    EXPECT_TRUE(Others(tree).empty());
}

TEST(SettingFileDisk, WriteFailingMidwayKeepsTheOldFileWhole) {
    // A file size limit makes the write stop part way, as a full disk would.
    TempTree tree;
    std::string old = DefaultText();
    tree.createFile("Setting.ini", old);
    _Setting_file changed(tree.root(), kNoAssociations);
    changed.recentDirectory.dirs.assign(50, std::string(200, 'r'));

    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved_ok = changed.Save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(tree.readFile("Setting.ini"), old);
    EXPECT_TRUE(Others(tree).empty());
    changed.recentDirectory.dirs.clear(); // let the destructor find nothing to do
}

TEST(SettingFileDisk, BlockedTemporaryNameKeepsTheOldFileWhole) {
    TempTree tree;
    std::string old = DefaultText();
    tree.createFile("Setting.ini", old);
    // A non-empty folder where the temporary file would go cannot be removed
    // or opened as a file.
    tree.createFile("Setting.ini.tmp." + std::to_string(::getpid()) + "/x", "");
    {
        _Setting_file settings(tree.root(), kNoAssociations);
        settings.layout.window_x = 99;
        EXPECT_FALSE(settings.Save());
    }
    EXPECT_EQ(tree.readFile("Setting.ini"), old);
}

TEST(SettingFileDisk, ReadOnlyFileIsNotReplaced) {
    TempTree tree;
    Unprivileged unprivileged; // permissions bind root too
    std::string old = DefaultText();
    tree.createFile("Setting.ini", old);
    tree.chmod("Setting.ini", 0444);
    {
        _Setting_file settings(tree.root(), kNoAssociations);
        settings.layout.window_x = 99;
        EXPECT_FALSE(settings.Save());
    }
    EXPECT_EQ(tree.readFile("Setting.ini"), old);
    EXPECT_TRUE(Others(tree).empty());
}

TEST(SettingFileDisk, UnreadableFileLoadsDefaultsAndIsNeverReplaced) {
    TempTree tree;
    Unprivileged unprivileged; // permissions bind root too
    std::string old = "; x\r\n[layout]\r\nwindow_x=5\r\n";
    tree.createFile("Setting.ini", old);
    tree.chmod("Setting.ini", 0200); // writable, not readable
    {
        _Setting_file settings(tree.root(), kNoAssociations);
        EXPECT_TRUE(settings.fileExisted());
        EXPECT_EQ(settings.layout.window_x.value, 0);
        EXPECT_EQ(settings.fileContextMenu.rows[0].Menu.value, "");
        EXPECT_FALSE(settings.Save());
    }
    tree.chmod("Setting.ini", 0644);
    EXPECT_EQ(tree.readFile("Setting.ini"), old);
}

TEST(SettingFileDisk, FolderInPlaceOfTheFileIsLeftAlone) {
    TempTree tree;
    tree.createDir("Setting.ini");
    _Setting_file settings(tree.root(), kNoAssociations);
    EXPECT_TRUE(settings.fileExisted());
    EXPECT_FALSE(settings.Save());
    EXPECT_TRUE(std::filesystem::is_directory(tree.path("Setting.ini")));
}

TEST(SettingFileDisk, FifoInPlaceOfTheFileNeitherBlocksNorIsReplaced) {
    TempTree tree;
    ASSERT_EQ(::mkfifo(tree.path("Setting.ini").c_str(), 0644), 0);
    {
        _Setting_file settings(tree.root(), kNoAssociations); // nobody writes to the FIFO
        EXPECT_TRUE(settings.fileExisted());
        EXPECT_EQ(settings.layout.window_x.value, 0);
        settings.layout.window_x = 5;
        EXPECT_FALSE(settings.Save());
    }
    struct stat st {};
    ASSERT_EQ(::lstat(tree.path("Setting.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(SettingFileDisk, LinkedFileIsWrittenThroughTheLink) {
    TempTree tree;
    tree.createFile("real/Setting.ini", DefaultText());
    tree.createDir("conf");
    tree.createSymlink(tree.path("real/Setting.ini"), "conf/Setting.ini");
    {
        _Setting_file settings(tree.path("conf"), kNoAssociations);
        settings.layout.window_y = 31;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(tree.path("conf/Setting.ini")));
    EXPECT_NE(tree.readFile("real/Setting.ini").find("window_y=31\r\n"), std::string::npos);
}

TEST(SettingFileDisk, LeftOverTemporaryFileDoesNotBlockTheWrite) {
    TempTree tree;
    tree.createFile("Setting.ini.tmp." + std::to_string(::getpid()), "stale");
    {
        _Setting_file settings(tree.root(), kNoAssociations);
        EXPECT_TRUE(settings.Save());
    }
    EXPECT_TRUE(Others(tree).empty());
    EXPECT_NE(tree.readFile("Setting.ini").find("Menu=Open as &Text"), std::string::npos);
}

} // namespace
} // namespace paradrex
