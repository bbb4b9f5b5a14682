#include "support/EngineFixture.h"

#include "uimodel/RunProgress.h"

namespace paradrex::test {
namespace {

using RunProgressTest = EngineTest;

TEST(NumberFormatPlain, GroupsDigitsAndWritesSecondsWithThreeDecimals) {
    const NumberFormat f = NumberFormat::Plain();
    EXPECT_EQ(f.integer(0), "0");
    EXPECT_EQ(f.integer(999), "999");
    EXPECT_EQ(f.integer(1000), "1,000");
    EXPECT_EQ(f.integer(1234567), "1,234,567");
    EXPECT_EQ(f.integer(18446744073709551615ull), "18,446,744,073,709,551,615");
    EXPECT_EQ(f.seconds(0), "0.000");
    EXPECT_EQ(f.seconds(0.0125), "0.013");
    EXPECT_EQ(f.seconds(1234.5), "1,234.500");
}

TEST_F(RunProgressTest, ScanStageShowsCountersAndTheSizeTextFromOneThousandBytesOn) {
    RunProgress p(state);
    p.Start();
    state.counters.directoryCount = 1234;
    state.counters.fileCount = 56789;
    state.counters.totalSize = 999;
    auto c = p.Tick(false);
    EXPECT_EQ(c.TextOf(run::DirectoryCount), "1,234");
    EXPECT_EQ(c.TextOf(run::FileCount), "56,789");
    EXPECT_EQ(c.TextOf(run::TotalSize), "999");
    EXPECT_FALSE(c.TextOf(run::TotalSizeText)) << "below 1000 bytes \"(0 MB)\" stays";
    EXPECT_FALSE(c.TextOf(run::DuplicateCount)) << "stage 2 not reached before scanFinished";
    EXPECT_EQ(p.stage(), 1);

    state.counters.totalSize = 1234567;
    c = p.Tick(false);
    EXPECT_EQ(c.TextOf(run::TotalSizeText), "(1.18 MB)");
    EXPECT_EQ(p.stage(), 1);
}

TEST_F(RunProgressTest, ScanStatusIsShownWhenItChangesSoProcessingStaysUntilTheScanMovesOn) {
    RunProgress p(state);
    state.SetStatusText("/stale/from/last/search...");
    p.Start();
    EXPECT_FALSE(p.Tick(false).TextOf(run::Status)) << "Start clears the previous status";
    state.SetStatusText("/data/a...");
    EXPECT_EQ(p.Tick(false).TextOf(run::Status), "/data/a...");
    EXPECT_FALSE(p.Tick(false).TextOf(run::Status));

    EXPECT_EQ(p.PressPause().TextOf(run::Status), "Paused");
    EXPECT_TRUE(p.Tick(false).texts.empty()) << "nothing is refreshed while paused";
    EXPECT_EQ(p.PressPause().TextOf(run::Status), "Processing...");
    EXPECT_FALSE(p.Tick(false).TextOf(run::Status));
    state.SetStatusText("/data/b...");
    EXPECT_EQ(p.Tick(false).TextOf(run::Status), "/data/b...");
}

TEST_F(RunProgressTest, CompareStageCountsWaitingDotsAndShowsValidatedFiles) {
    RunProgress p(state);
    p.Start();
    state.scanFinished = true;
    state.counters.validated = 12345;
    state.counters.duplicateCount = 3;
    state.counters.duplicateSize = 999;
    auto c = p.Tick(false);
    EXPECT_EQ(p.stage(), 2);
    EXPECT_EQ(c.TextOf(run::Status), "Validating... 12,345");
    EXPECT_EQ(c.TextOf(run::DuplicateCount), "3");
    EXPECT_EQ(c.TextOf(run::DuplicateSize), "999");
    EXPECT_FALSE(c.TextOf(run::DuplicateSizeText));
    EXPECT_TRUE(c.TextOf(run::DirectoryCount)) << "stage 1 runs in the same tick";

    state.counters.validated = -1;
    state.counters.duplicateSize = 10485760;
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i)
        seen.push_back(*p.Tick(false).TextOf(run::Status));
    EXPECT_EQ(seen, (std::vector<std::string>{"Waiting.", "Waiting..", "Waiting...", "Waiting."}));
    c = p.Tick(false);
    EXPECT_EQ(c.TextOf(run::DuplicateSizeText), "(10.0 MB)");
    EXPECT_FALSE(c.TextOf(run::DirectoryCount)) << "stage 2 no longer shows the scan counters";
    EXPECT_FALSE(c.focusDone);
}

TEST_F(RunProgressTest, SearchEndedWithinOneTickShowsItsFinalValuesAtOnce) {
    tree.createFile("a/one", std::string(3000, 'x'));
    tree.createFile("b/one", std::string(3000, 'x'));
    tree.createFile("b/two", std::string(700, 'y'));
    RunProgress p(state);
    p.Start();
    state.job.roots.Add(tree.root());
    ASSERT_EQ(RunSearch(state, env), 0);
    state.counters.findTime = 2.5; // fixed, so the averages below are known
    state.counters.averageFilesPerSecond = 1;
    state.counters.averageBytesPerSecond = 2680;

    const auto c = p.Tick(true);
    EXPECT_EQ(p.stage(), 4);
    EXPECT_EQ(c.TextOf(run::DirectoryCount), "3");
    EXPECT_EQ(c.TextOf(run::FileCount), "3");
    EXPECT_EQ(c.TextOf(run::TotalSize), "6,700");
    EXPECT_EQ(c.TextOf(run::TotalSizeText), "(6.54 KB)");
    EXPECT_EQ(c.TextOf(run::DuplicateCount), "2");
    EXPECT_EQ(c.TextOf(run::DuplicateSize), "6,000");
    EXPECT_EQ(c.TextOf(run::DuplicateSizeText), "(5.86 KB)");
    EXPECT_EQ(c.TextOf(run::Status), "Done!");
    EXPECT_EQ(c.TextOf(run::FindTime), "2.500");
    EXPECT_TRUE(c.TextOf(run::BuildTime));
    EXPECT_TRUE(c.TextOf(run::PretreatTime));
    EXPECT_EQ(c.TextOf(run::AverageFiles), "1");
    EXPECT_EQ(c.TextOf(run::AverageBytes), "2,680");
    EXPECT_EQ(c.TextOf(run::AverageBytesText), "(2.62 KB)");
    EXPECT_EQ(c.EnabledOf(run::PauseButton), false);
    EXPECT_EQ(c.EnabledOf(run::StopButton), false);
    EXPECT_EQ(c.EnabledOf(run::DoneButton), true);
    EXPECT_TRUE(c.focusDone);
    EXPECT_EQ(c.endDialog, 0);

    const auto later = p.Tick(true);
    EXPECT_TRUE(later.texts.empty() && later.enable.empty()) << "stage 4 does nothing";
}

TEST_F(RunProgressTest, PauseTogglesTheCooperativeFlagAndAfterDoneOnlyDisablesItself) {
    RunProgress p(state);
    p.Start();
    auto c = p.PressPause();
    EXPECT_TRUE(state.paused);
    EXPECT_EQ(c.TextOf(run::PauseButton), "&Continue");
    c = p.PressPause();
    EXPECT_FALSE(state.paused);
    EXPECT_EQ(c.TextOf(run::PauseButton), "&Pause");

    state.done = true;
    c = p.PressPause();
    EXPECT_FALSE(state.paused);
    EXPECT_TRUE(c.texts.empty());
    EXPECT_EQ(c.EnabledOf(run::PauseButton), false);
    c = p.PressStop();
    EXPECT_FALSE(state.stopRequested) << "a finished search is not stopped";
    EXPECT_EQ(c.EnabledOf(run::StopButton), false);
    EXPECT_FALSE(c.EnabledOf(run::PauseButton));
}

TEST_F(RunProgressTest, StopOverridesTheStagesAndEndsTheDialogOnceTheWorkerHasEnded) {
    RunProgress p(state);
    p.Start();
    p.PressPause();
    auto c = p.PressStop();
    EXPECT_TRUE(state.stopRequested);
    EXPECT_TRUE(state.paused) << "paused is left as it was";
    EXPECT_EQ(c.TextOf(run::Status), "Stopping...");
    EXPECT_EQ(c.EnabledOf(run::StopButton), false);
    EXPECT_EQ(c.EnabledOf(run::PauseButton), false);

    state.scanFinished = true;
    state.done = true; // even a worker that reached its end is not shown
    c = p.Tick(false);
    EXPECT_TRUE(c.texts.empty());
    EXPECT_EQ(c.endDialog, 0);
    c = p.Tick(true);
    EXPECT_TRUE(c.texts.empty());
    EXPECT_EQ(c.endDialog, run::kResultStopped);
}

TEST_F(RunProgressTest, OutcomeOfSearchesWithAndWithoutDuplicatesAndOfAStop) {
    tree.createFile("a", "same bytes");
    tree.createFile("b", "same bytes");
    tree.createFile("c", "different");
    state.job.roots.Add(tree.root());
    state.ClearFlags();
    ASSERT_EQ(RunSearch(state, env), 0);
    EXPECT_EQ(TakeSearchOutcome(state), SearchOutcome::Found);
    ASSERT_NE(state.resultRoot, nullptr);

    // A stop that came after the worker's last checkpoint still counts as a
    // stop, and what the worker built is dropped.
    state.RequestStop();
    EXPECT_EQ(TakeSearchOutcome(state), SearchOutcome::Stopped);
    EXPECT_EQ(state.resultRoot, nullptr);
    EXPECT_TRUE(state.cloneSets.empty());
    EXPECT_EQ(state.counters.fileCount.load(), 0u);

    tree.remove("b");
    state.ClearFlags();
    ASSERT_EQ(RunSearch(state, env), 0);
    EXPECT_EQ(TakeSearchOutcome(state), SearchOutcome::NothingFound);
}

} // namespace
} // namespace paradrex::test
