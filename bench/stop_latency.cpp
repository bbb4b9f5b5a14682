// Stop latency: how long the search worker takes to end after Stop, at many
// moments of a search (scan, prefix pass, comparison of large files).
//
//   stop_latency DIR [TRIALS]
//
// Runs one full search to learn its length, then TRIALS searches each
// stopped after a delay spread evenly over that length, and prints the
// median, 95th percentile and largest time from the stop request to the
// worker's return, with the phase the worker was in.

#include "engine/SearchDriver.h"
#include "engine/SearchState.h"
#include "platform/Clock.h"
#include "platform/Paths.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace paradrex;

namespace {

const char* Phase(const SearchState& s) {
    if (!s.scanFinished)
        return "scan";
    if (s.counters.validated.load() >= 0)
        return "prefix";
    return "compare";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: stop_latency DIR [TRIALS]\n");
        return 2;
    }
    const int trials = argc > 2 ? std::atoi(argv[2]) : 20;
    SearchState state;
    state.job.roots.Add(platform::AbsoluteNormalPath(argv[1]));
    state.job.includeHidden = 1;
    state.job.includeReadOnly = 1;
    SearchEnvironment env;
    env.logError = [](const _Error_record&) {};

    state.ClearFlags();
    uint64_t t = platform::TickMs();
    RunSearch(state, env);
    const uint64_t full = platform::TickMs() - t;
    std::printf("full search: %llu ms\n", static_cast<unsigned long long>(full));

    struct Sample {
        double ms;
        const char* phase;
    };
    std::vector<Sample> samples;
    for (int i = 0; i < trials; ++i) {
        const uint64_t delay = full * static_cast<uint64_t>(i) / static_cast<uint64_t>(trials);
        state.ClearFlags();
        std::atomic<bool> finished{false};
        std::thread worker([&] {
            RunSearch(state, env);
            finished = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        if (finished) {
            worker.join();
            continue; // ended before the stop
        }
        const char* phase = Phase(state);
        const auto t0 = std::chrono::steady_clock::now();
        state.RequestStop();
        worker.join();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
        samples.push_back({ms, phase});
        std::printf("stop after %5llu ms (%s): %.1f ms\n", static_cast<unsigned long long>(delay),
                    phase, ms);
    }
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end(),
              [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
    const double median = samples[samples.size() / 2].ms;
    const double p95 = samples[std::min(samples.size() - 1, samples.size() * 95 / 100)].ms;
    std::printf("stops: %zu, median %.1f ms, 95th percentile %.1f ms, largest %.1f ms (%s)\n",
                samples.size(), median, p95, samples.back().ms, samples.back().phase);
    return 0;
}
