// Configured commands turned into argument vectors: the desktop entry
// quoting rules, the field codes, program lookup, and a real child that must
// see a hostile file name as one argument and run nothing else.

#include "platform/ExecLine.h"
#include "platform/ChildProcess.h"
#include "platform/Paths.h"
#include "support/ResultAssertions.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace paradrex::platform {
namespace {

using namespace std::chrono_literals;
using test::TempTree;
using Argv = std::vector<std::string>;

constexpr const char* kPath = "/data/My File.txt";
constexpr const char* kUrl = "file:///data/My%20File.txt";

struct SplitCase {
    const char* line;
    Argv argv;
};

TEST(ExecLine, SplitsByTheQuotingRulesAndPutsInTheFile) {
    const SplitCase cases[] = {
        {"gedit", {"gedit", kPath}},
        {"gedit %f", {"gedit", kPath}},
        {"  gedit   --new-window   %F  ", {"gedit", "--new-window", kPath}},
        {"viewer %u", {"viewer", kUrl}},
        {"viewer %U", {"viewer", kUrl}},
        {"viewer --file=%f --x", {"viewer", "--file=/data/My File.txt", "--x"}},
        {"viewer --url=%u", {"viewer", std::string("--url=") + kUrl}},
        {"viewer %f %f", {"viewer", kPath, kPath}},
        // No icon, name or location: those codes give nothing, and neither do
        // the deprecated ones; without a file code the path is appended.
        {"viewer %i %c %k", {"viewer", kPath}},
        {"viewer %d %D %n %N %v %m %f", {"viewer", kPath}},
        {"viewer x%iy", {"viewer", "xy", kPath}},
        {"viewer 100%% %f", {"viewer", "100%", kPath}},
        {"\"/opt/My Viewer/view\" %f", {"/opt/My Viewer/view", kPath}},
        {"viewer \"a b\"", {"viewer", "a b", kPath}},
        {"viewer \"say \\\"hi\\\"\"", {"viewer", "say \"hi\"", kPath}},
        {"viewer \"\\` \\$ \\\\\"", {"viewer", "` $ \\", kPath}},
        {"viewer \"\" %f", {"viewer", "", kPath}},
        {"viewer \"a;b|c>d<e&f~g*h?i#j(k)l'm\"", {"viewer", "a;b|c>d<e&f~g*h?i#j(k)l'm", kPath}},
        {"viewer \"%%\"", {"viewer", "%", kPath}},
        {"viewer --opt=\"a b\"c", {"viewer", "--opt=a bc", kPath}},
        {"env LANG=C viewer", {"env", "LANG=C", "viewer", kPath}},
    };
    for (const SplitCase& c : cases) {
        ExecArgv r = ExecLineArgv(c.line, kPath);
        EXPECT_TRUE(r.ok()) << c.line;
        EXPECT_EQ(r.argv, c.argv) << c.line;
    }
}

struct ErrorCase {
    const char* line;
    ExecLineError error;
};

TEST(ExecLine, RefusesWhatOnlyAShellCouldMakeSenseOf) {
    const ErrorCase cases[] = {
        {"", ExecLineError::Empty},
        {"   ", ExecLineError::Empty},
        {"viewer \"a b", ExecLineError::UnterminatedQuote},
        {"viewer \"a\\b\"", ExecLineError::BadEscape},
        {"viewer \"a\\", ExecLineError::BadEscape},
        {"viewer \"$HOME\"", ExecLineError::ReservedCharacter},
        {"viewer \"`id`\"", ExecLineError::ReservedCharacter},
        {"viewer; rm -rf x", ExecLineError::ReservedCharacter},
        {"viewer %f | other", ExecLineError::ReservedCharacter},
        {"viewer > out", ExecLineError::ReservedCharacter},
        {"viewer $(id)", ExecLineError::ReservedCharacter},
        {"viewer ~/x", ExecLineError::ReservedCharacter},
        {"viewer 'a b'", ExecLineError::ReservedCharacter},
        {"viewer a\\ b", ExecLineError::ReservedCharacter},
        {"viewer\t%f", ExecLineError::ReservedCharacter},
        {"viewer *.txt", ExecLineError::ReservedCharacter},
        {"viewer %x", ExecLineError::BadFieldCode},
        {"viewer %", ExecLineError::BadFieldCode},
        {"sh -c \"cat %f\"", ExecLineError::BadFieldCode},
        {"viewer --files=%F", ExecLineError::BadFieldCode},
        {"viewer %U%U", ExecLineError::BadFieldCode},
        {"%f", ExecLineError::BadProgram},
        {"A=1 viewer", ExecLineError::BadProgram},
        {"\"\" %f", ExecLineError::BadProgram},
    };
    for (const ErrorCase& c : cases) {
        ExecArgv r = ExecLineArgv(c.line, kPath);
        EXPECT_EQ(r.error, c.error) << c.line;
        EXPECT_TRUE(r.argv.empty()) << c.line;
        EXPECT_FALSE(CanStartCommand(c.line)) << c.line;
    }
    EXPECT_EQ(ExecLineArgv("viewer %f", "rel/x.txt").error, ExecLineError::RelativeFile);
}

TEST(ExecLine, FileUrlsEncodeEveryByteButThePlainOnes) {
    EXPECT_EQ(FileUrl("/a b/#%?.txt"), "file:///a%20b/%23%25%3F.txt");
    EXPECT_EQ(FileUrl("/x/\xff\xc3\xa9;$(id)"), "file:///x/%FF%C3%A9%3B%24%28id%29");
    EXPECT_EQ(FileUrl("/AZaz09-._~/"), "file:///AZaz09-._~/");
}

TEST(ExecLine, ProgramsAreExecutableFilesByPathOrOnTheSearchPath) {
    TempTree tree;
    auto executable = [&](const std::string& rel) {
        tree.createFile(rel, "#!/bin/sh\n");
        tree.chmod(rel, 0755);
        return tree.path(rel);
    };
    const std::string first = executable("one/tool");
    executable("two/tool");
    tree.createFile("one/plain", "#!/bin/sh\n"); // not executable
    const std::string plain = executable("two/plain");
    tree.createDir("one/folder");
    tree.createSymlink(first, "two/linked");
    const std::string search = "::" + tree.path("one") + ":" + tree.path("two") + "/";

    EXPECT_EQ(FindProgram("tool", search), first);
    EXPECT_EQ(FindProgram("plain", search), plain);
    EXPECT_EQ(FindProgram("linked", search), tree.path("two") + "/linked");
    EXPECT_EQ(FindProgram("folder", search), std::nullopt);
    EXPECT_EQ(FindProgram("missing", search), std::nullopt);
    EXPECT_EQ(FindProgram("", search), std::nullopt);
    EXPECT_EQ(FindProgram(first, ""), first);
    EXPECT_EQ(FindProgram(tree.path("one/plain"), search), std::nullopt);
    EXPECT_EQ(FindProgram("one/tool", search), std::nullopt); // relative to here, not the path

    // A stored program path may hold blanks: the default rows keep it bare.
    const std::string spaced = executable("my tools/show args");
    EXPECT_TRUE(CanStartCommand(spaced));
    EXPECT_EQ(CommandProgram(spaced), spaced);
    EXPECT_EQ(CommandArgv(spaced, kPath).argv, (Argv{spaced, kPath}));
    EXPECT_TRUE(CanStartCommand("\"" + spaced + "\" --new %f"));
    EXPECT_EQ(CommandProgram("\"" + spaced + "\" --new %f"), spaced);
    EXPECT_TRUE(CanStartCommand("sh"));
    EXPECT_FALSE(CanStartCommand("paradrex-no-such-program %f"));
    EXPECT_FALSE(CanStartCommand(tree.path("one/plain")));
    EXPECT_FALSE(CanStartCommand(tree.path("one/folder")));
    // A path that names nothing is an Exec line like any other.
    EXPECT_EQ(CommandArgv("/nowhere/my viewer", kPath).argv,
              (Argv{"/nowhere/my", "viewer", kPath}));
}

// Changes the working directory for the life of the object: a command a
// hostile name might smuggle in would write there.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& dir) {
        char buf[4096];
        old_ = ::getcwd(buf, sizeof buf) ? buf : "/";
        EXPECT_EQ(::chdir(dir.c_str()), 0);
    }
    ~WorkingDirectory() { (void)::chdir(old_.c_str()); }

