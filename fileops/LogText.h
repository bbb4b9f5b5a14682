#pragma once
// Every text of the operation log and the preview, built in this one place
// from the values the workers report. Text uses "\n" line ends; the last
// line of a log (the summary or total) has none. Saved logs turn them into
// CR LF (LogFiles.h). The status-bar messages of the single renames are
// built here too. Paths and names are bytes as the system gives them; the
// window decodes them for display.

#include "fileops/DeleteOption.h"
#include "fileops/FileOutcome.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace paradrex {

// Deleting, trashing, moving: the path, then "......Succeed\n" or
// "......Failed\n" (no blank before the dots).
std::string DeleteLogLine(const FileOutcome& outcome);

// The end of a finished delete operation: an empty line, the method's line
// ("Deleted files marked cross to Recycle Bin,", "Deleted files marked cross
// directly," or "Moved files marked cross to " + move directory + ","), then
// "N files succeed, M files failed". A stopped operation has none.
std::string DeleteLogSummary(const DeleteSettings& settings, uint64_t succeeded, uint64_t failed);

// The preview: one line per file marked cross, the path and "\n".
std::string PreviewLogLine(std::string_view path);
// The end of the preview: an empty line, then "Total N files you had marked
// cross will be " and "deleted to Recycle Bin", "deleted directly" or
// "moved to " + move directory.
std::string PreviewLogTotal(uint64_t count, const DeleteSettings& settings);

// Renaming and restoring names. `outcome.path` is the file's old full path,
// `outcome.target` the new name (for a restore, the origin name).
//
// A line of Rename Base on This Directory and of Restore Origin Name in This
// Directory: old path + " -> " + new name, then " ......Failed" when it
// failed (one blank before the dots), then "\n".
std::string RenameLogLine(const FileOutcome& outcome);
// The end of a finished Rename Base on This Directory: an empty line, then
// "Renamed files base on files in " (recursive: "Renamed files base on files
// (recursively) in ") and the directory's full path in double quotation
// marks, a line end, "N files succeed, M files failed".
std::string RenameBaseLogSummary(std::string_view directoryPath, bool recursive, uint64_t succeeded,
                                 uint64_t failed);
// The same for Restore Origin Name in This Directory, with "Restored files'
// names in " (recursive: "Restored filenames (recursively) in ").
std::string RestoreNamesLogSummary(std::string_view directoryPath, bool recursive,
                                   uint64_t succeeded, uint64_t failed);

// The status-bar message of a rename that failed (in-place edit, Paste
// Name, Paste Name (Group)): "Rename Error: " + old path + " -> " + new name.
std::string RenameErrorMessage(const FileOutcome& outcome);
// The status-bar message of Restore Origin Name, shown whatever the outcome:
// old path + " -> " + origin name, then " ......Failed" when it failed.
std::string RestoreMessage(const FileOutcome& outcome);

} // namespace paradrex
