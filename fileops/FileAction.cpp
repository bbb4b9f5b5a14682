#include "fileops/FileAction.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <sys/stat.h>

namespace paradrex {

namespace {

using platform::Result;

FileChange ChangeOf(const FileRecord& file, const platform::FileStatus& status) {
    const platform::FileIdentity& id = status.identity;
    if (!status.IsRegular())
        return FileChange::NotRegular;
    if (static_cast<uint64_t>(id.device) != file.stamp.device ||
        static_cast<uint64_t>(id.inode) != file.stamp.inode)
        return FileChange::Replaced;
    if (id.size != file.size || id.mtimeSeconds != file.modified ||
        id.mtimeNanoseconds != file.stamp.modifiedNs)
        return FileChange::Modified;
    return FileChange::None;
}

bool Matches(const FileRecord& file, const platform::FileStatus& status) {
    return ChangeOf(file, status) == FileChange::None;
}

// A group that keeps a copy (a file not marked cross) may lose its crossed
// files only while one kept copy is still there, unchanged.
bool KeptCopyRemains(const DuplicateGroup& group) {
    bool keeps = false;
    for (const FileRecord* f : group) {
        if (f->state == FileState::Deleted)
            continue;
        keeps = true;
        if (StillTheFileSearched(*f, FilePath(*f)))
            return true;
    }
    return !keeps;
}

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Trashing and deleting, with one more try for a read-only file. On Linux
// removing a name depends on its folder's permissions, not the file's, but
// file systems that keep a read-only attribute (CIFS, NTFS, vfat) show it as
// a missing owner-write bit and refuse to remove such a file. So a refusal
// (EACCES, EPERM) of a file without owner write adds the bit and tries once
// more; when that fails too the bit is taken back, so a file that stays is
// left exactly as it was.
template <class Act> Result<void> WithReadOnlyRetry(const std::string& path, mode_t mode, Act act) {
    Result<void> r = act();
    if (r || (r.code() != EACCES && r.code() != EPERM) || (mode & S_IWUSR) != 0)
        return r;
    if (!platform::AddOwnerWrite(path))
        return r;
    Result<void> again = act();
    if (!again)
        (void)platform::SetPermissions(path, mode);
    return again;
}

} // namespace

std::string MoveTarget(const std::string& moveDirectory, const std::string& path) {
    std::string target = moveDirectory;
    while (!target.empty() && target.back() == '/')
        target.pop_back();
    if (path.empty() || path.front() != '/')
        target += '/';
    return target + path;
}

FileCheck CheckFile(const FileRecord& file, const std::string& path) {
    Result<platform::FileStatus> status = platform::StatusOf(path);
    if (!status) {
        const int e = status.code();
        return {e == ENOENT || e == ENOTDIR ? FileChange::Vanished : FileChange::Unreachable, e};
    }
    return {ChangeOf(file, *status), 0};
}

bool StillTheFileSearched(const FileRecord& file, const std::string& path) {
    return CheckFile(file, path).change == FileChange::None;
}

FileOutcome ActOnFile(const FileRecord& file, const DuplicateGroup& group,
                      const DeleteSettings& settings) {
    FileOutcome out;
    out.path = FilePath(file);
    auto fail = [&](FileFailure why, std::optional<platform::Error> error = std::nullopt) {
        out.failure = why;
        out.error = std::move(error);
        return out;
    };

    Result<platform::FileStatus> status = platform::StatusOf(out.path);
    if (!status)
        return fail(FileFailure::System, status.error()); // vanished, or unreachable
    if (!Matches(file, *status))
        return fail(FileFailure::Changed);
    if (!KeptCopyRemains(group))
        return fail(FileFailure::NoKeptCopy);

    const mode_t mode = status->mode & 07777;
    Result<void> r;
    switch (settings.method) {
    case DeleteMethod::Trash:
        r = WithReadOnlyRetry(out.path, mode, [&] { return platform::Trash(out.path); });
        break;
    case DeleteMethod::DeleteDirectly:
        r = WithReadOnlyRetry(out.path, mode, [&] { return platform::RemoveFile(out.path); });
        break;
    case DeleteMethod::Move:
        // Renaming and copying need no write permission on the file, so a
        // move leaves the file's permissions as they are.
        out.target = MoveTarget(settings.moveDirectory, out.path);
        r = platform::MakeDirectories(ParentOf(out.target));
        if (r)
            r = platform::MoveNoReplace(out.path, out.target);
        break;
    }
    if (!r)
        return fail(FileFailure::System, r.error());
    return out;
}

} // namespace paradrex
