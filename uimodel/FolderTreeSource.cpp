#include "uimodel/FolderTreeSource.h"

#include "engine/PathSet.h"
#include "platform/Paths.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace paradrex {

namespace {

// Entries read while looking for a first subfolder before assuming one.
constexpr int kSubfolderProbeLimit = 2000;

struct Dir {
    DIR* d;
    explicit Dir(DIR* dir) : d(dir) {}
    ~Dir() {
        if (d)
            ::closedir(d);
    }
    Dir(const Dir&) = delete;
    Dir& operator=(const Dir&) = delete;
};

bool IsDot(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Whether the entry is a folder: a directory, or a link to one.
bool IsFolderEntry(int dirFd, const dirent* e) {
    if (e->d_type == DT_DIR)
        return true;
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    return ::fstatat(dirFd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

bool HasSubfolder(int parentFd, const char* name) {
    int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    Dir dir(::fdopendir(fd));
    if (!dir.d) {
        ::close(fd);
        return false;
    }
    for (int n = 0; n < kSubfolderProbeLimit; ++n) {
        const dirent* e = ::readdir(dir.d);
        if (!e)
            return false;
        if (!IsDot(e->d_name) && IsFolderEntry(fd, e))
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
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return folders;
    Dir dir(::fdopendir(fd));
    if (!dir.d) {
        ::close(fd);
        return folders;
    }
    while (const dirent* e = ::readdir(dir.d)) {
        if (IsDot(e->d_name) || !IsFolderEntry(fd, e))
            continue;
        folders.push_back({e->d_name, HasSubfolder(fd, e->d_name)});
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
