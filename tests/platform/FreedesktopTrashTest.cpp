// The desktop's trash on real disk, with a fresh, empty home: the home trash
// and its records, names, missing folders, every failure injected through the
// seam, and the trash at the top of another mount (a device boundary faked
// through the seam, since tests have a single file system).

#include "platform/trash/FreedesktopTrash.h"

#include "platform/FileSystem.h"
#include "platform/SystemCalls.h"
#include "support/FaultInjector.h"
#include "support/ResultAssertions.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex::platform {
namespace {

using test::FailsWith;
using test::Succeeded;
using test::TempTree;

// A fresh, empty home (nothing below it, not even ~/.local) and a working
// directory of its own, where nothing may land.
class FreshHome : public ::testing::Test {
protected:
    void SetUp() override {
        home = disk.createDir("home");
        work = disk.createDir("work");
        env.Set("HOME", home).Set("XDG_DATA_HOME", std::nullopt);
        ASSERT_EQ(::getcwd(oldCwd, sizeof oldCwd), oldCwd);
        ASSERT_EQ(::chdir(work.c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(::chdir(oldCwd), 0); }

    // Nothing went into the working directory.
    void ExpectWorkingDirectoryUntouched() {
        Result<bool> empty = IsDirectoryEmpty(work);
        EXPECT_TRUE(empty && *empty) << "the trash wrote into the working directory";
    }

    TempTree disk;
    test::ScopedEnvironment env;
    std::string home, work;
    char oldCwd[4096];
};

TEST_F(FreshHome, FileGoesToTheHomeTrashWithItsRecord) {
    const std::string file = disk.createFile("data/a b.txt", "content");
    Result<std::string> where = MoveToFreedesktopTrash(file);
    ASSERT_TRUE(Succeeded(where));
    EXPECT_EQ(*where, home + "/.local/share/Trash/files/a b.txt");
    EXPECT_FALSE(disk.exists("data/a b.txt"));
    EXPECT_EQ(disk.readFile("home/.local/share/Trash/files/a b.txt"), "content");
    const std::string info = disk.readFile("home/.local/share/Trash/info/a b.txt.trashinfo");
    const std::string head = "[Trash Info]\nPath=" + disk.root() + "/data/a%20b.txt\nDeletionDate=";
    ASSERT_EQ(info.substr(0, head.size()), head) << info;
    // The local time, to the second: 2026-12-09T16:02:06
    const std::string date = info.substr(head.size());
    const std::string shape = "0000-00-00T00:00:00\n";
    bool shaped = date.size() == shape.size();
    for (size_t i = 0; shaped && i < shape.size(); ++i)
        shaped = shape[i] == '0' ? std::isdigit(static_cast<unsigned char>(date[i])) != 0
                                 : date[i] == shape[i];
    EXPECT_TRUE(shaped) << info;
    ExpectWorkingDirectoryUntouched();
}

TEST_F(FreshHome, NameBytesThatAreNotUtf8AreKeptAndPercentEncodedInTheRecord) {
    const std::string odd = disk.createFile("d\xfcr/caf\xe9 %\x01~", "bytes\xff");
    Result<std::string> where = MoveToFreedesktopTrash(odd);
    ASSERT_TRUE(Succeeded(where));
    EXPECT_EQ(*where, home + "/.local/share/Trash/files/caf\xe9 %\x01~");
    EXPECT_FALSE(disk.exists("d\xfcr/caf\xe9 %\x01~"));
    EXPECT_EQ(disk.readFile("home/.local/share/Trash/files/caf\xe9 %\x01~"), "bytes\xff");
    const std::string info = disk.readFile("home/.local/share/Trash/info/caf\xe9 %\x01~.trashinfo");
    EXPECT_NE(info.find("\nPath=" + disk.root() + "/d%FCr/caf%E9%20%25%01~\n"), std::string::npos)
        << info;
}

TEST_F(FreshHome, ALongNameIsCutShortInTheTrashAndKeptWholeInTheRecord) {
    // 251 bytes: the record's name, NAME.trashinfo, would not fit in 255.
    const std::string name = std::string(237, 'n') + "\xc3\xa9\xc3\xa9\xc3\xa9" + "-end.txt";
    ASSERT_EQ(name.size(), 251u);
    const std::string file = disk.createFile("data/" + name, "long");
    for (int round = 1; round <= 2; ++round) {
        Result<std::string> where = MoveToFreedesktopTrash(file);
        ASSERT_TRUE(Succeeded(where));
        // Cut at 238 bytes, back to the start of the character cut in two.
        const std::string shortName = std::string(237, 'n') + (round == 1 ? "" : ".2");
        EXPECT_EQ(*where, home + "/.local/share/Trash/files/" + shortName);
        EXPECT_EQ(disk.readFile("home/.local/share/Trash/files/" + shortName), "long");
        const std::string info =
            disk.readFile("home/.local/share/Trash/info/" + shortName + ".trashinfo");
        EXPECT_NE(info.find("/data/" + std::string(237, 'n') + "%C3%A9%C3%A9%C3%A9-end.txt\n"),
                  std::string::npos)
            << info;
        disk.createFile("data/" + name, "long");
    }
}

TEST_F(FreshHome, DataHomeThatDoesNotExistIsCreated) {
    const std::string dataHome = disk.path("not/yet/there");
    env.Set("XDG_DATA_HOME", dataHome);
    const std::string file = disk.createFile("f", "x");
    Result<std::string> where = MoveToFreedesktopTrash(file);
    ASSERT_TRUE(Succeeded(where));
    EXPECT_EQ(*where, dataHome + "/Trash/files/f");
    EXPECT_EQ(disk.readFile("not/yet/there/Trash/files/f"), "x");
    EXPECT_FALSE(disk.exists("f"));
    for (const char* folder : {"/Trash", "/Trash/files", "/Trash/info"}) {
        struct stat st;
        ASSERT_EQ(::stat((dataHome + folder).c_str(), &st), 0) << folder;
        EXPECT_EQ(st.st_mode & 07777, 0700u) << folder;
    }
    ExpectWorkingDirectoryUntouched();
}

TEST_F(FreshHome, RepeatedNamesGetNumbersAndTakenNamesAreSkipped) {
    const std::string trash = "home/.local/share/Trash/";
    for (const char* dir : {"a", "b", "c"})
        disk.createFile(std::string(dir) + "/same", dir);
    for (const char* dir : {"a", "b", "c"})
        ASSERT_TRUE(Succeeded(MoveToFreedesktopTrash(disk.path(std::string(dir) + "/same"))));
    EXPECT_EQ(disk.readFile(trash + "files/same"), "a");
    EXPECT_EQ(disk.readFile(trash + "files/same.2"), "b");
    EXPECT_EQ(disk.readFile(trash + "files/same.3"), "c");
    EXPECT_NE(disk.readFile(trash + "info/same.3.trashinfo").find("Path=" + disk.path("c/same")),
              std::string::npos);

    // A record without its file, and a file without its record, are both
    // taken names: "other" goes to other.4.
    disk.createFile(trash + "info/other.trashinfo", "kept");
    disk.createFile(trash + "info/other.2.trashinfo", "kept");
    disk.createFile(trash + "files/other.3", "kept");
    const std::string other = disk.createFile("d/other", "new");
    Result<std::string> where = MoveToFreedesktopTrash(other);
    ASSERT_TRUE(Succeeded(where));
    EXPECT_EQ(*where, home + "/.local/share/Trash/files/other.4");
    EXPECT_EQ(disk.readFile(trash + "files/other.4"), "new");
    EXPECT_EQ(disk.readFile(trash + "files/other.3"), "kept");
    EXPECT_EQ(disk.readFile(trash + "info/other.2.trashinfo"), "kept");
    EXPECT_FALSE(disk.exists(trash + "info/other.3.trashinfo"));

    // An existing target found only at the rename: the next name.
    test::FaultInjector faults;
    faults.Fail({.op = Op::Rename, .error = EEXIST});
    const std::string last = disk.createFile("e/last", "L");
    where = MoveToFreedesktopTrash(last);
    ASSERT_TRUE(Succeeded(where));
    EXPECT_EQ(*where, home + "/.local/share/Trash/files/last.2");
    EXPECT_FALSE(disk.exists(trash + "info/last.trashinfo"));
    EXPECT_TRUE(disk.exists(trash + "info/last.2.trashinfo"));
}

TEST_F(FreshHome, AFailureAtAnyStepLeavesTheFileAndNoRecord) {
    struct Case {
        const char* what;
        Op op;
        int error;
        const char* path;
    };
    const Case cases[] = {
        {"the file's status", Op::Stat, EACCES, "*/data/*"},
        {"a trash folder", Op::Mkdir, EROFS, "*/Trash*"},
        {"the record's creation", Op::Open, EACCES, "*.trashinfo"},
        {"the record's writing", Op::Write, ENOSPC, "*.trashinfo"},
        {"the record's closing", Op::Close, EIO, "*.trashinfo"},
        {"the rename, across devices", Op::Rename, EXDEV, ""},
        {"the rename, read-only", Op::Rename, EROFS, ""},
        {"the rename, not allowed", Op::Rename, EACCES, ""},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dataHome = disk.path("share" + std::to_string(++i));
        env.Set("XDG_DATA_HOME", dataHome);
        const std::string file = disk.createFile("data/f" + std::to_string(i), "x");
        {
            test::FaultInjector faults;
            faults.Fail({.op = c.op, .error = c.error, .path = c.path});
            EXPECT_TRUE(FailsWith(MoveToFreedesktopTrash(file), c.error));
            EXPECT_EQ(faults.Injected(), 1);
        }
        EXPECT_EQ(disk.readFile("data/f" + std::to_string(i)), "x");
        Result<bool> noRecord = IsDirectoryEmpty(dataHome + "/Trash/info");
        EXPECT_TRUE(!noRecord ? noRecord.code() == ENOENT : *noRecord);
    }
    EXPECT_TRUE(FailsWith(MoveToFreedesktopTrash(disk.path("missing")), ENOENT));
}

TEST_F(FreshHome, ADataLocationThatCannotBeCreatedLeavesTheFile) {
    disk.createFile("blocker", "");
    env.Set("XDG_DATA_HOME", disk.path("blocker/share"));
    const std::string file = disk.createFile("kept", "k");
    EXPECT_FALSE(MoveToFreedesktopTrash(file));
    EXPECT_EQ(disk.readFile("kept"), "k");
    ExpectWorkingDirectoryUntouched();
}

TEST_F(FreshHome, TheSeamUsesTheTrashOnceInstalledAndFaultsStillReachIt) {
    const std::string a = disk.createFile("a", "A");
    SetTrashImplementation(nullptr);
    EXPECT_TRUE(FailsWith(Trash(a), ENOTSUP));
    UseFreedesktopTrash();
    {
        test::FaultInjector faults;
        faults.Fail({.op = Op::Trash, .error = EACCES});
        EXPECT_TRUE(FailsWith(Trash(a), EACCES));
        EXPECT_EQ(disk.readFile("a"), "A");
        EXPECT_TRUE(Succeeded(Trash(a)));
    }
    SetTrashImplementation(nullptr);
    EXPECT_FALSE(disk.exists("a"));
    EXPECT_EQ(disk.readFile("home/.local/share/Trash/files/a"), "A");
}

// Everything at or below `root` reports a device of its own, as a mounted
// file system would; the other calls go through unchanged.
class FakeMount : public SystemCalls {
public:
    explicit FakeMount(std::string root)
        : root_(std::move(root)), next_(InstallSystemCalls(this)) {}
    ~FakeMount() override { InstallSystemCalls(next_); }
    FakeMount(const FakeMount&) = delete;
    FakeMount& operator=(const FakeMount&) = delete;

    int Stat(const char* path, struct stat* st, bool followLink) override {
        const int r = next_->Stat(path, st, followLink);
        const std::string p = path;
        if (r == 0 && (p == root_ || p.starts_with(root_ + "/")))
            st->st_dev += 1000;
        return r;
    }

private:
    std::string root_;
    SystemCalls* next_;
};

TEST_F(FreshHome, AFileOnAnotherMountGoesToTheTrashAtItsTop) {
    const std::string uid = std::to_string(::getuid());
    enum class Shared { None, Sticky, NotSticky, LinkToSticky };
    struct Case {
        const char* what;
        Shared shared;
        std::string trash; // below the mount's top
    };
    const Case cases[] = {
        {"no .Trash", Shared::None, ".Trash-" + uid},
        {"a sticky .Trash", Shared::Sticky, ".Trash/" + uid},
        {"a .Trash without the sticky bit", Shared::NotSticky, ".Trash-" + uid},
        {"a .Trash that is a link", Shared::LinkToSticky, ".Trash-" + uid},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string top = "mnt" + std::to_string(++i);
        disk.createDir(top);
        switch (c.shared) {
        case Shared::None:
            break;
        case Shared::Sticky:
        case Shared::NotSticky:
            disk.createDir(top + "/.Trash");
            disk.chmod(top + "/.Trash", c.shared == Shared::Sticky ? 01777 : 0777);
            break;
        case Shared::LinkToSticky:
            disk.createDir(top + "/real");
            disk.chmod(top + "/real", 01777);
            disk.createSymlink("real", top + "/.Trash");
            break;
        }
        const std::string file = disk.createFile(top + "/sub/f", "on the mount");
        FakeMount mount(disk.path(top));
        Result<std::string> where = MoveToFreedesktopTrash(file);
        ASSERT_TRUE(Succeeded(where));
        EXPECT_EQ(*where, disk.path(top + "/" + c.trash + "/files/f"));
        EXPECT_EQ(disk.readFile(top + "/" + c.trash + "/files/f"), "on the mount");
        EXPECT_FALSE(disk.exists(top + "/sub/f"));
        const std::string info = disk.readFile(top + "/" + c.trash + "/info/f.trashinfo");
        EXPECT_NE(info.find("\nPath=sub/f\n"), std::string::npos) << info;
        struct stat st;
        ASSERT_EQ(::stat(disk.path(top + "/" + c.trash).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_FALSE(disk.exists("home/.local/share/Trash/files/f"));
    }
}

TEST_F(FreshHome, AFileThatCannotReachTheTrashOfItsMountStaysWhereItIs) {
    const std::string file = disk.createFile("mnt/f", "kept");
    FakeMount mount(disk.path("mnt"));
    test::FaultInjector faults;
    faults.Fail({.op = Op::Mkdir, .error = EROFS, .path = "*/.Trash-*"});
    EXPECT_TRUE(FailsWith(MoveToFreedesktopTrash(file), EROFS));
    EXPECT_EQ(disk.readFile("mnt/f"), "kept");
    EXPECT_FALSE(disk.exists("home/.local/share/Trash/files/f"));
}

// A .Trash-UID at the mount's top that is a link (to a folder anybody
// could have chosen) is not used: the file stays, nothing is written there.
TEST_F(FreshHome, ATopTrashThatIsALinkIsRefused) {
    const std::string uid = std::to_string(::getuid());
    disk.createDir("elsewhere");
    disk.createDir("mnt");
    disk.createSymlink(disk.path("elsewhere"), "mnt/.Trash-" + uid);
    const std::string file = disk.createFile("mnt/f", "kept");
    FakeMount mount(disk.path("mnt"));
    EXPECT_TRUE(FailsWith(MoveToFreedesktopTrash(file), EPERM));
    EXPECT_EQ(disk.readFile("mnt/f"), "kept");
    EXPECT_FALSE(disk.exists("elsewhere/files"));
    EXPECT_FALSE(disk.exists("elsewhere/info"));
}

TEST(TrashFolder, OnlyEntriesOfAFilesFolderOfATrashCount) {
    const std::string uid = std::to_string(::getuid());
    struct Case {
        std::string path;
        bool inTrash;
    };
    const Case cases[] = {
        {"/home/u/.local/share/Trash/files/a.txt", true},
        {"/mnt/disk/.Trash-" + uid + "/files/a.txt", true},
        {"/mnt/disk/.Trash/" + uid + "/files/a.txt", true},
        {"./files/a.txt", false},
        {"files/a.txt", false},
        {"/home/u/files/a.txt", false},
        {"/home/u/.local/share/Trash/a.txt", false},
        {"/home/u/.local/share/Trash/files/", false},
        {"/home/u/.local/share/Trash/info/a.txt", false},
        {"/mnt/disk/.Trash-" + uid + "x/files/a", false},
        {"/mnt/disk/other/" + uid + "/files/a", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInTrashFolder(c.path), c.inTrash) << c.path;
}

} // namespace
} // namespace paradrex::platform
