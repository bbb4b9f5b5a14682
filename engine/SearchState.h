#pragma once
// The one process-wide record of a search: its job, control flags, pools,
// scan structures, result and counters.

#include "engine/BlockPool.h"
#include "engine/PathSet.h"
#include "engine/SearchModel.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace paradrex {

// What to search; written by the New Search dialog (or the command line)
// before the search starts and only read by the engine.
struct SearchJob {
    PathSet roots;
    bool minSizeEnabled = false;
    uint64_t minSize = 0; // bytes; a file of exactly minSize is kept
    bool maxSizeEnabled = false;
    uint64_t maxSize = 0; // bytes; a file of exactly maxSize is kept
    int includeReadOnly = 0;
    int includeHidden = 0;
    int includeSystem = 0;
    std::vector<std::string> typeList; // sorted, lower case, no dots; empty: every type
};

// Counters and timings; the progress display reads them while the worker
// writes them.
struct SearchCounters {
    std::atomic<uint64_t> totalSize{0};
    std::atomic<uint64_t> averageBytesPerSecond{0};
    std::atomic<uint32_t> fileCount{0};
    std::atomic<uint32_t> averageFilesPerSecond{0};
    std::atomic<uint32_t> duplicateCount{0};
    std::atomic<uint64_t> duplicateSize{0};
    std::atomic<uint32_t> directoryCount{0};
    std::atomic<int32_t> validated{0};
    std::atomic<double> findTime{0};
    std::atomic<double> buildTime{0};
    std::atomic<double> pretreatTime{0};

    struct Values {
        uint64_t totalSize, averageBytesPerSecond;
        uint32_t fileCount, averageFilesPerSecond, duplicateCount;
        uint64_t duplicateSize;
        uint32_t directoryCount;
        int32_t validated;
        double findTime, buildTime, pretreatTime;
    };
    Values Snapshot() const;
    void Zero();
    void Swap(SearchCounters& other);
};

// The sizes of the scanned files: ascending size, and within one size the
// order of insertion (post-order of directories, listing order inside one).
class SizeMap {
public:
    void Add(uint64_t size, FileEntry* entry) { items_.push_back({size, entry}); }
    // Sorts by size, keeping insertion order within a size.
    void Seal();
    // Calls fn(size, entries) for every size in ascending order (after Seal).
    template <class Fn> void ForEachSize(Fn&& fn) const {
        size_t i = 0;
        std::vector<FileEntry*> run;
        while (i < items_.size()) {
            size_t j = i;
            run.clear();
            while (j < items_.size() && items_[j].size == items_[i].size)
                run.push_back(items_[j++].entry);
            fn(items_[i].size, std::span<FileEntry* const>(run));
            i = j;
        }
    }
    void Clear() {
        items_.clear();
        items_.shrink_to_fit();
    }
    size_t entryCount() const { return items_.size(); }

private:
    struct Item {
        uint64_t size;
        FileEntry* entry;
    };
    static_assert(sizeof(Item) <= 16);
    std::vector<Item> items_;
};

// The candidate sets in order of creation, each a list of entries.
class CandidateSetList {
public:
    void Append(std::span<FileEntry* const> set) {
        starts_.push_back(static_cast<uint32_t>(entries_.size()));
        entries_.insert(entries_.end(), set.begin(), set.end());
    }
    size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::span<FileEntry* const> operator[](size_t i) const {
        size_t b = starts_[i];
        size_t e = i + 1 < starts_.size() ? starts_[i + 1] : entries_.size();
        return {entries_.data() + b, e - b};
    }
    void Clear() {
        entries_.clear();
        entries_.shrink_to_fit();
        starts_.clear();
        starts_.shrink_to_fit();
    }

private:
    std::vector<FileEntry*> entries_;
    std::vector<uint32_t> starts_;
};

class SearchState {
public:
    SearchState() = default;
    SearchState(const SearchState&) = delete;
    SearchState& operator=(const SearchState&) = delete;

    // The process-wide instance.
    static SearchState& Instance();

    SearchJob job;

    // Control flags. done and scanFinished are written by the worker,
    // paused and stopRequested by the controlling thread.
    std::atomic<bool> done{false};
    std::atomic<bool> paused{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> scanFinished{false};

    // Clears the four flags before a worker starts.
    void ClearFlags();
    // Pause is cooperative: the worker waits at its next checkpoint.
    void SetPaused(bool paused);
    void RequestStop();
    // Worker side: waits while paused (returns at once when a stop is pending).
    void WaitWhilePaused();

    // The directory the scan is reading, for the progress display.
    std::string StatusText() const;
    void SetStatusText(std::string text);

    BlockPool namePool;
    BlockPool recordPool;

    // Scan structures, alive only while the worker runs.
    std::unique_ptr<DirNode> dirTree;
    SizeMap sizeMap;
    CandidateSetList candidateSets;

    // The result.
    CloneSetMap cloneSets;
    RunGroupList runGroups;
    std::unique_ptr<ResultDir> resultRoot;

    SearchCounters counters;

    // Seconds each phase of the last search took, for profiling; written by
    // the worker, read after it has ended.
    struct PhaseTimes {
        double scan = 0, prefix = 0, candidates = 0, records = 0, compare = 0, tree = 0,
               premark = 0;
    } phaseTimes;

    // Frees the scan structures and the result and resets both pools.
    void ClearAll();

    // Exchanges the job, the pools, the result and the counters with
    // `other` (a result built aside, e.g. read from a file), so the result
    // changes at once or not at all. No worker may run on either.
    void SwapResult(SearchState& other) noexcept;

private:
    mutable std::mutex mutex_;
    std::condition_variable pauseChanged_;
    std::string statusText_;
};

} // namespace paradrex
