#pragma once
// The operation log outside the window:
//   - Save... of the log and preview dialogs writes the log text to the
//     chosen file with CR LF line ends, path bytes unchanged, no NUL; a file
//     that cannot be written is reported (an Error value; the dialog shows
//     SaveLogFailureMessage in a box captioned "Error").
//   - The lasting record: when an operation ends, its log is appended to
//     $XDG_STATE_HOME/Paradrex/operations.log (default
//     ~/.local/state/Paradrex/operations.log): a dated header line, then the
//     same lines, so what was deleted, trashed or moved can still be found
//     after the window is closed. paradrex-cli and the desktop program both
//     call AppendOperationRecord.

#include "platform/Result.h"

#include <ctime>
#include <string>
#include <string_view>

namespace paradrex {

// The text with every "\n" as CR LF (a CR LF already there stays one).
std::string WithCrLf(std::string_view text);

// Writes the log text to `path` with CR LF line ends, replacing an existing
// file only once the new one is complete (an old file stays whole when the
// write fails).
platform::Result<void> SaveLog(const std::string& path, std::string_view logText);

// The text of the "Error" box when Save... failed.
std::string SaveLogFailureMessage(const platform::Error& error);

// $XDG_STATE_HOME/Paradrex/operations.log when XDG_STATE_HOME is absolute,
// else ~/.local/state/Paradrex/operations.log; empty when there is no home.
std::string OperationRecordPath();

// The record's header line for an operation with the log dialog's caption
// ("Deleting Files", ...), ended at `when` (local time):
// "[2026-12-09 14:03:12 +0100] Deleting Files", with ", stopped" after a
// stop. No line end.
std::string OperationRecordHeader(std::string_view caption, bool stopped, std::time_t when);

// Appends the header line and the log text (with a line end after its last
// line) to the record at `recordPath` in one write, creating its folders
// (mode 0700) and the file (mode 0600) as needed.
platform::Result<void> AppendOperationRecord(const std::string& recordPath,
                                             std::string_view caption, std::string_view logText,
                                             bool stopped, std::time_t when);

} // namespace paradrex
