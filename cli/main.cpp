// paradrex-cli: runs the search the desktop program runs, on the directories
// given, and prints the duplicate groups; with --apply it acts on the files
// marked cross as the desktop program's delete command does.

#include "cli/Options.h"
#include "cli/ResultWriter.h"
#include "engine/PathSet.h"
#include "engine/ResultBuilder.h"
#include "engine/ResultGroups.h"
#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "fileops/DeleteWorker.h"
#include "fileops/LogFiles.h"
#include "fileops/Preview.h"
#include "fileops/ResultFile.h"
#include "platform/KeyStore.h"
#include "platform/Paths.h"
#include "platform/trash/FreedesktopTrash.h"
#include "settings/SettingFile.h"
#include "uimodel/SearchFilters.h"
#include "uimodel/SizeText.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace paradrex;

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
std::atomic<bool> g_stopApply{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnSignal(int) {
    g_interrupted = 1;
    // Lock-free atomic stores: safe in a signal handler. The worker sees them
    // at its next checkpoint (the delete operation: before its next file).
    SearchState::Instance().stopRequested.store(true, std::memory_order_relaxed);
    g_stopApply.store(true, std::memory_order_relaxed);
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "paradrex-cli: %s\nTry 'paradrex-cli --help' for more information.\n",
                 message.c_str());
    return 2;
}

// A directory argument made absolute and lexically normal. An argument that
// names a directory as given is taken as it is (its spaces belong to it);
// otherwise it is read as typed text, with blanks trimmed and "~" expanded.
std::string DirectoryArgument(const std::string& arg) {
    if (!arg.empty() && arg[0] != '~' && platform::IsDirectory(arg))
        return platform::AbsoluteNormalPath(arg);
    return NormalizeDirEntry(arg);
}

void ShowProgress(const SearchState& state, bool final) {
    const auto v = state.counters.Snapshot();
    std::string line = "\r" + GroupDigits(v.directoryCount) + " directories, " +
                       GroupDigits(v.fileCount) + " files (" + SizeText(v.totalSize) + ")";
    if (state.scanFinished) {
        line += ", " + GroupDigits(v.duplicateCount) + " duplicates (" + SizeText(v.duplicateSize) +
                ")";
        if (v.validated >= 0)
            line += ", validating " + GroupDigits(static_cast<uint64_t>(v.validated));
    }
    line += "\033[K";
    if (final)
        line += "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void ShowSummary(const SearchState& state) {
    const auto v = state.counters.Snapshot();
    const size_t groups = ResultGroups(state).size();
    std::fprintf(stderr,
                 "Searched %s directories and %s files (%s bytes, %s); found %s duplicate files "
                 "(%s bytes, %s) in %s groups in %.3f s.\n",
                 GroupDigits(v.directoryCount).c_str(), GroupDigits(v.fileCount).c_str(),
                 GroupDigits(v.totalSize).c_str(), SizeText(v.totalSize).c_str(),
                 GroupDigits(v.duplicateCount).c_str(), GroupDigits(v.duplicateSize).c_str(),
                 SizeText(v.duplicateSize).c_str(), GroupDigits(groups).c_str(), v.findTime);
}

