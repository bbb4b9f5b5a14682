#include "support/EngineFixture.h"

#include "support/Privileges.h"

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex::test {
namespace {

using ScanTest = EngineTest;

TEST_F(ScanTest, CountsDirectoriesFilesAndBytesThatPassTheFilters) {
    tree.createFile("a/one.txt", "hello");
    tree.createFile("a/b/two.txt", "hello");
    tree.createFile("c/three", "1234567");
    tree.createDir("d");
    ASSERT_EQ(Search(), 0);
    auto v = state.counters.Snapshot();
    EXPECT_EQ(v.directoryCount, 5u); // root, a, a/b, c, d
    EXPECT_EQ(v.fileCount, 3u);
    EXPECT_EQ(v.totalSize, 17u);
    EXPECT_EQ(v.validated, -1);
    EXPECT_TRUE(state.done);
    EXPECT_TRUE(state.scanFinished);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"a/b/two.txt", "a/one.txt"}}));
}

TEST_F(ScanTest, HiddenAndReadOnlyFilesAndDirectoriesNeedTheirSwitches) {
    tree.createFile("plain", "dup!");
    tree.createFile(".hidden", "dup!");
    tree.createFile(".hdir/in", "dup!");
    tree.createFile("ro", "dup!");
    tree.chmod("ro", 0444);
    tree.createFile("rodir/in", "dup!");
    tree.chmod("rodir", 0555);
    {
        ASSERT_EQ(Search(), 0);
        EXPECT_EQ(state.counters.fileCount.load(), 1u);
        EXPECT_EQ(state.counters.directoryCount.load(), 1u);
        EXPECT_TRUE(Groups().empty());
    }
    state.job.includeHidden = 1;
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{".hdir/in", ".hidden", "plain"}}));
    state.job.includeReadOnly = 1;
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(),
              (std::vector<Group>{{".hdir/in", ".hidden", "plain", "ro", "rodir/in"}}));
    EXPECT_EQ(state.counters.directoryCount.load(), 3u);
}

TEST_F(ScanTest, TypeListMatchesExtensionsWhateverTheirCase) {
    tree.createFile("a.JPG", "same");
    tree.createFile("b.jpg", "same");
    tree.createFile("c.png", "same");
    tree.createFile("jpg", "same");       // no dot: no extension
    tree.createFile("d.tar.jpg", "same"); // the last dot counts
    state.job.typeList = {"jpg"};
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.fileCount.load(), 3u);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"a.JPG", "b.jpg", "d.tar.jpg"}}));
}

TEST_F(ScanTest, SizeLimitsKeepFilesOfExactlyTheLimit) {
    tree.createFile("s3a", "abc");
    tree.createFile("s3b", "abc");
    tree.createFile("s5a", "abcde");
    tree.createFile("s5b", "abcde");
    tree.createFile("s7a", "abcdefg");
    tree.createFile("s7b", "abcdefg");
    state.job.minSizeEnabled = true;
    state.job.minSize = 3;
    state.job.maxSizeEnabled = true;
    state.job.maxSize = 5;
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.fileCount.load(), 4u);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"s3a", "s3b"}, {"s5a", "s5b"}}));
}

TEST_F(ScanTest, FilesOfFourGibibytesAndMoreAreCountedAndLimitedInSixtyFourBits) {
    constexpr uint64_t k4G = uint64_t{1} << 32;
    constexpr uint64_t kBig = 5000000000;
    tree.createSparseFile("g4", k4G);
    tree.createSparseFile("g5", kBig);
    tree.createFile("small", "x");
    struct Case {
        const char* what;
        std::optional<uint64_t> min, max;
        uint64_t files, bytes;
    };
    const Case cases[] = {
        {"no limits", {}, {}, 3, k4G + kBig + 1},
        {"less than 8000 MB", {}, uint64_t{8000} << 20, 3, k4G + kBig + 1},
        {"just below the largest", {}, kBig - 1, 2, k4G + 1},
        {"exactly the largest is kept", kBig, {}, 1, kBig},
        {"exactly 4 GiB both ways", k4G, k4G, 1, k4G},
        {"one byte above 4 GiB", k4G + 1, {}, 1, kBig},
        {"largest limit keeps everything", {}, UINT64_MAX, 3, k4G + kBig + 1},
    };
    for (const Case& c : cases) {
        state.job.minSizeEnabled = c.min.has_value();
        state.job.minSize = c.min.value_or(0);
        state.job.maxSizeEnabled = c.max.has_value();
        state.job.maxSize = c.max.value_or(0);
        ASSERT_EQ(Search(), 0) << c.what;
        EXPECT_EQ(state.counters.fileCount.load(), c.files) << c.what;
        EXPECT_EQ(state.counters.totalSize.load(), c.bytes) << c.what;
        EXPECT_TRUE(Groups().empty()) << c.what;
    }
}

