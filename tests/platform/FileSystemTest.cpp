// The file-system calls of the file operations, on real temporary trees and
// with failures injected through the system-call seam: nothing may be lost
// or replaced, whatever fails.

#include "platform/FileSystem.h"

#include "platform/SystemCalls.h"
#include "support/FaultInjector.h"
#include "support/Privileges.h"
#include "support/ResultAssertions.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex::platform {
namespace {

using test::FailsWith;
using test::FaultInjector;
using test::Succeeded;
using test::TempTree;

// The names in a folder, to see that nothing was left behind.
std::set<std::string> Names(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

nlink_t Links(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_nlink;
}

// The process's file-creation mask, without changing it for good.
mode_t Umask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

TEST(FileSystem, StatusIdentifiesTheFileToTheNanosecond) {
    TempTree t;
    const std::string a = t.createFile("a", "12345", 1000000000);
    t.createHardLink("a", "b");
    t.createSymlink("a", "link");

    Result<FileStatus> s = StatusOf(a);
    ASSERT_TRUE(Succeeded(s));
    struct stat st {};
    ASSERT_EQ(::lstat(a.c_str(), &st), 0);
    EXPECT_EQ(s->identity, (FileIdentity{st.st_dev, st.st_ino, 5, 1000000000, 0}));
    EXPECT_TRUE(s->IsRegular());
    EXPECT_TRUE(s->OwnerWritable());
    // Another name of the same file is the same file.
    EXPECT_EQ(StatusOf(t.path("b"))->identity, s->identity);
    // A link is described, not followed.
    Result<FileStatus> link = StatusOf(t.path("link"));
    ASSERT_TRUE(Succeeded(link));
    EXPECT_TRUE(link->IsLink());
    EXPECT_NE(link->identity.inode, s->identity.inode);

    // Rewritten at the same size within the same second: only the
    // nanoseconds tell.
    const timespec later[2] = {{1000000000, 0}, {1000000000, 1}};
    ASSERT_EQ(::utimensat(AT_FDCWD, a.c_str(), later, 0), 0);
    Result<FileStatus> changed = StatusOf(a);
    EXPECT_NE(changed->identity, s->identity);
    EXPECT_EQ(changed->identity.mtimeNanoseconds, 1);

    Result<FileStatus> missing = StatusOf(t.path("missing"));
    ASSERT_TRUE(FailsWith(missing, ENOENT));
    EXPECT_EQ(missing.error().op, "stat");
    EXPECT_EQ(missing.error().path, t.path("missing"));
}

TEST(FileSystem, RenameNeverReplacesAnExistingName) {
    TempTree t;
    const std::string a = t.createFile("a", "A");
    const std::string b = t.createFile("b", "B");

    Result<void> onto = RenameNoReplace(a, b);
    ASSERT_TRUE(FailsWith(onto, EEXIST));
    EXPECT_EQ(onto.error().path, a);
    EXPECT_EQ(onto.error().target, b);
    EXPECT_EQ(t.readFile("a"), "A");
    EXPECT_EQ(t.readFile("b"), "B");

    ASSERT_TRUE(Succeeded(RenameNoReplace(a, t.path("c"))));
    EXPECT_FALSE(t.exists("a"));
    EXPECT_EQ(t.readFile("c"), "A");

    // The source vanished since it was seen.
    EXPECT_TRUE(FailsWith(RenameNoReplace(a, t.path("d")), ENOENT));
    EXPECT_FALSE(t.exists("d"));
}

class RenameFlagRefused : public testing::TestWithParam<int> {};

TEST_P(RenameFlagRefused, LinkAndUnlinkRenameWithoutReplacingEither) {
    TempTree t;
    const std::string a = t.createFile("a", "A");
    const std::string b = t.createFile("b", "B");
    FaultInjector faults;
    faults.Fail({.op = Op::Rename, .error = GetParam(), .times = 0});

    ASSERT_TRUE(Succeeded(RenameNoReplace(a, t.path("c"))));
    EXPECT_EQ(faults.Calls(Op::Link), 1);
    EXPECT_FALSE(t.exists("a"));
    EXPECT_EQ(t.readFile("c"), "A");
    EXPECT_EQ(Links(t.path("c")), 1u);

    Result<void> onto = RenameNoReplace(t.path("c"), b);
    ASSERT_TRUE(FailsWith(onto, EEXIST));
    EXPECT_EQ(onto.error().op, "link");
    EXPECT_EQ(t.readFile("c"), "A");
    EXPECT_EQ(t.readFile("b"), "B");
}

INSTANTIATE_TEST_SUITE_P(Refusals, RenameFlagRefused, testing::Values(EINVAL, ENOSYS, EOPNOTSUPP));

TEST(FileSystem, RenameFallbackThatCannotDropTheOldNameKeepsOnlyTheOldName) {
    TempTree t;
    const std::string a = t.createFile("a", "A");
    FaultInjector faults;
    faults.Fail({.op = Op::Rename, .error = EINVAL});
    faults.Fail({.op = Op::Unlink, .error = EACCES, .path = a});

    Result<void> r = RenameNoReplace(a, t.path("c"));
    ASSERT_TRUE(FailsWith(r, EACCES));
    EXPECT_EQ(r.error().op, "unlink");
    EXPECT_EQ(t.readFile("a"), "A");
    EXPECT_FALSE(t.exists("c"));
    EXPECT_EQ(Links(a), 1u);
}

TEST(FileSystem, OtherRenameFailuresAreReportedWithoutAFallback) {
    for (int code : {EACCES, EROFS, EXDEV, ENOSPC, EPERM}) {
        SCOPED_TRACE(code);
        TempTree t;
        const std::string a = t.createFile("a", "A");
        FaultInjector faults;
        faults.Fail({.op = Op::Rename, .error = code});
        EXPECT_TRUE(FailsWith(RenameNoReplace(a, t.path("c")), code));
        EXPECT_EQ(faults.Calls(Op::Link), 0);
        EXPECT_EQ(t.readFile("a"), "A");
        EXPECT_FALSE(t.exists("c"));
    }
}

TEST(FileSystem, MoveWithinAFileSystemIsARename) {
    TempTree t;
    const std::string a = t.createFile("a", "A");
    t.createFile("b", "B");
    t.createDir("dst");
    FaultInjector faults;
    ASSERT_TRUE(Succeeded(MoveNoReplace(a, t.path("dst/a"))));
    EXPECT_EQ(faults.Calls(Op::Open), 0); // nothing was copied
    EXPECT_EQ(t.readFile("dst/a"), "A");
    EXPECT_TRUE(FailsWith(MoveNoReplace(t.path("dst/a"), t.path("b")), EEXIST));
    EXPECT_EQ(t.readFile("b"), "B");
    EXPECT_TRUE(FailsWith(MoveNoReplace(a, t.path("dst/x")), ENOENT));
}

// A source tree where the first rename of src/a is refused with EXDEV, as
// between two file systems, so the move goes the copying way.
struct CrossDeviceMove {
    TempTree t;
    const std::string content = test::PatternBytes((1u << 20) + 123, 7);
    std::string from, to;
    FaultInjector faults;

    CrossDeviceMove() {
        from = t.createFile("src/a", content, 1234567890);
        t.chmod("src/a", 0640);
        t.createDir("dst");
        to = t.path("dst/a");
        faults.Fail({.op = Op::Rename, .error = EXDEV, .path = "*/src/a"});
    }
    // The source is whole and the target folder holds `expected`.
    void ExpectSourceKept(const std::set<std::string>& expected = {}) const {
        EXPECT_EQ(t.readFile("src/a"), content);
        EXPECT_EQ(Names(t.path("dst")), expected);
    }
};

TEST(FileSystem, MoveAcrossFileSystemsCopiesSyncsAndOnlyThenRemovesTheSource) {
    CrossDeviceMove m;
    ASSERT_TRUE(Succeeded(MoveNoReplace(m.from, m.to)));
    EXPECT_FALSE(m.t.exists("src/a"));
    EXPECT_EQ(m.t.readFile("dst/a"), m.content);
    EXPECT_EQ(Names(m.t.path("dst")), std::set<std::string>{"a"}); // no temporary left
    EXPECT_EQ(Mode(m.to), 0640u);
    EXPECT_EQ(StatusOf(m.to)->identity.mtimeSeconds, 1234567890);
    EXPECT_EQ(m.faults.Calls(Op::Fsync), 2); // the copy, then its folder's new name
}

TEST(FileSystem, MoveAcrossFileSystemsOntoAnExistingNameCopiesNothing) {
    CrossDeviceMove m;
    m.t.createFile("dst/a", "B");
    ASSERT_TRUE(FailsWith(MoveNoReplace(m.from, m.to), EEXIST));
    EXPECT_EQ(m.faults.Calls(Op::Write), 0);
    EXPECT_EQ(m.t.readFile("dst/a"), "B");
    m.ExpectSourceKept({"a"});
}

TEST(FileSystem, FailedCopyLeavesTheSourceAndNoPartialFile) {
    const std::string tmp = "*/.paradrex-move-*";
    struct Case {
        const char* what;
        std::vector<FaultInjector::Fault> faults;
        int code;
    } cases[] = {
        {"disk full midway", {{.op = Op::Write, .error = ENOSPC, .nth = 2}}, ENOSPC},
        {"short write, then disk full",
         {{.op = Op::Write, .maxBytes = 1000}, {.op = Op::Write, .error = ENOSPC, .nth = 2}},
         ENOSPC},
        {"read error midway", {{.op = Op::Read, .error = EIO, .nth = 2}}, EIO},
        {"source ends early", {{.op = Op::Read, .nth = 2, .maxBytes = 0}}, EIO},
        {"temporary not creatable", {{.op = Op::Open, .error = EACCES, .path = tmp}}, EACCES},
        {"read-only target", {{.op = Op::Open, .error = EROFS, .path = tmp}}, EROFS},
        {"sync fails", {{.op = Op::Fsync, .error = EIO, .path = tmp}}, EIO},
        {"close reports a late write error",
         {{.op = Op::Close, .error = ENOSPC, .path = tmp}},
         ENOSPC},
        {"rename into place fails", {{.op = Op::Rename, .error = EACCES, .path = tmp}}, EACCES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CrossDeviceMove m;
        for (const FaultInjector::Fault& f : c.faults)
            m.faults.Fail(f);
        EXPECT_TRUE(FailsWith(MoveNoReplace(m.from, m.to), c.code));
        m.ExpectSourceKept();
    }
}

TEST(FileSystem, TargetAppearingDuringTheCopyIsNotReplaced) {
    CrossDeviceMove m;
    m.faults.Fail({.op = Op::Rename, .path = "*/.paradrex-move-*", .before = [&] {
                       m.t.createFile("dst/a", "B");
                   }});
    ASSERT_TRUE(FailsWith(MoveNoReplace(m.from, m.to), EEXIST));
    EXPECT_EQ(m.t.readFile("dst/a"), "B");
    m.ExpectSourceKept({"a"});
}

TEST(FileSystem, SourceChangedDuringTheCopyIsNotMoved) {
    CrossDeviceMove m;
    std::string grown = m.content + "more";
    m.faults.Fail({.op = Op::Fsync, .path = "*/.paradrex-move-*", .before = [&] {
                       m.t.createFile("src/a", grown, 1234567890);
                   }});
    ASSERT_TRUE(FailsWith(MoveNoReplace(m.from, m.to), EIO));
    EXPECT_EQ(m.t.readFile("src/a"), grown);
    EXPECT_TRUE(Names(m.t.path("dst")).empty());
}

TEST(FileSystem, SourceThatCannotBeRemovedStaysAndTheCopyGoes) {
    CrossDeviceMove m;
    m.faults.Fail({.op = Op::Unlink, .error = EACCES, .path = "*/src/a"});
    Result<void> r = MoveNoReplace(m.from, m.to);
    ASSERT_TRUE(FailsWith(r, EACCES));
    EXPECT_EQ(r.error().op, "unlink");
    m.ExpectSourceKept();
}

TEST(FileSystem, OnlyRegularFilesAreCopiedAcrossFileSystems) {
    TempTree t;
    t.createFile("src/d/x", "x");
    t.createDir("dst");
    FaultInjector faults;
    faults.Fail({.op = Op::Rename, .error = EXDEV, .path = "*/src/d"});
    EXPECT_TRUE(FailsWith(MoveNoReplace(t.path("src/d"), t.path("dst/d")), EXDEV));
    EXPECT_EQ(t.readFile("src/d/x"), "x");
    EXPECT_TRUE(Names(t.path("dst")).empty());
}

// A folder on another file system than the temporary trees (tmpfs in
// /dev/shm), where the machine has one.
class OtherFileSystem {
public:
    explicit OtherFileSystem(const std::string& than) {
        std::string tmpl = "/dev/shm/paradrex-test-XXXXXX";
        struct stat a {
        }, b{};
        if (::stat(than.c_str(), &a) != 0 || ::mkdtemp(tmpl.data()) == nullptr)
            return;
        root_ = tmpl;
        if (::stat(root_.c_str(), &b) != 0 || a.st_dev == b.st_dev)
            other_ = false;
    }
    ~OtherFileSystem() {
        std::error_code ec;
        if (!root_.empty())
            std::filesystem::remove_all(root_, ec);
    }
    bool available() const { return !root_.empty() && other_; }
    std::string path(const std::string& rel) const { return root_ + "/" + rel; }

private:
    std::string root_;
    bool other_ = true;
};

TEST(FileSystem, MoveToAnotherRealFileSystem) {
    TempTree t;
    OtherFileSystem other(t.root());
    if (!other.available())
        GTEST_SKIP() << "no second file system (/dev/shm) on this machine";
    const std::string content = test::PatternBytes(300000, 3);
    const std::string a = t.createFile("a", content, 1500000000);
    t.chmod("a", 0600);

    EXPECT_TRUE(FailsWith(RenameNoReplace(a, other.path("a")), EXDEV));
    ASSERT_TRUE(Succeeded(MoveNoReplace(a, other.path("a"))));
    EXPECT_FALSE(t.exists("a"));
    EXPECT_EQ(Mode(other.path("a")), 0600u);
    EXPECT_EQ(StatusOf(other.path("a"))->identity.mtimeSeconds, 1500000000);

    // Back again, but the disk fills up midway.
    {
        FaultInjector faults;
        faults.Fail({.op = Op::Write, .error = ENOSPC, .nth = 2});
        EXPECT_TRUE(FailsWith(MoveNoReplace(other.path("a"), a), ENOSPC));
    }
    EXPECT_TRUE(Names(t.root()).empty());
    ASSERT_TRUE(Succeeded(MoveNoReplace(other.path("a"), a)));
    EXPECT_EQ(t.readFile("a"), content);
}

TEST(FileSystem, EmptyDirectoryTestAndRemoval) {
    TempTree t;
    const std::string empty = t.createDir("empty");
    t.createFile("hidden/.x", "");
    t.createDir("sub/inner");
    const std::string file = t.createFile("file", "x");
    t.createSymlink("empty", "link");
    // A folder whose many entries were all removed again.
    const std::string emptied = t.createDir("emptied");
    for (int i = 0; i < 500; ++i)
        t.createFile("emptied/" + std::string(100, 'n') + std::to_string(i), "");
    t.remove("emptied");
    t.createDir("emptied");

    EXPECT_EQ(IsDirectoryEmpty(empty), true);
    EXPECT_EQ(IsDirectoryEmpty(emptied), true);
    EXPECT_EQ(IsDirectoryEmpty(t.path("hidden")), false);
    EXPECT_EQ(IsDirectoryEmpty(t.path("sub")), false);
    EXPECT_TRUE(FailsWith(IsDirectoryEmpty(file), ENOTDIR));
    EXPECT_TRUE(FailsWith(IsDirectoryEmpty(t.path("missing")), ENOENT));
    EXPECT_FALSE(IsDirectoryEmpty(t.path("link"))); // a link is not followed

    EXPECT_TRUE(FailsWith(RemoveDirectory(t.path("sub")), ENOTEMPTY));
    EXPECT_TRUE(t.exists("sub/inner"));
    EXPECT_TRUE(FailsWith(RemoveDirectory(file), ENOTDIR));
    EXPECT_TRUE(Succeeded(RemoveDirectory(empty)));
    EXPECT_FALSE(t.exists("empty"));
}

TEST(FileSystem, UnreadableDirectoryCannotBeTestedForEntries) {
    TempTree t;
    const std::string dir = t.createDir("locked");
    t.chmod("locked", 0);
    test::Unprivileged unprivileged;
    EXPECT_TRUE(FailsWith(IsDirectoryEmpty(dir), EACCES));
}

TEST(FileSystem, InjectedFailuresKeepFilesAndDirectories) {
    TempTree t;
    const std::string dir = t.createDir("d");
    const std::string file = t.createFile("f", "x");
    FaultInjector faults;
    faults.Fail({.op = Op::Open, .error = EACCES, .path = dir});
    faults.Fail({.op = Op::ReadDirectory, .error = EIO, .path = dir});
    faults.Fail({.op = Op::Rmdir, .error = EROFS});
    faults.Fail({.op = Op::Unlink, .error = EROFS});
    faults.Fail({.op = Op::Trash, .error = EACCES});

    EXPECT_TRUE(FailsWith(IsDirectoryEmpty(dir), EACCES));
    EXPECT_TRUE(FailsWith(IsDirectoryEmpty(dir), EIO));
    EXPECT_EQ(IsDirectoryEmpty(dir), true); // each fault fired once
    EXPECT_TRUE(FailsWith(RemoveDirectory(dir), EROFS));
    EXPECT_TRUE(FailsWith(RemoveFile(file), EROFS));
    EXPECT_TRUE(FailsWith(Trash(file), EACCES));
    EXPECT_TRUE(t.exists("d"));
    EXPECT_EQ(t.readFile("f"), "x");
}

TEST(FileSystem, RemoveFileRemovesOneNameOnly) {
    TempTree t;
    const std::string a = t.createFile("a", "A");
    t.createSymlink("a", "link");
    t.createDir("d");
    ASSERT_TRUE(Succeeded(RemoveFile(t.path("link"))));
    EXPECT_EQ(t.readFile("a"), "A"); // the link went, not its target
    EXPECT_TRUE(FailsWith(RemoveFile(t.path("d")), EISDIR));
    ASSERT_TRUE(Succeeded(RemoveFile(a)));
    EXPECT_TRUE(FailsWith(RemoveFile(a), ENOENT));
}

TEST(FileSystem, WithoutATrashTrashingFailsAndNeverDeletes) {
    TempTree t;
    const std::string a = t.createFile("a", "A");
    SetTrashImplementation(nullptr);
    Result<void> r = Trash(a);
    ASSERT_TRUE(FailsWith(r, ENOTSUP));
    EXPECT_EQ(r.error().path, a);
    EXPECT_EQ(t.readFile("a"), "A");
}

TEST(FileSystem, MakeDirectoriesCreatesEveryMissingFolder) {
    TempTree t;
    ASSERT_TRUE(Succeeded(MakeDirectories(t.path("a/b/c"), 0750)));
    EXPECT_EQ(Mode(t.path("a/b/c")), 0750u & ~Umask());
    EXPECT_EQ(Mode(t.path("a")), 0750u & ~Umask());
    EXPECT_TRUE(Succeeded(MakeDirectories(t.path("a/b/c"))));  // there already
    EXPECT_TRUE(Succeeded(MakeDirectories(t.path("a/b/d/")))); // trailing slash
    EXPECT_TRUE(t.exists("a/b/d"));
    // A link to a folder on the way is followed.
    t.createSymlink("a", "l");
    EXPECT_TRUE(Succeeded(MakeDirectories(t.path("l/e"))));
    EXPECT_TRUE(t.exists("a/e"));

    t.createFile("f", "x");
    EXPECT_TRUE(FailsWith(MakeDirectories(t.path("f")), ENOTDIR));
    EXPECT_TRUE(FailsWith(MakeDirectories(t.path("f/x")), ENOTDIR));
    EXPECT_EQ(t.readFile("f"), "x");
}

TEST(FileSystem, MakeDirectoriesReportsTheFolderThatFailed) {
    TempTree t;
    {
        FaultInjector faults;
        faults.Fail({.op = Op::Mkdir, .error = EACCES, .nth = 2});
        Result<void> r = MakeDirectories(t.path("x/y/z"));
        ASSERT_TRUE(FailsWith(r, EACCES));
        EXPECT_EQ(r.error().path, t.path("x/y"));
        EXPECT_TRUE(t.exists("x"));
        EXPECT_FALSE(t.exists("x/y"));
    }
    // Another process creates the folder at the same moment.
    FaultInjector faults;
    faults.Fail({.op = Op::Mkdir, .before = [&] { ::mkdir(t.path("x/y").c_str(), 0777); }});
    EXPECT_TRUE(Succeeded(MakeDirectories(t.path("x/y"))));
}

TEST(FileSystem, AddOwnerWriteClearsReadOnlyOnly) {
    TempTree t;
    const std::string ro = t.createFile("ro", "x");
    t.chmod("ro", 0444);
    const std::string rw = t.createFile("rw", "x");
    t.chmod("rw", 0640);
    t.createSymlink("ro", "link");

    FaultInjector faults;
    ASSERT_TRUE(Succeeded(AddOwnerWrite(ro)));
    EXPECT_EQ(Mode(ro), 0644u);
    EXPECT_EQ(faults.Calls(Op::Chmod), 1);
    ASSERT_TRUE(Succeeded(AddOwnerWrite(rw)));
    EXPECT_EQ(Mode(rw), 0640u);
    EXPECT_EQ(faults.Calls(Op::Chmod), 1); // nothing to change

    t.chmod("ro", 0444);
    EXPECT_TRUE(FailsWith(AddOwnerWrite(t.path("link")), ELOOP));
    EXPECT_EQ(Mode(ro), 0444u);
    faults.Fail({.op = Op::Chmod, .error = EPERM});
    EXPECT_TRUE(FailsWith(AddOwnerWrite(ro), EPERM));
    EXPECT_EQ(Mode(ro), 0444u);
    EXPECT_TRUE(FailsWith(AddOwnerWrite(t.path("missing")), ENOENT));
}

TEST(FileSystem, SetPermissionsSetsTheBitsOfTheFileNotOfALink) {
    TempTree t;
    const std::string f = t.createFile("f", "x");
    t.chmod("f", 0644);
    t.createSymlink("f", "link");
    ASSERT_TRUE(Succeeded(SetPermissions(f, 0444)));
    EXPECT_EQ(Mode(f), 0444u);
    EXPECT_TRUE(FailsWith(SetPermissions(t.path("link"), 0600), ELOOP));
    EXPECT_EQ(Mode(f), 0444u);
    FaultInjector faults;
    faults.Fail({.op = Op::Chmod, .error = EROFS});
    EXPECT_TRUE(FailsWith(SetPermissions(f, 0644), EROFS));
    EXPECT_EQ(Mode(f), 0444u);
}

} // namespace
} // namespace paradrex::platform
