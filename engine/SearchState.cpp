#include "engine/SearchState.h"

#include <algorithm>
#include <utility>

namespace paradrex {

SearchCounters::Values SearchCounters::Snapshot() const {
    constexpr auto r = std::memory_order_relaxed;
    return {totalSize.load(r),      averageBytesPerSecond.load(r),
            fileCount.load(r),      averageFilesPerSecond.load(r),
            duplicateCount.load(r), duplicateSize.load(r),
            directoryCount.load(r), validated.load(r),
            findTime.load(r),       buildTime.load(r),
            pretreatTime.load(r)};
}

void SearchCounters::Swap(SearchCounters& other) {
    constexpr auto r = std::memory_order_relaxed;
    auto swapOne = [&](auto& a, auto& b) { b.store(a.exchange(b.load(r), r), r); };
    swapOne(totalSize, other.totalSize);
    swapOne(averageBytesPerSecond, other.averageBytesPerSecond);
    swapOne(fileCount, other.fileCount);
    swapOne(averageFilesPerSecond, other.averageFilesPerSecond);
    swapOne(duplicateCount, other.duplicateCount);
    swapOne(duplicateSize, other.duplicateSize);
    swapOne(directoryCount, other.directoryCount);
    swapOne(validated, other.validated);
    swapOne(findTime, other.findTime);
    swapOne(buildTime, other.buildTime);
    swapOne(pretreatTime, other.pretreatTime);
}

void SearchCounters::Zero() {
    constexpr auto r = std::memory_order_relaxed;
    totalSize.store(0, r);
    averageBytesPerSecond.store(0, r);
    fileCount.store(0, r);
    averageFilesPerSecond.store(0, r);
    duplicateCount.store(0, r);
    duplicateSize.store(0, r);
    directoryCount.store(0, r);
    validated.store(0, r);
    findTime.store(0, r);
    buildTime.store(0, r);
    pretreatTime.store(0, r);
}

void SizeMap::Seal() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return a.size < b.size; });
}

SearchState& SearchState::Instance() {
    static SearchState state;
    return state;
}

void SearchState::ClearFlags() {
    done = false;
    paused = false;
    stopRequested = false;
    scanFinished = false;
}

void SearchState::SetPaused(bool p) {
    {
        std::lock_guard lock(mutex_);
        paused = p;
    }
    pauseChanged_.notify_all();
}

void SearchState::RequestStop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested = true;
    }
    pauseChanged_.notify_all();
}

void SearchState::WaitWhilePaused() {
    if (!paused.load(std::memory_order_relaxed))
        return;
    std::unique_lock lock(mutex_);
    pauseChanged_.wait(lock, [this] { return !paused || stopRequested; });
}

std::string SearchState::StatusText() const {
    std::lock_guard lock(mutex_);
    return statusText_;
}

void SearchState::SetStatusText(std::string text) {
    std::lock_guard lock(mutex_);
    statusText_ = std::move(text);
}

void SearchState::ClearAll() {
    dirTree.reset();
    sizeMap.Clear();
    candidateSets.Clear();
    resultRoot.reset();
    cloneSets.clear();
    runGroups.clear();
    recordPool.Reset();
    namePool.Reset();
}

void SearchState::SwapResult(SearchState& other) noexcept {
    std::swap(job, other.job);
    namePool.swap(other.namePool);
    recordPool.swap(other.recordPool);
    cloneSets.swap(other.cloneSets);
    runGroups.swap(other.runGroups);
    resultRoot.swap(other.resultRoot);
    counters.Swap(other.counters);
}

} // namespace paradrex
