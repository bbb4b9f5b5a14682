// Save... with CR LF line ends, its failure reported, and the lasting
// record of operations under the state home.

#include "fileops/LogFiles.h"

#include "support/FaultInjector.h"
#include "support/ResultAssertions.h"
#include "support/ScopedEnvironment.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace paradrex {
namespace {

using test::FailsWith;
using test::Succeeded;
using test::TempTree;

TEST(SaveLog, WritesCrLfLineEndsAndTheBytesUnchanged) {
    EXPECT_EQ(WithCrLf("a\nb\r\n\nc"), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(WithCrLf("\n"), "\r\n");
    TempTree t;
    const std::string log = "/d/caf\xe9......Succeed\n/d/x......Failed\n\nDeleted files marked "
                            "cross directly,\n1 files succeed, 1 files failed";
    ASSERT_TRUE(Succeeded(SaveLog(t.path("log.txt"), log)));
    EXPECT_EQ(t.readFile("log.txt"),
              "/d/caf\xe9......Succeed\r\n/d/x......Failed\r\n\r\nDeleted files marked cross "
              "directly,\r\n1 files succeed, 1 files failed");
    // Saving again replaces the old file.
    ASSERT_TRUE(Succeeded(SaveLog(t.path("log.txt"), "x\n")));
    EXPECT_EQ(t.readFile("log.txt"), "x\r\n");
}

TEST(SaveLog, AFileThatCannotBeWrittenIsReportedAndAnOldOneStaysWhole) {
    TempTree t;
    t.createFile("old.txt", "old log");
    {
        test::FaultInjector faults;
        faults.Fail({.op = platform::Op::Write, .error = ENOSPC});
        platform::Result<void> r = SaveLog(t.path("old.txt"), "new log\n");
        ASSERT_TRUE(FailsWith(r, ENOSPC));
        EXPECT_EQ(SaveLogFailureMessage(r.error()),
                  "The log could not be saved to " + r.error().path + ": No space left on device");
    }
    EXPECT_EQ(t.readFile("old.txt"), "old log");
    EXPECT_TRUE(FailsWith(SaveLog(t.path("missing/dir/log.txt"), "x"), ENOENT));
}

TEST(OperationRecord, LivesUnderTheStateHome) {
    test::ScopedEnvironment env;
    env.Set("HOME", "/home/someone").Set("XDG_STATE_HOME", "/state");
    EXPECT_EQ(OperationRecordPath(), "/state/Paradrex/operations.log");
    env.Set("XDG_STATE_HOME", "relative/state"); // not absolute: ignored
    EXPECT_EQ(OperationRecordPath(), "/home/someone/.local/state/Paradrex/operations.log");
    env.Set("XDG_STATE_HOME", std::nullopt);
    EXPECT_EQ(OperationRecordPath(), "/home/someone/.local/state/Paradrex/operations.log");
}

TEST(OperationRecord, EachOperationAppendsADatedHeaderAndItsLines) {
    TempTree t;
    test::ScopedEnvironment env;
    env.Set("TZ", "UTC");
    const std::string record = t.path("state/Paradrex/operations.log");
    const std::time_t when = 1765289000; // 2025-12-09 14:03:20 UTC
    EXPECT_EQ(OperationRecordHeader("Deleting Files", false, when),
              "[2025-12-09 14:03:20 +0000] Deleting Files");
    ASSERT_TRUE(Succeeded(
        AppendOperationRecord(record, "Deleting Files",
                              "/a......Succeed\n\nDeleted files marked cross directly,\n1 "
                              "files succeed, 0 files failed",
                              false, when)));
    ASSERT_TRUE(Succeeded(
        AppendOperationRecord(record, "Deleting Files", "/b......Failed\n", true, when + 60)));
    EXPECT_EQ(t.readFile("state/Paradrex/operations.log"),
              "[2025-12-09 14:03:20 +0000] Deleting Files\n/a......Succeed\n\nDeleted files "
              "marked cross directly,\n1 files succeed, 0 files failed\n"
              "[2025-12-09 14:04:20 +0000] Deleting Files, stopped\n/b......Failed\n");
    struct stat st {};
    ASSERT_EQ(::stat(record.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(t.path("state/Paradrex").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u & ~0022u);

    test::FaultInjector faults;
    faults.Fail({.op = platform::Op::Write, .error = EROFS});
    EXPECT_TRUE(
        FailsWith(AppendOperationRecord(record, "Deleting Files", "x", false, when), EROFS));
}

} // namespace
} // namespace paradrex
