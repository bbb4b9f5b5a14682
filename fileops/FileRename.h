#pragma once
// Renaming one file of the result on disk, the step every rename and restore
// command takes. A rename:
//   - takes a new name that is one path component: not empty, not "." or
//     "..", without "/" or NUL, at most NAME_MAX bytes; any other name is
//     refused before any system call (a "/" would move the file elsewhere);
//     a file system with a shorter limit refuses the rename itself
//     (ENAMETOOLONG), which fails the same way;
//   - acts only on the file the search found: the path must still name the
//     same device and inode (a file put there since is not renamed);
//   - never replaces a file: platform::RenameNoReplace, so an existing new
//     name fails and both files stay as they were;
//   - to the name the file has already (a restore of a file whose new name
//     reads like its origin name) succeeds at once, without a system call:
//     the file is where it should be, and reporting a failure for it would
//     be false.
// The record is not changed here; the commands point its name on success.

#include "engine/SearchModel.h"
#include "fileops/FileOutcome.h"

#include <string_view>

namespace paradrex {

class BlockPool;

// Whether `name` can be a file's new name: one path component the system
// takes.
bool IsOneFileName(std::string_view name);

// Renames `file` within its directory to `newName`. The outcome carries the
// old full path and the new name; its failure is BadName, Changed or System.
FileOutcome RenameFile(const FileRecord& file, std::string_view newName);

// A copy of `name` (without NUL bytes) in the record pool, NUL-terminated,
// for a file's new name. Never freed on its own.
const char* CopyName(BlockPool& recordPool, std::string_view name);

} // namespace paradrex
