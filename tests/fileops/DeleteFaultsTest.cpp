// Every way one file of the delete operation can fail, for each method, on
// a real tree with failures injected through the platform seam. After each:
// no file is lost, the counts and log lines are right, and the result is
// pruned exactly by the rule (the group took part; the undecided one stays).

#include "DeleteWorkerFixture.h"

#include "fileops/LogText.h"
#include "support/FaultInjector.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace paradrex::test {
namespace {

using platform::Op;

constexpr uint64_t kSize = 600 * 1024; // more than one copy chunk

struct FaultCase {
    const char* name;
    DeleteMethod method;
    // Runs after the search, before the operation.
    std::function<void(TempTree&, FaultInjector&, const std::string& target)> arrange;
    FileFailure failure; // None: the file is done
    int error = 0;       // the errno of a System failure
    // What the crossed file's place holds afterwards when it failed: its
    // bytes, or nothing when the arrangement removed it.
    bool sourceRemains = true;
    bool keptRemains = true; // false when the arrangement removed the kept copy
};

std::string TrashedCopy() {
    const std::string dir = std::string(std::getenv("HOME")) + "/.local/share/Trash/files";
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        return e.path().string();
    return {};
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class DeleteFaults : public DeleteWorkerTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DeleteFaults, NothingIsLostAndTheLogAndResultAreRight) {
    const FaultCase& c = GetParam();
    const std::string bytes = PatternBytes(kSize, 7);
    tree.createFile("keep/f.txt", bytes);
    tree.createFile("del/f.txt", bytes);
    tree.createFile("u1/g", "undecided");
    tree.createFile("u2/g", "undecided");
    SearchTree();
    Mark("keep/f.txt", FileState::Preserved);
    Mark("del/f.txt", FileState::Deleted);

    const std::string source = tree.path("del/f.txt");
    const std::string moveDir = tree.path("moved");
    const std::string target = moveDir + source;
    FaultInjector faults;
    if (c.arrange)
        c.arrange(tree, faults, target);
    const DeleteOutcome out = Run(c.method, {}, c.method == DeleteMethod::Move ? moveDir : "");

    const bool done = c.failure == FileFailure::None;
    EXPECT_EQ(out.succeeded, done ? 1u : 0u);
    EXPECT_EQ(out.failed, done ? 0u : 1u);
    EXPECT_FALSE(out.stopped);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].failure, c.failure);
    if (c.error != 0) {
        ASSERT_TRUE(outcomes[0].error.has_value());
        EXPECT_EQ(outcomes[0].error->code, c.error) << outcomes[0].error->Message();
    }
    EXPECT_EQ(log, source + (done ? "......Succeed\n" : "......Failed\n") +
                       DeleteLogSummary(settings, out.succeeded, out.failed));

    // Nothing lost: the kept copy is there; the crossed file is where it was,
    // or, when done, in the trash, at the target, or deliberately gone.
    EXPECT_EQ(tree.exists("keep/f.txt"), c.keptRemains);
    if (c.keptRemains) {
        EXPECT_EQ(tree.readFile("keep/f.txt").size(), kSize);
    }
    // Emptied folders are offered for removal (and kept: the answer is No).
    std::set<std::string> empties;
    if (!tree.exists("del/f.txt"))
        empties.insert(tree.path("del"));
    if (!c.keptRemains)
        empties.insert(tree.path("keep"));
    EXPECT_EQ(std::set<std::string>(asked.begin(), asked.end()), empties);
    EXPECT_EQ(asked.size(), empties.size());
    if (!done) {
        EXPECT_EQ(tree.exists("del/f.txt"), c.sourceRemains);
        if (c.sourceRemains) {
            EXPECT_EQ(tree.readFile("del/f.txt"),
                      c.failure == FileFailure::Changed ? PatternBytes(kSize, 8) : bytes);
        }
        if (c.method == DeleteMethod::Move && c.error != EEXIST) {
            EXPECT_FALSE(tree.exists(target.substr(tree.root().size() + 1)));
        }
    } else {
        EXPECT_FALSE(tree.exists("del/f.txt"));
        if (c.method == DeleteMethod::Trash) {
            const std::string trashed = TrashedCopy();
            ASSERT_FALSE(trashed.empty());
            struct stat st {};
            ASSERT_EQ(::stat(trashed.c_str(), &st), 0);
            EXPECT_EQ(static_cast<uint64_t>(st.st_size), kSize);
        } else if (c.method == DeleteMethod::Move) {
            EXPECT_EQ(tree.readFile(target.substr(tree.root().size() + 1)), bytes);
        }
    }
    // No copy left half-made anywhere.
    for (const auto& e : std::filesystem::recursive_directory_iterator(tree.root()))
        EXPECT_EQ(e.path().filename().string().rfind(".paradrex-move-", 0), std::string::npos)
            << e.path();

    // The group took part, whatever became of its file; the undecided one stays.
    EXPECT_EQ(GroupsLeft(), (std::set<Group>{{"u1/g", "u2/g"}}));
}

