#pragma once
// What became of one file of a logged operation, as a value: the workers
// report it, and the log line is built from it (LogText.h).

#include "platform/Result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace paradrex {

enum class FileFailure : uint8_t {
    None,       // done
    Changed,    // not the file the search compared (other device, inode, size or time;
                // a rename looks at device and inode only)
    NoKeptCopy, // its group keeps a copy, but none is left unchanged on disk
    System,     // a system call failed (`error`): vanished, denied, full, target exists, ...
    BadName,    // a rename's new name is not one path component (refused before any call)
};

struct FileOutcome {
    std::string path = {};   // the file's full path
    std::string target = {}; // where a move sends it; a rename's new name; empty otherwise
    FileFailure failure = FileFailure::None;
    std::optional<platform::Error> error = {}; // the call that failed, for System

    bool succeeded() const { return failure == FileFailure::None; }
};

} // namespace paradrex
