// The directory reader and the descriptor-relative opening of the search.

#include "platform/DirectoryIo.h"

#include "support/Privileges.h"
#include "support/TempTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace paradrex::platform {
namespace {

using test::TempTree;
using testing::AnyOf;
using testing::Eq;

std::vector<std::pair<std::string, EntryType>> List(const std::string& dir) {
    Fd fd(OpenRootDirectory(dir.c_str()));
    EXPECT_TRUE(fd.valid()) << dir;
    std::vector<std::pair<std::string, EntryType>> out;
    DirectoryReader reader(fd.get());
    DirectoryEntry e;
    while (reader.Next(e))
        out.emplace_back(std::string(e.name), e.type);
    EXPECT_FALSE(reader.failed());
    return out;
}

std::vector<std::string> Names(const std::vector<std::pair<std::string, EntryType>>& list) {
    std::vector<std::string> names;
    for (const auto& [name, type] : list)
        names.push_back(name);
    return names;
}

TEST(DirectoryIo, ListsEveryEntryButTheDotsWithItsType) {
    TempTree t;
    t.createFile("f", "x");
    t.createDir("d");
    t.createSymlink("f", "l");
    ASSERT_EQ(::mkfifo(t.path("p").c_str(), 0600), 0);
    for (const char* odd : {".hidden", "..x", "-dash", "sp ace", "$(x)", "\xff\xfe"})
        t.createFile(odd, "");

    std::map<std::string, EntryType> types;
    for (const auto& [name, type] : List(t.root()))
        EXPECT_TRUE(types.emplace(name, type).second) << "listed twice: " << name;
    EXPECT_EQ(types.size(), 10u);
    EXPECT_EQ(types.count("."), 0u);
    EXPECT_EQ(types.count(".."), 0u);
    // File systems that do not record entry types answer Unknown.
    EXPECT_THAT(types["f"], AnyOf(Eq(EntryType::File), Eq(EntryType::Unknown)));
    EXPECT_THAT(types["d"], AnyOf(Eq(EntryType::Directory), Eq(EntryType::Unknown)));
    EXPECT_THAT(types["l"], AnyOf(Eq(EntryType::Other), Eq(EntryType::Unknown)));
    EXPECT_THAT(types["p"], AnyOf(Eq(EntryType::Other), Eq(EntryType::Unknown)));
    for (const char* odd : {".hidden", "..x", "-dash", "sp ace", "$(x)", "\xff\xfe"})
        EXPECT_THAT(types[odd], AnyOf(Eq(EntryType::File), Eq(EntryType::Unknown))) << odd;
}

TEST(DirectoryIo, OrderIsTheSystemsAndStableForAnUnchangedDirectory) {
    TempTree t;
    for (int i = 0; i < 300; ++i)
        t.createFile("n" + std::to_string(i * 7919 % 300), "");
    const auto first = Names(List(t.root()));
    EXPECT_EQ(Names(List(t.root())), first);

    std::vector<std::string> system;
    DIR* dir = ::opendir(t.root().c_str());
    ASSERT_NE(dir, nullptr);
    while (dirent* d = ::readdir(dir)) {
        std::string name = d->d_name;
        if (name != "." && name != "..")
            system.push_back(name);
    }
    ::closedir(dir);
    EXPECT_EQ(first, system);
}

TEST(DirectoryIo, LongNamesAndListingsBeyondOneBufferComeWhole) {
    TempTree t;
    const std::string longest(255, 'z'); // the longest name a file system takes
    t.createFile(longest, "");
    // About 400 KiB of records: many reads of the reader's buffer.
    for (int i = 0; i < 2000; ++i)
        t.createFile(std::to_string(i) + std::string(190, 'a'), "");

    std::map<std::string, int> seen;
    for (const std::string& name : Names(List(t.root())))
        ++seen[name];
    EXPECT_EQ(seen.size(), 2001u);
    EXPECT_EQ(seen[longest], 1);
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name;
}

TEST(DirectoryIo, UnreadableDirectoryAndListingErrors) {
    TempTree t;
    t.createDir("locked");
    t.chmod("locked", 0);
    const std::string file = t.createFile("f", "x");
    Fd root(OpenRootDirectory(t.root().c_str()));
    ASSERT_TRUE(root.valid());
    {
        test::Unprivileged unprivileged;
        Fd locked(OpenDirectoryAt(root.get(), "locked"));
        const int error = errno;
        EXPECT_FALSE(locked.valid());
        EXPECT_EQ(error, EACCES);
    }
    // A descriptor that is not a directory's: the listing fails at once.
    Fd notDir(OpenFileForReading(AT_FDCWD, file.c_str()));
    ASSERT_TRUE(notDir.valid());
    DirectoryReader reader(notDir.get());
    DirectoryEntry e;
    EXPECT_FALSE(reader.Next(e));
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.error(), ENOTDIR);
}

TEST(DirectoryIo, LinksAreFollowedOnlyAtTheRootAndFifosNeverBlock) {
    TempTree t;
    t.createFile("d/f", "x");
    t.createSymlink("d", "linkdir");
    t.createSymlink("d/f", "linkfile");
    ASSERT_EQ(::mkfifo(t.path("p").c_str(), 0600), 0);
    Fd root(OpenRootDirectory(t.root().c_str()));
    ASSERT_TRUE(root.valid());

    Fd viaLink(OpenDirectoryAt(root.get(), "linkdir"));
    const int dirError = errno;
    EXPECT_FALSE(viaLink.valid());
    EXPECT_THAT(dirError, AnyOf(Eq(ELOOP), Eq(ENOTDIR)));
    Fd linkRoot(OpenRootDirectory(t.path("linkdir").c_str()));
    EXPECT_TRUE(linkRoot.valid());
    Fd linkFile(OpenFileForReading(root.get(), "linkfile"));
    const int fileError = errno;
    EXPECT_FALSE(linkFile.valid());
    EXPECT_EQ(fileError, ELOOP);
    // A FIFO that took a file's place opens without waiting for a writer.
    Fd fifo(OpenFileForReading(root.get(), "p"));
    EXPECT_TRUE(fifo.valid());
}

TEST(DirectoryIo, VirtualFileSystemsAreKnown) {
    TempTree t;
    VirtualFileSystems virtualFs;
    struct stat proc {
    }, tmp{};
    ASSERT_EQ(::stat(t.root().c_str(), &tmp), 0);
    Fd tmpFd(OpenRootDirectory(t.root().c_str()));
    EXPECT_FALSE(virtualFs.Contains(tmp.st_dev, tmpFd.get()));
    if (::stat("/proc/self", &proc) != 0)
        GTEST_SKIP() << "no /proc";
    Fd procFd(OpenRootDirectory("/proc"));
    EXPECT_TRUE(virtualFs.Contains(proc.st_dev, procFd.get()));
    EXPECT_TRUE(virtualFs.Contains(proc.st_dev, -1)); // known from the mount table alone
}

} // namespace
} // namespace paradrex::platform
