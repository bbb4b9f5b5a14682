#pragma once
// Saving a result with its review and opening it again later: the result
// file (suffix ".pdxr").
//
// The format (version 1, JSON written and read as a stream, path bytes kept
// losslessly) is documented in fileops/ResultFile.md; keep the two together.
//
// Reading builds the result aside and checks every file against the disk
// (ResultCheck.h) before the current result is exchanged for it, so a file
// that cannot be read, is not a result file, is newer, damaged or truncated
// changes nothing.

#include "fileops/ResultCheck.h"
#include "platform/Result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace paradrex {

class SearchState;

inline constexpr const char* kResultFileSuffix = ".pdxr";
inline constexpr uint64_t kResultFileVersion = 1;

// Why a result file was not opened.
struct ResultFileError {
    enum class Kind {
        Unreadable,   // the system refused (see `system`)
        NotAResult,   // not a Paradrex result file at all
        NewerVersion, // written by a newer Paradrex (`version`)
        Damaged,      // broken, truncated or inconsistent (`detail`)
    };
    Kind kind = Kind::Damaged;
    std::string path;
    std::string detail;
    std::optional<uint64_t> offset; // Damaged: the byte where it was found
    bool truncated = false;         // Damaged: the file ends too early
    uint64_t version = 0;           // NewerVersion
    std::optional<platform::Error> system;

    // One sentence for a message box ("The result file /x is damaged: ...").
    std::string Message() const;
};

struct OpenOutcome {
    std::optional<ResultFileError> error; // set: the current result is unchanged
    DropReport dropped;                   // what the disk check took out
    bool ok() const { return !error; }
};

// The name a result is saved under: `path`, with ".pdxr" added when it does
// not already end in it.
std::string WithResultSuffix(const std::string& path);

// Writes the result of `state` (marks and names included) to `path`,
// replacing an existing file only once the new one is complete. An empty
// result (no search, or no duplicates) is written too, without groups.
platform::Result<void> SaveResultFile(const SearchState& state, const std::string& path);

// The text of the "Error" box when saving to `path` failed.
std::string SaveResultFailureMessage(const std::string& path, const platform::Error& error);

// Reads `path`, checks every file against the disk (CheckAgainstDisk) and
// only then makes it the result of `state` (its job, pools, result and
// counters; the old result is freed). Nothing may point into the old result
// (the views let go first). On any error `state` is left as it was.
// Contents are not read; Reverify does that when asked.
OpenOutcome OpenResultFile(SearchState& state, const std::string& path);

// Where the desktop program keeps the last result when it closes:
// $XDG_STATE_HOME/Paradrex/last.pdxr (default
// ~/.local/state/Paradrex/last.pdxr); empty when there is no home.
std::string LastResultPath();

// True when `path` names the kept last result itself (the same file, by
// device and inode, under any name): keeping a review before opening it
// would write over the file being opened.
bool IsLastResultFile(const std::string& path);

// Saves the result to LastResultPath(), creating its folders (mode 0700).
platform::Result<void> KeepLastResult(const SearchState& state);

// A number that changes whenever the review does (a mark, a name, a group
// that went): the desktop takes it after opening or saving, and at exit
// keeps the result only when it differs.
uint64_t ReviewFingerprint(const SearchState& state);

} // namespace paradrex
