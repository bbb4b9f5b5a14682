// Rename Base on This Directory and Restore Origin Name in This Directory on
// real trees: the log, the names they leave, the groups they skip, the
// recursive order, the stop request, failures injected through the platform
// seam, and a run on a thread of its own.

#include "NameFixture.h"

#include "fileops/LogText.h"
#include "fileops/NameCommands.h"
#include "review/ListCells.h"
#include "support/FaultInjector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <thread>

namespace paradrex::test {
namespace {

using platform::Op;

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// root/
//   d/x.txt     e/y.txt      (one clone set of d and e: three groups)
//   d/p.txt     e/q.txt
//   d/same.txt  e/same.txt   (names agree already)
class NamePairs : public NameTest {
protected:
    void SetUp() override {
        tree.createFile("d/x.txt", "one");
        tree.createFile("e/y.txt", "one");
        tree.createFile("d/p.txt", "two");
        tree.createFile("e/q.txt", "two");
        tree.createFile("d/same.txt", "three");
        tree.createFile("e/same.txt", "three");
        SearchTree();
    }
};

TEST_F(NamePairs, RenameBaseGivesTheOtherFilesTheNamesOfThisDirectoryAndLogsEach) {
    const NameOperationOutcome out = RenameBase("d", false);
    EXPECT_EQ(out.succeeded, 2u);
    EXPECT_EQ(out.failed, 0u);
    EXPECT_FALSE(out.stopped);
    EXPECT_EQ(Sorted(Lines()), (std::vector<std::string>{"e/q.txt -> p.txt", "e/y.txt -> x.txt"}));
    const std::string summary = "\nRenamed files base on files in \"" + tree.path("d") +
                                "\"\n2 files succeed, 0 files failed";
    // Exactly the lines of the outcomes, in order, then the summary.
    std::string expected;
    for (const FileOutcome& o : outcomes)
        expected += RenameLogLine(o);
    EXPECT_EQ(log, expected + summary);
    EXPECT_EQ(tree.readFile("e/x.txt"), "one");
    EXPECT_EQ(tree.readFile("e/p.txt"), "two");
    EXPECT_FALSE(tree.exists("e/y.txt"));
    EXPECT_TRUE(tree.exists("e/same.txt"));
    // The new names are copies in the record pool, not the other files' text.
    FileRecord* y = Found("e/y.txt");
    EXPECT_STREQ(y->name, "x.txt");
    EXPECT_NE(y->name, Found("d/x.txt")->name);
    EXPECT_EQ(InfoTipText("", *y), "Origin: y.txt");
    EXPECT_TRUE(HasOriginName(*Found("e/same.txt")));

    // Restoring e brings every name back, with its own log and summary.
    log.clear();
    const NameOperationOutcome back = RestoreNames("e", false);
    EXPECT_EQ(back.succeeded, 2u);
    EXPECT_EQ(Sorted(Lines()), (std::vector<std::string>{"e/p.txt -> q.txt", "e/x.txt -> y.txt"}));
    const std::string restored =
        "\nRestored files' names in \"" + tree.path("e") + "\"\n2 files succeed, 0 files failed";
    EXPECT_EQ(log.substr(log.size() - restored.size()), restored);
    EXPECT_EQ(tree.readFile("e/y.txt"), "one");
    EXPECT_EQ(tree.readFile("e/q.txt"), "two");
    EXPECT_TRUE(HasOriginName(*y));
}

// A name copied by Rename Base that reads like the file's origin name is
// still a new name: the tip shows it, and Restore moves the file onto its
// own name, which succeeds without a system call.
TEST_F(NamePairs, RenameBaseCopyingTheOriginNameLeavesARestorableName) {
    const int row = Show("e/same.txt");
    FileRecord* f = Found("e/same.txt");
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, row, "moved.txt", state.recordPool).renamed);
    ASSERT_EQ(RenameBase("d", false).succeeded, 3u);
    EXPECT_EQ(tree.readFile("e/same.txt"), "three");
    EXPECT_STREQ(f->name, "same.txt");
    EXPECT_FALSE(HasOriginName(*f));
    EXPECT_EQ(InfoTipText("same.txt", *f), "same.txt\nOrigin: same.txt");

    // Restore Origin Name on the row.
    {
        FaultInjector calls;
        const NameCommandAnswer answer = RestoreRow(browser, ListKind::FileList, row);
        EXPECT_TRUE(answer.renamed);
        EXPECT_EQ(answer.statusMessage, tree.path("e/same.txt") + " -> same.txt");
        EXPECT_EQ(calls.Calls(Op::Stat) + calls.Calls(Op::Rename) + calls.Calls(Op::Link), 0);
        EXPECT_TRUE(HasOriginName(*f));
        EXPECT_EQ(InfoTipText("same.txt", *f), "same.txt");
    }
    // And through Restore Origin Name in This Directory.
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, row, "moved.txt", state.recordPool).renamed);
    ASSERT_EQ(RenameBase("d", false).succeeded, 1u);
    ASSERT_FALSE(HasOriginName(*f));
    log.clear();
    FaultInjector calls;
    const NameOperationOutcome out = RestoreNames("e", false);
    EXPECT_EQ(calls.Calls(Op::Rename) + calls.Calls(Op::Link), 2); // x.txt and p.txt
    EXPECT_EQ(out.succeeded, 3u);
    EXPECT_EQ(out.failed, 0u);
    const std::vector<std::string> lines = Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "e/same.txt -> same.txt"), lines.end());
    EXPECT_TRUE(HasOriginName(*f));
    EXPECT_EQ(tree.readFile("e/same.txt"), "three");
}

