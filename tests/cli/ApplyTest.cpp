// paradrex-cli --apply end to end: the preview without --yes, the log on
// standard output exactly as the desktop writes it, odd names, the three
// methods, the options, the exit status and the lasting record.

#include "support/Process.h"
#include "support/TempTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace paradrex::test {
namespace {

using namespace std::chrono_literals;

// Names that a shell or an option parser would take for something else.
const char* const kOddNames[] = {"with space.txt", "caf\xe9 latin1.txt", "-leading dash",
                                 "$(touch pwned)", "--apply"};

class Apply : public ::testing::Test {
protected:
    Apply() {
        home = tree.createDir("home");
        work = tree.createDir("work");
        // The kept copies in keep/, the crossed ones in del/ (below a
        // subfolder, to see emptied folders).
        for (const char* name : kOddNames) {
            tree.createFile(std::string("data/keep/") + name, std::string("bytes of ") + name);
            tree.createFile(std::string("data/del/sub/") + name, std::string("bytes of ") + name);
        }
    }
    ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {CliPath(), "--quiet", "--preserve", tree.path("data/keep"),
                                   "--delete", tree.path("data/del")});
        args.push_back("--");
        args.push_back(tree.path("data"));
        ProcessOptions options;
        options.workingDirectory = work;
        options.environment = {
            {"HOME", home}, {"XDG_DATA_HOME", std::nullopt}, {"XDG_STATE_HOME", std::nullopt}};
        options.whileRunning = whileRunning;
        return RunProcess(args, options);
    }
    // The crossed files' lines, sorted (the walk's order within a directory
    // is the order the system listed it in).
    std::set<std::string> Lines(const std::string& suffix) const {
        std::set<std::string> lines;
        for (const char* name : kOddNames)
            lines.insert(tree.path("data/del/sub/") + name + suffix);
        return lines;
    }
    static std::set<std::string> FileLinesOf(const std::string& out) {
        std::set<std::string> lines;
        size_t start = 0;
        for (size_t nl; (nl = out.find('\n', start)) != std::string::npos && nl > start;
             start = nl + 1)
            lines.insert(out.substr(start, nl - start));
        return lines;
    }
    std::string Tail(const std::string& out) const { return out.substr(out.find("\n\n")); }
    std::string Record() const {
        const std::string rel = "home/.local/state/Paradrex/operations.log";
        return tree.exists(rel) ? tree.readFile(rel) : std::string();
    }
    void ExpectKeptCopiesUntouched() {
        for (const char* name : kOddNames)
            EXPECT_EQ(tree.readFile(std::string("data/keep/") + name),
                      std::string("bytes of ") + name);
    }

    TempTree tree;
    std::string home, work;
    std::function<void(int)> whileRunning;
};

TEST_F(Apply, WithoutYesOnlyThePreviewIsPrintedAndNothingChanges) {
    for (const char* method : {"trash", "delete", "move=/nowhere"}) {
        ProcessResult r = Run({"--apply", method});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(FileLinesOf(r.out), Lines(""));
        const std::string how = std::string(method) == "trash"    ? "deleted to Recycle Bin"
                                : std::string(method) == "delete" ? "deleted directly"
                                                                  : "moved to /nowhere";
        EXPECT_EQ(Tail(r.out), "\n\nTotal 5 files you had marked cross will be " + how + "\n");
    }
    for (const char* name : kOddNames)
        EXPECT_TRUE(tree.exists(std::string("data/del/sub/") + name));
    EXPECT_FALSE(tree.exists("pwned"));
    EXPECT_FALSE(tree.exists("work/pwned"));
    EXPECT_EQ(Record(), "");
}

