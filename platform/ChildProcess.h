#pragma once
// Starting a program the user chose (a row of the "Open" submenu) and letting
// it run on its own.

#include "platform/Result.h"

#include <string>
#include <vector>

namespace paradrex::platform {

// Starts the program argv[0] (a path to it: the PATH is not searched) with
// the arguments exactly as the bytes given, no shell between, in a session of
// its own, and does not wait for it: the program is not this process's child
// and outlives it. Standard input is /dev/null; standard output and error are
// this process's. Fails with the errno of the start (ENOENT, EACCES, ENOEXEC,
// ...; EINVAL for an empty argv) when the program could not be started.
Result<void> StartDetached(const std::vector<std::string>& argv);

} // namespace paradrex::platform
