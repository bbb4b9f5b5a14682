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

// True when the file at `path` is still the one the search recorded: same
// device, inode, size and modification time to the nanosecond.
bool StillTheFileSearched(const FileRecord& file, const std::string& path);

} // namespace paradrex
