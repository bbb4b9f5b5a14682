// The single renames on real trees: an in-place edit in each list and the
// row of the other list it answers, typing the origin name back, Restore
// Origin Name, Paste Name and Paste Name (Group), their no-ops, and renames
// that must fail without touching any file.

#include "NameFixture.h"

#include "fileops/NameCommands.h"
#include "review/ListCells.h"
#include "support/FaultInjector.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace paradrex::test {
namespace {

using platform::Op;

// root/
//   a/one.txt  b/uno.txt  c/eins.txt      (a group of three directories)
//   a/two.txt  b/dos.txt  c/zwei.txt      (the same clone set)
class NameCommands : public NameTest {
protected:
    void SetUp() override {
        tree.createFile("a/one.txt", "first");
        tree.createFile("b/uno.txt", "first");
        tree.createFile("c/eins.txt", "first");
        tree.createFile("a/two.txt", "second");
        tree.createFile("b/dos.txt", "second");
        tree.createFile("c/zwei.txt", "second");
        SearchTree();
    }
};

TEST_F(NameCommands, AnEditInTheFileListRenamesAndAnswersTheCloneRow) {
    const int row = Show("a/one.txt");
    FileRecord* f = Found("a/one.txt");
    const NameCommandAnswer answer =
        RenameRow(browser, ListKind::FileList, row, "renamed.txt", state.recordPool);
    EXPECT_TRUE(answer.renamed);
    EXPECT_EQ(answer.statusMessage, "");
    EXPECT_FALSE(tree.exists("a/one.txt"));
    EXPECT_EQ(tree.readFile("a/renamed.txt"), "first");
    EXPECT_STREQ(f->name, "renamed.txt");
    EXPECT_STREQ(f->originName, "one.txt");
    EXPECT_FALSE(HasOriginName(*f));
    EXPECT_EQ(InfoTipText("", *f), "Origin: one.txt");
    EXPECT_EQ(answer.fileRows, (RowRange{size_t(row), 1}));
    const size_t cloneRow = CloneListRowOf(browser.fileRows()[size_t(row)]);
    EXPECT_EQ(browser.cloneRows()[cloneRow], f);
    EXPECT_EQ(answer.cloneRows, (RowRange{cloneRow, 1}));
    EXPECT_TRUE(answer.oneRows.empty());
}

TEST_F(NameCommands, TypingTheOriginNameBackGivesTheOriginNameAgain) {
    const int row = Show("a/one.txt");
    FileRecord* f = Found("a/one.txt");
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, row, "other.txt", state.recordPool).renamed);
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, row, "one.txt", state.recordPool).renamed);
    EXPECT_EQ(f->name, f->originName); // the record's own text, not a copy
    EXPECT_TRUE(HasOriginName(*f));
    EXPECT_EQ(InfoTipText("one.txt", *f), "one.txt"); // no "Origin: " line
    EXPECT_EQ(tree.readFile("a/one.txt"), "first");
    // Restore Origin Name has nothing to do: no call, no message.
    FaultInjector calls;
    const NameCommandAnswer restore = RestoreRow(browser, ListKind::FileList, row);
    EXPECT_FALSE(restore.renamed);
    EXPECT_TRUE(restore.outcomes.empty());
    EXPECT_EQ(restore.statusMessage, "");
    EXPECT_EQ(calls.Calls(Op::Stat) + calls.Calls(Op::Rename), 0);
}

TEST_F(NameCommands, AnEditInTheCloneListAnswersTheFileRowOnlyWhenTheFileListShowsIt) {
    Show("a/one.txt");
    // b/uno.txt is in the clone list, but the file list shows a/.
    const int inB = CloneRow("b/uno.txt");
    NameCommandAnswer answer =
        RenameRow(browser, ListKind::CloneList, inB, "x.txt", state.recordPool);
    EXPECT_TRUE(answer.renamed);
    EXPECT_EQ(answer.cloneRows, (RowRange{size_t(inB), 1}));
    EXPECT_TRUE(answer.fileRows.empty());
    EXPECT_EQ(tree.readFile("b/x.txt"), "first");
    // The clone list's row of a/one.txt is shown in the file list too.
    const int inA = CloneRow("a/one.txt");
    answer = RenameRow(browser, ListKind::CloneList, inA, "y.txt", state.recordPool);
    EXPECT_TRUE(answer.renamed);
    const std::optional<size_t> fileRow = FileListRowOf(browser.fileRows(), Found("a/one.txt"));
    ASSERT_TRUE(fileRow.has_value());
    EXPECT_EQ(answer.fileRows, (RowRange{*fileRow, 1}));
}

