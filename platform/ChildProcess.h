#pragma once
// Child processes. RunChild runs a helper program to completion and captures
// what it prints: used for the desktop's command-line tools (the MIME
// association query); the child gets /dev/null as standard input and standard
// error, and is killed when it outlives its time limit, so a hanging tool
// cannot block the caller. StartDetached starts a program the user chose and
// lets it run on its own.

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

// Starts the program argv[0] (a path to it: the PATH is not searched) with
// the arguments exactly as the bytes given, no shell between, in a session of
// its own, and does not wait for it: the program is not this process's child
// and outlives it. Standard input is /dev/null; standard output and error are
// this process's. Fails with the errno of the start (ENOENT, EACCES, ENOEXEC,
// ...; EINVAL for an empty argv) when the program could not be started.
Result<void> StartDetached(const std::vector<std::string>& argv);

} // namespace paradrex::platform
