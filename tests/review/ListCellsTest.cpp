#include "review/ListCells.h"
#include "engine/BlockPool.h"
#include "engine/SearchModel.h"
#include "review/Colour.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace paradrex {
namespace {

TEST(TypeExtension, TakesTheTextAfterTheLeftmostDotOfTheLastNineCharacters) {
    EXPECT_EQ(TypeExtension("archive.tar.gz"), "tar.gz");
    EXPECT_EQ(TypeExtension("README"), "");
    EXPECT_EQ(TypeExtension("photo.JPG"), "JPG"); // case kept
    EXPECT_EQ(TypeExtension("photo.jpg"), "jpg");
    EXPECT_EQ(TypeExtension("holiday-2019.jpeg"), "jpeg");
    EXPECT_EQ(TypeExtension("a.b.c"), "b.c");
    EXPECT_EQ(TypeExtension("x.y"), "y");
    // The first character does not count: a hidden name has no extension.
    EXPECT_EQ(TypeExtension(".bashrc"), "");
    EXPECT_EQ(TypeExtension(".config.old"), "old");
    // Ten characters: the whole name less the first; eleven: the last nine.
    EXPECT_EQ(TypeExtension("a.bcdefghi"), "bcdefghi");
    EXPECT_EQ(TypeExtension("a.bcdefghij"), "");
    EXPECT_EQ(TypeExtension("ab.cdefghij"), "cdefghij"); // at most eight characters
    EXPECT_EQ(TypeExtension("abc.defghij"), "defghij");
    EXPECT_EQ(TypeExtension("data.verylongext"), "");
    EXPECT_EQ(TypeExtension("file."), "");
    EXPECT_EQ(TypeExtension("."), "");
    EXPECT_EQ(TypeExtension(""), "");
}

TEST(ModifiedText, IsMonthDayYearHoursMinutesInLocalTime) {
    const char* old = std::getenv("TZ");
    std::string saved = old ? old : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(ModifiedText(0), "01/01/70 00:00");
    EXPECT_EQ(ModifiedText(1700000000), "11/14/23 22:13");
    ::setenv("TZ", "XST-2", 1); // two hours east of UTC
    ::tzset();
    EXPECT_EQ(ModifiedText(1700000000), "11/15/23 00:13");
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(InfoTip, AddsTheOriginNameOfARenamedFile) {
    BlockPool pool;
    FileRecord* f = FileRecord::Create(pool, nullptr, "found.txt", 1, 0);
    EXPECT_EQ(InfoTipText("", *f), "");
    EXPECT_EQ(InfoTipText("found.txt", *f), "found.txt");
    EXPECT_TRUE(HasOriginName(*f));
    f->name = "renamed.txt";
    EXPECT_FALSE(HasOriginName(*f));
    EXPECT_EQ(InfoTipText("", *f), "Origin: found.txt");
    EXPECT_EQ(InfoTipText("renamed.txt", *f), "renamed.txt\nOrigin: found.txt");
    // A copy of the origin name is a new name all the same: the test is by
    // address, not by text.
    const std::string copy = f->originName;
    f->name = copy.c_str();
    EXPECT_FALSE(HasOriginName(*f));
    EXPECT_EQ(InfoTipText("found.txt", *f), "found.txt\nOrigin: found.txt");
    f->name = f->originName;
    EXPECT_TRUE(HasOriginName(*f));
    EXPECT_EQ(InfoTipText("", *f), "");
}

TEST(StateImage, CrossEmptyBoxTickInStateOrder) {
    EXPECT_EQ(StateImageIndex(FileState::Deleted), 0);
    EXPECT_EQ(StateImageIndex(FileState::Unsettled), 1);
    EXPECT_EQ(StateImageIndex(FileState::Preserved), 2);
}

TEST(Colour, ChannelsAndRgbConversion) {
    Colour c = 0x00332211; // blue 0x33, green 0x22, red 0x11
    EXPECT_EQ(RedOf(c), 0x11);
    EXPECT_EQ(GreenOf(c), 0x22);
    EXPECT_EQ(BlueOf(c), 0x33);
    EXPECT_EQ(MakeColour(0x11, 0x22, 0x33), c);
    EXPECT_EQ(ToRgb(c), 0x112233u);
    EXPECT_EQ(FromRgb(0x112233), c);
    EXPECT_EQ(FromRgb(ToRgb(0xF1F1FF)), 0xF1F1FFu);
}

TEST(Colour, BlocksAndGroupsAlternateInTheirOwnSeries) {
    RowColours colours;
    EXPECT_EQ(colours.textBk1, 0xFFFFFFu);
    EXPECT_EQ(colours.textBk2, 0xFFF1F1u);
    EXPECT_EQ(colours.textBlock, 0xF1F1FFu);
    EXPECT_EQ(CloneBlockColour(0, colours), colours.textBk2);
    EXPECT_EQ(CloneBlockColour(1, colours), colours.textBk1);
    EXPECT_EQ(CloneBlockColour(2, colours), colours.textBk2);
    EXPECT_EQ(RunBlockColour(0, colours), colours.textBlock);
    EXPECT_EQ(RunBlockColour(3, colours), colours.textBk1);
    EXPECT_EQ(OneListGroupColour(4, colours), colours.textBk2);
    EXPECT_EQ(OneListGroupColour(5, colours), colours.textBk1);
}

TEST(Colour, SelectionBlendsWithTheRowBackground) {
    // On a white row the theme colours appear unchanged.
    EXPECT_EQ(BlendSelection(kFocusedSelection, 0xFFFFFF), kFocusedSelection);
    EXPECT_EQ(BlendSelection(kUnfocusedSelection, 0xFFFFFF), kUnfocusedSelection);
    // Row 0xFFF1F1 (red 0xF1): the focused border's red 0xAD becomes
    // 0xAD + 0xF1 - 0xFF = 0x9F; green and blue stay where the row is 0xFF.
    Colour border = BlendSelection(kFocusedSelection, 0xFFF1F1).border;
    EXPECT_EQ(RedOf(border), 0x9F);
    EXPECT_EQ(GreenOf(border), 0xBE); // 0xCC + 0xF1 - 0xFF
    EXPECT_EQ(BlueOf(border), 0xF9);
    // A sum of 255 or less gives 0.
    EXPECT_EQ(BlendChannel(0x10, 0x20), 0);
    EXPECT_EQ(BlendChannel(0x80, 0x7F), 0);
    EXPECT_EQ(BlendChannel(0x80, 0x80), 1);
    EXPECT_EQ(BlendColour(0x000000, 0xFFFFFF), 0u);
}

} // namespace
} // namespace paradrex