TEST_F(NameCommands, AnEditInTheOneListAnswersItsOwnRowOnly) {
    Show("a/one.txt");
    ASSERT_TRUE(browser.FillOneList());
    FileRecord* f = Found("a/one.txt");
    int row = -1;
    for (size_t i = 0; i < browser.oneRows().size(); ++i)
        if (browser.oneRows()[i].file == f)
            row = static_cast<int>(i);
    const NameCommandAnswer answer =
        RenameRow(browser, ListKind::OneList, row, "z.txt", state.recordPool);
    EXPECT_TRUE(answer.renamed);
    EXPECT_EQ(answer.oneRows, (RowRange{size_t(row), 1}));
    EXPECT_TRUE(answer.fileRows.empty());
    EXPECT_TRUE(answer.cloneRows.empty());
    EXPECT_EQ(tree.readFile("a/z.txt"), "first");
}

TEST_F(NameCommands, TheSameNameOrNoRowDoesNothing) {
    const int row = Show("a/one.txt");
    FaultInjector calls;
    for (int r : {-1, 99}) {
        const NameCommandAnswer answer =
            RenameRow(browser, ListKind::FileList, r, "x.txt", state.recordPool);
        EXPECT_FALSE(answer.renamed);
        EXPECT_TRUE(answer.outcomes.empty());
    }
    const NameCommandAnswer same =
        RenameRow(browser, ListKind::FileList, row, "one.txt", state.recordPool);
    EXPECT_FALSE(same.renamed);
    EXPECT_EQ(same.statusMessage, "");
    EXPECT_TRUE(same.outcomes.empty());
    EXPECT_EQ(calls.Calls(Op::Stat) + calls.Calls(Op::Rename) + calls.Calls(Op::Link), 0);
}

// A typed name must be one path component: anything else is refused with
// the rename error before any system call, and the file stays.
TEST_F(NameCommands, ANameThatIsNotOnePathComponentIsRefusedBeforeAnySystemCall) {
    tree.createDir("a/sub");
    const int row = Show("a/one.txt");
    FileRecord* f = Found("a/one.txt");
    const std::string refused[] = {
        "", ".", "..", "a/b", "sub/one.txt", "/x", std::string("a\0b", 3), std::string(256, 'n')};
    for (const std::string& name : refused) {
        FaultInjector calls;
        const NameCommandAnswer answer =
            RenameRow(browser, ListKind::FileList, row, name, state.recordPool);
        EXPECT_FALSE(answer.renamed) << name;
        ASSERT_EQ(answer.outcomes.size(), 1u);
        EXPECT_EQ(answer.outcomes[0].failure, FileFailure::BadName);
        EXPECT_EQ(answer.statusMessage, "Rename Error: " + tree.path("a/one.txt") + " -> " + name);
        EXPECT_EQ(calls.Calls(Op::Stat) + calls.Calls(Op::Rename) + calls.Calls(Op::Link), 0)
            << name;
        EXPECT_EQ(f->name, f->originName);
        EXPECT_EQ(tree.readFile("a/one.txt"), "first");
    }
    EXPECT_FALSE(tree.exists("a/sub/one.txt"));
    // The longest name the system takes is one.
    const std::string longest(255, 'n');
    EXPECT_TRUE(RenameRow(browser, ListKind::FileList, row, longest, state.recordPool).renamed);
    EXPECT_EQ(tree.readFile("a/" + longest), "first");
}

