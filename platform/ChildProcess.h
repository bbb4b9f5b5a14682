#pragma once
// Runs a helper program to completion and captures what it prints: used for
// the desktop's command-line tools (the MIME association query). The child
// gets /dev/null as standard input and standard error, and is killed when it
// outlives its time limit, so a hanging tool cannot block the caller.

#include "platform/Result.h"

#include <chrono>
#include <string>
#include <vector>

namespace paradrex::platform {

struct ChildResult {
    int exitCode = -1;  // the exit status, or -1 when the child ended by a signal
    std::string output; // standard output, at most the requested number of bytes
};

// Runs argv[0] (looked up on PATH when it holds no '/') with the arguments.
// Fails when the program could not be started (the errno of the start, e.g.
// ENOENT; EINVAL for an empty argv) or was killed at the time limit
// (ETIMEDOUT).
Result<ChildResult> RunChild(const std::vector<std::string>& argv,
                             std::chrono::milliseconds timeout, size_t maxOutput = 64 * 1024);

} // namespace paradrex::platform