TEST_F(Apply, DeleteLogsEachFileAndTheSummaryAndKeepsTheRecord) {
    ProcessResult r = Run({"--apply", "delete", "--yes"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FileLinesOf(r.out), Lines("......Succeed"));
    EXPECT_EQ(Tail(r.out), "\n\nDeleted files marked cross directly,\n5 files succeed, 0 files "
                           "failed\n");
    for (const char* name : kOddNames)
        EXPECT_FALSE(tree.exists(std::string("data/del/sub/") + name));
    ExpectKeptCopiesUntouched();
    EXPECT_TRUE(tree.exists("data/del/sub")); // emptied folders stay by default
    EXPECT_FALSE(tree.exists("work/pwned"));
    // The record: a dated header, then the same lines.
    const std::string record = Record();
    ASSERT_EQ(record.rfind("[", 0), 0u) << record;
    EXPECT_THAT(record.substr(0, record.find('\n')), ::testing::EndsWith("] Deleting Files"));
    EXPECT_EQ(record.substr(record.find('\n') + 1), r.out);
}

TEST_F(Apply, TrashGoesToTheTrashOfAFreshHome) {
    ProcessResult r = Run({"--apply", "trash", "--yes", "--remove-empty-dirs"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FileLinesOf(r.out), Lines("......Succeed"));
    EXPECT_THAT(r.out, ::testing::EndsWith("Deleted files marked cross to Recycle Bin,\n5 files "
                                           "succeed, 0 files failed\n"));
    std::set<std::string> trashed;
    for (const auto& e : std::filesystem::directory_iterator(home + "/.local/share/Trash/files"))
        trashed.insert(e.path().filename().string());
    // Every odd name, the one that is not UTF-8 too, with its bytes as they were.
    EXPECT_EQ(trashed, (std::set<std::string>(std::begin(kOddNames), std::end(kOddNames))));
    EXPECT_FALSE(tree.exists("data/del"));        // emptied, so removed
    EXPECT_TRUE(tree.exists("data"));             // the searched folder stays
    EXPECT_TRUE(std::filesystem::is_empty(work)); // nothing in the working directory
    ExpectKeptCopiesUntouched();
}

TEST_F(Apply, RemoveEmptyDirsRemovesTheEmptiedFoldersButNeverTheRoot) {
    ProcessResult r = Run({"--apply", "delete", "--yes", "--remove-empty-dirs"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(tree.exists("data/del"));
    EXPECT_TRUE(tree.exists("data/keep"));
    tree.remove("data/keep");
    tree.createFile("data/only1", "x");
    tree.createFile("data/only2", "x");
    ProcessResult again = Run({"--apply", "delete", "--yes", "--remove-empty-dirs",
                               "--include-all-marked", "--delete", tree.path("data")});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_TRUE(tree.exists("data")); // a root is never removed
}

TEST_F(Apply, MoveKeepsTheWholePathAndNeverReplacesAFileAtTheTarget) {
    const std::string old = tree.path("old");
    const std::string taken = "old" + tree.path("data/del/sub/with space.txt");
    tree.createFile(taken, "already there");
    ProcessResult r = Run({"--apply=move=" + old, "--yes"});
    EXPECT_EQ(r.exitCode, 1) << r.err; // one failed
    std::set<std::string> expected = Lines("......Succeed");
    expected.erase(tree.path("data/del/sub/with space.txt......Succeed"));
    expected.insert(tree.path("data/del/sub/with space.txt......Failed"));
    EXPECT_EQ(FileLinesOf(r.out), expected);
    EXPECT_EQ(Tail(r.out),
              "\n\nMoved files marked cross to " + old + ",\n4 files succeed, 1 files failed\n");
    EXPECT_EQ(tree.readFile(taken), "already there");
    EXPECT_EQ(tree.readFile("data/del/sub/with space.txt"), "bytes of with space.txt");
    for (const char* name : kOddNames) {
        if (std::string(name) == "with space.txt")
            continue;
        EXPECT_EQ(tree.readFile("old" + tree.path("data/del/sub/") + name),
                  std::string("bytes of ") + name);
    }
    ExpectKeptCopiesUntouched();
}

TEST_F(Apply, GroupsWhoseEveryFileIsCrossedOnlyWithIncludeAllMarked) {
    tree.createFile("data/del/both1", "all crossed");
    tree.createFile("data/del/both2", "all crossed");
    ProcessResult r = Run({"--apply", "delete", "--yes"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.find("both"), std::string::npos);
    EXPECT_TRUE(tree.exists("data/del/both1"));
    EXPECT_TRUE(tree.exists("data/del/both2"));
    r = Run({"--apply", "delete", "--yes", "--include-all-marked"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(r.out, ::testing::EndsWith("\n2 files succeed, 0 files failed\n"));
    EXPECT_FALSE(tree.exists("data/del/both1"));
    EXPECT_FALSE(tree.exists("data/del/both2"));
}

TEST_F(Apply, UsageErrors) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--apply", "shred"}, "invalid value for --apply: 'shred'"},
        {{"--apply", "move="}, "expected trash, delete or move=DIR"},
        {{"--yes"}, "option --yes needs --apply"},
        {{"--remove-empty-dirs"}, "option --remove-empty-dirs needs --apply"},
        {{"--include-all-marked"}, "option --include-all-marked needs --apply"},
    };
    for (const Case& c : cases) {
        ProcessResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_THAT(r.err, ::testing::HasSubstr(c.message));
        EXPECT_TRUE(r.out.empty());
    }
    for (const char* name : kOddNames)
        EXPECT_TRUE(tree.exists(std::string("data/del/sub/") + name));
}

TEST_F(Apply, AnInterruptionKeepsWhatWasDoneAndTheLogSaysWhich) {
    // Enough files that the operation is still running when it is told to stop.
    constexpr int kDirs = 100, kFiles = 100;
    for (int d = 0; d < kDirs; ++d)
        for (int f = 0; f < kFiles; ++f) {
            const std::string name = "/d" + std::to_string(d) + "/f" + std::to_string(f);
            const std::string bytes = "content" + std::to_string(d * kFiles + f);
            tree.createFile("data/keep" + name, bytes);
            tree.createFile("data/del" + name, bytes);
        }
    whileRunning = [&](int pid) {
        // Once the first file of any directory is gone, interrupt.
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (std::chrono::steady_clock::now() < deadline) {
            for (int d = 0; d < kDirs; ++d)
                if (::access(tree.path("data/del/d" + std::to_string(d) + "/f0").c_str(), F_OK) !=
                    0) {
                    ::kill(pid, SIGINT);
                    return;
                }
            std::this_thread::sleep_for(1ms);
        }
    };
    ProcessResult r = Run({"--apply", "delete", "--yes"});
    ASSERT_EQ(r.exitCode, 130) << r.err;
    EXPECT_THAT(r.err, ::testing::HasSubstr("interrupted"));
    EXPECT_EQ(r.out.find("files succeed"), std::string::npos); // no summary
    // Exactly the files logged are gone; every other one is where it was.
    const std::set<std::string> lines = FileLinesOf(r.out);
    EXPECT_GT(lines.size(), 0u);
    EXPECT_LT(lines.size(), static_cast<size_t>(kDirs * kFiles));
    size_t gone = 0;
    for (int d = 0; d < kDirs; ++d)
        for (int f = 0; f < kFiles; ++f) {
            const std::string path =
                tree.path("data/del/d" + std::to_string(d) + "/f" + std::to_string(f));
            const bool logged = lines.count(path + "......Succeed") == 1;
            EXPECT_EQ(::access(path.c_str(), F_OK) != 0, logged) << path;
            gone += logged;
        }
    EXPECT_EQ(gone, lines.size());
    const std::string record = Record();
    EXPECT_THAT(record.substr(0, record.find('\n')),
                ::testing::EndsWith("Deleting Files, stopped"));
}

} // namespace
} // namespace paradrex::test