// Never over an existing file: with renameat2's no-replace flag, and through
// the link fallback on a file system that refuses the flag.
TEST_F(NameCommands, RenamingOntoAnExistingNameFailsAndKeepsBothFiles) {
    tree.createFile("a/taken.txt", "someone else");
    const int row = Show("a/one.txt");
    FileRecord* f = Found("a/one.txt");
    for (bool refuseFlag : {false, true}) {
        FaultInjector faults;
        if (refuseFlag)
            faults.Fail({.op = Op::Rename, .error = EINVAL});
        const NameCommandAnswer answer =
            RenameRow(browser, ListKind::FileList, row, "taken.txt", state.recordPool);
        EXPECT_FALSE(answer.renamed);
        ASSERT_EQ(answer.outcomes.size(), 1u);
        ASSERT_TRUE(answer.outcomes[0].error.has_value());
        EXPECT_EQ(answer.outcomes[0].error->code, EEXIST);
        EXPECT_EQ(answer.outcomes[0].error->op, refuseFlag ? "link" : "rename");
        EXPECT_EQ(answer.statusMessage,
                  "Rename Error: " + tree.path("a/one.txt") + " -> taken.txt");
        EXPECT_EQ(faults.Calls(Op::Unlink), 0);
        EXPECT_EQ(tree.readFile("a/one.txt"), "first");
        EXPECT_EQ(tree.readFile("a/taken.txt"), "someone else");
        EXPECT_EQ(f->name, f->originName);
    }
    // The fallback itself renames when the name is free.
    FaultInjector faults;
    faults.Fail({.op = Op::Rename, .error = EOPNOTSUPP});
    EXPECT_TRUE(RenameRow(browser, ListKind::FileList, row, "free.txt", state.recordPool).renamed);
    EXPECT_EQ(faults.Calls(Op::Link), 1);
    EXPECT_FALSE(tree.exists("a/one.txt"));
    EXPECT_EQ(tree.readFile("a/free.txt"), "first");
}

TEST_F(NameCommands, AFileReplacedSinceTheSearchIsNotRenamed) {
    const int row = Show("a/one.txt");
    // Another inode under the name: made while the old one still exists, so
    // the system cannot hand out the same inode number again.
    tree.createFile("a/newcomer", "a newcomer");
    ASSERT_EQ(::rename(tree.path("a/newcomer").c_str(), tree.path("a/one.txt").c_str()), 0);
    const NameCommandAnswer answer =
        RenameRow(browser, ListKind::FileList, row, "x.txt", state.recordPool);
    EXPECT_FALSE(answer.renamed);
    ASSERT_EQ(answer.outcomes.size(), 1u);
    EXPECT_EQ(answer.outcomes[0].failure, FileFailure::Changed);
    EXPECT_EQ(answer.statusMessage, "Rename Error: " + tree.path("a/one.txt") + " -> x.txt");
    EXPECT_EQ(tree.readFile("a/one.txt"), "a newcomer");
    EXPECT_FALSE(tree.exists("a/x.txt"));
    // A vanished file fails the same way, with the system's answer.
    tree.remove("a/one.txt");
    const NameCommandAnswer gone =
        RenameRow(browser, ListKind::FileList, row, "x.txt", state.recordPool);
    ASSERT_EQ(gone.outcomes.size(), 1u);
    ASSERT_TRUE(gone.outcomes[0].error.has_value());
    EXPECT_EQ(gone.outcomes[0].error->code, ENOENT);
    EXPECT_FALSE(tree.exists("a/x.txt"));
}

TEST_F(NameCommands, RestoreReportsEitherWayAndAnswersTheOtherList) {
    const int row = Show("a/one.txt");
    FileRecord* f = Found("a/one.txt");
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, row, "x.txt", state.recordPool).renamed);
    {
        FaultInjector faults;
        faults.Fail({.op = Op::Rename, .error = EACCES});
        const NameCommandAnswer failed = RestoreRow(browser, ListKind::FileList, row);
        EXPECT_FALSE(failed.renamed);
        EXPECT_EQ(failed.statusMessage, tree.path("a/x.txt") + " -> one.txt ......Failed");
        EXPECT_STREQ(f->name, "x.txt");
        EXPECT_TRUE(failed.fileRows.empty());
    }
    const NameCommandAnswer done = RestoreRow(browser, ListKind::FileList, row);
    EXPECT_TRUE(done.renamed);
    EXPECT_EQ(done.statusMessage, tree.path("a/x.txt") + " -> one.txt");
    EXPECT_TRUE(HasOriginName(*f));
    EXPECT_EQ(tree.readFile("a/one.txt"), "first");
    EXPECT_EQ(done.fileRows, (RowRange{size_t(row), 1}));
    EXPECT_EQ(done.cloneRows, (RowRange{size_t(CloneRow("a/one.txt")), 1}));
}

