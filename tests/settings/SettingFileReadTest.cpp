// How hand-edited, reordered and damaged Setting.ini texts are read.

#include "settings/SettingFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <string>

namespace paradrex {
namespace {

const std::string kFirst = "; Don't modify anything in this file!\r\n";

std::string Layout(const std::string& lines) {
    return "[layout]\r\n" + lines + "\r\n";
}

void ExpectAllDefaults(const _Setting_file& s) {
    _Setting_file defaults = _Setting_file::FromText("");
    EXPECT_TRUE(s.SameValues(defaults));
    EXPECT_EQ(s.version.Version.value, 20u);
    EXPECT_EQ(s.layout.window_width.value, 800);
    EXPECT_EQ(s.color.clrTextBk2.value, 0xFFF1F1u);
    for (const auto& row : s.fileContextMenu.rows) {
        EXPECT_EQ(row.Visible.value, 0);
        EXPECT_EQ(row.Menu.value, "");
        EXPECT_EQ(row.Command.value, "");
    }
}

TEST(SettingFileRead, EmptyTextGivesAllDefaultsAndVersion20) {
    ExpectAllDefaults(_Setting_file::FromText(""));
}

TEST(SettingFileRead, OtherVersionKeepsLayoutButResetsTheColours) {
    for (std::string version : {std::string("[version]\r\nVersion=19\r\n\r\n"), std::string()}) {
        auto s = _Setting_file::FromText(kFirst + version + Layout("window_showcmd=3\r\n") +
                                         "[color]\r\nclrTextBk1=1\r\nclrTextBk2=2\r\n"
                                         "clrTextBlock=3\r\n\r\n[Interface]\r\nMenuStyle=0\r\n");
        EXPECT_EQ(s.layout.window_showcmd.value, 3u);
        EXPECT_EQ(s.interfaceStyle.MenuStyle.value, 0);
        EXPECT_EQ(s.color.clrTextBk1.value, 0xFFFFFFu);
        EXPECT_EQ(s.color.clrTextBk2.value, 0xFFF1F1u);
        EXPECT_EQ(s.color.clrTextBlock.value, 0xF1F1FFu);
        EXPECT_EQ(s.version.Version.value, 20u);
        EXPECT_NE(s.Text().find("Version=20\r\n"), std::string::npos);
    }
}

TEST(SettingFileRead, SectionsInAnyOrderAreAllFound) {
    std::string text = kFirst + "[Recent Directory]\r\ndir0=/recent\r\n\r\n" +
                       "[Delete Option]\r\nDeleteOption=1\r\nMoveDirectory=/mv\r\n\r\n" +
                       "[color]\r\nclrTextBk1=11\r\nclrTextBk2=12\r\nclrTextBlock=13\r\n\r\n" +
                       "[Default Delete Directory]\r\ndir0=/del\r\n\r\n" +
                       Layout("window_showcmd=3\r\nwindow_x=5\r\n") +
                       "[version]\r\nVersion=20\r\n\r\n" +
                       "[Default Preserve Directory]\r\ndir0=/keep\r\n\r\n" +
                       "[Interface]\r\nMenuStyle=0\r\nListViewStyle=0\r\n\r\n";
    auto s = _Setting_file::FromText(text);
    EXPECT_EQ(s.recentDirectory.dirs, std::vector<std::string>{"/recent"});
    EXPECT_EQ(s.deleteOption.DeleteOption.value, 1);
    EXPECT_EQ(s.deleteOption.MoveDirectory.value, "/mv");
    EXPECT_EQ(s.color.clrTextBk1.value, 11u); // version 20 was found: colours kept
    EXPECT_EQ(s.color.clrTextBlock.value, 13u);
    EXPECT_EQ(s.defaultDeleteDirectory.dirs, std::vector<std::string>{"/del"});
    EXPECT_EQ(s.defaultPreserveDirectory.dirs, std::vector<std::string>{"/keep"});
    EXPECT_EQ(s.layout.window_x.value, 5);
    EXPECT_EQ(s.interfaceStyle.ListViewStyle.value, 0);
}

TEST(SettingFileRead, KeyMovedToTheEndOfItsSectionIsStillRead) {
    auto s = _Setting_file::FromText(
        kFirst + "[version]\r\nVersion=20\r\n\r\n" +
        Layout("window_showcmd=3\r\nwindow_y=2\r\nwindow_width=1000\r\nGrid=1\r\nwindow_x=77\r\n") +
        "[color]\r\nclrTextBk1=5\r\n\r\n");
    EXPECT_EQ(s.layout.window_x.value, 77);
    EXPECT_EQ(s.layout.window_y.value, 2);
    EXPECT_EQ(s.layout.window_width.value, 1000);
    EXPECT_EQ(s.layout.Grid.value, 1);
    EXPECT_EQ(s.layout.window_height.value, 600);
    EXPECT_EQ(s.color.clrTextBk1.value, 5u); // the next section is read in turn
}

TEST(SettingFileRead, MissingKeyKeepsDefaultAndNextKeyIsReadFromItsLine) {
    auto s =
        _Setting_file::FromText(kFirst + "[version]\r\nVersion=20\r\n\r\n" +
                                Layout("window_showcmd=1\r\nwindow_y=9\r\nwindow_width=640\r\n"));
    EXPECT_EQ(s.layout.window_x.value, 0);
    EXPECT_EQ(s.layout.window_y.value, 9);
    EXPECT_EQ(s.layout.window_width.value, 640);
}

TEST(SettingFileRead, NonNumericValueKeepsDefaultAndFollowingKeysAreRead) {
    auto s = _Setting_file::FromText(
        kFirst + Layout("window_showcmd=3\r\nwindow_x=1\r\nwindow_y=2\r\n"
                        "window_width=wide\r\nwindow_height=700\r\nLVFile_name=\r\n"
                        "LVFile_size=-\r\nLVFile_type= 42 px\r\nLVFile_modified=-13\r\n"));
    EXPECT_EQ(s.layout.window_width.value, 800);
    EXPECT_EQ(s.layout.window_height.value, 700);
    EXPECT_EQ(s.layout.LVFile_name.value, 300);
    EXPECT_EQ(s.layout.LVFile_size.value, 100);
    EXPECT_EQ(s.layout.LVFile_type.value, 42); // blanks skipped, trailing text ignored
    EXPECT_EQ(s.layout.LVFile_modified.value, -13);
}

TEST(SettingFileRead, NumbersOutsideTheirTypeKeepTheDefault) {
    auto s = _Setting_file::FromText(
        kFirst + "[version]\r\nVersion=20\r\n\r\n" +
        Layout("window_showcmd=-1\r\nwindow_x=2147483648\r\nwindow_y=-2147483648\r\n") +
        "[color]\r\nclrTextBk1=4294967296\r\nclrTextBk2=4294967295\r\n"
        "clrTextBlock=99999999999999999999999999\r\n\r\n");
    EXPECT_EQ(s.layout.window_showcmd.value, 1u);
    EXPECT_EQ(s.layout.window_x.value, 0);
    EXPECT_EQ(s.layout.window_y.value, -2147483647 - 1);
    EXPECT_EQ(s.color.clrTextBk1.value, 0xFFFFFFu);
    EXPECT_EQ(s.color.clrTextBk2.value, 4294967295u);
    EXPECT_EQ(s.color.clrTextBlock.value, 0xF1F1FFu);
}

TEST(SettingFileRead, LongTrailingTextAfterANumberDoesNotLoseTheNextKeys) {
    // Only 128 characters are skipped behind a number; the rest of that line
    // is offered as the next key, does not match, and the keys are found by
    // scanning their section.
    auto s = _Setting_file::FromText(
        kFirst + Layout("window_showcmd=3\r\nwindow_x=5" + std::string(300, 'x') +
                        "\r\nwindow_y=7\r\nwindow_width=900\r\nwindow_height=500\r\n"));
    EXPECT_EQ(s.layout.window_x.value, 5);
    EXPECT_EQ(s.layout.window_y.value, 7);
    EXPECT_EQ(s.layout.window_width.value, 900);
    EXPECT_EQ(s.layout.window_height.value, 500);
}

TEST(SettingFileRead, OnlyTheRestOfTheLineUpTo128CharactersIsSkippedAfterANumber) {
    // What stands behind the 128 skipped characters is read as the next line.
    auto s = _Setting_file::FromText(
        kFirst + Layout("window_showcmd=3\r\nwindow_x=5" + std::string(128, 'x') +
                        "window_y=99\r\nwindow_y=7\r\nwindow_width=900\r\n"));
    EXPECT_EQ(s.layout.window_y.value, 99);
    EXPECT_EQ(s.layout.window_width.value, 900);
}

TEST(SettingFileRead, StrayLineWithoutEqualsDoesNotHideTheNextKey) {
    auto s = _Setting_file::FromText(
        kFirst + Layout("window_showcmd=3\r\nsome note\r\nwindow_x=5\r\nwindow_y=6\r\n"));
    EXPECT_EQ(s.layout.window_x.value, 5);
    EXPECT_EQ(s.layout.window_y.value, 6);
}

TEST(SettingFileRead, KeyScanStopsAtTheNextSection) {
    auto s = _Setting_file::FromText(kFirst + "[version]\r\nVersion=20\r\n\r\n" +
                                     Layout("window_showcmd=3\r\nwindow_y=2\r\n") +
                                     "[color]\r\nwindow_x=9\r\nclrTextBk1=1\r\n\r\n");
    EXPECT_EQ(s.layout.window_x.value, 0);
    EXPECT_EQ(s.layout.window_y.value, 2);
    EXPECT_EQ(s.color.clrTextBk1.value, 1u);
}

TEST(SettingFileRead, SectionFoundBySearchingSendsTheReaderBack) {
    // [layout] is not where [version] ended, so it is searched for; the next
    // section is then looked for where [version] ended, which finds the
    // first [color] block rather than the one behind [layout].
    auto s = _Setting_file::FromText(
        kFirst + "[version]\r\nVersion=20\r\n\r\n" + "[color]\r\nclrTextBk1=1\r\n\r\n" +
        "[layout]\r\nwindow_x=4\r\n" + "[color]\r\nclrTextBk1=2\r\n\r\n");
    EXPECT_EQ(s.layout.window_x.value, 4);
    EXPECT_EQ(s.color.clrTextBk1.value, 1u);
}

TEST(SettingFileRead, RecentListKeysCarryNoMeaning) {
    auto s = _Setting_file::FromText(kFirst + "[Recent Directory]\r\nx=/first\r\ndir7=/second\r\n");
    EXPECT_EQ(s.recentDirectory.dirs, (std::vector<std::string>{"/first", "/second"}));
    EXPECT_NE(s.Text().find("[Recent Directory]\r\ndir0=/first\r\ndir1=/second\r\n\r\n"),
              std::string::npos);
}

TEST(SettingFileRead, DirectoryListEndsAtTheNextHeaderEvenWithoutEmptyLine) {
    auto s = _Setting_file::FromText(kFirst + "[Default Delete Directory]\r\ndir0=/junk\r\n"
                                              "[Default Preserve Directory]\r\ndir0=/keep\r\n"
                                              "no key here\r\ndir1=/keep2\r\n");
    EXPECT_EQ(s.defaultDeleteDirectory.dirs, std::vector<std::string>{"/junk"});
    EXPECT_EQ(s.defaultPreserveDirectory.dirs, (std::vector<std::string>{"/keep", "/keep2"}));
}

TEST(SettingFileRead, LongStringsAreCutButLongPathsKeptWhole) {
    std::string long600(600, 'm');
    std::string path600 = "/" + std::string(599, 'p');
    auto s = _Setting_file::FromText(
        kFirst + "[Delete Option]\r\nDeleteOption=2\r\nMoveDirectory=" + long600 +
        "\r\n\r\n[File Context Menu]\r\nVisible=1\r\nMenu=" + long600 +
        "\r\nCommand=/bin/row1\r\nVisible=1\r\nMenu=second\r\n\r\n"
        "[Default Preserve Directory]\r\ndir0=" +
        path600 + "\r\n\r\n");
    EXPECT_EQ(s.deleteOption.MoveDirectory.value, long600.substr(0, 511));
    EXPECT_EQ(s.fileContextMenu.rows[0].Menu.value, long600.substr(0, 511));
    // The cut text's line is consumed whole: the next key is still row 1's.
    EXPECT_EQ(s.fileContextMenu.rows[0].Command.value, "/bin/row1");
    EXPECT_EQ(s.fileContextMenu.rows[1].Menu.value, "second");
    EXPECT_EQ(s.defaultPreserveDirectory.dirs, std::vector<std::string>{path600});
}

TEST(SettingFileRead, FileContextMenuRowsAreMatchedByPosition) {
    std::string section = "[File Context Menu]\r\n";
    for (int i = 0; i < 10; ++i) {
        section += "Visible=" + std::to_string(i % 2) + "\r\nMenu=M" + std::to_string(i) +
                   "\r\nCommand=C" + std::to_string(i) + "\r\n";
    }
    auto s = _Setting_file::FromText(kFirst + section + "\r\n");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(s.fileContextMenu.rows[i].Visible.value, i % 2);
        EXPECT_EQ(s.fileContextMenu.rows[i].Menu.value, "M" + std::to_string(i));
        EXPECT_EQ(s.fileContextMenu.rows[i].Command.value, "C" + std::to_string(i));
    }
}

TEST(SettingFileRead, MissingFileContextMenuLineTakesTheFirstOfItsName) {
    auto s = _Setting_file::FromText(kFirst + "[File Context Menu]\r\n"
                                              "Visible=1\r\nMenu=First\r\nCommand=/one\r\n"
                                              "Visible=1\r\nCommand=/two\r\n"
                                              "Visible=0\r\nMenu=Third\r\nCommand=/three\r\n\r\n");
    EXPECT_EQ(s.fileContextMenu.rows[1].Menu.value, "First");
    EXPECT_EQ(s.fileContextMenu.rows[1].Command.value, "/two");
    EXPECT_EQ(s.fileContextMenu.rows[2].Menu.value, "Third");
    EXPECT_EQ(s.fileContextMenu.rows[2].Command.value, "/three");
    // A file without the section leaves every row invisible and empty.
    auto none = _Setting_file::FromText(kFirst + Layout("window_x=1\r\n"));
    EXPECT_EQ(none.fileContextMenu.rows[0].Menu.value, "");
    EXPECT_EQ(none.fileContextMenu.rows[0].Visible.value, 0);
}

TEST(SettingFileRead, BareLfReadsLikeCrLf) {
    auto full = _Setting_file::FromText("");
    full.layout.window_x = 33;
    full.deleteOption.MoveDirectory = "/m";
    full.fileContextMenu.rows[4].Command = "/c";
    full.recentDirectory.dirs = {"/r"};
    std::string crlf = full.Text();
    std::string lf;
    for (char c : crlf) {
        if (c != '\r')
            lf += c;
    }
    auto fromLf = _Setting_file::FromText(lf);
    EXPECT_TRUE(fromLf.SameValues(full));
    EXPECT_EQ(fromLf.layout.window_x.value, 33);
}

TEST(SettingFileRead, FirstLineIsSkippedWhateverItHolds) {
    // Without the comment line the version header is line 1: it is skipped,
    // then found by searching from the start.
    auto s =
        _Setting_file::FromText("[version]\r\nVersion=19\r\n\r\n[color]\r\nclrTextBk1=1\r\n\r\n");
    EXPECT_EQ(s.color.clrTextBk1.value, 0xFFFFFFu);
    // A section whose header is line 1 is still found by the search.
    auto t = _Setting_file::FromText("[color]\r\nclrTextBk1=1\r\n\r\n[version]\r\nVersion=20\r\n");
    EXPECT_EQ(t.color.clrTextBk1.value, 1u);
}

TEST(SettingFileRead, RepeatedHeaderUsesTheOneInSequence) {
    auto s = _Setting_file::FromText(kFirst + "[version]\r\nVersion=20\r\n\r\n" +
                                     Layout("window_x=1\r\n") + Layout("window_x=2\r\n") +
                                     "[color]\r\nclrTextBk1=3\r\n\r\n");
    EXPECT_EQ(s.layout.window_x.value, 1);
    EXPECT_EQ(s.color.clrTextBk1.value, 3u);
}

// Texts that must load without crashing, hanging or reading out of bounds,
// and whose written text is stable when read back.
TEST(SettingFileRead, DamagedInputNeverBreaksTheReader) {
    std::vector<std::string> inputs = {
        std::string("\0\0\0", 3),
        test::PatternBytes(70000, 1),
        test::PatternBytes(4096, 2),
        std::string(20000, 'a'), // no line end at all
        std::string(100000, '=') + "\r\n[layout]\r\nwindow_x=4\r\n",
        kFirst + "[layout]\r\nwindow_x=" + std::string(100000, '7') + "\r\n",
        kFirst + "[layout]\r\n" + std::string(100000, 'k') + "=1\r\nwindow_x=3\r\n",
        kFirst + "[Recent Directory]\r\n" + std::string(100000, 'd') + "\r\n",
        kFirst + "[Recent Directory]\r\n=" + std::string(100000, 'd'),
        kFirst + "[layout]\r\n[layout]\r\n[layout]\r\n[layout]",
        kFirst + "[layout]",
        kFirst + "[layout]\r\nwindow_x",
        kFirst + "[layout]\r\nwindow_x=",
        kFirst + "[File Context Menu]\r\nMenu=",
        kFirst + "[Default Search Directory]\r\ndir0=",
        "\r\r\r\n\n\r=\r\n[",
        std::string(300, '\n'),
        std::string(300, '['),
    };
    for (size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(i);
        auto first = _Setting_file::FromText(inputs[i]);
        std::string text = first.Text();
        auto second = _Setting_file::FromText(text);
        EXPECT_TRUE(second.SameValues(first));
        EXPECT_EQ(second.Text(), text);
    }
    EXPECT_EQ(_Setting_file::FromText(inputs[4]).layout.window_x.value, 4);
    EXPECT_EQ(_Setting_file::FromText(inputs[5]).layout.window_x.value, 0);
    EXPECT_EQ(_Setting_file::FromText(inputs[6]).layout.window_x.value, 3);
}

} // namespace
} // namespace paradrex
