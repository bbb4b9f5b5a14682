// Whole-file reading, whole writes and atomic replacement, on real files and
// with failures injected through the system-call seam.

#include "platform/FileIo.h"

#include "support/FaultInjector.h"
#include "support/Privileges.h"
#include "support/ResultAssertions.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
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

std::set<std::string> Names(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(FileIo, ReadRegularFileReadsAtMostTheLimit) {
    TempTree t;
    const std::string bytes = test::PatternBytes(200000, 1); // several read buffers
    const std::string path = t.createFile("f", bytes);
    for (size_t limit :
         {size_t{0}, size_t{1}, size_t{65536}, size_t{199999}, size_t{200000}, size_t{1} << 30}) {
        SCOPED_TRACE(limit);
        Result<std::string> r = ReadRegularFile(path, limit);
        ASSERT_TRUE(Succeeded(r));
        EXPECT_EQ(*r, bytes.substr(0, limit));
    }
    EXPECT_EQ(ReadRegularFile(t.createFile("empty", ""), 10), std::string());
    // A link to a file is followed.
    t.createSymlink("f", "link");
    EXPECT_EQ(ReadRegularFile(t.path("link"), 5), bytes.substr(0, 5));
}

TEST(FileIo, ReadRegularFileRefusesOtherFilesWithoutWaiting) {
    TempTree t;
    t.createDir("dir");
    const std::string fifo = t.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    const auto start = std::chrono::steady_clock::now();
    Result<std::string> r = ReadRegularFile(fifo, 100); // nobody writes to it
    EXPECT_TRUE(FailsWith(r, EINVAL));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(FailsWith(ReadRegularFile("/dev/null", 100), EINVAL));
    EXPECT_TRUE(FailsWith(ReadRegularFile(t.path("dir"), 100), EISDIR));

    Result<std::string> missing = ReadRegularFile(t.path("missing"), 100);
    ASSERT_TRUE(FailsWith(missing, ENOENT));
    EXPECT_EQ(missing.error().op, "open");
    EXPECT_EQ(missing.error().path, t.path("missing"));

    t.createFile("locked", "x");
    t.chmod("locked", 0);
    test::Unprivileged unprivileged;
    EXPECT_TRUE(FailsWith(ReadRegularFile(t.path("locked"), 100), EACCES));
}

TEST(FileIo, ReadsAndWritesSurviveShortTransfersAndInterruptions) {
    TempTree t;
    const std::string bytes = test::PatternBytes(100000, 2);
    const std::string path = t.createFile("f", bytes);
    FaultInjector faults;
    faults.Fail({.op = Op::Read, .error = EINTR});
    faults.Fail({.op = Op::Read, .times = 0, .maxBytes = 999});
    EXPECT_EQ(ReadRegularFile(path, bytes.size()), bytes);

    faults.Fail({.op = Op::Write, .error = EINTR});
    faults.Fail({.op = Op::Write, .times = 0, .maxBytes = 4096});
    ASSERT_TRUE(Succeeded(ReplaceFileAtomically(t.path("g"), bytes)));
    EXPECT_EQ(t.readFile("g"), bytes);
}

TEST(FileIo, ReadFailureIsReportedNotTruncated) {
    TempTree t;
    const std::string path = t.createFile("f", test::PatternBytes(200000, 1));
    FaultInjector faults;
    faults.Fail({.op = Op::Read, .error = EIO, .nth = 2});
    Result<std::string> r = ReadRegularFile(path, 1u << 20);
    ASSERT_TRUE(FailsWith(r, EIO));
    EXPECT_EQ(r.error().op, "read");
    EXPECT_EQ(r.error().path, path);
}

TEST(FileIo, WriteAllReportsTheErrorWithThePath) {
    TempTree t;
    const std::string path = t.createFile("f", "");
    Result<File> file = File::Open(path, O_WRONLY | O_CLOEXEC);
    ASSERT_TRUE(Succeeded(file));
    FaultInjector faults;
    faults.Fail({.op = Op::Write, .maxBytes = 3});
    faults.Fail({.op = Op::Write, .error = ENOSPC, .nth = 2});
    Result<void> r = WriteAll(file->fd(), "abcdef", path);
    ASSERT_TRUE(FailsWith(r, ENOSPC));
    EXPECT_EQ(r.error().path, path);
    EXPECT_EQ(t.readFile("f"), "abc");
}

TEST(FileIo, ReplaceCreatesOrReplacesKeepingTheMode) {
    TempTree t;
    const std::string target = t.path("settings.ini");
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(Succeeded(ReplaceFileAtomically(target, "one")));
    EXPECT_EQ(Mode(target), 0644u);
    ::umask(mask);
    EXPECT_EQ(t.readFile("settings.ini"), "one");

    for (mode_t mode : {0600u, 0640u, 0444u}) {
        ASSERT_TRUE(Succeeded(ReplaceFileAtomically(target, "two", mode)));
        EXPECT_EQ(Mode(target), mode);
        EXPECT_EQ(t.readFile("settings.ini"), "two");
    }
    // A temporary file left by a crashed run with the same process id.
    t.createFile("settings.ini.tmp." + std::to_string(::getpid()), "stale");
    ASSERT_TRUE(Succeeded(ReplaceFileAtomically(target, "three")));
    EXPECT_EQ(Names(t.root()), std::set<std::string>{"settings.ini"});
}

TEST(FileIo, FailedReplaceKeepsTheOldFileWholeAndLeavesNothingBehind) {
    const std::string tmp = "*.tmp.*";
    struct Case {
        const char* what;
        std::vector<FaultInjector::Fault> faults;
        int code;
    } cases[] = {
        {"disk full mid-write",
         {{.op = Op::Write, .maxBytes = 100}, {.op = Op::Write, .error = ENOSPC, .nth = 2}},
         ENOSPC},
        {"read-only file system mid-write",
         {{.op = Op::Write, .maxBytes = 100}, {.op = Op::Write, .error = EROFS, .nth = 2}},
         EROFS},
        {"permission lost mid-write",
         {{.op = Op::Write, .maxBytes = 100}, {.op = Op::Write, .error = EACCES, .nth = 2}},
         EACCES},
        {"temporary file not creatable", {{.op = Op::Open, .error = EACCES, .path = tmp}}, EACCES},
        {"read-only file system", {{.op = Op::Open, .error = EROFS, .path = tmp}}, EROFS},
        {"mode not settable", {{.op = Op::Chmod, .error = EPERM}}, EPERM},
        {"sync fails", {{.op = Op::Fsync, .error = EIO}}, EIO},
        {"close reports a late write error", {{.op = Op::Close, .error = ENOSPC}}, ENOSPC},
        {"rename fails", {{.op = Op::Rename, .error = EROFS}}, EROFS},
    };
    const std::string old = test::PatternBytes(5000, 9);
    const std::string replacement = test::PatternBytes(10000, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree t;
        const std::string target = t.createFile("settings.ini", old);
        t.chmod("settings.ini", 0640);
        FaultInjector faults;
        for (const FaultInjector::Fault& f : c.faults)
            faults.Fail(f);
        EXPECT_TRUE(FailsWith(ReplaceFileAtomically(target, replacement, 0600), c.code));
        EXPECT_EQ(faults.Injected(), 1);
        EXPECT_EQ(t.readFile("settings.ini"), old);
        EXPECT_EQ(Mode(target), 0640u);
        EXPECT_EQ(Names(t.root()), std::set<std::string>{"settings.ini"});
    }
}

TEST(FileIo, ReplaceInAFolderThatMayNotBeWrittenFails) {
    TempTree t;
    const std::string target = t.createFile("dir/settings.ini", "old");
    t.chmod("dir", 0555);
    test::Unprivileged unprivileged;
    Result<void> r = ReplaceFileAtomically(target, "new");
    ASSERT_TRUE(FailsWith(r, EACCES));
    EXPECT_EQ(r.error().op, "open");
    EXPECT_EQ(t.readFile("dir/settings.ini"), "old");
}

TEST(FileIo, AReplacementWrittenInPiecesAppearsOnlyWhenCommitted) {
    TempTree t;
    const std::string target = t.createFile("result.pdxr", "old");
    {
        Result<AtomicReplacement> r = AtomicReplacement::Begin(target);
        ASSERT_TRUE(Succeeded(r));
        ASSERT_TRUE(Succeeded(r->Write("new ")));
        ASSERT_TRUE(Succeeded(r->Write("text")));
        EXPECT_EQ(t.readFile("result.pdxr"), "old");
        ASSERT_TRUE(Succeeded(r->Commit()));
        EXPECT_TRUE(FailsWith(r->Write("more"), EBADF)); // done: nothing more goes in
    }
    EXPECT_EQ(t.readFile("result.pdxr"), "new text");
    EXPECT_EQ(Names(t.root()), std::set<std::string>{"result.pdxr"});

    // Given up (destroyed before Commit, or a failed piece): the old file stays.
    {
        Result<AtomicReplacement> r = AtomicReplacement::Begin(target);
        ASSERT_TRUE(Succeeded(r));
        ASSERT_TRUE(Succeeded(r->Write("half")));
    }
    {
        Result<AtomicReplacement> r = AtomicReplacement::Begin(target);
        ASSERT_TRUE(Succeeded(r));
        ASSERT_TRUE(Succeeded(r->Write("first piece")));
        FaultInjector faults;
        faults.Fail({.op = Op::Write, .error = ENOSPC});
        EXPECT_TRUE(FailsWith(r->Write("second piece"), ENOSPC));
        EXPECT_TRUE(FailsWith(r->Commit(), EBADF));
    }
    EXPECT_EQ(t.readFile("result.pdxr"), "new text");
    EXPECT_EQ(Names(t.root()), std::set<std::string>{"result.pdxr"});
}

} // namespace
} // namespace paradrex::platform
