#pragma once
// What the progress dialog shows while a search runs, without any widget: the
// four stages of its 500 ms timer, Pause/Continue and Stop. Each call answers
// the changes to make, keyed by the dialog's control ids; the dialog applies
// them. The worker is controlled only through the search state's flags
// (pausing is cooperative: the worker waits at its next checkpoint).

#include "engine/SearchState.h"
#include "uimodel/NumberFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace paradrex {

// Control ids of the progress dialog.
namespace run {
inline constexpr int PauseButton = 1016;
inline constexpr int StopButton = 1017;
inline constexpr int DirectoryCount = 1018;
inline constexpr int FileCount = 1019;
inline constexpr int TotalSize = 1020;
inline constexpr int DuplicateCount = 1021;
inline constexpr int FindTime = 1022;
inline constexpr int BuildTime = 1024;
inline constexpr int PretreatTime = 1025;
inline constexpr int AverageFiles = 1026;
inline constexpr int AverageBytes = 1027;
inline constexpr int DoneButton = 1028;
inline constexpr int Status = 1029;
inline constexpr int DuplicateSize = 1030;
inline constexpr int DuplicateSizeText = 1043;
inline constexpr int TotalSizeText = 1045;
inline constexpr int AverageBytesText = 1048;
// Results of the dialog: Done pressed after a completed search, or a stopped
// worker has ended.
inline constexpr int kResultDone = 1028;
inline constexpr int kResultStopped = 209;
} // namespace run

class RunProgress {
public:
    struct Changes {
        std::vector<std::pair<int, std::string>> texts; // control id, new text
        std::vector<std::pair<int, bool>> enable;       // button id, enabled
        bool focusDone = false;
        int endDialog = 0; // non-zero: end the dialog with this result

        // The last text given to a control in these changes, if any.
        std::optional<std::string> TextOf(int id) const;
        std::optional<bool> EnabledOf(int id) const;
    };

    RunProgress(SearchState& state, NumberFormat format = NumberFormat::Plain());

    // Before the worker starts: clears the four flags and the scan's status
    // text; stage 1, no "Waiting" ticks yet.
    void Start();
    // One timer tick. `workerEnded` tells whether the worker thread has
    // finished its work.
    Changes Tick(bool workerEnded);
    Changes PressPause();
    Changes PressStop();

    int stage() const { return stage_; }

private:
    SearchState& state_;
    NumberFormat format_;
    int stage_ = 1;
    unsigned waitingTicks_ = 0;
    std::string lastScanStatus_;
};

// How a search ended, as the main window sees it after the dialog closed.
enum class SearchOutcome { Stopped, NothingFound, Found };

// Stopped when a stop was requested; the state is then left empty even when
// the worker reached its end before it saw the request. Otherwise
// NothingFound without a result tree, Found with one.
SearchOutcome TakeSearchOutcome(SearchState& state);

} // namespace paradrex