private:
    std::string old_;
};

TEST(ExecLine, AHostileFileNameReachesTheProgramAsOneArgumentAndRunsNothing) {
    TempTree tree;
    // Writes each argument it gets, NUL-terminated, to the file "out" of the
    // working directory, complete once it appears.
    const std::string script = tree.createFile(
        "my tools/show args", "#!/bin/sh\n"
                              "for a in \"$@\"; do printf '%s\\0' \"$a\"; done >out.part\n"
                              "mv out.part out\n");
    tree.chmod("my tools/show args", 0755);
    WorkingDirectory here(tree.root());

    const char* names[] = {"; touch pwned",   "$(touch pwned)", "`touch pwned`", "-rf",
                           "--help",          "a\nb c",         "%f %u %%",      "it's \"x\"",
                           "| touch pwned &", "\xff\xfe"};
    const std::string commands[] = {
        script,                                 // a bare program path (with a blank)
        "\"" + script + "\"",                   // an Exec line without field codes
        "\"" + script + "\" --first %f --last", // the path in the middle
        "\"" + script + "\" --file=%f",         // inside an argument
        "\"" + script + "\" %U",                // as a URL
    };
    for (const char* name : names) {
        const std::string file = tree.createFile(std::string("files/") + name, "x");
        for (const std::string& command : commands) {
            ExecArgv args = CommandArgv(command, file);
            ASSERT_TRUE(args.ok()) << command;
            ASSERT_TRUE(test::Succeeded(StartDetached(args.argv)));
            for (int i = 0; i < 1000 && !tree.exists("out"); ++i)
                std::this_thread::sleep_for(10ms);
            ASSERT_TRUE(tree.exists("out")) << name << " via " << command;
            const std::string output = tree.readFile("out");
            ASSERT_EQ(::unlink(tree.path("out").c_str()), 0);
            std::string expected;
            for (size_t i = 1; i < args.argv.size(); ++i)
                expected += args.argv[i] + '\0';
            EXPECT_EQ(output, expected) << name;
            // The file is exactly one argument, whole.
            const bool asUrl = command.ends_with("%U");
            const std::string whole = asUrl ? FileUrl(file) : file;
            const bool found = output.find(whole + '\0') != std::string::npos ||
                               output.find("--file=" + whole + '\0') != std::string::npos;
            EXPECT_TRUE(found) << name << " via " << command;
        }
    }
    EXPECT_FALSE(tree.exists("pwned"));
    EXPECT_FALSE(tree.exists("files/pwned"));
}

} // namespace
} // namespace paradrex::platform
