#pragma once
// Runs a program and captures its standard output, standard error and exit
// status, for end-to-end tests of the command-line front end.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace paradrex::test {

struct ProcessResult {
    int exitCode = -1; // -1 when it died of a signal
    int signal = 0;
    std::string out, err;
};

struct ProcessOptions {
    std::string workingDirectory; // empty: the current one
    // Called with the child's pid right after it started (e.g. to signal it).
    std::function<void(int pid)> whileRunning;
    // As root, run the program as the user "nobody" (uid and gid 65534).
    bool asNobody = false;
    // Variables set (or, without a value, unset) for the program only.
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// The paradrex-cli executable under test.
std::string CliPath();

} // namespace paradrex::test
