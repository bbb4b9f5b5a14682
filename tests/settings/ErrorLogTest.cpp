#include "settings/ErrorLog.h"
#include "platform/ErrorRecord.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace paradrex {
namespace {

using test::TempTree;

// A log of numbered lines, padded to exactly `size` bytes.
std::string MakeLog(size_t size) {
    std::string s;
    for (int i = 0; s.size() < size; ++i)
        s += "[01/01/20 00:00:00] /some/path/file" + std::to_string(i) + " can't open!\n";
    s.resize(size);
    s.back() = '\n';
    return s;
}

TEST(ErrorLog, LogOfAtMost65535BytesIsLeftWhole) {
    TempTree t;
    const std::string log = MakeLog(65535);
    t.createFile("error.log", log);
    _Error_log::Trim(t.root());
    EXPECT_EQ(t.readFile("error.log"), log);
}

TEST(ErrorLog, LargerLogLosesItsHeadUpToTheFirstLineAfterByte32767) {
    TempTree t;
    const std::string log = MakeLog(65536);
    t.createFile("error.log", log);
    _Error_log::Trim(t.root());
    const std::string trimmed = t.readFile("error.log");
    const size_t cut = log.find('\n', 32767) + 1;
    EXPECT_EQ(trimmed, log.substr(cut));
    EXPECT_EQ(trimmed.front(), '[');
    EXPECT_FALSE(t.exists("tmp.log"));

    // Trimmed once per start: the shorter log stays as it is now.
    _Error_log::Trim(t.root());
    EXPECT_EQ(t.readFile("error.log"), trimmed);
}

TEST(ErrorLog, RecordsWrittenWhileOpenLandInTheLogAndStderrComesBack) {
    TempTree t;
    t.createFile("error.log", "[01/01/20 00:00:00] older line\n");
    {
        _Error_log log(t.root());
        ASSERT_TRUE(log.isOpen());
        _Error_record("/x/y can't open!").Write();
        _Error_record("/x/z read error!", 5).Write();
    }
    const std::string text = t.readFile("error.log");
    EXPECT_EQ(text.rfind("[01/01/20 00:00:00] older line\n", 0), 0u);
    EXPECT_NE(text.find("] /x/y can't open!\n"), std::string::npos);
    EXPECT_NE(text.find("] /x/z read error! Error Code: 5\n"), std::string::npos);
    // Standard error is the terminal's (or ctest's) again, not the log.
    _Error_record("after close").Write();
    EXPECT_EQ(t.readFile("error.log").find("after close"), std::string::npos);
}

// Programs started while the log is open (the desktop's file opener, a
// context-menu program) inherit standard error: what they print reaches the
// terminal the program was started from, never error.log.
TEST(ErrorLog, StartedProgramsWriteToTheTerminalNotIntoTheLog) {
    TempTree t;
    const int terminal = ::open(t.path("terminal").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(terminal, 0);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(terminal, STDERR_FILENO);
    {
        _Error_log log(t.root());
        ASSERT_TRUE(log.isOpen());
        _Error_record("/x/y can't open!").Write();
        EXPECT_EQ(std::system("echo 'xdg-open: no method available' >&2"), 0);
    }
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    ::close(terminal);
    const std::string log = t.readFile("error.log");
    EXPECT_NE(log.find("] /x/y can't open!\n"), std::string::npos);
    EXPECT_EQ(log.find("xdg-open"), std::string::npos);
    EXPECT_EQ(t.readFile("terminal"), "xdg-open: no method available\n");
}

TEST(ErrorLog, FailuresAreSilent) {
    TempTree t;
    t.createDir("error.log"); // a folder where the log should be
    _Error_log log(t.root());
    EXPECT_FALSE(log.isOpen());
    _Error_record("dropped").Write(); // goes to the old standard error, no crash
}

} // namespace
} // namespace paradrex
