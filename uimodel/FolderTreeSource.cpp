#include "uimodel/FolderTreeSource.h"

#include "engine/PathSet.h"
#include "platform/DirectoryIo.h"
#include "platform/Paths.h"

#include <algorithm>
#include <string_view>

namespace paradrex {

namespace {

// Entries read while looking for a first subfolder before assuming one.
constexpr int kSubfolderProbeLimit = 2000;

// Whether an entry of `directory` is a folder: a directory, or a link to one
// (links and entries of unknown type are looked up by path).
bool IsFolderEntry(const std::string& directory, const platform::DirectoryEntry& e) {
    switch (e.type) {
    case platform::EntryType::Directory:
        return true;
    case platform::EntryType::File:
        return false;
    case platform::EntryType::Unknown:
    case platform::EntryType::Other:
        break;
    }
    return platform::IsDirectory(ChildPath(directory, std::string(e.name)));
}

bool HasSubfolder(const std::string& folder) {
    platform::Fd fd(platform::OpenRootDirectory(folder.c_str()));
    if (!fd.valid())
        return false;
    platform::DirectoryReader reader(fd.get());
    platform::DirectoryEntry e;
    for (int n = 0; n < kSubfolderProbeLimit; ++n) {
        if (!reader.Next(e))
            return false;
        if (IsFolderEntry(folder, e))
            return true;
    }
    return true;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAtOrInside(std::string_view path, std::string_view dir) {
    if (dir == "/")
        return true;
    return path.substr(0, dir.size()) == dir &&
           (path.size() == dir.size() || path[dir.size()] == '/');
}

bool IsStorageDevice(const MountedVolume& v) {
    const std::string_view device = v.device;
    return device.starts_with("/dev/") || device.starts_with("//") ||
           device.find(":/") != std::string_view::npos;
}

bool IsVirtualType(std::string_view type) {
    static constexpr std::string_view kTypes[] = {
        "proc",      "sysfs",    "devtmpfs",   "devpts", "cgroup",  "cgroup2",
        "debugfs",   "tracefs",  "securityfs", "pstore", "bpf",     "configfs",
        "fusectl",   "mqueue",   "tmpfs",      "ramfs",  "autofs",  "binfmt_misc",
        "hugetlbfs", "efivarfs", "rpc_pipefs", "nsfs",   "overlay", "squashfs"};
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

} // namespace

std::string ChildPath(const std::string& directory, const std::string& name) {
    std::string path = directory;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + name;
}

bool FolderNameLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char x = AsciiLower(a[i]);
        const char y = AsciiLower(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::vector<SubFolder> ListSubfolders(const std::string& directory) {
    std::vector<SubFolder> folders;
    // A link to a directory is listed as its target, as the user opened it.
    platform::Fd fd(platform::OpenRootDirectory(directory.c_str()));
    if (!fd.valid())
        return folders;
    platform::DirectoryReader reader(fd.get());
    platform::DirectoryEntry e;
    while (reader.Next(e)) {
        if (!IsFolderEntry(directory, e))
            continue;
        std::string path = ChildPath(directory, std::string(e.name));
        folders.push_back({std::string(e.name), HasSubfolder(path)});
    }
    std::sort(folders.begin(), folders.end(), [](const SubFolder& a, const SubFolder& b) {
        return FolderNameLess(a.name, b.name);
    });
    return folders;
}

std::vector<std::string>
FolderTreeTopLevel(const std::string& home, const std::vector<MountedVolume>& volumes,
                   const std::function<bool(const std::string&)>& isDirectory) {
    std::vector<std::string> top;
    const std::string homePath = home.empty() ? std::string() : platform::AbsoluteNormalPath(home);
    if (!homePath.empty() && homePath != "/")
        top.push_back(homePath);
    top.push_back("/");

    std::vector<std::string> mounts;
    for (const MountedVolume& v : volumes) {
        if (v.rootPath.empty() || v.rootPath[0] != '/')
            continue;
        const std::string path = platform::AbsoluteNormalPath(v.rootPath);
        if (path == "/" || (!homePath.empty() && IsAtOrInside(path, homePath)))
            continue;
        if (IsVirtualType(v.fileSystemType) || !IsStorageDevice(v) || !isDirectory(path))
            continue;
        mounts.push_back(path);
    }
    std::sort(mounts.begin(), mounts.end());
    mounts.erase(std::unique(mounts.begin(), mounts.end()), mounts.end());
    top.insert(top.end(), mounts.begin(), mounts.end());
    return top;
}

} // namespace paradrex
