#include "uimodel/RunProgress.h"

#include "uimodel/SizeText.h"

namespace paradrex {

namespace {

std::string InParentheses(uint64_t bytes) {
    return "(" + SizeText(bytes) + ")";
}

} // namespace

std::optional<std::string> RunProgress::Changes::TextOf(int id) const {
    std::optional<std::string> text;
    for (const auto& [control, t] : texts)
        if (control == id)
            text = t;
    return text;
}

std::optional<bool> RunProgress::Changes::EnabledOf(int id) const {
    std::optional<bool> on;
    for (const auto& [control, e] : enable)
        if (control == id)
            on = e;
    return on;
}

RunProgress::RunProgress(SearchState& state, NumberFormat format)
    : state_(state), format_(std::move(format)) {}

void RunProgress::Start() {
    state_.ClearFlags();
    state_.SetStatusText({});
    stage_ = 1;
    waitingTicks_ = 0;
    lastScanStatus_.clear();
}

RunProgress::Changes RunProgress::Tick(bool workerEnded) {
    Changes c;
    // A pending stop overrides the stages: only wait for the worker to end.
    if (state_.stopRequested) {
        if (workerEnded)
            c.endDialog = run::kResultStopped;
        return c;
    }
    if (state_.paused || stage_ == 4)
        return c;

    const SearchCounters::Values v = state_.counters.Snapshot();
    const auto number = [&](int id, uint64_t value) {
        c.texts.emplace_back(id, format_.integer(value));
    };

    if (stage_ == 1) {
        // The directory the scan is reading, shown when it changes (a
        // "Processing..." after Continue stays until the scan moves on).
        std::string scanning = state_.StatusText();
        if (!scanning.empty() && scanning != lastScanStatus_) {
            c.texts.emplace_back(run::Status, scanning);
            lastScanStatus_ = std::move(scanning);
        }
        number(run::DirectoryCount, v.directoryCount);
        number(run::FileCount, v.fileCount);
        number(run::TotalSize, v.totalSize);
        if (v.totalSize >= 1000)
            c.texts.emplace_back(run::TotalSizeText, InParentheses(v.totalSize));
        if (!state_.scanFinished)
            return c;
        stage_ = 2;
    }

    if (stage_ == 2) {
        number(run::DuplicateCount, v.duplicateCount);
        number(run::DuplicateSize, v.duplicateSize);
        if (v.duplicateSize >= 1000)
            c.texts.emplace_back(run::DuplicateSizeText, InParentheses(v.duplicateSize));
        if (v.validated == -1) {
            static const char* const kDots[] = {".", "..", "..."};
            c.texts.emplace_back(run::Status, std::string("Waiting") + kDots[waitingTicks_ % 3]);
            ++waitingTicks_;
        } else {
            c.texts.emplace_back(run::Status,
                                 "Validating... " + format_.integer(static_cast<uint64_t>(
                                                        v.validated < 0 ? 0 : v.validated)));
        }
        if (!state_.done)
            return c;
        stage_ = 3;
    }

    // Stage 3: the final values, once.
    c.enable.emplace_back(run::PauseButton, false);
    c.enable.emplace_back(run::StopButton, false);
    c.enable.emplace_back(run::DoneButton, true);
    c.focusDone = true;
    c.texts.emplace_back(run::Status, "Done!");
    c.texts.emplace_back(run::FindTime, format_.seconds(v.findTime));
    c.texts.emplace_back(run::BuildTime, format_.seconds(v.buildTime));
    c.texts.emplace_back(run::PretreatTime, format_.seconds(v.pretreatTime));
    number(run::AverageFiles, v.averageFilesPerSecond);
    number(run::AverageBytes, v.averageBytesPerSecond);
    if (v.averageBytesPerSecond >= 1000)
        c.texts.emplace_back(run::AverageBytesText, InParentheses(v.averageBytesPerSecond));
    stage_ = 4;
    return c;
}

RunProgress::Changes RunProgress::PressPause() {
    Changes c;
    if (state_.done) {
        c.enable.emplace_back(run::PauseButton, false);
        return c;
    }
    const bool pause = !state_.paused;
    state_.SetPaused(pause);
    c.texts.emplace_back(run::PauseButton, pause ? "&Continue" : "&Pause");
    c.texts.emplace_back(run::Status, pause ? "Paused" : "Processing...");
    return c;
}

RunProgress::Changes RunProgress::PressStop() {
    Changes c;
    if (state_.done) {
        c.enable.emplace_back(run::StopButton, false);
        return c;
    }
    // A paused worker is woken by the request and stops at its next
    // checkpoint; `paused` stays as it was.
    state_.RequestStop();
    c.enable.emplace_back(run::StopButton, false);
    c.enable.emplace_back(run::PauseButton, false);
    c.texts.emplace_back(run::Status, "Stopping...");
    return c;
}

SearchOutcome TakeSearchOutcome(SearchState& state) {
    if (state.stopRequested) {
        if (state.resultRoot || !state.cloneSets.empty() || !state.runGroups.empty()) {
            state.ClearAll();
            state.counters.Zero();
        }
        return SearchOutcome::Stopped;
    }
    return state.resultRoot ? SearchOutcome::Found : SearchOutcome::NothingFound;
}

} // namespace paradrex
