#pragma once
// Runs work(i) for i = 0 .. count-1 on a few worker threads and hands the
// results to commit(i, result) on the calling thread in ascending order, so
// a parallel run commits exactly what a sequential one would. Workers take
// consecutive indices in batches, so small items cost little
// synchronisation; at most `window` results wait uncommitted, which bounds
// the memory they hold. A stop (StopSearch from a worker's checkpoint) or an
// error ends every worker and is rethrown on the calling thread.

#include "engine/Checkpoint.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace paradrex {

template <class Result, class Work, class Commit>
void OrderedParallel(SearchState& state, size_t count, unsigned threads, Work&& work,
                     Commit&& commit, size_t window = 4096) {
    if (threads <= 1 || count < 2) {
        for (size_t i = 0; i < count; ++i) {
            Checkpoint(state);
            commit(i, work(i, 0u));
        }
        return;
    }
    // Enough batches to keep every worker busy to the end, each small
    // enough to keep the committing thread fed.
    const size_t batch = std::clamp<size_t>(count / (size_t{threads} * 32), 1, 64);
    const size_t batches = (count + batch - 1) / batch;
    window = std::max<size_t>(window / batch, 2);

    struct Slot {
        std::vector<Result> results;
        bool ready = false;
    };
    std::vector<Slot> slots(batches);
    std::mutex mutex;
    std::condition_variable workAllowed, resultReady;
    size_t next = 0, committed = 0;
    bool abort = false;
    std::exception_ptr error;

    auto fail = [&](std::exception_ptr e) {
        std::lock_guard lock(mutex);
        if (!error)
            error = e;
        abort = true;
    };
    auto worker = [&](unsigned index) {
        for (;;) {
            size_t b;
            {
                std::unique_lock lock(mutex);
                workAllowed.wait(
                    lock, [&] { return abort || next >= batches || next < committed + window; });
                if (abort || next >= batches)
                    return;
                b = next++;
            }
            std::vector<Result> results;
            try {
                const size_t end = std::min(count, (b + 1) * batch);
                results.reserve(end - b * batch);
                for (size_t i = b * batch; i < end; ++i) {
                    Checkpoint(state);
                    results.push_back(work(i, index));
                }
            } catch (...) {
                fail(std::current_exception());
                resultReady.notify_one();
                workAllowed.notify_all();
                return;
            }
            bool wake;
            {
                std::lock_guard lock(mutex);
                slots[b].results = std::move(results);
                slots[b].ready = true;
                wake = b == committed;
            }
            if (wake)
                resultReady.notify_one();
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(worker, t);

    try {
        for (size_t b = 0; b < batches; ++b) {
            std::vector<Result> results;
            {
                std::unique_lock lock(mutex);
                resultReady.wait(lock, [&] { return abort || slots[b].ready; });
                if (abort)
                    break;
                results = std::move(slots[b].results);
            }
            for (size_t k = 0; k < results.size(); ++k)
                commit(b * batch + k, std::move(results[k]));
            {
                std::lock_guard lock(mutex);
                committed = b + 1;
            }
            workAllowed.notify_all();
        }
    } catch (...) {
        fail(std::current_exception());
    }
    {
        std::lock_guard lock(mutex);
        abort = true;
    }
    workAllowed.notify_all();
    for (std::thread& t : pool)
        t.join();
    if (error)
        std::rethrow_exception(error);
}

} // namespace paradrex
