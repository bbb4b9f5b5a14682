// The exact texts of the delete command and its log, by method.

#include "fileops/LogText.h"
#include "fileops/DeleteOption.h"
#include "fileops/EmptyDirectoryCheck.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

TEST(LogText, LinesSummaryQuestionAndPreviewTotalByMethod) {
    struct Case {
        DeleteSettings settings;
        const char* question;
        const char* summary;
        const char* total;
    };
    const Case cases[] = {
        {{DeleteMethod::Trash, "/ignored"},
         "All files you had marked cross will be deleted to Recycle Bin. Are you sure?",
         "\nDeleted files marked cross to Recycle Bin,\n12 files succeed, 3 files failed",
         "\nTotal 15 files you had marked cross will be deleted to Recycle Bin"},
        {{DeleteMethod::DeleteDirectly, {}},
         "All files you had marked cross will be deleted directly. Are you sure?",
         "\nDeleted files marked cross directly,\n12 files succeed, 3 files failed",
         "\nTotal 15 files you had marked cross will be deleted directly"},
        {{DeleteMethod::Move, "/old dir"},
         "All files you had marked cross will be moved to /old dir. Are you sure?",
         "\nMoved files marked cross to /old dir,\n12 files succeed, 3 files failed",
         "\nTotal 15 files you had marked cross will be moved to /old dir"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeleteQuestion(c.settings), c.question);
        EXPECT_EQ(DeleteLogSummary(c.settings, 12, 3), c.summary);
        EXPECT_EQ(PreviewLogTotal(15, c.settings), c.total);
    }
    // Counts are plain digits, without separators, 64-bit.
    EXPECT_EQ(DeleteLogSummary({DeleteMethod::DeleteDirectly, {}}, 1234567, 5000000000),
              "\nDeleted files marked cross directly,\n1234567 files succeed, 5000000000 files "
              "failed");

    FileOutcome done{.path = "/d/a b.txt"};
    FileOutcome failed{.path = "/d/caf\xe9", .failure = FileFailure::Changed};
    EXPECT_EQ(DeleteLogLine(done), "/d/a b.txt......Succeed\n");
    EXPECT_EQ(DeleteLogLine(failed), "/d/caf\xe9......Failed\n");
    EXPECT_EQ(PreviewLogLine("/d/-x $(y)"), "/d/-x $(y)\n");
    EXPECT_EQ(EmptyDirectoryQuestion("/d/e"), "/d/e is empty. Do you want to remove it?");
}

TEST(LogText, RenamingLinesMessagesAndSummaries) {
    FileOutcome done{"/d/old name.txt", "new \xff.txt"};
    FileOutcome failed = done;
    failed.failure = FileFailure::System;
    // One blank before the dots, unlike the deleting lines.
    EXPECT_EQ(RenameLogLine(done), "/d/old name.txt -> new \xff.txt\n");
    EXPECT_EQ(RenameLogLine(failed), "/d/old name.txt -> new \xff.txt ......Failed\n");
    EXPECT_EQ(RestoreMessage(done), "/d/old name.txt -> new \xff.txt");
    EXPECT_EQ(RestoreMessage(failed), "/d/old name.txt -> new \xff.txt ......Failed");
    EXPECT_EQ(RenameErrorMessage(failed), "Rename Error: /d/old name.txt -> new \xff.txt");

    struct Case {
        bool rename;
        bool recursive;
        const char* text;
    };
    const Case cases[] = {
        {true, false, "\nRenamed files base on files in \"/a b\"\n7 files succeed, 0 files failed"},
        {true, true,
         "\nRenamed files base on files (recursively) in \"/a b\"\n7 files succeed, 0 files "
         "failed"},
        {false, false, "\nRestored files' names in \"/a b\"\n7 files succeed, 0 files failed"},
        {false, true,
         "\nRestored filenames (recursively) in \"/a b\"\n7 files succeed, 0 files failed"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.rename ? RenameBaseLogSummary("/a b", c.recursive, 7, 0)
                           : RestoreNamesLogSummary("/a b", c.recursive, 7, 0),
                  c.text);
    EXPECT_EQ(RestoreNamesLogSummary("/", false, 1234567, 5000000000),
              "\nRestored files' names in \"/\"\n1234567 files succeed, 5000000000 files failed");
}

TEST(DeleteOption, OnlyZeroToTwoNameAMethodAndAnythingElseIsRefusedWithAMessage) {
    for (int v : {0, 1, 2}) {
        std::optional<DeleteSettings> s = DeleteSettingsOf(v, "/m");
        ASSERT_TRUE(s) << v;
        EXPECT_EQ(static_cast<int>(s->method), v);
        EXPECT_EQ(s->moveDirectory, "/m");
    }
    for (int v : {-1, 3, 100, -2147483647 - 1}) {
        EXPECT_FALSE(DeleteSettingsOf(v, "/m")) << v;
        const std::string message = UnknownDeleteOptionMessage(v);
        EXPECT_NE(message.find("Delete Option"), std::string::npos);
        EXPECT_NE(message.find(std::to_string(v)), std::string::npos);
        EXPECT_NE(message.find("Nothing was changed"), std::string::npos);
    }
    EXPECT_EQ(kDeleteOptionErrorCaption, "Error");
}

TEST(DeleteOption, TheConfirmationBoxesFollowWhatTheSearchesFound) {
    EXPECT_EQ(ConfirmBoxesFor(false, false), (ConfirmBoxes{false, false, false, false}));
    // All crossed: enabled, unchecked; differing names: enabled, checked.
    EXPECT_EQ(ConfirmBoxesFor(true, false), (ConfirmBoxes{true, false, false, false}));
    EXPECT_EQ(ConfirmBoxesFor(false, true), (ConfirmBoxes{false, false, true, true}));
    EXPECT_EQ(ConfirmBoxesFor(true, true), (ConfirmBoxes{true, false, true, true}));
}

} // namespace
} // namespace paradrex
