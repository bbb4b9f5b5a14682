#include "support/EngineFixture.h"

#include "platform/Clock.h"
#include "platform/KeyStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace paradrex::test {
namespace {

using DriverTest = EngineTest;
using namespace std::chrono_literals;

void MakeSparse(const std::string& path, off_t size) {
    int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

bool AllEmpty(const SearchState& s) {
    auto v = s.counters.Snapshot();
    return !s.resultRoot && s.cloneSets.empty() && s.runGroups.empty() && !s.dirTree &&
           s.candidateSets.empty() && s.sizeMap.entryCount() == 0 && v.fileCount == 0 &&
           v.directoryCount == 0 && v.totalSize == 0 && v.duplicateCount == 0 && v.validated == 0 &&
           s.namePool.blockCount() == 0 && s.recordPool.blockCount() == 0;
}

TEST_F(DriverTest, NoDuplicatesLeavesAnEmptyResultAndSkipsTreeAndPremarking) {
    tree.createFile("a", "1");
    tree.createFile("b", "22");
    bool asked = false;
    env.defaultDirectories = [&] {
        asked = true;
        return DefaultDirectories{};
    };
    ASSERT_EQ(Search(), 0);
    EXPECT_TRUE(state.done);
    EXPECT_EQ(state.resultRoot, nullptr);
    EXPECT_TRUE(state.cloneSets.empty());
    EXPECT_TRUE(state.runGroups.empty());
    EXPECT_EQ(state.counters.buildTime.load(), 0.0);
    EXPECT_EQ(state.counters.pretreatTime.load(), 0.0);
    EXPECT_FALSE(asked);
}

TEST_F(DriverTest, EveryRecordCarriesTheIdentityOfTheFileTheSearchCompared) {
    tree.createFile("a/x", "same bytes");
    tree.createFile("b/y", "same bytes");
    // Times with nanoseconds, which the seconds alone would not tell apart.
    const struct timespec times[2] = {{1600000000, 123456789}, {1600000000, 987654321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, tree.path("a/x").c_str(), times, 0), 0);
    ASSERT_EQ(Search(), 0);
    ASSERT_EQ(Groups().size(), 1u);
    for (const FileRecord* f : *ResultGroups(state).begin()) {
        struct stat st;
        ASSERT_EQ(::lstat(FilePath(*f).c_str(), &st), 0);
        EXPECT_EQ(f->stamp.device, static_cast<uint64_t>(st.st_dev));
        EXPECT_EQ(f->stamp.inode, static_cast<uint64_t>(st.st_ino));
        EXPECT_EQ(f->modified, st.st_mtim.tv_sec);
        EXPECT_EQ(f->stamp.modifiedNs, static_cast<uint32_t>(st.st_mtim.tv_nsec));
        if (Rel(f) == "a/x") {
            EXPECT_EQ(f->modified, 1600000000);
            EXPECT_EQ(f->stamp.modifiedNs, 987654321u);
        }
    }
}

TEST_F(DriverTest, StopBeforeTheScanLeavesTheStateEmpty) {
    tree.createFile("a", "same");
    tree.createFile("b", "same");
    ASSERT_EQ(Search(), 0); // a previous result exists
    ASSERT_NE(state.resultRoot, nullptr);
    state.ClearFlags();
    state.RequestStop();
    EXPECT_EQ(RunSearch(state, env), 1);
    EXPECT_FALSE(state.done);
    EXPECT_TRUE(AllEmpty(state));
}

TEST_F(DriverTest, StopDuringALargeComparisonEndsWithinTwoHundredMilliseconds) {
    // Two identical 3 GiB sparse files: reading them takes seconds.
    MakeSparse(tree.path("big1"), 3LL << 30);
    MakeSparse(tree.path("big2"), 3LL << 30);
    state.job.roots.Add(tree.root());
    state.ClearFlags();
    int rc = -1;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        rc = RunSearch(state, env);
        finished = true;
    });
    // Wait until the comparison runs (prefix pass over, validated is -1).
    while (!(state.scanFinished && state.counters.validated.load() == -1) && !finished)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(50ms);
    ASSERT_FALSE(finished) << "the comparison ended too soon to test a stop";
    const uint64_t t0 = platform::TickMs();
    state.RequestStop();
    worker.join();
    const uint64_t latency = platform::TickMs() - t0;
    EXPECT_EQ(rc, 1);
    EXPECT_LT(latency, 200u);
    EXPECT_TRUE(AllEmpty(state));
}

TEST_F(DriverTest, PauseHoldsTheWorkerUntilContinueAndStopReleasesIt) {
    MakeSparse(tree.path("big1"), 1LL << 30);
    MakeSparse(tree.path("big2"), 1LL << 30);
    state.job.roots.Add(tree.root());
    state.ClearFlags();
    state.SetPaused(true);
    int rc = -1;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        rc = RunSearch(state, env);
        finished = true;
    });
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(finished);
    EXPECT_FALSE(state.scanFinished); // held at the first directory
    state.SetPaused(false);
    while (!state.scanFinished && !finished)
        std::this_thread::sleep_for(1ms);
    state.SetPaused(true);
    std::this_thread::sleep_for(100ms);
    const auto before = state.counters.Snapshot();
    std::this_thread::sleep_for(200ms);
    const auto after = state.counters.Snapshot();
    EXPECT_EQ(before.duplicateCount, after.duplicateCount);
    EXPECT_EQ(before.validated, after.validated);
    EXPECT_FALSE(finished);
    state.RequestStop(); // a stop while paused ends the worker too
    worker.join();
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(AllEmpty(state));
}

