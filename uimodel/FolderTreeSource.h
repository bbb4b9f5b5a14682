#pragma once
// What the folder tree of the New Search dialog shows: its top-level folders
// (home, the file-system root, mounted volumes) and the subfolders of a
// folder when its branch is first opened.

#include "platform/Paths.h"

#include <functional>
#include <string>
#include <vector>

namespace paradrex {

struct SubFolder {
    std::string name; // bytes as the system lists them
    bool hasSubfolders;
};

// The folders directly inside a directory: directories and links to
// directories, hidden ones included, in FolderNameLess order. An unreadable
// directory yields the folders read before the failure (often none).
// hasSubfolders is a guess that errs on the side of true: looking for a
// subfolder stops after a bounded number of entries.
std::vector<SubFolder> ListSubfolders(const std::string& directory);

// The path of an entry inside a directory ("/" + "a" is "/a").
std::string ChildPath(const std::string& directory, const std::string& name);

// Name order of a branch: letters compared without case, ties in byte order.
bool FolderNameLess(const std::string& a, const std::string& b);

struct MountedVolume {
    std::string rootPath;
    std::string fileSystemType;
    std::string device;
};

// The top-level folders: home first, then "/", then the mounted volumes that
// are real storage (a block device or a network share) and lie neither at
// "/" nor at or inside home, in byte order of their paths, each once.
// Virtual and memory file systems and read-only images of packages
// (squashfs) are left out, as are mount points that are not directories.
std::vector<std::string> FolderTreeTopLevel(
    const std::string& home, const std::vector<MountedVolume>& volumes,
    const std::function<bool(const std::string&)>& isDirectory = platform::IsDirectory);

} // namespace paradrex
