#include "platform/KeyStore.h"
#include "support/Json.h"
#include "support/Process.h"
#include "support/TempTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace paradrex::test {
namespace {

using namespace std::chrono_literals;
using ::testing::AnyOf;

class Cli : public ::testing::Test {
protected:
    ProcessResult Run(std::vector<std::string> args, ProcessOptions options = {}) {
        args.insert(args.begin(), CliPath());
        return RunProcess(args, options);
    }
    Json RunJson(std::vector<std::string> args) {
        args.insert(args.begin(), {"--format", "json", "--quiet"});
        ProcessResult r = Run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return Json::Parse(r.out);
    }
    // Every group of a JSON result as lists of paths, in result order.
    static std::vector<std::vector<std::string>> Groups(const Json& j) {
        std::vector<std::vector<std::string>> out;
        auto files = [&](const Json& list) {
            std::vector<std::string> g;
            for (const Json& f : list.array())
                g.push_back(f["path"].str());
            out.push_back(g);
        };
        for (const Json& set : j["cloneSets"].array())
            for (const Json& g : set["groups"].array())
                files(g);
        for (const Json& rg : j["runGroups"].array())
            files(rg["files"]);
        return out;
    }
    TempTree tree;
};

TEST_F(Cli, UsageErrorsExitWithTwoAndOneLine) {
    auto expectUsage = [&](std::vector<std::string> args, const std::string& fragment) {
        ProcessResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind("paradrex-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(fragment), std::string::npos) << r.err;
    };
    expectUsage({"--bogus"}, "unknown option '--bogus'");
    expectUsage({tree.path("missing")}, "not a directory");
    tree.createFile("plain", "x");
    expectUsage({tree.path("plain")}, "not a directory");
    expectUsage({"--types", "jpg;png", tree.root()},
                "File type input is incorrect, please input like \"ext1 ext2 ext3\" !");
    expectUsage({"--min-size", "12X", tree.root()}, "invalid size");
    expectUsage({"--max-size", "G", tree.root()}, "expected N, NK, NM or NG");
    expectUsage({"--format", "xml", tree.root()}, "unknown format");
    expectUsage({"--types"}, "needs a value");

    ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: paradrex-cli"), std::string::npos);
    ProcessResult version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("paradrex-cli ", 0), 0u);
}

TEST_F(Cli, JsonHoldsCountersCloneSetsRunGroupsAndTree) {
    tree.createFile("a/x.txt", "clone content", 1600000000);
    tree.createFile("b/x.txt", "clone content", 1600000001);
    for (int i = 0; i < 4; ++i)
        tree.createFile("runs/r" + std::to_string(i), "run content");
    tree.createFile("single", "unique");
    Json j = RunJson({"--preserve", tree.path("a"), "--delete", tree.path("runs"), tree.root()});

    const Json& c = j["counters"];
    for (const char* field :
         {"totalSize", "averageBytesPerSecond", "fileCount", "averageFilesPerSecond",
          "duplicateCount", "duplicateSize", "directoryCount", "validated", "findTime", "buildTime",
          "pretreatTime"})
        EXPECT_TRUE(c.has(field)) << field;
    EXPECT_EQ(c["fileCount"].number(), 7);
    EXPECT_EQ(c["directoryCount"].number(), 4);
    EXPECT_EQ(c["duplicateCount"].number(), 6);
    EXPECT_EQ(c["duplicateSize"].number(), 2 * 13 + 4 * 11);
    EXPECT_EQ(c["totalSize"].number(), 2 * 13 + 4 * 11 + 6);
    EXPECT_EQ(c["validated"].number(), -1);

    ASSERT_EQ(j["cloneSets"].size(), 1u);
    const Json& set = j["cloneSets"][0];
    ASSERT_EQ(set["signature"].size(), 2u);
    ASSERT_EQ(set["groups"].size(), 1u);
    const Json& group = set["groups"][0];
    for (size_t k = 0; k < 2; ++k) {
        const Json& f = group[k];
        EXPECT_EQ(f["path"].str(), set["signature"][k].str() + "/x.txt");
        EXPECT_EQ(f["name"].str(), "x.txt");
        EXPECT_EQ(f["size"].number(), 13);
        const bool inA = f["path"].str() == tree.path("a/x.txt");
        EXPECT_EQ(f["modified"].number(), inA ? 1600000000 : 1600000001);
        EXPECT_EQ(f["state"].str(), inA ? "Preserved" : "Unsettled");
    }

    ASSERT_EQ(j["runGroups"].size(), 1u);
    const Json& rg = j["runGroups"][0];
    ASSERT_EQ(rg["runs"].size(), 1u);
    EXPECT_EQ(rg["runs"][0]["directory"].str(), tree.path("runs"));
    EXPECT_EQ(rg["runs"][0]["first"].number(), 0);
    EXPECT_EQ(rg["runs"][0]["count"].number(), 4);
    ASSERT_EQ(rg["files"].size(), 4u);
    for (const Json& f : rg["files"].array())
        EXPECT_EQ(f["state"].str(), "Deleted");

    // Tree: the root node, one child for the search root, then a, b and runs.
    const Json& top = j["tree"];
    EXPECT_EQ(top["name"].str(), "");
    ASSERT_EQ(top["children"].size(), 1u);
    const Json& root = top["children"][0];
    EXPECT_EQ(root["name"].str(), tree.root());
    EXPECT_EQ(root["path"].str(), tree.root());
    ASSERT_EQ(root["children"].size(), 3u);
    int cloneRefs = 0, runRefs = 0;
    for (const Json& child : root["children"].array()) {
        EXPECT_EQ(child["path"].str(), tree.root() + "/" + child["name"].str());
        EXPECT_EQ(child["children"].size(), 0u);
        for (const Json& ref : child["cloneRefs"].array()) {
            EXPECT_EQ(ref["set"].number(), 0);
            EXPECT_EQ(set["signature"][static_cast<size_t>(ref["position"].number())].str(),
                      child["path"].str());
            ++cloneRefs;
        }
        for (const Json& ref : child["runRefs"].array()) {
            EXPECT_EQ(ref["group"].number(), 0);
            EXPECT_EQ(ref["run"].number(), 0);
            EXPECT_EQ(child["name"].str(), "runs");
            ++runRefs;
        }
    }
    EXPECT_EQ(cloneRefs, 2);
    EXPECT_EQ(runRefs, 1);
}

TEST_F(Cli, DefaultDirectoriesOfSettingIniInTheWorkingDirectoryPremarkWithoutWritingIt) {
    tree.createFile("data/keep/a", "shared");
    tree.createFile("data/drop/b", "shared");
    tree.createFile("data/other/c", "shared");
    TempTree cwd;
    const std::string ini = "; Don't modify anything in this file!\r\n"
                            "[Default Preserve Directory]\r\ndir0=" +
                            tree.path("data/keep") +
                            "\r\n\r\n"
                            "[Default Delete Directory]\r\nx=" +
                            tree.path("data/drop") + "\r\n\r\n";
    cwd.createFile("Setting.ini", ini, 1500000000);
    ProcessOptions o;
    o.workingDirectory = cwd.root();
    ProcessResult r = Run(
        {"--format", "json", "--quiet", "--delete", tree.path("data/other"), tree.path("data")}, o);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::map<std::string, std::string> states;
    const Json result = Json::Parse(r.out);
    for (const Json& set : result["cloneSets"].array())
        for (const Json& g : set["groups"].array())
            for (const Json& f : g.array())
                states[f["path"].str()] = f["state"].str();
    EXPECT_EQ(states[tree.path("data/keep/a")], "Preserved");
    EXPECT_EQ(states[tree.path("data/drop/b")], "Deleted");
    EXPECT_EQ(states[tree.path("data/other/c")], "Deleted");
    EXPECT_EQ(cwd.readFile("Setting.ini"), ini);
    struct stat st;
    ASSERT_EQ(::stat(cwd.path("Setting.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 1500000000);
}

TEST_F(Cli, EveryCompletedSearchAddsToThePerUserTotals) {
    tree.createFile("a", "12345");
    tree.createFile("b", "123");
    const std::string registry =
        std::string(std::getenv("XDG_CONFIG_HOME")) + "/Paradrex/registry.ini";
    std::remove(registry.c_str()); // first start: the key does not exist yet
    ASSERT_EQ(Run({"--quiet", tree.root()}).exitCode, 0);
    ASSERT_EQ(Run({"--quiet", tree.root()}).exitCode, 0);
    platform::KeyStore store(registry);
    EXPECT_EQ(store.Read("Software\\Paradrex", "Count"), platform::KeyValue::Qword(4));
    EXPECT_EQ(store.Read("Software\\Paradrex", "Size"), platform::KeyValue::Qword(16));
}

TEST_F(Cli, NoDuplicatesGivesNullTreeAndEmptyText) {
    tree.createFile("a", "1");
    tree.createFile("b", "22");
    Json j = RunJson({tree.root()});
    EXPECT_TRUE(j["tree"].isNull());
    EXPECT_EQ(j["cloneSets"].size(), 0u);
    ProcessResult r = Run({"--quiet", tree.root()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST_F(Cli, TextListsTheSameGroupsAsJsonOnePathPerLine) {
    tree.createFile("p/one", "first");
    tree.createFile("q/one", "first");
    tree.createFile("p/two", "second!");
    tree.createFile("q/two", "second!");
    tree.createFile("r/three", "second!");
    for (int i = 0; i < 5; ++i)
        tree.createFile("s/f" + std::to_string(i), "fives");
    Json j = RunJson({tree.root()});
    std::string expected;
    for (const auto& g : Groups(j)) {
        for (const auto& p : g)
            expected += p + "\n";
        expected += "\n";
    }
    ProcessResult r = Run({tree.root()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, expected);
    EXPECT_NE(r.err.find("Searched"), std::string::npos); // summary on stderr
}

TEST_F(Cli, OutputIsTheSameInEveryRunWhateverTheThreadCount) {
    for (int d = 0; d < 8; ++d)
        for (int f = 0; f < 12; ++f)
            tree.createFile("d" + std::to_string(d) + "/sub" + std::to_string(f % 2) + "/f" +
                                std::to_string(f),
                            "content " + std::to_string((d + f) % 5));
    auto resultPart = [](const std::string& json) {
        return json.substr(json.find("\"cloneSets\""));
    };
    ProcessResult one = Run({"--format", "json", "--quiet", "--threads", "1", tree.root()});
    ProcessResult four = Run({"--format", "json", "--quiet", "--threads", "4", tree.root()});
    ProcessResult again = Run({"--format", "json", "--quiet", "--threads", "4", tree.root()});
    ASSERT_EQ(one.exitCode, 0);
    EXPECT_GT(Json::Parse(one.out)["cloneSets"].size(), 1u);
    EXPECT_EQ(resultPart(one.out), resultPart(four.out));
    EXPECT_EQ(resultPart(four.out), resultPart(again.out));
}

TEST_F(Cli, OddNamesSurviveTextAndJson) {
    const std::string odd = "bad \xff\xfe byte";
    tree.createFile("-dash dir/" + odd, "odd content");
    tree.createFile("new\nline", "odd content");
    tree.createFile("ok \xc3\xa9", "odd content");
    // A root beginning with a dash, after "--", relative to the working directory.
    ProcessOptions inTree;
    inTree.workingDirectory = tree.root();
    ProcessResult r = Run({"--format", "json", "--quiet", "--", "-dash dir", "."}, inTree);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\\udcff\\udcfe"), std::string::npos);
    auto groups = Groups(Json::Parse(r.out));
    ASSERT_EQ(groups.size(), 1u);
    std::vector<std::string> paths = groups[0];
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> expected = {tree.path("-dash dir/" + odd), tree.path("new\nline"),
                                         tree.path("ok \xc3\xa9")};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected);

    ProcessResult text = Run({"--quiet", tree.root()});
    EXPECT_NE(text.out.find(tree.path("-dash dir/" + odd) + "\n"), std::string::npos);
}

TEST_F(Cli, NestedRootsMergeAndFiltersApply) {
    tree.createFile("top/a", "twin-bytes");
    tree.createFile("top/sub/b", "twin-bytes");
    tree.createFile("top/.h", "twin-bytes");
    tree.createFile("top/ro", "twin-bytes");
    tree.chmod("top/ro", 0444);
    tree.createFile("top/big1", std::string(3000, 'k'));
    tree.createFile("top/big2", std::string(3000, 'k'));
    Json j = RunJson({tree.path("top/sub"), tree.path("top")});
    EXPECT_EQ(j["counters"]["directoryCount"].number(), 2);
    EXPECT_EQ(j["counters"]["fileCount"].number(), 4);

    j = RunJson({"--hidden", "--read-only", "--max-size", "1K", tree.path("top")});
    auto groups = Groups(j);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].size(), 4u);

    j = RunJson({"--min-size", "2K", "--types", "TXT", tree.path("top")});
    EXPECT_EQ(j["counters"]["fileCount"].number(), 0);
}

TEST_F(Cli, FilesOfFiveGibibytesAreGroupedExactlyAndSizeLimitsTakeGigabytes) {
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    constexpr uint64_t size = 5 * kGiB;
    const TempTree::Patch head{0, "head of a huge file"};
    tree.createSparseFile("big/same1", size, {head, {size - 1, "Z"}});
    tree.createSparseFile("big/same2", size, {head, {size - 1, "Z"}});
    tree.createSparseFile("big/lastByte", size, {head, {size - 1, "Y"}});
    tree.createSparseFile("four", 4 * kGiB, {head});
    const std::string registry =
        std::string(std::getenv("XDG_CONFIG_HOME")) + "/Paradrex/registry.ini";
    std::remove(registry.c_str());

    ProcessResult r = Run({"--format", "json", "--quiet", tree.root()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"size\":5368709120,"), std::string::npos) << "printed whole";
    Json j = Json::Parse(r.out);
    auto groups = Groups(j);
    ASSERT_EQ(groups.size(), 1u);
    std::sort(groups[0].begin(), groups[0].end());
    EXPECT_EQ(groups[0],
              (std::vector<std::string>{tree.path("big/same1"), tree.path("big/same2")}));
    const Json& c = j["counters"];
    EXPECT_EQ(c["fileCount"].number(), 4);
    EXPECT_EQ(c["totalSize"].number(), static_cast<double>(3 * size + 4 * kGiB));
    EXPECT_EQ(c["duplicateSize"].number(), static_cast<double>(2 * size));
    EXPECT_EQ(platform::KeyStore(registry).Read("Software\\Paradrex", "Size"),
              platform::KeyValue::Qword(3 * size + 4 * kGiB));

    // "4G" keeps a file of exactly 4 GiB; "5119M", beyond 32 bits, leaves
    // out the 5 GiB files.
    j = RunJson({"--min-size", "4G", "--max-size", "5119M", tree.root()});
    EXPECT_EQ(j["counters"]["fileCount"].number(), 1);
    EXPECT_EQ(j["counters"]["totalSize"].number(), static_cast<double>(4 * kGiB));
    EXPECT_TRUE(Groups(j).empty());
    j = RunJson({"--max-size", "4g", tree.root()});
    EXPECT_EQ(j["counters"]["fileCount"].number(), 1);
}

TEST_F(Cli, WithoutDirectoriesTheWorkingDirectoryIsSearched) {
    tree.createFile("x", "same");
    tree.createFile("y", "same");
    ProcessOptions o;
    o.workingDirectory = tree.root();
    ProcessResult r = Run({"--quiet"}, o);
    EXPECT_EQ(r.exitCode, 0);
    // The group lists the files in the order the directory lists them.
    EXPECT_THAT(r.out, AnyOf(tree.path("x") + "\n" + tree.path("y") + "\n\n",
                             tree.path("y") + "\n" + tree.path("x") + "\n\n"));
}

TEST_F(Cli, InterruptStopsTheSearchPrintsNothingAndExits130) {
    for (const char* name : {"big1", "big2"}) {
        int fd = ::open(tree.path(name).c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 3LL << 30), 0);
        ::close(fd);
    }
    for (int sig : {SIGINT, SIGTERM}) {
        ProcessOptions o;
        o.whileRunning = [sig](int pid) {
            std::this_thread::sleep_for(300ms);
            ::kill(pid, sig);
        };
        ProcessResult r = Run({tree.root()}, o);
        EXPECT_EQ(r.exitCode, 130) << sig;
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(Cli, ErrorRecordsGoToStandardErrorAndNoLogFileIsWritten) {
    tree.createFile("d/a", "same thing");
    tree.createFile("d/b", "same thing");
    tree.createFile("d/c", "same thing");
    tree.chmod("d/c", 0200);
    ::chmod(tree.root().c_str(), 0755);
    ProcessOptions o;
    o.asNobody = true; // permissions bind root too only this way
    o.workingDirectory = "/tmp";
    ProcessResult r = Run({"--quiet", tree.path("d")}, o);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(r.out, AnyOf(tree.path("d/a") + "\n" + tree.path("d/b") + "\n\n",
                             tree.path("d/b") + "\n" + tree.path("d/a") + "\n\n"));
    EXPECT_NE(r.err.find("] " + tree.path("d/c") + " can't open!\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.front(), '[');
    EXPECT_FALSE(tree.exists("d/error.log"));
}

} // namespace
} // namespace paradrex::test
