// The delete operation on real trees: the order of the walk, the emptied
// directories (chains, Yes to All, No to All, roots never offered), the stop
// request, the preview, a move across two file systems, and a run on a
// thread of its own.

#include "DeleteWorkerFixture.h"

#include "fileops/LogText.h"
#include "fileops/Preview.h"
#include "support/FaultInjector.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace paradrex::test {
namespace {

using platform::Op;

// root/
//   a/x.txt  P        b/x.txt  D      (clone pair)
//   a/deep/d1/d2/y D  b/y      P      (clone pair: a chain of three below a)
//   r/1..4   P D D D                  (run group)
class DeleteWalk : public DeleteWorkerTest {
protected:
    void SetUp() override {
        DeleteWorkerTest::SetUp();
        tree.createFile("a/x.txt", "pair one");
        tree.createFile("b/x.txt", "pair one");
        tree.createFile("a/deep/d1/d2/y", "pair two");
        tree.createFile("b/y", "pair two");
        for (const char* n : {"1", "2", "3", "4"})
            tree.createFile(std::string("r/") + n, "run bytes");
        SearchTree();
        Mark("a/x.txt", FileState::Preserved);
        Mark("b/x.txt", FileState::Deleted);
        Mark("a/deep/d1/d2/y", FileState::Deleted);
        Mark("b/y", FileState::Preserved);
        Mark("r/1", FileState::Preserved);
        for (const char* n : {"r/2", "r/3", "r/4"})
            Mark(n, FileState::Deleted);
    }
    std::vector<std::string> Rel(const std::vector<std::string>& paths) const {
        std::vector<std::string> out;
        for (const std::string& p : paths)
            out.push_back(p.substr(tree.root().size() + 1));
        return out;
    }
    std::vector<std::string> RelLines() const {
        std::vector<std::string> out;
        for (std::string line : FileLines())
            out.push_back(line.substr(tree.root().size() + 1));
        return out;
    }
};

TEST_F(DeleteWalk, FilesComeAfterEverythingBelowTheirDirectoryAndChainsAreOfferedInnermostFirst) {
    const DeleteOutcome out = Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(out.succeeded, 5u);
    EXPECT_EQ(out.failed, 0u);
    // Within the root the directories come in scan order; each one's
    // subtree before its own files.
    const std::vector<std::string> lines = RelLines();
    ASSERT_EQ(lines.size(), 5u);
    auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    // The run's files one after the other, in run order.
    const auto r2 = at("r/2......Succeed"), r3 = at("r/3......Succeed"),
               r4 = at("r/4......Succeed");
    EXPECT_EQ(std::max({r2, r3, r4}) - std::min({r2, r3, r4}), 2);
    EXPECT_NE(at("a/deep/d1/d2/y......Succeed"), 5);
    EXPECT_NE(at("b/x.txt......Succeed"), 5);
    // The innermost emptied directory is asked about first; answered No, it
    // keeps its parents from being empty. The root itself is never offered.
    EXPECT_EQ(Rel(asked), (std::vector<std::string>{"a/deep/d1/d2"}));
    EXPECT_EQ(log.substr(log.rfind("\n\n")),
              "\n\nDeleted files marked cross directly,\n5 files succeed, 0 files failed");
}

TEST_F(DeleteWalk, YesRemovesEachDirectoryOfTheChainSoItsParentIsEmptyInTime) {
    answers = {EmptyDirAnswer::Yes, EmptyDirAnswer::Yes, EmptyDirAnswer::Yes};
    Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(Rel(asked), (std::vector<std::string>{"a/deep/d1/d2", "a/deep/d1", "a/deep"}));
    EXPECT_FALSE(tree.exists("a/deep"));
    EXPECT_TRUE(tree.exists("a/x.txt"));
}

TEST_F(DeleteWalk, NoKeepsTheDirectoryAndItsParentIsThenNotEmpty) {
    answers = {EmptyDirAnswer::No};
    Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(Rel(asked), (std::vector<std::string>{"a/deep/d1/d2"}));
    EXPECT_TRUE(tree.exists("a/deep/d1/d2"));
}

TEST_F(DeleteWalk, YesToAllRemovesTheRestWithoutAsking) {
    tree.createDir("b/empty/inner"); // not in the result: never offered
    answers = {EmptyDirAnswer::YesToAll};
    Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(Rel(asked), (std::vector<std::string>{"a/deep/d1/d2"}));
    EXPECT_FALSE(tree.exists("a/deep"));
    EXPECT_TRUE(tree.exists("b/empty/inner"));
}

TEST_F(DeleteWalk, NoToAllKeepsTheRestWithoutAsking) {
    answers = {EmptyDirAnswer::NoToAll};
    Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(Rel(asked), (std::vector<std::string>{"a/deep/d1/d2"}));
    EXPECT_TRUE(tree.exists("a/deep/d1/d2"));
}

TEST_F(DeleteWalk, TheNextOperationStartsAskingAgain) {
    answers = {EmptyDirAnswer::NoToAll};
    Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(asked.size(), 1u);
    // The result was emptied by the first run: search again, with a fresh
    // emptied chain.
    tree.createFile("c/e/f/z", "pair three");
    tree.createFile("k/z", "pair three");
    state.ClearAll();
    SearchTree();
    Mark("c/e/f/z", FileState::Deleted);
    Mark("k/z", FileState::Preserved);
    asked.clear();
    answers = {EmptyDirAnswer::Yes, EmptyDirAnswer::No};
    Run(DeleteMethod::DeleteDirectly);
    // The directories kept by the first run are asked about again too.
    EXPECT_EQ(asked.front(), tree.path("c/e/f"));
    EXPECT_FALSE(tree.exists("c/e/f"));
    EXPECT_TRUE(tree.exists("c/e"));
}

TEST_F(DeleteWalk, AMoveOffersTheSourceDirectoriesItEmptied) {
    answers = {EmptyDirAnswer::YesToAll};
    const DeleteOutcome out = Run(DeleteMethod::Move, {}, tree.path("old"));
    EXPECT_EQ(out.succeeded, 5u);
    EXPECT_FALSE(tree.exists("a/deep"));
    EXPECT_EQ(tree.readFile("old" + tree.root() + "/a/deep/d1/d2/y"), "pair two");
    EXPECT_EQ(tree.readFile("old" + tree.root() + "/r/4"), "run bytes");
}

TEST_F(DeleteWalk, AnEmptyRootIsNeverOffered) {
    TempTree other;
    other.createFile("only/one", "lonely pair");
    other.createFile("second/one", "lonely pair");
    state.ClearAll();
    state.job.roots = {};
    state.job.roots.Add(other.path("only"));
    state.job.roots.Add(other.path("second"));
    SearchTree();
    for (const DuplicateGroup& g : ResultGroups(state))
        for (FileRecord* f : g)
            f->state =
                FilePath(*f) == other.path("only/one") ? FileState::Deleted : FileState::Preserved;
    answers = {EmptyDirAnswer::YesToAll};
    const DeleteOutcome out = Run(DeleteMethod::DeleteDirectly);
    EXPECT_EQ(out.succeeded, 1u);
    EXPECT_TRUE(asked.empty());
    EXPECT_FALSE(other.exists("only/one"));
    EXPECT_TRUE(other.exists("only")); // the root stays, empty
}

TEST_F(DeleteWalk, StopBeforeTheFirstFileTouchesNothingAndLogsNothing) {
    stop = true;
    const DeleteOutcome out = Run(DeleteMethod::DeleteDirectly);
    EXPECT_TRUE(out.stopped);
    EXPECT_EQ(out.succeeded + out.failed, 0u);
    EXPECT_EQ(log, "");
    EXPECT_TRUE(tree.exists("b/x.txt"));
    EXPECT_EQ(Groups().size(), 3u); // not pruned
}

TEST_F(DeleteWalk, StopAfterTwoFilesLeavesThoseDoneAndTheRestUntouchedWithoutSummary) {
    onFile = [&](const FileOutcome&) {
        if (outcomes.size() == 2)
            stop = true;
    };
    const DeleteOutcome out = Run(DeleteMethod::DeleteDirectly);
    EXPECT_TRUE(out.stopped);
    EXPECT_EQ(out.succeeded, 2u);
    ASSERT_EQ(FileLines().size(), 2u);
    EXPECT_EQ(log.find("files succeed"), std::string::npos);
    EXPECT_EQ(log.back(), '\n'); // ends with its last file line
    int remaining = 0;
    for (const char* f : {"b/x.txt", "a/deep/d1/d2/y", "r/2", "r/3", "r/4"})
        remaining += tree.exists(f);
    EXPECT_EQ(remaining, 3);
    EXPECT_EQ(Groups().size(), 3u); // the caller discards the result
}

TEST_F(DeleteWalk, PreviewListsEveryCrossedFileInWalkOrderWithItsTotal) {
    // A group with an undecided file is listed too: the preview applies no rule.
    Mark("a/x.txt", FileState::Unsettled);
    const PreviewLog preview = BuildPreview(state.resultRoot.get(), {DeleteMethod::Trash, {}});
    EXPECT_EQ(preview.count, 5u);
    EXPECT_EQ(preview.text.substr(preview.text.rfind("\n\n")),
              "\n\nTotal 5 files you had marked cross will be deleted to Recycle Bin");
    // The same files in the same order as the operation's lines.
    std::string previewFiles = preview.text.substr(0, preview.text.rfind("\n\n") + 1);
    Mark("a/x.txt", FileState::Preserved);
    Run(DeleteMethod::DeleteDirectly, {.includeAllMarked = false, .includeNameMismatch = true});
    std::string done;
    for (const std::string& line : FileLines())
        done += line.substr(0, line.size() - std::string("......Succeed").size()) + "\n";
    EXPECT_EQ(previewFiles, done);
    EXPECT_EQ(BuildPreview(nullptr, {DeleteMethod::Move, "/old"}).text,
              "\nTotal 0 files you had marked cross will be moved to /old");
}

TEST_F(DeleteWalk, RunsOnAThreadOfItsOwnAskingTheQuestionThroughABlockingCall) {
    // The way the desktop runs it: the worker on a std::thread, the question
    // answered by the "UI" thread while the worker waits.
    std::mutex m;
    std::condition_variable cv;
    std::optional<std::string> question;
    std::optional<EmptyDirAnswer> reply;
    std::string text;
    OperationCallbacks cb;
    cb.append = [&](std::string_view t) {
        std::lock_guard lock(m);
        text += t;
    };
    cb.askEmptyDirectory = [&](const std::string& path) {
        std::unique_lock lock(m);
        question = path;
        cv.notify_all();
        cv.wait(lock, [&] { return reply.has_value(); });
        EmptyDirAnswer a = *reply;
        reply.reset();
        return a;
    };
    cb.stop = &stop;
    DeleteOutcome out;
    std::thread worker([&] {
        out = RunDeleteOperation(state, {DeleteMethod::DeleteDirectly, {}}, {}, cb);
    });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return question.has_value(); });
        EXPECT_EQ(*question, tree.path("a/deep/d1/d2"));
        reply = EmptyDirAnswer::YesToAll;
        cv.notify_all();
    }
    worker.join();
    EXPECT_EQ(out.succeeded, 5u);
    EXPECT_FALSE(tree.exists("a/deep"));
    EXPECT_NE(text.find("5 files succeed, 0 files failed"), std::string::npos);
    EXPECT_EQ(state.resultRoot, nullptr); // every group took part
}