TEST_F(NameCommands, NamesThatAreNotUtf8KeepTheirBytes) {
    const std::string odd = "caf\xe9 \xff\xfe.txt"; // Latin-1 and stray bytes
    tree.createFile("n/" + odd, "odd one");
    tree.createFile("m/plain.txt", "odd one");
    SearchTree();
    const int row = Show("n/" + odd);
    FileRecord* f = Found("n/" + odd);
    const std::string typed = "na\xefve \x80.txt";
    ASSERT_TRUE(RenameRow(browser, ListKind::FileList, row, typed, state.recordPool).renamed);
    EXPECT_EQ(tree.readFile("n/" + typed), "odd one");
    EXPECT_EQ(std::string(f->name), typed);
    const NameCommandAnswer restore = RestoreRow(browser, ListKind::FileList, row);
    EXPECT_TRUE(restore.renamed);
    EXPECT_EQ(restore.statusMessage, tree.path("n/" + typed) + " -> " + odd);
    EXPECT_EQ(tree.readFile("n/" + odd), "odd one");
    EXPECT_TRUE(HasOriginName(*f));
    // Pasted onto another file, the bytes go along unchanged.
    const int plain = CloneRow("m/plain.txt");
    const int copied = CloneRow("n/" + odd);
    ASSERT_TRUE(PasteName(browser, ListKind::CloneList, plain, copied).renamed);
    EXPECT_EQ(tree.readFile("m/" + odd), "odd one");
}

TEST_F(NameCommands, PasteNameSharesTheCopiedTextAndSkipsNoOps) {
    Show("a/one.txt");
    const int a = CloneRow("a/one.txt");
    const int b = CloneRow("b/uno.txt");
    const int c = CloneRow("c/eins.txt");
    FileRecord* fa = Found("a/one.txt");
    FileRecord* fc = Found("c/eins.txt");
    {
        FaultInjector calls;
        // The copied row selected: nothing.
        EXPECT_TRUE(PasteName(browser, ListKind::CloneList, b, b).outcomes.empty());
        // Nothing copied, or nothing selected: nothing.
        EXPECT_TRUE(PasteName(browser, ListKind::CloneList, a, -1).outcomes.empty());
        EXPECT_TRUE(PasteName(browser, ListKind::CloneList, -1, b).outcomes.empty());
        EXPECT_EQ(calls.Calls(Op::Stat) + calls.Calls(Op::Rename), 0);
    }
    // c takes b's name: the text is shared, not copied.
    NameCommandAnswer answer = PasteName(browser, ListKind::CloneList, c, b);
    EXPECT_TRUE(answer.renamed);
    EXPECT_EQ(fc->name, Found("b/uno.txt")->name);
    EXPECT_EQ(tree.readFile("c/uno.txt"), "first");
    EXPECT_EQ(answer.cloneRows, (RowRange{size_t(c), 1}));
    EXPECT_TRUE(answer.fileRows.empty()); // the file list shows a/
    // Pasting it again: the file has that name already.
    {
        FaultInjector calls;
        EXPECT_TRUE(PasteName(browser, ListKind::CloneList, c, b).outcomes.empty());
        EXPECT_EQ(calls.Calls(Op::Stat) + calls.Calls(Op::Rename), 0);
    }
    // a takes it too, and the file list's row of a is answered.
    answer = PasteName(browser, ListKind::CloneList, a, c);
    EXPECT_TRUE(answer.renamed);
    EXPECT_EQ(answer.fileRows, (RowRange{*FileListRowOf(browser.fileRows(), fa), 1}));
    // A name that reads like the file's own origin name points at it.
    // (c's name is still the text of b's origin name; b's own pointer is what
    // counts.)
    ASSERT_TRUE(RenameRow(browser, ListKind::CloneList, b, "temp", state.recordPool).renamed);
    ASSERT_TRUE(PasteName(browser, ListKind::CloneList, b, c).renamed);
    EXPECT_TRUE(HasOriginName(*Found("b/uno.txt")));
    EXPECT_EQ(tree.readFile("b/uno.txt"), "first");
}

