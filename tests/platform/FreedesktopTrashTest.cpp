// The desktop's trash on real disk, with a fresh, empty home: the Qt 6.4
// trap (no data location: "success" into ./files/ under the working
// directory) must not catch a single file.

#include "platform/trash/FreedesktopTrash.h"

#include "platform/FileSystem.h"
#include "platform/SystemCalls.h"
#include "support/FaultInjector.h"
#include "support/ResultAssertions.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <unistd.h>

namespace paradrex::platform {
namespace {

using test::FailsWith;
using test::Succeeded;
using test::TempTree;

// A fresh, empty home (nothing below it, not even ~/.local) and a working
// directory of its own, where the trap would drop its ./files/ folder.
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
    EXPECT_NE(info.find("Path=" + disk.path("data/a")), std::string::npos) << info;
    ExpectWorkingDirectoryUntouched();
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
    ExpectWorkingDirectoryUntouched();
}

TEST_F(FreshHome, TheSecondFileOfTheSameNameGetsANameOfItsOwn) {
    disk.createFile("a/same", "first");
    disk.createFile("b/same", "second");
    Result<std::string> first = MoveToFreedesktopTrash(disk.path("a/same"));
    Result<std::string> second = MoveToFreedesktopTrash(disk.path("b/same"));
    ASSERT_TRUE(Succeeded(first));
    ASSERT_TRUE(Succeeded(second));
    EXPECT_NE(*first, *second);
    EXPECT_EQ(disk.readFile(first->substr(disk.root().size() + 1)), "first");
    EXPECT_EQ(disk.readFile(second->substr(disk.root().size() + 1)), "second");
}

TEST_F(FreshHome, WhatCannotBeTrashedStaysWhereItIs) {
    EXPECT_TRUE(FailsWith(MoveToFreedesktopTrash(disk.path("missing")), ENOENT));
    // Bytes that are not UTF-8: Qt cannot name the file, so it is refused.
    const std::string odd = disk.createFile("caf\xe9", "bytes");
    EXPECT_TRUE(FailsWith(MoveToFreedesktopTrash(odd), EILSEQ));
    EXPECT_EQ(disk.readFile("caf\xe9"), "bytes");
    // A data location that cannot be created: a file stands in its way.
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
        {"./files/a.txt", false}, // the trap of Qt 6.4
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