// A real second file system where the machine has one: /dev/shm (tmpfs).
TEST_F(DeleteWorkerTest, AMoveAcrossFileSystemsCopiesVerifiesThenRemoves) {
    struct stat shm {
    }, tmp{};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(tree.root().c_str(), &tmp) != 0 ||
        shm.st_dev == tmp.st_dev || ::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no second file system at /dev/shm";
    char dirTemplate[] = "/dev/shm/paradrex-move-XXXXXX";
    ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
    const std::string moveDir = dirTemplate;
    const std::string bytes = PatternBytes(700 * 1024, 3);
    tree.createFile("keep/big", bytes);
    tree.createFile("del/big", bytes, 1600000000);
    tree.createFile("keep/taken", "taken");
    tree.createFile("del/taken", "taken");
    SearchTree();
    Mark("keep/big", FileState::Preserved);
    Mark("del/big", FileState::Deleted);
    Mark("keep/taken", FileState::Preserved);
    Mark("del/taken", FileState::Deleted);
    tree.chmod("del/big", 0440); // after the search, which skips read-only files
    // Already at the target: never replaced.
    std::filesystem::create_directories(moveDir + tree.root() + "/del");
    const std::string takenTarget = moveDir + tree.path("del/taken");
    FILE* f = std::fopen(takenTarget.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("older", f);
    std::fclose(f);

    const DeleteOutcome out = Run(DeleteMethod::Move, {}, moveDir);
    EXPECT_EQ(out.succeeded, 1u);
    EXPECT_EQ(out.failed, 1u);
    EXPECT_FALSE(tree.exists("del/big"));
    const std::string moved = moveDir + tree.path("del/big");
    struct stat st {};
    ASSERT_EQ(::stat(moved.c_str(), &st), 0);
    EXPECT_EQ(static_cast<uint64_t>(st.st_size), bytes.size());
    EXPECT_EQ(st.st_mode & 07777, 0440u); // permissions and time kept
    EXPECT_EQ(st.st_mtim.tv_sec, 1600000000);
    EXPECT_EQ(tree.readFile("del/taken"), "taken");
    std::error_code ec;
    std::filesystem::remove_all(moveDir, ec);
}

} // namespace
} // namespace paradrex::test
