// Checking a result against the disk: every kind of change takes the file out
// with its reason, groups shrink or leave, marks that kept no copy go back,
// and a re-verify finds what only the contents tell.

#include "fileops/ResultCheck.h"

#include "engine/PathSet.h"
#include "engine/ResultGroups.h"
#include "support/EngineFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {
namespace {

class ResultCheckTest : public test::EngineTest {
protected:
    FileRecord* File(std::string_view rel) {
        for (const DuplicateGroup& g : ResultGroups(state))
            for (FileRecord* f : g)
                if (Rel(f) == rel)
                    return f;
        ADD_FAILURE() << rel;
        return nullptr;
    }
    // Writes `bytes` over the start of the file and puts its modification
    // time back: the same file to anything but reading it.
    void OverwriteKeepingStamp(std::string_view rel, std::string_view bytes) {
        const std::string path = tree.path(rel);
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        const int fd = ::open(path.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
};

TEST_F(ResultCheckTest, EveryChangeTakesTheFileOutWithItsReason) {
    struct Case {
        const char* what;
        std::function<void(test::TempTree&, const std::string& k)> change;
        DropReason reason;
        const char* line;
    };
    const Case cases[] = {
        {"vanished",
         [](test::TempTree& t, const std::string& k) { ::unlink(t.path(k + "c/x").c_str()); },
         DropReason::Vanished, "vanished"},
        {"modified",
         [](test::TempTree& t, const std::string& k) {
             t.createFile(k + "c/x", "same bytes", 1700000000);
         },
         DropReason::Modified, "modified"},
        {"grown",
         [](test::TempTree& t, const std::string& k) {
             t.createFile(k + "c/x", "same bytes and more", 1600000000);
         },
         DropReason::Modified, "modified"},
        {"replaced",
         [](test::TempTree& t, const std::string& k) {
             // Made before the old one goes, so it cannot take its inode.
             t.createFile(k + "c/new", "same bytes", 1600000000);
             std::rename(t.path(k + "c/new").c_str(), t.path(k + "c/x").c_str());
         },
         DropReason::Replaced, "replaced by another file"},
        {"symbolic link",
         [](test::TempTree& t, const std::string& k) {
             ::unlink(t.path(k + "c/x").c_str());
             t.createSymlink(t.path(k + "a/x"), k + "c/x");
         },
         DropReason::NotRegular, "no longer a regular file"},
        {"directory",
         [](test::TempTree& t, const std::string& k) {
             ::unlink(t.path(k + "c/x").c_str());
             t.createDir(k + "c/x");
         },
         DropReason::NotRegular, "no longer a regular file"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Each case searches a folder of its own.
        const std::string k = "k" + std::to_string(n++) + "/";
        state.ClearAll();
        state.job.roots = PathSet();
        state.job.roots.Add(tree.path(k.substr(0, k.size() - 1)));
        for (const char* dir : {"a", "b", "c"})
            tree.createFile(k + dir + "/x", "same bytes", 1600000000);
        tree.createFile(k + "a/pair", "pair", 1600000000);
        tree.createFile(k + "c/pair", "pair", 1600000000);
        ASSERT_EQ(Search(), 0);
        ASSERT_EQ(SortedGroups().size(), 2u);

        c.change(tree, k);
        ::unlink(tree.path(k + "c/pair").c_str());
        const DropReport report = CheckAgainstDisk(state);

        ASSERT_EQ(report.files.size(), 2u);
        EXPECT_EQ(report.Count(c.reason), c.reason == DropReason::Vanished ? 2u : 1u);
        EXPECT_EQ(report.groupsRemoved, 1u);  // the pair
        EXPECT_EQ(report.groupsReshaped, 1u); // the three copies keep two
        EXPECT_EQ(SortedGroups(), (std::vector<test::Group>{{k + "a/x", k + "b/x"}}));
        ASSERT_NE(state.resultRoot, nullptr);
        EXPECT_EQ(FindResultDir(state.resultRoot.get(), tree.path(k + "c")), nullptr);
        bool logged = false;
        for (const _Error_record& r : report.ErrorRecords())
            logged |= r.message() == tree.path(k + "c/x") + " left the result: " + c.line;
        EXPECT_TRUE(logged);
        EXPECT_NE(report.Summary().find("2 files were taken out of the result"), std::string::npos)
            << report.Summary();
    }
}

TEST_F(ResultCheckTest, AnUnchangedResultStaysAsItIs) {
    tree.createFile("a/x", "same");
    tree.createFile("b/x", "same");
    for (int i = 0; i < 4; ++i)
        tree.createFile("run/" + std::to_string(i), "run");
    ASSERT_EQ(Search(), 0);
    const std::vector<test::Group> before = Groups();
    const ResultDir* root = state.resultRoot.get();
    const DropReport report = CheckAgainstDisk(state);
    EXPECT_TRUE(report.empty());
    EXPECT_EQ(report.Summary(), "");
    EXPECT_EQ(Groups(), before);
    EXPECT_EQ(state.resultRoot.get(), root); // not built again
}

TEST_F(ResultCheckTest, CrossedFilesWhoseKeptCopyWentGoBackToUnsettled) {
    for (const char* dir : {"keep", "d1", "d2"})
        tree.createFile(std::string(dir) + "/x", "same");
    for (const char* dir : {"keep", "d1", "d2"})
        tree.createFile(std::string(dir) + "/y", "other");
    ASSERT_EQ(Search(), 0);
    File("keep/x")->state = FileState::Preserved;
    File("d1/x")->state = FileState::Deleted;
    File("d2/x")->state = FileState::Deleted;
    File("keep/y")->state = FileState::Preserved;
    File("d1/y")->state = FileState::Deleted;
    File("d2/y")->state = FileState::Unsettled;
    ::unlink(tree.path("keep/x").c_str());
    ::unlink(tree.path("keep/y").c_str());

    const DropReport report = CheckAgainstDisk(state);
    EXPECT_EQ(report.marksTakenBack, 2u); // d1/x and d2/x; d1/y keeps d2/y
    EXPECT_EQ(File("d1/x")->state, FileState::Unsettled);
    EXPECT_EQ(File("d2/x")->state, FileState::Unsettled);
    EXPECT_EQ(File("d1/y")->state, FileState::Deleted);
    EXPECT_NE(report.Summary().find("2 files marked cross were set back to Unsettled"),
              std::string::npos)
        << report.Summary();
}

TEST_F(ResultCheckTest, ReverifyFindsWhatOnlyTheContentsTell) {
    for (const char* dir : {"a", "b", "c", "d"})
        tree.createFile(std::string(dir) + "/x", "four copies");
    for (const char* dir : {"a", "b", "c"})
        tree.createFile(std::string(dir) + "/y", "three copies");
    ASSERT_EQ(Search(), 0);
    // x: c and d now equal each other but not a and b, so the group splits;
    // y: c alone differs and leaves.
    OverwriteKeepingStamp("c/x", "F");
    OverwriteKeepingStamp("d/x", "F");
    OverwriteKeepingStamp("c/y", "T");
    ASSERT_TRUE(CheckAgainstDisk(state).empty());

    state.ClearFlags();
    const DropReport report = Reverify(state);
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0].path, tree.path("c/y"));
    EXPECT_EQ(report.files[0].reason, DropReason::ContentDiffers);
    EXPECT_EQ(report.groupsReshaped, 2u);
    EXPECT_FALSE(report.stopped);
    EXPECT_EQ(SortedGroups(),
              (std::vector<test::Group>{{"a/x", "b/x"}, {"a/y", "b/y"}, {"c/x", "d/x"}}));
}

TEST_F(ResultCheckTest, ALargeResultIsLookedAtOnSeveralThreadsWithTheSameAnswers) {
    // Enough files for more than one thread; the changed ones at the start,
    // around the middle and at the end of the result order.
    constexpr int kPairs = 4200;
    for (int i = 0; i < kPairs; ++i) {
        tree.createFile("a/" + std::to_string(i), std::to_string(i));
        tree.createFile("b/" + std::to_string(i), std::to_string(i));
    }
    ASSERT_EQ(Search(), 0);
    std::vector<const FileRecord*> order;
    for (const DuplicateGroup& g : ResultGroups(state))
        order.insert(order.end(), g.begin(), g.end());
    ASSERT_EQ(order.size(), 2u * kPairs);
    std::vector<std::string> changed;
    for (size_t i : {size_t{0}, order.size() / 2 - 1, order.size() / 2, order.size() - 1})
        changed.push_back(Rel(order[i]));
    for (const std::string& rel : changed)
        tree.createFile(rel, "changed", 1700000000);

    const DropReport report = CheckAgainstDisk(state);
    std::vector<std::string> dropped;
    for (const DroppedFile& f : report.files) {
        EXPECT_EQ(f.reason, DropReason::Modified);
        dropped.push_back(f.path.substr(tree.root().size() + 1));
    }
    EXPECT_EQ(dropped, changed);
    EXPECT_EQ(Groups().size(), kPairs - changed.size());
}

} // namespace
} // namespace paradrex