TEST_F(ScanTest, LinksAreNotFollowedAndSpecialFilesAreSkipped) {
    tree.createFile("real/f", "content");
    tree.createSymlink("real", "dirlink");      // a link to a directory
    tree.createSymlink("real/f", "filelink");   // a link to a file
    tree.createSymlink("../loop", "real/loop"); // a loop
    ASSERT_EQ(::mkfifo(tree.path("fifo").c_str(), 0644), 0);
    tree.createFile("other/g", "content");
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.fileCount.load(), 2u);
    EXPECT_EQ(state.counters.directoryCount.load(), 3u);
    EXPECT_EQ(SortedGroups(), (std::vector<Group>{{"other/g", "real/f"}}));
}

TEST_F(ScanTest, HardLinkedNamesOfOneFileAreNeverItsOwnDuplicate) {
    tree.createFile("a/orig", "same bytes");
    tree.createHardLink("a/orig", "b/link1");
    tree.createHardLink("a/orig", "b/link2");
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.fileCount.load(), 1u); // met once, under its first name
    EXPECT_TRUE(Groups().empty());

    tree.createFile("c/copy", "same bytes");
    ASSERT_EQ(Search(), 0);
    auto groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].size(), 2u);
    EXPECT_TRUE(std::find(groups[0].begin(), groups[0].end(), "c/copy") != groups[0].end());
}

TEST_F(ScanTest, RootGivenAsLinkIsFollowedButTheSameDirectoryIsScannedOnce) {
    tree.createFile("data/x", "twin");
    tree.createFile("data/y", "twin");
    tree.createSymlink(tree.path("data"), "alias");
    state.job.roots.Add(tree.path("alias"));
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.fileCount.load(), 2u);
    ASSERT_EQ(Groups().size(), 1u);

    // Both names as roots: the directory behind them is listed once.
    state.job.roots.Add(tree.path("data"));
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.fileCount.load(), 2u);
    EXPECT_EQ(state.counters.directoryCount.load(), 2u);
    ASSERT_EQ(Groups().size(), 1u);
}

TEST_F(ScanTest, RootsAreScannedInSetOrderAndDirectoriesInPostOrder) {
    tree.createFile("r1/file", "payload");
    tree.createFile("r2/file", "payload");
    tree.createFile("r2/sub/file", "payload");
    state.job.roots.Add(tree.path("r2"));
    state.job.roots.Add(tree.path("r1"));
    ASSERT_EQ(Search(), 0);
    // The first root's files come first; inside r2 the subdirectory's file
    // precedes its parent's.
    EXPECT_EQ(Groups(), (std::vector<Group>{{"r1/file", "r2/sub/file", "r2/file"}}));
}

TEST_F(ScanTest, UnreadableDirectoryIsCountedButHasNoEntries) {
    tree.createFile("open/f", "dup");
    tree.createFile("locked/f", "dup");
    tree.createFile("locked/inner/g", "dup");
    tree.chmod("locked", 0300); // writable, so not read-only, but not listable
    Unprivileged unprivileged;
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.directoryCount.load(), 3u);
    EXPECT_EQ(state.counters.fileCount.load(), 1u);
    EXPECT_TRUE(errors.empty()); // nothing is logged for a directory
}

TEST_F(ScanTest, PathsBeyondThePathLimitAreScannedAndCompared) {
    // 60 levels of 100-byte names: about 6,000 bytes, more than PATH_MAX.
    const std::string name(100, 'd');
    int fd = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 60; ++i) {
        ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
        int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    int f = ::openat(fd, "deep.txt", O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(f, 0);
    ASSERT_EQ(::write(f, "deep content", 12), 12);
    ::close(f);
    ::close(fd);
    tree.createFile("shallow.txt", "deep content");

    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(state.counters.directoryCount.load(), 61u);
    auto groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].size(), 2u);
    EXPECT_GT(groups[0][0].size(), 6000u);
    EXPECT_EQ(groups[0][1], "shallow.txt");
    EXPECT_TRUE(errors.empty());
}

TEST_F(ScanTest, OddNamesWork) {
    tree.createFile("with space/-dash name", "odd");
    tree.createFile("new\nline", "odd");
    tree.createFile("bytes \xff\xfe.bin", "odd");
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(SortedGroups(),
              (std::vector<Group>{{"bytes \xff\xfe.bin", "new\nline", "with space/-dash name"}}));
}

} // namespace
} // namespace paradrex::test
