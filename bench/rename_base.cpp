// Benchmark of the logged name operations without widgets: Rename Base on
// This Directory (Recursively) and Restore Origin Name in This Directory
// (Recursively) over a real tree of `groups` duplicate pairs, each pair a
// file in left/dK/ and its copy under another name in right/dK/. The search
// before is not timed. Every rename is the real one: the identity check
// (lstat), renameat2 without replacing, the record's new name, the log line
// handed to the append callback (collected into one string, as the log
// dialog's queue would). Not a test: it prints the median and the slowest of
// several runs, in files per second.
//
//   bench_rename_base [groups=10000] [runs=5] [dir=$TMPDIR]

#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "fileops/NameOperations.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace paradrex;
namespace fs = std::filesystem;

namespace {

constexpr int kFilesPerDirectory = 100;

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

struct Timed {
    NameOperationOutcome outcome;
    double seconds;
    size_t logBytes;
};

template <class Op> Timed Measure(Op op) {
    std::string log;
    OperationCallbacks callbacks;
    callbacks.append = [&](std::string_view text) { log += text; };
    const auto start = std::chrono::steady_clock::now();
    NameOperationOutcome outcome = op(callbacks);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {outcome, seconds, log.size()};
}

void Print(const char* what, std::vector<double> rates, uint64_t files) {
    std::sort(rates.begin(), rates.end());
    std::printf("%-48s %7llu files  median %8.0f files/s  slowest %8.0f files/s\n", what,
                static_cast<unsigned long long>(files), rates[rates.size() / 2], rates.front());
}

} // namespace

int main(int argc, char** argv) {
    const int groups = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::string base = argc > 3 ? argv[3] : "";
    if (base.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = base + "/paradrex-rename-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = pattern;
    for (int g = 0; g < groups; ++g) {
        const std::string dir = "d" + std::to_string(g / kFilesPerDirectory);
        fs::create_directories(root / "left" / dir);
        fs::create_directories(root / "right" / dir);
        const std::string bytes = "content of group " + std::to_string(g) + "\n";
        Write(root / "left" / dir / ("photo " + std::to_string(g) + ".jpg"), bytes);
        Write(root / "right" / dir / ("IMG_" + std::to_string(g) + " (1).jpg"), bytes);
    }

    SearchState state;
    state.job.roots.Add(root.string());
    SearchEnvironment env;
    env.logError = [](const _Error_record&) {};
    state.ClearFlags();
    if (RunSearch(state, env) != 0 || !state.resultRoot) {
        std::fprintf(stderr, "the search found nothing\n");
        return 1;
    }
    ResultDir* top = FindResultDir(state.resultRoot.get(), root.string());

    std::vector<double> renameRates, restoreRates;
    uint64_t renamed = 0, restored = 0;
    bool ok = top != nullptr;
    for (int r = 0; r < runs && ok; ++r) {
        const Timed rename = Measure([&](const OperationCallbacks& cb) {
            return RunRenameBase(*top, true, state.recordPool, cb);
        });
        const Timed restore =
            Measure([&](const OperationCallbacks& cb) { return RunRestoreNames(*top, true, cb); });
        renamed = rename.outcome.succeeded;
        restored = restore.outcome.succeeded;
        ok = rename.outcome.failed == 0 && restore.outcome.failed == 0 &&
             renamed == static_cast<uint64_t>(groups) && restored == renamed;
        renameRates.push_back(static_cast<double>(renamed) / rename.seconds);
        restoreRates.push_back(static_cast<double>(restored) / restore.seconds);
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    if (!ok) {
        std::fprintf(stderr, "a run renamed %llu and restored %llu of %d files\n",
                     static_cast<unsigned long long>(renamed),
                     static_cast<unsigned long long>(restored), groups);
        return 1;
    }
    std::printf("%d groups, %d runs\n", groups, runs);
    Print("Rename Base on This Directory (Recursively)", renameRates, renamed);
    Print("Restore Origin Name in This Directory (Recursively)", restoreRates, restored);
    return 0;
}
