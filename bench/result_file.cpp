// Benchmark of saving a result and opening it again, on a synthetic result
// of `files` real (empty) files in `groups` groups spread over 1,000
// directories: each group's files lie in different directories, so the
// groups fall into clone sets as a search of such a tree would store them.
// The files are made and the result is built once (not timed); each run then
// saves it (SaveResultFile, atomic) and opens it into a fresh state
// (OpenResultFile: read, rebuild, check every file against the disk with
// lstat), and the opened result must hold every group and file. Not a test:
// it prints the median and the slowest of the runs.
//
//   bench_result_file [files=1000000] [groups=70000] [runs=5] [dir=$TMPDIR]

#include "engine/ResultBuilder.h"
#include "engine/ResultGroups.h"
#include "engine/SearchState.h"
#include "fileops/ResultFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace paradrex;
namespace fs = std::filesystem;

namespace {

constexpr int kDirectories = 1000;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Print(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-6s median %.3f s  slowest %.3f s\n", what, times[times.size() / 2],
                times.back());
}

} // namespace

int main(int argc, char** argv) {
    const long files = argc > 1 ? std::atol(argv[1]) : 1000000;
    const long groups = argc > 2 ? std::atol(argv[2]) : 70000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    std::string base = argc > 4 ? argv[4] : "";
    if (base.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        base = tmp && *tmp ? tmp : "/tmp";
    }
    if (groups < 1 || files < 2 * groups || files > groups * kDirectories) {
        std::fprintf(stderr, "need 2 * groups <= files <= %d * groups\n", kDirectories);
        return 2;
    }
    std::string pattern = base + "/paradrex-result-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string root = pattern;

    const auto made = std::chrono::steady_clock::now();
    SearchState state;
    state.job.roots.Add(root);
    const NameRecord* top = NameRecord::Create(state.namePool, nullptr, root);
    std::vector<const NameRecord*> dirs;
    for (int d = 0; d < kDirectories; ++d) {
        const std::string name = "d" + std::to_string(d);
        fs::create_directory(root + "/" + name);
        dirs.push_back(NameRecord::Create(state.namePool, top, name));
    }
    bool ok = true;
    for (long g = 0; g < groups && ok; ++g) {
        const long members = files / groups + (g < files % groups ? 1 : 0);
        DuplicateGroup group;
        for (long k = 0; k < members && ok; ++k) {
            const long d = (g + k * 71) % kDirectories;
            const std::string name = "file " + std::to_string(g) + "." + std::to_string(k);
            const std::string path = root + "/d" + std::to_string(d) + "/" + name;
            const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            struct stat st {};
            ok = fd >= 0 && ::fstat(fd, &st) == 0;
            if (fd >= 0)
                ::close(fd);
            group.push_back(FileRecord::Create(
                state.recordPool, dirs[static_cast<size_t>(d)], name, 0, st.st_mtim.tv_sec,
                FileStamp{st.st_dev, st.st_ino, static_cast<uint32_t>(st.st_mtim.tv_nsec)}));
        }
        StoreGroup(state, std::move(group));
    }
    if (!ok) {
        std::perror("creating the files");
        return 1;
    }
    BuildResultTree(state);
    std::printf("%ld files in %ld groups made in %.1f s\n", files, groups, Seconds(made));

    const std::string saved = root + "/result.pdxr";
    std::vector<double> saves, loads, checks;
    for (int r = 0; r < runs && ok; ++r) {
        auto start = std::chrono::steady_clock::now();
        ok = static_cast<bool>(SaveResultFile(state, saved));
        saves.push_back(Seconds(start));

        SearchState opened;
        start = std::chrono::steady_clock::now();
        const OpenOutcome outcome = OpenResultFile(opened, saved);
        loads.push_back(Seconds(start));
        // The part of opening that looks at the disk, once more on its own.
        start = std::chrono::steady_clock::now();
        ok = ok && CheckAgainstDisk(opened).empty();
        checks.push_back(Seconds(start));
        size_t openedGroups = 0, openedFiles = 0;
        for (const DuplicateGroup& g : ResultGroups(opened)) {
            ++openedGroups;
            openedFiles += g.size();
        }
        if (!outcome.ok())
            std::fprintf(stderr, "%s\n", outcome.error->Message().c_str());
        ok = ok && outcome.ok() && outcome.dropped.empty() &&
             openedGroups == static_cast<size_t>(groups) &&
             openedFiles == static_cast<size_t>(files);
    }
    struct stat st {};
    ::stat(saved.c_str(), &st);
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::error_code ec;
    fs::remove_all(root, ec);
    if (!ok) {
        std::fprintf(stderr, "a run did not give the result back whole\n");
        return 1;
    }
    std::printf("%d runs, result file %.1f MiB, peak memory %.0f MiB\n", runs,
                static_cast<double>(st.st_size) / (1 << 20),
                static_cast<double>(usage.ru_maxrss) / 1024);
    Print("save", saves);
    Print("open", loads);
    Print("(check", checks);
    return 0;
}