TEST_F(NameCommands, PasteNameInTheOneListAndItsFailure) {
    ASSERT_TRUE(browser.FillOneList());
    auto rowOf = [&](const std::string& rel) {
        const FileRecord* f = Found(rel);
        for (size_t i = 0; i < browser.oneRows().size(); ++i)
            if (browser.oneRows()[i].file == f)
                return static_cast<int>(i);
        return -1;
    };
    tree.createFile("b/eins.txt", "in the way");
    const int b = rowOf("b/uno.txt");
    const int c = rowOf("c/eins.txt");
    const NameCommandAnswer failed = PasteName(browser, ListKind::OneList, b, c);
    EXPECT_FALSE(failed.renamed);
    EXPECT_EQ(failed.statusMessage, "Rename Error: " + tree.path("b/uno.txt") + " -> eins.txt");
    EXPECT_EQ(tree.readFile("b/eins.txt"), "in the way");
    EXPECT_EQ(tree.readFile("b/uno.txt"), "first");
    const int a = rowOf("a/one.txt");
    const NameCommandAnswer done = PasteName(browser, ListKind::OneList, a, c);
    EXPECT_TRUE(done.renamed);
    EXPECT_EQ(done.oneRows, (RowRange{size_t(a), 1}));
    EXPECT_TRUE(done.fileRows.empty());
    EXPECT_TRUE(done.cloneRows.empty());
    EXPECT_EQ(tree.readFile("a/eins.txt"), "first");
}

TEST_F(NameCommands, PasteNameGroupRenamesThatPositionInEveryGroupAndGoesOnAfterAFailure) {
    tree.createFile("a/zwei.txt", "in the way"); // the second group's rename fails
    const int row = Show("a/one.txt");
    ASSERT_EQ(browser.fileRows().size(), 2u); // one clone block of two groups
    const int a = CloneRow("a/one.txt");
    const int c = CloneRow("c/eins.txt");
    const NameCommandAnswer answer = PasteNameGroup(browser, a, c);
    EXPECT_TRUE(answer.renamed);
    ASSERT_EQ(answer.outcomes.size(), 2u);
    EXPECT_EQ(tree.readFile("a/eins.txt"), "first");
    EXPECT_EQ(tree.readFile("a/two.txt"), "second");
    EXPECT_EQ(tree.readFile("a/zwei.txt"), "in the way");
    EXPECT_EQ(answer.statusMessage, "Rename Error: " + tree.path("a/two.txt") + " -> zwei.txt");
    EXPECT_EQ(Found("a/one.txt")->name, Found("c/eins.txt")->name);
    EXPECT_EQ(answer.cloneRows, (RowRange{size_t(a), 1}));
    // The whole group block of the file list's row.
    const FileListRow& selected = browser.fileRows()[size_t(row)];
    size_t first = 0, count = 0;
    for (size_t i = 0; i < browser.fileRows().size(); ++i)
        if (browser.fileRows()[i].block == selected.block) {
            first = count == 0 ? i : first;
            ++count;
        }
    EXPECT_EQ(answer.fileRows, (RowRange{first, count}));
    EXPECT_EQ(count, 2u);
    // The copied row selected does nothing.
    EXPECT_TRUE(PasteNameGroup(browser, c, c).outcomes.empty());
}

class RunRows : public NameTest {};

TEST_F(RunRows, PasteNameGroupWithARunRowSelectedDoesNothing) {
    for (const char* n : {"1", "2", "3", "4"})
        tree.createFile(std::string("r/") + n, "run bytes");
    tree.createFile("s/5", "run bytes");
    SearchTree();
    Show("r/1");
    ASSERT_TRUE(browser.fileRows()[*browser.selectedRow()].run);
    FaultInjector calls;
    const NameCommandAnswer answer = PasteNameGroup(browser, 0, 1);
    EXPECT_TRUE(answer.outcomes.empty());
    EXPECT_FALSE(answer.renamed);
    EXPECT_EQ(calls.Calls(Op::Stat) + calls.Calls(Op::Rename), 0);
    EXPECT_TRUE(tree.exists("r/1"));
}

} // namespace
} // namespace paradrex::test
