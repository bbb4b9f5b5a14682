#include "platform/trash/FreedesktopTrash.h"

#include "platform/FileIo.h"
#include "platform/FileSystem.h"
#include "platform/SystemCalls.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace paradrex::platform {

namespace {

// Candidates tried for one file before giving up (each taken name costs one
// failed create; the name counters below make repeats cheap).
constexpr int kMaxCandidates = 1000000;

// The longest name a trash gives a file: its record, NAME.NNNNNN.trashinfo,
// must still fit the 255 bytes a name can have.
constexpr size_t kMaxTrashName = 255 - sizeof(".trashinfo") + 1 - sizeof(".999999") + 1;

std::string_view LastComponent(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view WithoutLastComponent(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

// The folder of an absolute path; "/" for a name in the root.
std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

// Path bytes as a .trashinfo record keeps them: every byte outside the
// unreserved set and '/' as %XX, so any byte, UTF-8 or not, survives.
std::string PercentEncoded(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                           (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' || b == '~' ||
                           b == '/';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

std::string Record(std::string_view pathInRecord) {
    char date[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local))
        (void)std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + PercentEncoded(pathInRecord) + "\nDeletionDate=" + date + "\n";
}

// The user's data folder: $XDG_DATA_HOME when it is absolute, else
// $HOME/.local/share; empty when neither can be had.
std::string DataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share";
    return {};
}

bool IsBelow(const std::string& path, const std::string& top) {
    return top == "/" || (path.size() > top.size() && path.compare(0, top.size(), top) == 0 &&
                          path[top.size()] == '/');
}

// What the trash remembers for the process: the top folder of each device's
// mount, and per trash and name the last number a taken name got, so that a
// name trashed again and again starts where the last one ended. Neither is
// trusted for correctness: a top folder is used only for paths below it, and
// a name is always reserved with O_EXCL.
class Memory {
public:
    std::string TopOf(dev_t device, const std::string& path) {
        std::lock_guard lock(mutex_);
        auto it = tops_.find(device);
        return it != tops_.end() && IsBelow(path, it->second) ? it->second : std::string();
    }
    void SetTop(dev_t device, const std::string& top) {
        std::lock_guard lock(mutex_);
        tops_[device] = top;
    }
    int LastNumber(const std::string& trash, std::string_view name) {
        std::lock_guard lock(mutex_);
        auto it = numbers_.find(Key(trash, name));
        return it == numbers_.end() ? 1 : it->second;
    }
    void SetLastNumber(const std::string& trash, std::string_view name, int n) {
        std::lock_guard lock(mutex_);
        numbers_[Key(trash, name)] = n;
    }

private:
    static std::string Key(const std::string& trash, std::string_view name) {
        std::string key = trash;
        key += '\0';
        key += name;
        return key;
    }

    std::mutex mutex_;
    std::map<dev_t, std::string> tops_;
    std::map<std::string, int> numbers_;
};

Memory& Remembered() {
    static Memory memory;
    return memory;
}

// The top folder of the mount holding `path` (absolute, on `device`): the
// highest folder above it still on that device.
Result<std::string> MountTopOf(const std::string& path, dev_t device) {
    if (std::string top = Remembered().TopOf(device, path); !top.empty())
        return top;
    std::string top = path;
    while (top != "/") {
        const std::string parent = ParentOf(top);
        struct stat st;
        if (Sys().Stat(parent.c_str(), &st, true) != 0)
            return Error::FromErrno("stat", parent);
        if (st.st_dev != device)
            break;
        top = parent;
    }
    Remembered().SetTop(device, top);
    return top;
}

struct TrashFolder {
    std::string folder;       // holds files/ and info/
    std::string pathInRecord; // the file's path as its record gives it
    bool atMountTop = false;  // a mount's .Trash/UID or .Trash-UID
};

// The trash at a mount's top folder: TOP/.Trash/UID when TOP/.Trash is a
// sticky directory (not a link) and UID can be had in it, else
// TOP/.Trash-UID.
TrashFolder TopTrashFor(const std::string& path, const std::string& top) {
    const std::string base = top == "/" ? std::string() : top;
    const std::string relative = path.substr(base.size() + 1);
    const std::string uid = std::to_string(::getuid());
    const std::string shared = base + "/.Trash";
    struct stat st;
    if (Sys().Stat(shared.c_str(), &st, false) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_mode & S_ISVTX) != 0) {
        const std::string own = shared + "/" + uid;
        if (MakeDirectories(own, 0700) && Sys().Stat(own.c_str(), &st, false) == 0 &&
            S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
            return {own, relative, true};
    }
    return {base + "/.Trash-" + uid, relative, true};
}

// The name the file gets in the trash: its own, cut short when the record's
// name would be too long (the record keeps the whole path), and never in the
// middle of a UTF-8 sequence.
std::string TrashNameOf(std::string_view name) {
    if (name.size() <= kMaxTrashName)
        return std::string(name);
    size_t size = kMaxTrashName;
    while (size > 1 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80)
        --size;
    return std::string(name.substr(0, size));
}

Result<TrashFolder> TrashFolderFor(const std::string& path, dev_t device) {
    const std::string data = DataHome();
    if (data.empty())
        return Error{ENOENT, "trash", path, {}};
    struct stat st;
    if (Sys().Stat(data.c_str(), &st, true) != 0) {
        if (errno != ENOENT)
            return Error::FromErrno("stat", data);
        if (Result<void> made = MakeDirectories(data, 0700); !made)
            return made.error();
        if (Sys().Stat(data.c_str(), &st, true) != 0)
            return Error::FromErrno("stat", data);
    }
    if (st.st_dev == device)
        return TrashFolder{data + "/Trash", path};
    Result<std::string> top = MountTopOf(path, device);
    if (!top)
        return top.error();
    return TopTrashFor(path, *top);
}

// A trash at a mount's top folder that exists already must be the user's
// own directory: a link or somebody else's folder there could lead the
// files anywhere. A missing one is created, 0700, when it is first needed.
Result<void> CheckTopTrash(const std::string& folder) {
    struct stat st;
    if (Sys().Stat(folder.c_str(), &st, false) != 0)
        return errno == ENOENT ? Result<void>{} : Error::FromErrno("stat", folder);
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return Error{EPERM, "trash", folder, {}};
    return {};
}

Result<void> MakeTrashFolders(const std::string& folder) {
    if (Result<void> r = MakeDirectories(folder + "/files", 0700); !r)
        return r;
    return MakeDirectories(folder + "/info", 0700);
}

// Writes the whole record to the reserved file; a record that could not be
// written whole is removed.
Result<void> WriteRecord(File file, std::string_view record) {
    const std::string where = file.path();
    Result<void> r = file.WriteAll(record);
    if (r)
        r = file.Close();
    if (!r)
        (void)Sys().Unlink(where.c_str());
    return r;
}

int TrashForTheSeam(const char* path) {
    Result<std::string> r = MoveToFreedesktopTrash(path);
    if (r)
        return 0;
    errno = r.error().code;
    return -1;
}

} // namespace

bool IsInTrashFolder(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return false;
    const std::string_view name = LastComponent(path);
    const std::string_view files = WithoutLastComponent(path);
    if (name.empty() || name == "." || name == ".." || LastComponent(files) != "files")
        return false;
    const std::string_view trash = WithoutLastComponent(files);
    const std::string_view trashName = LastComponent(trash);
    const std::string uid = std::to_string(::getuid());
    if (trashName == "Trash" || trashName == ".Trash-" + uid)
        return true;
    return trashName == uid && LastComponent(WithoutLastComponent(trash)) == ".Trash";
}

Result<std::string> MoveToFreedesktopTrash(const std::string& given) {
    std::string path = given;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (!path.empty() && path[0] != '/') {
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd))
            return Error::FromErrno("getcwd", given);
        path = std::string(cwd) + (cwd[1] == '\0' ? "" : "/") + path;
    }
    const std::string_view own = LastComponent(path);
    if (own.empty() || own == "." || own == "..")
        return Error{EINVAL, "trash", given, {}};
    const std::string name = TrashNameOf(own);