auto Inject(Op op, int error, int times = 1) {
    return [=](TempTree&, FaultInjector& f, const std::string&) {
        f.Fail({.op = op, .error = error, .times = times, .path = "*/del/f.txt"});
    };
}

// The read-only bit cleared for one more try, for trash and delete.
auto ReadOnlyRefusedOnce(Op op) {
    return [=](TempTree& t, FaultInjector& f, const std::string&) {
        t.chmod("del/f.txt", 0444);
        f.Fail({.op = op, .error = EACCES, .path = "*/del/f.txt"});
    };
}
auto ReadOnlyRefusedTwice(Op op) {
    return [=](TempTree& t, FaultInjector& f, const std::string&) {
        t.chmod("del/f.txt", 0444);
        f.Fail({.op = op, .error = EACCES, .times = 2, .path = "*/del/f.txt"});
    };
}

void Vanish(TempTree& t, FaultInjector&, const std::string&) {
    t.remove("del/f.txt");
}

// Same size, other bytes and time: not the file the search compared.
void Change(TempTree& t, FaultInjector&, const std::string&) {
    t.createFile("del/f.txt", PatternBytes(kSize, 8), 1500000000);
}

void ChangeKeptCopy(TempTree& t, FaultInjector&, const std::string&) {
    t.createFile("keep/f.txt", PatternBytes(kSize, 9), 1500000000);
}

void LoseKeptCopy(TempTree& t, FaultInjector&, const std::string&) {
    t.remove("keep/f.txt");
}

void TargetExists(TempTree& t, FaultInjector&, const std::string& target) {
    t.createFile(target.substr(t.root().size() + 1), "older");
}

// Another file system: the rename says EXDEV, so the file is copied.
auto AcrossDevices(int copyError, int nthWrite) {
    return [=](TempTree&, FaultInjector& f, const std::string&) {
        f.Fail({.op = Op::Rename, .error = EXDEV, .path = "*/del/f.txt"});
        f.Fail(
            {.op = Op::Write, .error = copyError, .nth = nthWrite, .path = "*/.paradrex-move-*"});
    };
}

