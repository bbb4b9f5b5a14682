// paradrex-cli --save / --load / --reverify end to end: a loaded result gives
// the same output as the search it was saved from, files changed since leave
// it (and --apply never acts on them), a damaged file changes nothing.

#include "support/Process.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex::test {
namespace {

class SaveLoad : public ::testing::Test {
protected:
    SaveLoad() {
        home = tree.createDir("home");
        work = tree.createDir("work");
        saved = tree.path("work/review.pdxr");
        tree.createFile("data/keep/a.txt", "clone content", 1600000000);
        tree.createFile("data/del/a.txt", "clone content", 1600000001);
        tree.createFile("data/del/b \xe9.txt", "clone content", 1600000002);
        tree.createFile("data/keep/other", "second group");
        tree.createFile("data/del/other", "second group");
        for (int i = 0; i < 4; ++i)
            tree.createFile("data/runs/r" + std::to_string(i), "run content");
    }
    ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), CliPath());
        ProcessOptions options;
        options.workingDirectory = work;
        options.environment = {
            {"HOME", home}, {"XDG_DATA_HOME", std::nullopt}, {"XDG_STATE_HOME", std::nullopt}};
        return RunProcess(args, options);
    }
    // A search of data/ with keep/ pre-marked Preserved and del/ Deleted,
    // saved; its JSON output.
    std::string SearchAndSave() {
        ProcessResult r =
            Run({"--quiet", "--format", "json", "--preserve", tree.path("data/keep"), "--delete",
                 tree.path("data/del"), "--save", saved, "--", tree.path("data")});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(tree.exists("work/review.pdxr"));
        return r.out;
    }

    TempTree tree;
    std::string home, work, saved;
};

TEST_F(SaveLoad, LoadingGivesTheOutputOfTheSearchItWasSavedFrom) {
    const std::string searched = SearchAndSave();
    ProcessResult loaded = Run({"--quiet", "--format", "json", "--load", saved});
    EXPECT_EQ(loaded.exitCode, 0) << loaded.err;
    EXPECT_EQ(loaded.out, searched);
    EXPECT_EQ(loaded.err, "");

    // Text too, and saving a loaded result again writes the same file.
    ProcessResult text = Run({"--quiet", "--load", saved, "--save", tree.path("work/again.pdxr")});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find(tree.path("data/del/b \xe9.txt")), std::string::npos);
    EXPECT_EQ(tree.readFile("work/again.pdxr"), tree.readFile("work/review.pdxr"));
}

TEST_F(SaveLoad, ChangedFilesLeaveTheirGroupsAndApplyNeverActsOnThem) {
    SearchAndSave();
    // Changed since: one rewritten (another time), one vanished, one a link.
    tree.createFile("data/del/a.txt", "clone content", 1700000000);
    ASSERT_EQ(::unlink(tree.path("data/del/other").c_str()), 0);
    ASSERT_EQ(::unlink(tree.path("data/runs/r0").c_str()), 0);
    tree.createSymlink(tree.path("data/runs/r1"), "data/runs/r0");

    ProcessResult r = Run({"--load", saved, "--apply", "delete", "--yes"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find(tree.path("data/del/a.txt") + " left the result: modified"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(tree.path("data/del/other") + " left the result: vanished"),
              std::string::npos);
    EXPECT_NE(r.err.find(tree.path("data/runs/r0") + " left the result: no longer a regular"),
              std::string::npos);
    EXPECT_NE(r.err.find("3 files were taken out of the result"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 group was left with fewer than two files and removed"),
              std::string::npos);

    // The crossed file that is left went; the changed one and the kept copy stay.
    EXPECT_FALSE(tree.exists("data/del/b \xe9.txt"));
    EXPECT_EQ(tree.readFile("data/del/a.txt"), "clone content");
    EXPECT_EQ(tree.readFile("data/keep/a.txt"), "clone content");
    EXPECT_TRUE(tree.exists("data/keep/other"));
    EXPECT_NE(r.out.find("1 files succeed, 0 files failed"), std::string::npos) << r.out;
}

TEST_F(SaveLoad, ReverifyTakesOutAFileWhoseContentChangedUnderTheSameStamp) {
    SearchAndSave();
    // Same size, same inode, the modification time put back: only reading
    // tells it apart.
    const std::string path = tree.path("data/del/a.txt");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "X", 1, 0), 1);
    ::close(fd);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    ProcessResult plain = Run({"--quiet", "--load", saved});
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find(path), std::string::npos);

    ProcessResult again = Run({"--quiet", "--load", saved, "--reverify"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out.find(path), std::string::npos) << again.out;
    EXPECT_NE(again.out.find(tree.path("data/keep/a.txt")), std::string::npos);
    EXPECT_NE(again.err.find(path + " left the result: no longer equal to its group"),
              std::string::npos)
        << again.err;
}

TEST_F(SaveLoad, DamagedOrTruncatedFilesAreRefusedAndNothingIsDone) {
    SearchAndSave();
    const std::string whole = tree.readFile("work/review.pdxr");
    struct Case {
        const char* what;
        std::string content;
        const char* message;
    };
    const Case cases[] = {
        {"truncated", whole.substr(0, whole.size() / 2), "is incomplete"},
        {"damaged", whole.substr(0, 40) + "#" + whole.substr(41), "is damaged"},
        {"not a result", "{\"hello\":1}", "is not a Paradrex result file"},
        {"newer", "{\"format\":\"paradrex-result\",\"version\":99}", "newer Paradrex"},
    };
    for (const Case& c : cases) {
        tree.createFile("work/bad.pdxr", c.content);
        ProcessResult r = Run({"--load", tree.path("work/bad.pdxr"), "--apply", "delete", "--yes"});
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
    }
    ProcessResult missing = Run({"--load", tree.path("work/missing.pdxr")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("could not be read: No such file or directory"), std::string::npos)
        << missing.err;
    EXPECT_TRUE(tree.exists("data/del/a.txt"));
    EXPECT_TRUE(tree.exists("data/del/b \xe9.txt"));
}

TEST_F(SaveLoad, UsageErrors) {
    auto expectUsage = [&](std::vector<std::string> args, const std::string& fragment) {
        ProcessResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_NE(r.err.find(fragment), std::string::npos) << r.err;
    };
    expectUsage({"--reverify", tree.path("data")}, "--reverify needs --load");
    expectUsage({"--load", saved, tree.path("data")}, "--load takes no directories");
    expectUsage({"--load", saved, "--min-size", "1K"}, "--load takes no directories");
    expectUsage({"--save", ""}, "--save needs a file name");
    expectUsage({"--load"}, "needs a value");
}

TEST_F(SaveLoad, ASaveThatCannotBeWrittenFailsAndPrintsNothing) {
    tree.createDir("work/taken.pdxr/inside");
    for (const std::string& target :
         {tree.path("work/no such folder/r.pdxr"), tree.path("work/taken.pdxr")}) {
        ProcessResult r = Run({"--quiet", "--save", target, tree.path("data")});
        EXPECT_EQ(r.exitCode, 1) << target;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("The result could not be saved to " + target + ": "),
                  std::string::npos)
            << r.err;
    }
    EXPECT_TRUE(tree.exists("work/taken.pdxr/inside"));
}

} // namespace
} // namespace paradrex::test
