#pragma once
// The two logged name operations on a directory of the result, run by the
// log dialog on a worker thread (or synchronously by a test or a script):
//
// Rename Base on This Directory (32905, recursive 32898; caption
// "Renaming"): for every CloneRef of the directory, every group of its clone
// set: the name of the group's file in this directory (the ref's position)
// goes to each other file of the group whose name differs. A group with two
// files in one directory is skipped (renaming both to one name cannot work),
// and run groups are never renamed. Each new name is a copy in the record
// pool, also when it reads like the file's origin name, so such a file does
// not have its origin name (its tip still shows "Origin: ") and Restore
// moves it back onto its own name.
//
// Restore Origin Name in This Directory (32906 "Restoring Name", recursive
// 32899 "Restoring Names"): every file of the directory's CloneRefs and
// RunRefs (run files too) that does not have its origin name goes back to it.
//
// Recursive: every directory below first, depth first in child order, the
// directory itself last, so for a group with a file in the directory and one
// in a subdirectory, the subdirectory's name wins. One log line per file
// tried (LogText.h), each appended as soon as the file is done, and at the
// end the summary. The stop request is read before each CloneRef: once set,
// the operation ends there, names changed so far stay changed, no summary.
//
// Every rename is FileRename.h's: one path component, still the file the
// search found, never over an existing file. A failure costs one failed
// count and a " ......Failed" line; the walk goes on.
//
// The worker writes file records' names and the record pool, which nothing
// else may touch while it runs. Afterwards the window refills the file list
// of the selected directory and selects its first row, if any.

#include "fileops/OperationCallbacks.h"

#include <cstdint>
#include <string_view>

namespace paradrex {

class BlockPool;
struct ResultDir;

enum class NameOperation { RenameBase, RestoreNames };

// The log dialog's caption: "Renaming" (either Rename Base command),
// "Restoring Name" (plain restore), "Restoring Names" (recursive restore).
std::string_view NameOperationCaption(NameOperation operation, bool recursive);

struct NameOperationOutcome {
    uint64_t succeeded = 0;
    uint64_t failed = 0;
    bool stopped = false; // ended by the stop request: no summary was logged
};

// Rename Base on This Directory on `dir` (a directory of the result, not
// the tree's nameless root), new names allocated in `recordPool`.
NameOperationOutcome RunRenameBase(ResultDir& dir, bool recursive, BlockPool& recordPool,
                                   const OperationCallbacks& callbacks);

// Restore Origin Name in This Directory on `dir`.
NameOperationOutcome RunRestoreNames(ResultDir& dir, bool recursive,
                                     const OperationCallbacks& callbacks);

} // namespace paradrex
