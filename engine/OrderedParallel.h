#pragma once
// Runs work(i) for i = 0 .. count-1 on a few worker threads and hands the
// results to commit(i, result) on the calling thread in ascending order, so
// a parallel run commits exactly what a sequential one would. At most
// `window` results wait uncommitted, which bounds the memory they hold. A
// stop (StopSearch from a worker's checkpoint) or an error ends every worker
// and is rethrown on the calling thread.

#include "engine/Checkpoint.h"

#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace paradrex {

template <class Result, class Work, class Commit>
void OrderedParallel(SearchState& state, size_t count, unsigned threads, Work&& work,
                     Commit&& commit, size_t window = 1024) {
    if (threads <= 1 || count < 2) {
        for (size_t i = 0; i < count; ++i) {
            Checkpoint(state);
            commit(i, work(i, 0u));
        }
        return;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::map<size_t, Result> finished;
    size_t next = 0, committed = 0;
    bool abort = false;
    std::exception_ptr error;

    auto worker = [&](unsigned index) {
        for (;;) {
            size_t i;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock,
                             [&] { return abort || next >= count || next < committed + window; });
                if (abort || next >= count)
                    return;
                i = next++;
            }
            try {
                Checkpoint(state);
                Result r = work(i, index);
                std::lock_guard lock(mutex);
                finished.emplace(i, std::move(r));
            } catch (...) {
                std::lock_guard lock(mutex);
                if (!error)
                    error = std::current_exception();
                abort = true;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(worker, t);

    try {
        while (committed < count) {
            Result r;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return abort || finished.count(committed) != 0; });
                if (abort)
                    break;
                auto it = finished.find(committed);
                r = std::move(it->second);
                finished.erase(it);
            }
            commit(committed, std::move(r));
            {
                std::lock_guard lock(mutex);
                ++committed;
            }
            changed.notify_all();
        }
    } catch (...) {
        std::lock_guard lock(mutex);
        if (!error)
            error = std::current_exception();
        abort = true;
    }
    {
        std::lock_guard lock(mutex);
        abort = true;
    }
    changed.notify_all();
    for (std::thread& t : pool)
        t.join();
    if (error)
        std::rethrow_exception(error);
}

} // namespace paradrex
