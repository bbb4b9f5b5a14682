// Inputs found by the settings fuzzer (fuzz/SettingsFuzzer.cpp), kept as an
// ordinary test for builds without libFuzzer: each must load, and the text
// written from it must read back to the same settings and the same text.

#include "settings/SettingFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paradrex {
namespace {

const std::vector<std::string> kInputs = {
    std::string("; Don't mdifie\n"
                "\n"
                "[color]\n"
                "clrTextBk1=16777215\n"
                "clrTextBk7\n"
                "\n"
                "[Interface]\n"
                "MenuStyle=1\n"
                "ListViewStyl\377ce=window_width=0\n"
                "\n"
                "[Delete Option]\n"
                "Deletommand=\n"
                "\n"
                "[Default Search Directory]\n"
                "dir0=/home/u\n"
                "\n"
                "[Default Preserve Directory]\n"
                "Zir0=/home/u/ke\254ep\n"
                "\n"
                "[Default Delete Directory]\n"
                "d\346ir; Don't modify anyths file!\n"
                "[version]\n"
                "Version=20\n"
                "\n"
                "[layout]\n"
                "window_showcmd=3\n"
                "window_x=ihome/u/tmp\n"
                "di1nk\n"
                "\n"
                "[Recent Directory]\n"
                "x=/a\n"
                "dir7=window_height=70",
                412),
    std::string("; Don't modify anything in this file!\n"
                "[; x\r\n"
                "[Recent Directory]\r\n"
                "x=/a\r\n"
                "dir7=/b\r\n"
                "\r\n"
                "[Default Delete Directory]\r\n"
                "dir0=/hume/u/tmp\r\n"
                "dir1=/home/u/junk\r\n"
                "\r\n"
                "[Default Preserve Directory]\r\n"
                "dir0=/home/u/keep\r\n"
                "\r\n"
                "[Default Search Directory]\r\n"
                "dir0=/home/u\r\n"
                "\r\n"
                "[File Context Menu]\r\n"
                "Visib\n"
                "\r\n"
                "[Delete Option]\r\n"
                "D\224\n"
                "MoveDirectory=/srv/old\r\n"
                "\r\n"
                "[Interface]\r\n"
                "MenuStyle=1\r\n"
                "ListVyeSiwtle=0\r\n"
                "\r\n"
                "[color]\r\n"
                "clrTVersion=20\n"
                "\n"
                "[layout]\n"
                "win300\n"
                "window_widthL~VFile_size=100l",
                433),
    std::string("; Donfile!\n"
                "[version]\n"
                "Vers\001\233n=20\n"
                "\n"
                "[layout]\n"
                "w56127\n"
                "\n"
                "[Interface]\n"
                "MenuStyle=0\n"
                "ListViewStyle=0\n"
                "\n"
                "[Delete Option]\n"
                "DeleteDirectory\310=/srv/old\n"
                "\n"
                "[File Context Menu]\n"
                "Visible=1\n"
                "Menu=Open a=\n"
                "Command=\n"
                "\n"
                "[Default Search Directory]\n"
                "dir0=/home/u\n"
                "\n"
                "[Default Preserve Directory]\n"
                "dir\330\330\330\330\330\3301=/home/u/keep\n"
                "\n"
                "[Default Delete Directory]\n"
                "dip\n"
                "dir0=/ctory]\n"
                "x=/a\n"
                "dir7=/b\n"
                "\n",
                340),
};

TEST(SettingFileFuzzRegression, WrittenTextReadsBackTheSame) {
    for (size_t i = 0; i < kInputs.size(); ++i) {
        SCOPED_TRACE(i);
        auto first = _Setting_file::FromText(kInputs[i]);
        std::string text = first.Text();
        auto second = _Setting_file::FromText(text);
        EXPECT_TRUE(second.SameValues(first));
        EXPECT_EQ(second.Text(), text);
    }
}

} // namespace
} // namespace paradrex
