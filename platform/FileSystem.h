#pragma once
// What the file operations do to the file system, through the system-call
// seam (SystemCalls.h), each answering an Error (errno, call, path) when it
// fails:
//   - the identity of a file (device, inode, size, modification time to the
//     nanosecond), to tell that a file is still the one the search compared;
//   - renaming that never replaces an existing file, and moving that also
//     works across file systems, never replacing either;
//   - removing files and empty directories, the empty-directory test,
//     creating a target's folders, adding owner-write permission, the trash.
// Paths are full paths as the system takes them (bytes, no re-encoding); one
// longer than the system takes fails with ENAMETOOLONG.

#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace paradrex::platform {

// What makes a file the same, unchanged file: a file is its (device, inode),
// and its size and modification time tell whether it changed.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    uint64_t size = 0;
    int64_t mtimeSeconds = 0;
    int64_t mtimeNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
    FileIdentity identity;
    mode_t mode = 0; // type and permission bits

    bool IsRegular() const;
    bool IsDirectory() const;
    bool IsLink() const;
    bool OwnerWritable() const;
};

// The status of the path itself: a symbolic link is described, not followed.
Result<FileStatus> StatusOf(const std::string& path);

// Removes a file (or a link), never a directory.
Result<void> RemoveFile(const std::string& path);
// Removes an empty directory; a directory with entries fails with ENOTEMPTY.
Result<void> RemoveDirectory(const std::string& path);
// True when the directory has no entries besides "." and "..". A link is not
// followed (ENOTDIR, or ELOOP). The Result tests true when the test could be
// made; the answer is its value: `if (auto r = IsDirectoryEmpty(p); r && *r)`.
Result<bool> IsDirectoryEmpty(const std::string& path);
// Creates the directory and every missing one above it (links to
// directories on the way are followed); an existing directory is success, an
// existing file of that name fails with ENOTDIR or EEXIST.
Result<void> MakeDirectories(const std::string& path, mode_t mode = 0777);
// Adds the owner-write permission bit (clears "read-only"); nothing happens
// when it is set already. A link is refused with ELOOP, never followed.
Result<void> AddOwnerWrite(const std::string& path);
// Sets the permission bits (07777) of a file or directory, e.g. to take back
// an added owner write; a link is refused with ELOOP, never followed.
Result<void> SetPermissions(const std::string& path, mode_t bits);

// Renames within one file system and never replaces: an existing `to` fails
// with EEXIST and both files stay as they were. Uses
// renameat2(RENAME_NOREPLACE); where the file system refuses the flag
// (EINVAL, ENOSYS, EOPNOTSUPP) a hard link to the new name and the removal
// of the old one do the same, and fail the same way on an existing name.
// Across file systems it fails with EXDEV.
Result<void> RenameNoReplace(const std::string& from, const std::string& to);

// Moves a file to `to` (whose folder must exist) without ever replacing an
// existing file. Within a file system this is RenameNoReplace. Across file
// systems the regular file `from` is copied to a temporary name beside `to`,
// synced, its size checked, renamed into place without replacing, and only
// then is `from` removed; on any failure the partial copy is removed and
// `from` stays untouched. Permission bits and times are kept.
Result<void> MoveNoReplace(const std::string& from, const std::string& to);

// Moves a file or directory to the user's trash (the freedesktop.org trash).
// A failure leaves the file where it is; it is never deleted instead.
Result<void> Trash(const std::string& path);

} // namespace paradrex::platform
