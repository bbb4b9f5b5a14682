#include "engine/SearchDriver.h"

#include "engine/Checkpoint.h"
#include "engine/ContentComparer.h"
#include "engine/OrderedParallel.h"
#include "engine/PrefixPass.h"
#include "engine/ResultBuilder.h"
#include "engine/Scanner.h"
#include "engine/SearchState.h"
#include "platform/Clock.h"
#include "platform/KeyStore.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>

namespace paradrex {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

unsigned ThreadCount(const SearchEnvironment& env) {
    if (env.threads > 0)
        return env.threads;
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : std::min(n, 8u);
}

void CompareAllSets(SearchState& state, const ErrorSink& log, unsigned threads) {
    std::mutex logMutex;
    const ErrorSink lockedLog = SerializedSink(log, logMutex);
    // The read buffers of all comparers together stay within a few MiB.
    const size_t budget = std::max<size_t>((4u << 20) / std::max(threads, 1u), 1u << 20);
    std::vector<std::unique_ptr<ContentComparer>> comparers;
    for (unsigned t = 0; t < std::max(threads, 1u); ++t)
        comparers.push_back(std::make_unique<ContentComparer>(state, lockedLog, budget));

    OrderedParallel<std::vector<DuplicateGroup>>(
        state, state.candidateSets.size(), threads,
        [&](size_t i, unsigned worker) {
            std::vector<FileRecord*> records;
            for (FileEntry* e : state.candidateSets[i])
                if (e->record)
                    records.push_back(e->record);
            std::vector<DuplicateGroup> groups;
            comparers[worker]->Compare(records, groups);
            return groups;
        },
        [&](size_t, std::vector<DuplicateGroup> groups) {
            for (DuplicateGroup& g : groups) {
                const uint64_t n = g.size();
                state.counters.duplicateCount.fetch_add(static_cast<uint32_t>(n), kRelaxed);
                state.counters.duplicateSize.fetch_add(uint64_t{g.front()->size} * n, kRelaxed);
                StoreGroup(state, std::move(g));
            }
        });
}

// Adds this search's files and bytes to the per-user totals. A missing key is
// skipped; a value of another type counts as 0 and is overwritten as qword.
void AddTotals(platform::KeyStore& store, uint64_t files, uint64_t bytes) {
    (void)store.Update(kTotalsKey, [&](platform::KeyValues& values) {
        auto add = [&](const char* name, uint64_t amount) {
            auto it = values.find(name);
            uint64_t old = it != values.end() && it->second.type == platform::KeyValueType::Qword
                               ? it->second.number
                               : 0;
            values[name] = platform::KeyValue::Qword(old + amount);
        };
        add(kTotalsFiles, files);
        add(kTotalsBytes, bytes);
        return true;
    });
}

int Search(SearchState& state, const SearchEnvironment& env) {
    auto& c = state.counters;
    const ErrorSink& log = env.logError;

    c.Zero();
    const uint64_t start = platform::TickMs();
    state.resultRoot.reset();
    state.cloneSets.clear();
    state.runGroups.clear();
    state.dirTree.reset();
    state.sizeMap.Clear();
    state.candidateSets.Clear();
    state.recordPool.Reset();
    state.namePool.Reset();

    auto& times = state.phaseTimes;
    times = {};
    uint64_t phase = start;
    auto lap = [&](double& slot) {
        const uint64_t now = platform::TickMs();
        slot = static_cast<double>(now - phase) / 1000.0;
        phase = now;
    };

    const unsigned threads = ThreadCount(env);
    // Phases that mostly wait for the disk (listing, opening, the prefix
    // reads) keep more requests in flight than there are processors; with a
    // warm cache the extra threads cost little.
    const unsigned ioThreads = threads > 1 ? threads * 2 : 1;
    ScanAllRoots(state, ioThreads > 1 ? ioThreads : 0);
    state.scanFinished = true;
    lap(times.scan);

    MarkSizeCandidates(state);
    Checkpoint(state);
    ValidatePrefixes(state, log, ioThreads);
    c.validated.store(-1, kRelaxed);
    lap(times.prefix);

    BuildCandidateSets(state);
    state.sizeMap.Clear();
    lap(times.candidates);

    Checkpoint(state);
    CreateRecords(state, ioThreads);
    Checkpoint(state);
    lap(times.records);

    CompareAllSets(state, log, threads);
    state.candidateSets.Clear();
    state.dirTree.reset(); // the name pool stays: records point into it
    lap(times.compare);

    Checkpoint(state);
    c.findTime.store(platform::SecondsSince(start), kRelaxed);

    if (env.keyStore)
        AddTotals(*env.keyStore, c.fileCount.load(kRelaxed), c.totalSize.load(kRelaxed));

    if (!state.cloneSets.empty() || !state.runGroups.empty()) {
        uint64_t t = platform::TickMs();
        BuildResultTree(state);
        Checkpoint(state);
        c.buildTime.store(platform::SecondsSince(t), kRelaxed);
        times.tree = c.buildTime.load(kRelaxed);

        t = platform::TickMs();
        if (env.defaultDirectories) {
            DefaultDirectories dirs = env.defaultDirectories();
            ApplyDefaultDirectories(state, dirs.preserve, FileState::Preserved);
            ApplyDefaultDirectories(state, dirs.remove, FileState::Deleted);
        }
        c.pretreatTime.store(platform::SecondsSince(t), kRelaxed);
        times.premark = c.pretreatTime.load(kRelaxed);
    }

    const double findTime = c.findTime.load(kRelaxed);
    if (findTime > 0) {
        c.averageFilesPerSecond.store(
            static_cast<uint32_t>(static_cast<double>(c.fileCount.load(kRelaxed)) / findTime),
            kRelaxed);
        c.averageBytesPerSecond.store(
            static_cast<uint64_t>(static_cast<double>(c.totalSize.load(kRelaxed)) / findTime),
            kRelaxed);
    }

    Checkpoint(state);
    if (state.resultRoot && state.resultRoot->children.empty())
        state.resultRoot.reset();
    state.done = true;
    return 0;
}

void StopCleanUp(SearchState& state) {
    state.ClearAll();
    state.counters.Zero();
}

} // namespace

int RunSearch(SearchState& state, const SearchEnvironment& env) {
    try {
        return Search(state, env);
    } catch (const StopSearch&) {
        StopCleanUp(state);
        return 1;
    } catch (const std::exception& e) {
        // Out of memory and the like: record it, leave the state empty and end
        // as a stopped search, so whoever waits for the worker is released.
        StopCleanUp(state);
        _Error_record record(std::string("Search failed: ") + e.what(), 0);
        if (env.logError)
            env.logError(record);
        else
            record.Write();
        state.RequestStop();
        return 1;
    }
}

} // namespace paradrex
