#pragma once
// Every text of the operation log and the preview, built in this one place
// from the values the workers report. Text uses "\n" line ends; the last
// line of a log (the summary or total) has none. Saved logs turn them into
// CR LF (LogFiles.h). The renaming operations' lines belong here too.

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

} // namespace paradrex
