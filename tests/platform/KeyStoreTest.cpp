#include "platform/KeyStore.h"
#include "support/FaultInjector.h"
#include "support/ResultAssertions.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace paradrex::platform {
namespace {

using test::FailsWith;
using test::FaultInjector;
using test::TempTree;

TEST(KeyStore, DefaultPathFollowsXdgConfigHome) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(xdg, nullptr); // the test main points it at a temporary folder
    EXPECT_EQ(KeyStore::DefaultPath(), std::string(xdg) + "/Paradrex/registry.ini");
}

TEST(KeyStore, KeysAreOpenedNeverCreatedByUpdate) {
    TempTree t;
    KeyStore store(t.path("cfg/sub/registry.ini"));
    EXPECT_FALSE(store.KeyExists("Software\\Paradrex"));
    EXPECT_FALSE(store.Update("Software\\Paradrex", [](KeyValues&) { return true; }));
    EXPECT_FALSE(t.exists("cfg/sub/registry.ini"));

    ASSERT_TRUE(store.CreateKey("Software\\Paradrex"));
    EXPECT_TRUE(store.KeyExists("Software\\Paradrex"));
    EXPECT_TRUE(store.CreateKey("Software\\Paradrex")); // idempotent
    EXPECT_FALSE(store.Read("Software\\Paradrex", "Count"));
}

TEST(KeyStore, TypedValuesRoundTripThroughTheFile) {
    TempTree t;
    KeyStore store(t.path("registry.ini"));
    ASSERT_TRUE(store.CreateKey("K"));
    ASSERT_TRUE(store.Update("K", [](KeyValues& v) {
        v["Count"] = KeyValue::Qword(18446744073709551615ull);
        v["Small"] = KeyValue::Dword(4294967295u);
        v["Text"] = KeyValue::String("a=b:c");
        return true;
    }));
    KeyStore again(t.path("registry.ini"));
    EXPECT_EQ(again.Read("K", "Count"), KeyValue::Qword(18446744073709551615ull));
    EXPECT_EQ(again.Read("K", "Small"), KeyValue::Dword(4294967295u));
    EXPECT_EQ(again.Read("K", "Text"), KeyValue::String("a=b:c"));
    EXPECT_FALSE(again.Read("Other", "Count"));
}

TEST(KeyStore, DamagedLinesAreIgnored) {
    TempTree t;
    t.createFile("registry.ini", "garbage\n[K]\nA=qword:12\nB=qword:x\nC=dword:99999999999\n"
                                 "D=nonsense\n=qword:1\nE=qword:7\r\n[unterminated\n");
    KeyStore store(t.path("registry.ini"));
    EXPECT_EQ(store.Read("K", "A"), KeyValue::Qword(12));
    EXPECT_FALSE(store.Read("K", "B"));
    EXPECT_FALSE(store.Read("K", "C"));
    EXPECT_FALSE(store.Read("K", "D"));
    EXPECT_EQ(store.Read("K", "E"), KeyValue::Qword(7));
}

TEST(KeyStore, FailuresAreReportedAndTheFileStaysAsItWas) {
    TempTree t;
    const std::string text = "[K]\nCount=qword:5\n[Other]\nName=string:x\n";
    const std::string path = t.createFile("registry.ini", text);
    KeyStore store(path);
    auto addOne = [](KeyValues& v) {
        v["Count"] = KeyValue::Qword(v["Count"].number + 1);
        return true;
    };
    EXPECT_TRUE(FailsWith(store.Read("K", "Size"), ENOENT));
    EXPECT_TRUE(FailsWith(store.Read("None", "Count"), ENOENT));
    {
        // A store that exists but cannot be read is never rewritten from nothing.
        FaultInjector faults;
        faults.Fail({.op = Op::Open, .error = EACCES, .times = 0, .path = "*/registry.ini"});
        EXPECT_TRUE(FailsWith(store.CreateKey("New"), EACCES));
        EXPECT_TRUE(FailsWith(store.Update("K", addOne), EACCES));
        EXPECT_TRUE(FailsWith(store.Read("K", "Count"), EACCES));
        EXPECT_FALSE(store.KeyExists("K"));
    }
    {
        FaultInjector faults;
        faults.Fail({.op = Op::Write, .error = ENOSPC});
        EXPECT_TRUE(FailsWith(store.Update("K", addOne), ENOSPC));
    }
    {
        FaultInjector faults;
        faults.Fail({.op = Op::Open, .error = EROFS, .path = "*.lock"});
        EXPECT_TRUE(FailsWith(store.Update("K", addOne), EROFS));
    }
    EXPECT_EQ(t.readFile("registry.ini"), text);
    EXPECT_TRUE(test::Succeeded(store.Update("K", addOne)));
    EXPECT_EQ(store.Read("K", "Count"), KeyValue::Qword(6));
    EXPECT_EQ(store.Read("Other", "Name"), KeyValue::String("x"));
}

TEST(KeyStore, ConcurrentUpdatesFromSeveralProcessesAreNeverLost) {
    TempTree t;
    const std::string path = t.path("registry.ini");
    ASSERT_TRUE(KeyStore(path).CreateKey("K"));
    constexpr int kProcesses = 4, kUpdates = 50;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            KeyStore store(path);
            for (int i = 0; i < kUpdates; ++i) {
                Result<void> r = store.Update("K", [](KeyValues& v) {
                    v["Count"] = KeyValue::Qword(v["Count"].number + 1);
                    return true;
                });
                if (!r)
                    ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(KeyStore(path).Read("K", "Count"), KeyValue::Qword(kProcesses * kUpdates));
}

} // namespace
} // namespace paradrex::platform