TEST_F(NamePairs, AStopRequestEndsBeforeTheNextCloneRefWithoutSummary) {
    tree.createFile("d/m.txt", "four");
    tree.createFile("f/n.txt", "four"); // a second clone set of d: d and f
    SearchTree();
    ASSERT_EQ(Dir("d")->cloneRefs.size(), 2u);
    const size_t firstSetGroups = Dir("d")->cloneRefs[0].set->size();
    onFile = [this](const FileOutcome&) { stop = true; };
    const NameOperationOutcome out = RenameBase("d", false);
    EXPECT_TRUE(out.stopped);
    // The clone set begun is finished; the next CloneRef is not begun.
    EXPECT_EQ(out.succeeded, firstSetGroups == 1 ? 1u : 2u);
    EXPECT_EQ(Lines().size(), out.succeeded);
    EXPECT_EQ(log.find("files succeed"), std::string::npos);
    EXPECT_EQ(log.back(), '\n');
    EXPECT_NE(tree.exists("f/n.txt"), tree.exists("e/y.txt"));

    // A stop requested before the start changes nothing and logs nothing.
    log.clear();
    const NameOperationOutcome none = RestoreNames("e", false);
    EXPECT_TRUE(none.stopped);
    EXPECT_EQ(none.succeeded + none.failed, 0u);
    EXPECT_EQ(log, "");
}

// Rename Base recursively handles the subdirectory first, so its file's
// name wins; on the directory alone the directory's name does.
class RecursiveRenameBase : public NameTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RecursiveRenameBase, TheSubdirectoryIsHandledFirst) {
    const bool recursive = GetParam();
    tree.createFile("d/top.txt", "shared");
    tree.createFile("d/sub/low.txt", "shared");
    SearchTree();
    const NameOperationOutcome out = RenameBase("d", recursive);
    EXPECT_EQ(out.succeeded, 1u);
    if (recursive) {
        EXPECT_EQ(Lines(), (std::vector<std::string>{"d/top.txt -> low.txt"}));
        EXPECT_EQ(tree.readFile("d/low.txt"), "shared");
        EXPECT_NE(log.find("\nRenamed files base on files (recursively) in \"" + tree.path("d") +
                           "\"\n1 files succeed, 0 files failed"),
                  std::string::npos);
    } else {
        EXPECT_EQ(Lines(), (std::vector<std::string>{"d/sub/low.txt -> top.txt"}));
        EXPECT_EQ(tree.readFile("d/sub/top.txt"), "shared");
    }
    log.clear();
    const NameOperationOutcome back = RestoreNames(recursive ? "d" : "d/sub", recursive);
    EXPECT_EQ(back.succeeded, 1u);
    EXPECT_EQ(tree.readFile("d/top.txt"), "shared");
    EXPECT_EQ(tree.readFile("d/sub/low.txt"), "shared");
    EXPECT_NE(log.find(recursive ? "\nRestored filenames (recursively) in \""
                                 : "\nRestored files' names in \""),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Both, RecursiveRenameBase, ::testing::Bool());

// root/
//   d/a1 d/a2 e/b        (two files in d: skipped)
//   r/1 r/2 r/3 r/4 d/r5 (a run group: never renamed by Rename Base)
//   d/n1 e/n2            (renamed)
TEST_F(NameTest, RenameBaseSkipsGroupsWithTwoFilesInOneDirectoryAndRunGroups) {
    tree.createFile("d/a1", "two here");
    tree.createFile("d/a2", "two here");
    tree.createFile("e/b", "two here");
    for (const char* n : {"r/1", "r/2", "r/3", "r/4", "d/r5"})
        tree.createFile(n, "run bytes");
    tree.createFile("d/n1", "pair");
    tree.createFile("e/n2", "pair");
    SearchTree();
    ASSERT_EQ(state.runGroups.size(), 1u);

    const NameOperationOutcome out = RenameBase("", true);
    EXPECT_EQ(out.succeeded, 1u);
    EXPECT_EQ(out.failed, 0u);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_TRUE(Lines()[0] == "e/n2 -> n1" || Lines()[0] == "d/n1 -> n2") << Lines()[0];
    for (const char* n : {"d/a1", "d/a2", "e/b", "r/1", "r/2", "r/3", "r/4", "d/r5"})
        EXPECT_TRUE(tree.exists(n)) << n;

    // Restore in This Directory restores run files too.
    const int r1 = Show("r/1");
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, r1, "first", state.recordPool).renamed);
    const int r5 = Show("d/r5");
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, r5, "fifth", state.recordPool).renamed);
    log.clear();
    const NameOperationOutcome back = RestoreNames("", true);
    EXPECT_EQ(back.succeeded, 3u);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "r/first -> 1"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "d/fifth -> r5"), lines.end());
    for (const char* n : {"r/1", "d/r5", "d/n1", "e/n2"})
        EXPECT_TRUE(tree.exists(n)) << n;
    EXPECT_TRUE(HasOriginName(*Found("r/1")));
}