TEST_F(DriverTest, DefaultPreserveAndDeleteDirectoriesPremarkFiles) {
    tree.createFile("keep/a", "dup-content");
    tree.createFile("keep/trash/b", "dup-content");
    tree.createFile("other/c", "dup-content");
    tree.createFile("both/d", "second");
    tree.createFile("other/e", "second");
    env.defaultDirectories = [&] {
        DefaultDirectories d;
        d.preserve = {tree.path("keep"), tree.path("both"), tree.path("other") + "/"};
        d.remove = {tree.path("keep/trash"), tree.path("both")};
        return d;
    };
    ASSERT_EQ(Search(), 0);
    std::map<std::string, FileState> states;
    auto collect = [&](const DuplicateGroup& g) {
        for (const FileRecord* f : g)
            states[Rel(f)] = f->state;
    };
    for (const DuplicateGroup& g : ResultGroups(state))
        collect(g);
    EXPECT_EQ(states["keep/a"], FileState::Preserved);
    EXPECT_EQ(states["keep/trash/b"], FileState::Deleted); // Delete applied second
    EXPECT_EQ(states["other/c"], FileState::Unsettled);    // trailing slash matches nothing
    EXPECT_EQ(states["both/d"], FileState::Deleted);
    EXPECT_EQ(states["other/e"], FileState::Unsettled);
}

TEST_F(DriverTest, TotalsAreAddedToAnExistingKeyAsQwords) {
    tree.createFile("a", "12345");
    tree.createFile("b", "12345");
    TempTree config; // outside the searched tree
    platform::KeyStore store(config.path("cfg/registry.ini"));
    env.keyStore = &store;

    ASSERT_EQ(Search(), 0); // no key yet: nothing is written
    EXPECT_FALSE(store.KeyExists(kTotalsKey));

    ASSERT_TRUE(store.CreateKey(kTotalsKey));
    ASSERT_TRUE(store.Update(kTotalsKey, [](platform::KeyValues& v) {
        v["Count"] = platform::KeyValue::Dword(1000); // another type counts as 0
        v["Size"] = platform::KeyValue::Qword(7);
        return true;
    }));
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(store.Read(kTotalsKey, "Count"), platform::KeyValue::Qword(2));
    EXPECT_EQ(store.Read(kTotalsKey, "Size"), platform::KeyValue::Qword(17));
    ASSERT_EQ(Search(), 0);
    EXPECT_EQ(store.Read(kTotalsKey, "Count"), platform::KeyValue::Qword(4));
    EXPECT_EQ(store.Read(kTotalsKey, "Size"), platform::KeyValue::Qword(27));
}

TEST_F(DriverTest, TimingsAndAveragesFollowTheSearch) {
    for (int i = 0; i < 200; ++i)
        tree.createFile("d" + std::to_string(i % 10) + "/f" + std::to_string(i),
                        std::string(1000 + i % 7, 'z'));
    ASSERT_EQ(Search(), 0);
    auto v = state.counters.Snapshot();
    EXPECT_GE(v.findTime, 0.0);
    if (v.findTime > 0) {
        EXPECT_EQ(v.averageFilesPerSecond, static_cast<uint32_t>(v.fileCount / v.findTime));
        EXPECT_EQ(v.averageBytesPerSecond, static_cast<uint64_t>(v.totalSize / v.findTime));
    } else {
        EXPECT_EQ(v.averageFilesPerSecond, 0u);
        EXPECT_EQ(v.averageBytesPerSecond, 0u);
    }
    EXPECT_EQ(v.fileCount, 200u);
    EXPECT_EQ(v.duplicateCount, 200u);
}

} // namespace
} // namespace paradrex::test

namespace paradrex::test {
namespace {

TEST_F(DriverTest, SeveralThreadsGiveExactlyTheResultOfOne) {
    // Many candidate sets of different kinds, in several directories.
    for (int d = 0; d < 12; ++d) {
        for (int f = 0; f < 30; ++f) {
            const int content = (d * 7 + f) % 23;
            const uint64_t size = 100 + static_cast<uint64_t>(content % 5) * 1000;
            std::string bytes = PatternBytes(size, static_cast<uint32_t>(content % 11));
            if (content >= 11)
                bytes[size - 1] = 'x';
            tree.createFile("d" + std::to_string(d) + "/s" + std::to_string(d % 3) + "/f" +
                                std::to_string(f),
                            bytes);
        }
        for (int r = 0; r < 5; ++r)
            tree.createFile("d" + std::to_string(d) + "/run" + std::to_string(r), "run!");
    }
    std::vector<std::string> signatures[2];
    std::vector<Group> groups[2];
    for (int pass = 0; pass < 2; ++pass) {
        env.threads = pass == 0 ? 1 : 4;
        ASSERT_EQ(Search(), 0);
        groups[pass] = Groups();
        for (const auto& [sig, set] : state.cloneSets) {
            std::string s;
            for (const NameRecord* n : *sig)
                s += DirectoryPath(n) + "|";
            signatures[pass].push_back(s);
        }
    }
    EXPECT_GT(groups[0].size(), 20u);
    EXPECT_EQ(groups[0], groups[1]);
    EXPECT_EQ(signatures[0], signatures[1]);
}

} // namespace
} // namespace paradrex::test
