// The text Setting.ini is written as, and round trips of every key.

#include "settings/SettingFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <string>

namespace paradrex {
namespace {

using test::TempTree;

std::string Crlf(std::string lf) {
    std::string out;
    for (char c : lf) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string EmptyRows() {
    std::string rows;
    for (int i = 0; i < 10; ++i)
        rows += "Visible=0\nMenu=\nCommand=\n";
    return rows;
}

const std::string kHead = "; Don't modify anything in this file!\n"
                          "[version]\n"
                          "Version=20\n"
                          "\n"
                          "[layout]\n"
                          "window_showcmd=1\n"
                          "window_x=0\n"
                          "window_y=0\n"
                          "window_width=800\n"
                          "window_height=600\n"
                          "LVFile_name=300\n"
                          "LVFile_size=100\n"
                          "LVFile_type=120\n"
                          "LVFile_modified=120\n"
                          "LVSame_name=200\n"
                          "LVSame_directory=300\n"
                          "LVSame_modified=120\n"
                          "LVOne_name=200\n"
                          "LVOne_directory=300\n"
                          "LVOne_size=100\n"
                          "LVOne_type=120\n"
                          "LVOne_modified=120\n"
                          "Grid=0\n"
                          "\n"
                          "[color]\n"
                          "clrTextBk1=16777215\n"
                          "clrTextBk2=16773617\n"
                          "clrTextBlock=15856127\n"
                          "\n"
                          "[Interface]\n"
                          "MenuStyle=1\n"
                          "ListViewStyle=1\n"
                          "\n"
                          "[Delete Option]\n"
                          "DeleteOption=0\n"
                          "MoveDirectory=\n"
                          "\n"
                          "[File Context Menu]\n";

const std::string kTail = "\n"
                          "[Default Search Directory]\n"
                          "\n"
                          "[Default Preserve Directory]\n"
                          "\n"
                          "[Default Delete Directory]\n"
                          "\n"
                          "[Recent Directory]\n"
                          "\n";

TEST(SettingFileFormat, AllDefaultsWrittenExactlyWithCrLf) {
    TempTree tree;
    tree.createFile("Setting.ini", "");
    {
        _Setting_file settings(tree.root(), {_Setting_file::Access::ReadWrite, false});
        EXPECT_TRUE(settings.Save());
    }
    EXPECT_EQ(tree.readFile("Setting.ini"), Crlf(kHead + EmptyRows() + kTail));
}

TEST(SettingFileFormat, FirstStartWithoutAssociationsWritesCaptionsOnly) {
    TempTree tree;
    { _Setting_file settings(tree.root(), {_Setting_file::Access::ReadWrite, false}); }
    std::string rows = "Visible=0\nMenu=Open as &Text\nCommand=\n"
                       "Visible=0\nMenu=Open as &Image\nCommand=\n"
                       "Visible=0\nMenu=Open as &Audio\nCommand=\n"
                       "Visible=0\nMenu=Open as &Video\nCommand=\n";
    for (int i = 0; i < 6; ++i)
        rows += "Visible=0\nMenu=\nCommand=\n";
    EXPECT_EQ(tree.readFile("Setting.ini"), Crlf(kHead + rows + kTail));
}

// Every key set away from its default.
void SetEverything(_Setting_file& s) {
    s.version.Version = 20;
    auto& l = s.layout;
    l.window_showcmd = 3;
    l.window_x = -1200;
    l.window_y = -7;
    l.window_width = 1919;
    l.window_height = 1079;
    l.LVFile_name = 301;
    l.LVFile_size = 101;
    l.LVFile_type = 121;
    l.LVFile_modified = 122;
    l.LVSame_name = 201;
    l.LVSame_directory = 302;
    l.LVSame_modified = 123;
    l.LVOne_name = 202;
    l.LVOne_directory = 303;
    l.LVOne_size = 102;
    l.LVOne_type = 124;
    l.LVOne_modified = 125;
    l.Grid = 1;
    s.color.clrTextBk1 = 0;
    s.color.clrTextBk2 = 4294967295u;
    s.color.clrTextBlock = 0x123456;
    s.interfaceStyle.MenuStyle = 0;
    s.interfaceStyle.ListViewStyle = 0;
    s.deleteOption.DeleteOption = 2;
    s.deleteOption.MoveDirectory = "/srv/old copies/x=y";
    for (size_t i = 0; i < 10; ++i) {
        auto& row = s.fileContextMenu.rows[i];
        row.Visible = static_cast<int>(i % 2);
        row.Menu = "Row &" + std::to_string(i) + " = caption";
        row.Command = " /usr/bin/prog" + std::to_string(i) + " --flag";
    }
    s.defaultSearchDirectory.dirs = {"/home/u", "/media/disk one"};
    s.defaultPreserveDirectory.dirs = {"/home/u/keep"};
    s.defaultDeleteDirectory.dirs = {"/home/u/tmp", "", "/a=b"};
    s.recentDirectory.dirs = {"/r1", "/r2", "/r3"};
}

TEST(SettingFileFormat, EveryKeyRoundTripsThroughTheFile) {
    TempTree tree;
    tree.createFile("Setting.ini", "");
    {
        _Setting_file settings(tree.root(), {_Setting_file::Access::ReadWrite, false});
        SetEverything(settings);
    }
    _Setting_file reread = _Setting_file::ReadOnly(tree.root());
    EXPECT_EQ(reread.layout.window_x.value, -1200);
    EXPECT_EQ(reread.layout.window_showcmd.value, 3u);
    EXPECT_EQ(reread.color.clrTextBk2.value, 4294967295u);
    EXPECT_EQ(reread.deleteOption.MoveDirectory.value, "/srv/old copies/x=y");
    EXPECT_EQ(reread.fileContextMenu.rows[9].Menu.value, "Row &9 = caption");
    EXPECT_EQ(reread.fileContextMenu.rows[9].Command.value, " /usr/bin/prog9 --flag");
    EXPECT_EQ(reread.fileContextMenu.rows[9].Visible.value, 1);
    EXPECT_EQ(reread.defaultDeleteDirectory.dirs,
              (std::vector<std::string>{"/home/u/tmp", "", "/a=b"}));

    _Setting_file expected = _Setting_file::FromText("");
    SetEverything(expected);
    EXPECT_TRUE(reread.SameValues(expected));
    EXPECT_EQ(reread.Text(), expected.Text());
}

TEST(SettingFileFormat, DirectoryListsWrittenWithFreshIndexes) {
    auto s = _Setting_file::FromText("");
    s.recentDirectory.dirs = {"/a", "/b"};
    std::string text = s.Text();
    EXPECT_NE(text.find("[Recent Directory]\r\ndir0=/a\r\ndir1=/b\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

TEST(SettingFileFormat, LineEndsInsideValuesNeverBreakTheFile) {
    auto s = _Setting_file::FromText("");
    s.fileContextMenu.rows[0].Menu = "two\nlines";
    s.fileContextMenu.rows[0].Command = "/bin/prog";
    s.defaultDeleteDirectory.dirs = {"/tmp/new\nline", "/tmp/plain"};
    auto reread = _Setting_file::FromText(s.Text());
    EXPECT_EQ(reread.fileContextMenu.rows[0].Menu.value, "two");
    EXPECT_EQ(reread.fileContextMenu.rows[0].Command.value, "/bin/prog");
    // A path that cannot be stored whole is left out rather than cut into
    // another directory's name.
    EXPECT_EQ(reread.defaultDeleteDirectory.dirs, std::vector<std::string>{"/tmp/plain"});
}

TEST(SettingFileFormat, CarriageReturnsInsideValuesRoundTrip) {
    auto s = _Setting_file::FromText("");
    s.fileContextMenu.rows[2].Menu = "a\rb\r";
    s.recentDirectory.dirs = {"/x\r"};
    auto reread = _Setting_file::FromText(s.Text());
    EXPECT_TRUE(reread.SameValues(s));
}

} // namespace
} // namespace paradrex