const FaultCase kCases[] = {
    {"TrashDone", DeleteMethod::Trash, {}, FileFailure::None},
    {"DeleteDone", DeleteMethod::DeleteDirectly, {}, FileFailure::None},
    {"MoveDone", DeleteMethod::Move, {}, FileFailure::None},
    {"TrashEacces", DeleteMethod::Trash, Inject(Op::Trash, EACCES), FileFailure::System, EACCES},
    {"DeleteEacces", DeleteMethod::DeleteDirectly, Inject(Op::Unlink, EACCES), FileFailure::System,
     EACCES},
    {"MoveEacces", DeleteMethod::Move, Inject(Op::Rename, EACCES), FileFailure::System, EACCES},
    {"TrashErofs", DeleteMethod::Trash, Inject(Op::Trash, EROFS), FileFailure::System, EROFS},
    {"DeleteErofs", DeleteMethod::DeleteDirectly, Inject(Op::Unlink, EROFS), FileFailure::System,
     EROFS},
    {"MoveErofs", DeleteMethod::Move, Inject(Op::Rename, EROFS), FileFailure::System, EROFS},
    {"TrashVanished", DeleteMethod::Trash, Vanish, FileFailure::System, ENOENT, false},
    {"DeleteVanished", DeleteMethod::DeleteDirectly, Vanish, FileFailure::System, ENOENT, false},
    {"MoveVanished", DeleteMethod::Move, Vanish, FileFailure::System, ENOENT, false},
    {"TrashChanged", DeleteMethod::Trash, Change, FileFailure::Changed},
    {"DeleteChanged", DeleteMethod::DeleteDirectly, Change, FileFailure::Changed},
    {"MoveChanged", DeleteMethod::Move, Change, FileFailure::Changed},
    {"TrashKeptCopyChanged", DeleteMethod::Trash, ChangeKeptCopy, FileFailure::NoKeptCopy},
    {"DeleteKeptCopyChanged", DeleteMethod::DeleteDirectly, ChangeKeptCopy,
     FileFailure::NoKeptCopy},
    {"MoveKeptCopyGone", DeleteMethod::Move, LoseKeptCopy, FileFailure::NoKeptCopy, 0, true, false},
    {"TrashReadOnlyRetried", DeleteMethod::Trash, ReadOnlyRefusedOnce(Op::Trash),
     FileFailure::None},
    {"DeleteReadOnlyRetried", DeleteMethod::DeleteDirectly, ReadOnlyRefusedOnce(Op::Unlink),
     FileFailure::None},
    {"TrashReadOnlyRefused", DeleteMethod::Trash, ReadOnlyRefusedTwice(Op::Trash),
     FileFailure::System, EACCES},
    {"DeleteReadOnlyRefused", DeleteMethod::DeleteDirectly, ReadOnlyRefusedTwice(Op::Unlink),
     FileFailure::System, EACCES},
    {"MoveTargetExists", DeleteMethod::Move, TargetExists, FileFailure::System, EEXIST},
    {"MoveAcrossDevicesCopyFails", DeleteMethod::Move, AcrossDevices(EIO, 1), FileFailure::System,
     EIO},
    {"MoveAcrossDevicesDiskFullMidway", DeleteMethod::Move, AcrossDevices(ENOSPC, 2),
     FileFailure::System, ENOSPC},
    {"MoveAcrossDevicesDone", DeleteMethod::Move, AcrossDevices(0, 1000), FileFailure::None},
};

INSTANTIATE_TEST_SUITE_P(EveryMethod, DeleteFaults, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeleteWorkerTest, AFileThatStaysAfterTheReadOnlyRetryKeepsItsMode) {
    tree.createFile("keep/f", "same");
    tree.createFile("del/f", "same");
    SearchTree();
    Mark("keep/f", FileState::Preserved);
    Mark("del/f", FileState::Deleted);
    tree.chmod("del/f", 0444);
    FaultInjector faults;
    faults.Fail({.op = Op::Unlink, .error = EPERM, .times = 2, .path = "*/del/f"});
    const DeleteOutcome out = Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(out.failed, 1u);
    EXPECT_EQ(faults.Calls(Op::Unlink), 2);
    EXPECT_EQ(ModeOf(tree.path("del/f")), 0444u);
}

TEST_F(DeleteWorkerTest, AReadOnlyFileIsDeletedAtTheFirstTryWhereItsFolderAllowsIt) {
    tree.createFile("keep/f", "same");
    tree.createFile("del/f", "same");
    SearchTree();
    Mark("keep/f", FileState::Preserved);
    Mark("del/f", FileState::Deleted);
    tree.chmod("del/f", 0444);
    FaultInjector faults;
    const DeleteOutcome out = Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(out.succeeded, 1u);
    EXPECT_EQ(faults.Calls(Op::Unlink), 1);
    EXPECT_EQ(faults.Calls(Op::Chmod), 0);
    EXPECT_FALSE(tree.exists("del/f"));
}

TEST_F(DeleteWorkerTest, AFileThatCannotBeTrashedIsNeverDeletedInstead) {
    tree.createFile("keep/f", "same");
    tree.createFile("del/f", "same");
    SearchTree();
    Mark("keep/f", FileState::Preserved);
    Mark("del/f", FileState::Deleted);
    platform::SetTrashImplementation(nullptr); // no trash at all: ENOTSUP
    FaultInjector faults;
    const DeleteOutcome out = Run(DeleteMethod::Trash);
    EXPECT_EQ(out.failed, 1u);
    EXPECT_EQ(faults.Calls(Op::Unlink), 0);
    EXPECT_EQ(tree.readFile("del/f"), "same");
}

} // namespace
} // namespace paradrex::test