// --apply: the preview, or the delete operation with its log on standard
// output, exactly as the desktop program's log dialog shows it.
int Apply(const cli::Options& o, SearchState& state) {
    DeleteSettings settings;
    switch (*o.apply) {
    case cli::ApplyMethod::Trash:
        settings.method = DeleteMethod::Trash;
        break;
    case cli::ApplyMethod::Delete:
        settings.method = DeleteMethod::DeleteDirectly;
        break;
    case cli::ApplyMethod::Move:
        settings.method = DeleteMethod::Move;
        settings.moveDirectory = DirectoryArgument(o.moveDirectory);
        break;
    }
    auto writeOut = [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); };
    if (!o.yes) {
        writeOut(BuildPreview(state.resultRoot.get(), settings).text);
        writeOut("\n");
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    platform::UseFreedesktopTrash();
    std::string log;
    OperationCallbacks callbacks;
    callbacks.append = [&](std::string_view text) {
        writeOut(text);
        log += text;
    };
    // No questions on the command line: every emptied directory goes, or
    // every one stays.
    const EmptyDirAnswer emptyDirs =
        o.removeEmptyDirs ? EmptyDirAnswer::YesToAll : EmptyDirAnswer::NoToAll;
    callbacks.askEmptyDirectory = [emptyDirs](const std::string&) { return emptyDirs; };
    callbacks.stop = &g_stopApply;
    // Names differing within a group never keep it out here.
    const DeleteChoices choices{.includeAllMarked = o.includeAllMarked,
                                .includeNameMismatch = true};
    const auto started = std::chrono::steady_clock::now();
    const DeleteOutcome outcome = RunDeleteOperation(state, settings, choices, callbacks);
    if (!log.empty() && log.back() != '\n')
        writeOut("\n");
    std::fflush(stdout);

    if (auto kept = AppendOperationRecord(OperationRecordPath(), "Deleting Files", log,
                                          outcome.stopped, std::time(nullptr));
        !kept)
        std::fprintf(stderr, "paradrex-cli: the operation was not recorded: %s\n",
                     kept.error().Message().c_str());
    if (o.timings)
        std::fprintf(
            stderr, "apply %.3f s\n",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    if (outcome.stopped) {
        std::fprintf(stderr, "paradrex-cli: interrupted: the files logged above were handled, "
                             "the rest was left as it was\n");
        return 130;
    }
    return outcome.failed > 0 ? 1 : 0;
}

// The search of the options' directories, with the default directories of a
// Setting.ini here and of the options pre-marked; 0 when it completed.
int Search(cli::Options& o, SearchState& state) {
    SearchJob base;
    if (o.roots.empty())
        o.roots.push_back(".");
    for (const std::string& r : o.roots) {
        std::string dir = DirectoryArgument(r);
        if (dir.empty() || !platform::IsDirectory(dir))
            return UsageError("not a directory: '" + r + "'");
        base.roots.Add(dir);
    }
    SearchJobOrError made = MakeSearchJob(cli::FiltersOf(o), std::move(base));
    if (!made.job)
        return UsageError(made.error);
    state.job = std::move(*made.job);

    // The default Preserve and Delete lists of a Setting.ini in the working
    // directory (read only, never written), then those of the options.
    DefaultDirectories defaults;
    {
        _Setting_file settings = _Setting_file::ReadOnly("");
        defaults.preserve = settings.defaultPreserveDirectory.dirs;
        defaults.remove = settings.defaultDeleteDirectory.dirs;
    }
    for (const std::string& d : o.preserve)
        defaults.preserve.push_back(DirectoryArgument(d));
    for (const std::string& d : o.remove)
        defaults.remove.push_back(DirectoryArgument(d));

    platform::KeyStore keyStore;
    (void)keyStore.CreateKey(kTotalsKey); // without it the totals are not counted

    SearchEnvironment env;
    env.defaultDirectories = [&] { return defaults; };
    env.keyStore = &keyStore;
    env.threads = o.threads;

    const bool progress = !o.quiet && o.progress.value_or(::isatty(2) != 0);
    state.ClearFlags();
    std::atomic<bool> finished{false};
    int rc = 1;
    std::thread worker([&] {
        rc = RunSearch(state, env);
        finished = true;
    });
    while (!finished) {
        std::this_thread::sleep_for(std::chrono::milliseconds(progress ? 200 : 20));
        if (progress && !finished)
            ShowProgress(state, false);
    }
    worker.join();
    if (progress)
        ShowProgress(state, true);
    if (rc != 0)
        return g_interrupted ? 130 : 1;
    if (!o.quiet)
        ShowSummary(state);
    if (o.timings) {
        const auto& t = state.phaseTimes;
        std::fprintf(stderr,
                     "phases: scan %.3f s, prefix %.3f s, candidates %.3f s, records %.3f s, "
                     "compare %.3f s, tree %.3f s, premark %.3f s\n",
                     t.scan, t.prefix, t.candidates, t.records, t.compare, t.tree, t.premark);
    }
    return 0;
}

// What a check took out of an opened result: each file on the record stream
// (standard error), then the summary.
void ReportDrops(const DropReport& dropped) {
    for (const _Error_record& r : dropped.ErrorRecords())
        r.Write();
    if (!dropped.empty() || dropped.stopped)
        std::fprintf(stderr, "paradrex-cli: %s\n", dropped.Summary().c_str());
}

// --load: the saved result, checked against the disk (and with --reverify
// compared again), the options' default directories pre-marked; 0 when it
// could be opened. The directories of a Setting.ini were applied when the
// search ran; the saved marks are not overwritten by them again.
int Load(const cli::Options& o, SearchState& state) {
    const auto started = std::chrono::steady_clock::now();
    const OpenOutcome opened = OpenResultFile(state, *o.load);
    if (!opened.ok()) {
        std::fprintf(stderr, "paradrex-cli: %s\n", opened.error->Message().c_str());
        return 1;
    }
    if (o.timings)
        std::fprintf(
            stderr, "load %.3f s\n",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    ReportDrops(opened.dropped);
    if (o.reverify) {
        state.ClearFlags();
        const DropReport compared = Reverify(state);
        if (g_interrupted)
            return 130;
        ReportDrops(compared);
    }
    std::vector<std::string> preserve, remove;
    for (const std::string& d : o.preserve)
        preserve.push_back(DirectoryArgument(d));
    for (const std::string& d : o.remove)
        remove.push_back(DirectoryArgument(d));
    ApplyDefaultDirectories(state, preserve, FileState::Preserved);
    ApplyDefaultDirectories(state, remove, FileState::Deleted);
    if (!o.quiet) {
        size_t groups = 0, files = 0;
        for (const DuplicateGroup& g : ResultGroups(state)) {
            ++groups;
            files += g.size();
        }
        std::fprintf(stderr, "Opened %s: %s duplicate files in %s groups.\n", o.load->c_str(),
                     GroupDigits(files).c_str(), GroupDigits(groups).c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    auto parsed = cli::ParseOptions(argc, argv, error);
    if (!parsed)
        return UsageError(error);
    cli::Options& o = *parsed;
    if (o.help) {
        std::fputs(cli::kUsage, stdout);
        return 0;
    }
    if (o.version) {
        std::printf("paradrex-cli %s\n", PARADREX_VERSION);
        return 0;
    }

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);

    SearchState& state = SearchState::Instance();
    if (int rc = o.load ? Load(o, state) : Search(o, state); rc != 0)
        return rc;

    if (o.apply == cli::ApplyMethod::Move && DirectoryArgument(o.moveDirectory).empty())
        return UsageError("invalid directory for --apply move=: '" + o.moveDirectory + "'");
    if (o.save) {
        const auto started = std::chrono::steady_clock::now();
        if (platform::Result<void> saved = SaveResultFile(state, *o.save); !saved) {
            std::fprintf(stderr, "paradrex-cli: %s\n",
                         SaveResultFailureMessage(*o.save, saved.error()).c_str());
            return 1;
        }
        if (o.timings)
            std::fprintf(
                stderr, "save %.3f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    if (o.apply)
        return Apply(o, state);
    if (o.format == cli::Format::Json)
        cli::WriteJson(stdout, state);
    else
        cli::WriteText(stdout, state);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "paradrex-cli: cannot write the result: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