    struct stat st;
    if (Sys().Stat(path.c_str(), &st, false) != 0)
        return Error::FromErrno("stat", path);
    Result<TrashFolder> trash = TrashFolderFor(path, st.st_dev);
    if (!trash)
        return trash.error();
    const std::string& folder = trash->folder;
    if (trash->atMountTop)
        if (Result<void> checked = CheckTopTrash(folder); !checked)
            return checked.error();
    const std::string record = Record(trash->pathInRecord);

    bool foldersMade = false;
    int n = Remembered().LastNumber(folder, name);
    if (n > 1)
        ++n;
    for (int tries = 0; tries < kMaxCandidates; ++tries) {
        const std::string candidate = n == 1 ? name : name + "." + std::to_string(n);
        const std::string info = folder + "/info/" + candidate + ".trashinfo";
        Result<File> reserved =
            File::Open(info, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (!reserved && reserved.code() == ENOENT && !foldersMade) {
            foldersMade = true;
            if (Result<void> made = MakeTrashFolders(folder); !made)
                return made.error();
            continue;
        }
        if (!reserved && reserved.code() == EEXIST) {
            ++n;
            continue;
        }
        if (!reserved)
            return reserved.error();
        if (Result<void> written = WriteRecord(std::move(*reserved), record); !written)
            return written.error();

        const std::string target = folder + "/files/" + candidate;
        Result<void> moved = RenameNoReplace(path, target);
        if (moved) {
            if (n > 1)
                Remembered().SetLastNumber(folder, name, n);
            return target;
        }
        (void)Sys().Unlink(info.c_str());
        const int code = moved.code();
        if (code == ENOENT && !foldersMade && Sys().Stat(path.c_str(), &st, false) == 0) {
            // The files folder is missing, not the file.
            foldersMade = true;
            if (Result<void> made = MakeTrashFolders(folder); !made)
                return made.error();
            continue;
        }
        if (code != EEXIST)
            return moved.error();
        ++n; // files/NAME taken without a record: the next name
    }
    return Error{EEXIST, "trash", path, folder};
}

void UseFreedesktopTrash() {
    SetTrashImplementation(&TrashForTheSeam);
}

} // namespace paradrex::platform
