#pragma once
// What the delete operation does to one file marked cross: trash it, delete
// it or move it, but only when it is still the file the search compared and,
// when its group keeps a copy, one kept copy is still on disk unchanged.
// Every outcome is a value; the file is never lost on a failure:
//   - trash: the freedesktop.org trash; a file that cannot be trashed stays
//     (it is never deleted instead);
//   - move: under the move directory with the file's whole path, missing
//     folders created; never over an existing file; across file systems
//     copied, verified and only then removed (platform::MoveNoReplace).
// Every system call goes through the platform seam.

#include "engine/SearchModel.h"
#include "fileops/DeleteOption.h"
#include "fileops/FileOutcome.h"

#include <string>

namespace paradrex {

// Acts on `file`, a file marked cross of `group`, by the settings' method.
FileOutcome ActOnFile(const FileRecord& file, const DuplicateGroup& group,
                      const DeleteSettings& settings);

// Where a move sends a file: the move directory (without trailing slashes)
// followed by the file's whole path: "/old" and "/data/a.txt" give
// "/old/data/a.txt".
std::string MoveTarget(const std::string& moveDirectory, const std::string& path);

// How the file at `path` compares with the one the search recorded: the same
// file is the same device and inode, a regular file (a symbolic link put in
// its place is not followed), with the same size and modification time to
// the nanosecond.
enum class FileChange {
    None,        // still the file the search recorded
    Vanished,    // no file of that name any more (ENOENT, ENOTDIR)
    Unreachable, // the name could not be looked at (EACCES, EIO, ...)
    NotRegular,  // a symbolic link, a directory or another special file now
    Replaced,    // another file (device or inode) under that name
    Modified,    // the same file with another size or modification time
};
struct FileCheck {
    FileChange change = FileChange::None;
    int error = 0; // the errno of Vanished and Unreachable
};
FileCheck CheckFile(const FileRecord& file, const std::string& path);

// True when the file at `path` is still the one the search recorded.
bool StillTheFileSearched(const FileRecord& file, const std::string& path);

} // namespace paradrex