// A failure of one file costs a failed count and a " ......Failed" line;
// the file keeps its name and the walk goes on.
struct NameFault {
    const char* name;
    std::function<void(TempTree&, FaultInjector&)> arrange;
    int error;
};

class NameFaults : public NamePairs, public ::testing::WithParamInterface<NameFault> {};

TEST_P(NameFaults, TheFileStaysAndTheLogAndCountsSaySo) {
    const NameFault& c = GetParam();
    {
        FaultInjector faults;
        c.arrange(tree, faults);
        const NameOperationOutcome out = RenameBase("d", false);
        EXPECT_EQ(out.succeeded, 1u);
        EXPECT_EQ(out.failed, 1u);
        EXPECT_EQ(Sorted(Lines()),
                  (std::vector<std::string>{"e/q.txt -> p.txt", "e/y.txt -> x.txt ......Failed"}));
        EXPECT_NE(log.find("\n1 files succeed, 1 files failed"), std::string::npos);
        const auto failed = std::find_if(outcomes.begin(), outcomes.end(),
                                         [](const FileOutcome& o) { return !o.succeeded(); });
        ASSERT_NE(failed, outcomes.end());
        ASSERT_TRUE(failed->error.has_value());
        EXPECT_EQ(failed->error->code, c.error);
        EXPECT_TRUE(HasOriginName(*Found("e/y.txt")));
        if (c.error != ENOENT) {
            EXPECT_EQ(tree.readFile("e/y.txt"), "one");
        }
        EXPECT_EQ(tree.readFile("e/p.txt"), "two");
    }
    // Restoring fails the same way for the same file.
    if (c.error == ENOENT)
        return;
    const int row = Show("e/y.txt");
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, row, "z.txt", state.recordPool).renamed);
    log.clear();
    outcomes.clear();
    FaultInjector faults;
    faults.Fail({.op = Op::Rename, .error = c.error, .times = 0, .path = "*/e/z.txt"});
    const NameOperationOutcome back = RestoreNames("e", false);
    EXPECT_EQ(back.succeeded, 1u);
    EXPECT_EQ(back.failed, 1u);
    EXPECT_EQ(Sorted(Lines()),
              (std::vector<std::string>{"e/p.txt -> q.txt", "e/z.txt -> y.txt ......Failed"}));
    EXPECT_EQ(tree.readFile("e/z.txt"), "one");
}

const NameFault kNameFaults[] = {
    {"denied",
     [](TempTree&, FaultInjector& f) {
         f.Fail({.op = Op::Rename, .error = EACCES, .times = 0, .path = "*/e/y.txt"});
     },
     EACCES},
    {"read_only_file_system",
     [](TempTree&, FaultInjector& f) {
         f.Fail({.op = Op::Rename, .error = EROFS, .times = 0, .path = "*/e/y.txt"});
     },
     EROFS},
    {"vanished", [](TempTree& t, FaultInjector&) { t.remove("e/y.txt"); }, ENOENT},
    {"target_exists", [](TempTree& t, FaultInjector&) { t.createFile("e/x.txt", "other"); },
     EEXIST},
    {"target_exists_through_the_link_fallback",
     [](TempTree& t, FaultInjector& f) {
         t.createFile("e/x.txt", "other");
         f.Fail({.op = Op::Rename, .error = EINVAL, .times = 0});
     },
     EEXIST},
};

INSTANTIATE_TEST_SUITE_P(Injected, NameFaults, ::testing::ValuesIn(kNameFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NamePairs, RunsOnAThreadOfItsOwn) {
    ASSERT_EQ(RenameBase("d", false).succeeded, 2u);
    std::mutex m;
    std::string text;
    OperationCallbacks cb;
    cb.append = [&](std::string_view t) {
        std::lock_guard lock(m);
        text += t;
    };
    std::atomic<bool> stopFlag{false};
    cb.stop = &stopFlag;
    NameOperationOutcome out;
    ResultDir* e = Dir("e");
    std::thread worker([&] { out = RunRestoreNames(*e, false, cb); });
    worker.join();
    EXPECT_EQ(out.succeeded, 2u);
    EXPECT_NE(text.find("2 files succeed, 0 files failed"), std::string::npos);
    EXPECT_EQ(tree.readFile("e/y.txt"), "one");
}

TEST(NameOperationCaption, ByOperationAndRecursion) {
    EXPECT_EQ(NameOperationCaption(NameOperation::RenameBase, false), "Renaming");
    EXPECT_EQ(NameOperationCaption(NameOperation::RenameBase, true), "Renaming");
    EXPECT_EQ(NameOperationCaption(NameOperation::RestoreNames, false), "Restoring Name");
    EXPECT_EQ(NameOperationCaption(NameOperation::RestoreNames, true), "Restoring Names");
}

} // namespace
} // namespace paradrex::test
