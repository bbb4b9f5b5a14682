// What the New Search dialog's folder tree lists.

#include "uimodel/FolderTreeSource.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace paradrex {
namespace {

using Paths = std::vector<std::string>;
using test::TempTree;

TEST(FolderTreeSource, SubfoldersAreFoldersOnlyHiddenIncludedSortedByName) {
    TempTree tree;
    tree.createDir("b/inner");
    tree.createDir("A");
    tree.createDir(".hidden/x");
    tree.createDir("c");
    tree.createFile("a-file", "");
    tree.createFile("c/only-a-file", "");
    tree.createSymlink(tree.path("b"), "link-to-b");
    tree.createSymlink(tree.path("a-file"), "link-to-file");
    tree.createSymlink(tree.path("missing"), "dangling");
    ASSERT_EQ(::mkfifo(tree.path("fifo").c_str(), 0600), 0);
    // A folder whose only subfolder is a link to one.
    tree.createDir("d");
    tree.createSymlink(tree.path("A"), "d/link-to-A");

    const auto folders = ListSubfolders(tree.root());
    std::vector<std::string> names;
    for (const SubFolder& f : folders)
        names.push_back(f.name + (f.hasSubfolders ? "+" : ""));
    EXPECT_EQ(names, (Paths{".hidden+", "A", "b+", "c", "d+", "link-to-b+"}));
    EXPECT_TRUE(ListSubfolders(tree.path("missing")).empty());
    EXPECT_TRUE(ListSubfolders(tree.path("a-file")).empty());
}

TEST(FolderTreeSource, NameOrderIgnoresCaseAndBreaksTiesByBytes) {
    EXPECT_TRUE(FolderNameLess("apple", "Banana"));
    EXPECT_TRUE(FolderNameLess("Banana", "cherry"));
    EXPECT_TRUE(FolderNameLess("B", "b"));
    EXPECT_FALSE(FolderNameLess("b", "B"));
    EXPECT_TRUE(FolderNameLess("ab", "abc"));
    EXPECT_FALSE(FolderNameLess("x", "x"));
    EXPECT_EQ(ChildPath("/", "etc"), "/etc");
    EXPECT_EQ(ChildPath("/home/u", ".config"), "/home/u/.config");
}

TEST(FolderTreeSource, TopLevelIsHomeRootAndRealVolumesOutsideThem) {
    const std::vector<MountedVolume> mounts = {
        {"/", "ext4", "/dev/sda2"},
        {"/proc", "proc", "proc"},
        {"/run/user/1000", "tmpfs", "tmpfs"},
        {"/media/u/USB STICK", "vfat", "/dev/sdb1"},
        {"/home/u/mnt/phone", "fuse.gvfs", "/dev/fuse"},
        {"/home/u", "ext4", "/dev/sda3"},
        {"/mnt/nas", "nfs4", "nas:/export"},
        {"/mnt/share", "cifs", "//server/share"},
        {"/snap/core/1", "squashfs", "/dev/loop0"},
        {"/etc/hosts", "ext4", "/dev/sda2"},
        {"/boot/efi", "vfat", "/dev/sda1"},
        {"/media/u/USB STICK", "vfat", "/dev/sdb1"},
    };
    auto isDir = [](const std::string& p) { return p != "/etc/hosts"; };
    EXPECT_EQ(FolderTreeTopLevel("/home/u/", mounts, isDir),
              (Paths{"/home/u", "/", "/boot/efi", "/media/u/USB STICK", "/mnt/nas", "/mnt/share"}));
    EXPECT_EQ(FolderTreeTopLevel("/", {}, isDir), Paths{"/"});
    EXPECT_EQ(FolderTreeTopLevel("", {}, isDir), Paths{"/"});
}

TEST(FolderTreeSource, ExistingDirectoryFollowsLinks) {
    TempTree tree;
    tree.createDir("d");
    tree.createFile("f", "");
    tree.createSymlink(tree.path("d"), "l");
    EXPECT_TRUE(platform::IsDirectory(tree.path("d")));
    EXPECT_TRUE(platform::IsDirectory(tree.path("l")));
    EXPECT_FALSE(platform::IsDirectory(tree.path("f")));
    EXPECT_FALSE(platform::IsDirectory(tree.path("none")));
    EXPECT_FALSE(platform::IsDirectory(""));
}

} // namespace
} // namespace paradrex
