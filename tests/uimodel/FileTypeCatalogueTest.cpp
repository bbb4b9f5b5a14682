// The type catalogue's integrity and the type text built from check marks.

#include "uimodel/FileTypeCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace paradrex {
namespace {

FileTypeChecks Checked(std::initializer_list<int> slots) {
    FileTypeChecks checks{};
    for (int s : slots)
        checks[static_cast<size_t>(s)] = true;
    return checks;
}

TEST(FileTypeCatalogue, ThirtySevenEntriesInSlotOrderWithTheirCategorySizes) {
    const auto all = FileTypeCatalogue();
    ASSERT_EQ(all.size(), 37u);
    const size_t rows[] = {5, 10, 3, 10, 6, 3};
    for (int c = 0; c < 6; ++c) {
        const auto cat = FileTypeCategory(c);
        ASSERT_EQ(cat.size(), rows[c]) << kFileTypeCategories[static_cast<size_t>(c)];
        for (size_t r = 0; r < cat.size(); ++r) {
            EXPECT_EQ(cat[r].category, c);
            EXPECT_EQ(cat[r].row, static_cast<int>(r));
        }
    }
    EXPECT_TRUE(FileTypeCategory(6).empty());
    int last = -1;
    std::set<std::string_view> formats;
    for (const FileTypeEntry& e : all) {
        EXPECT_GT(e.slot(), last);
        last = e.slot();
        formats.insert(e.format);
        // Extensions are lower case, without dots, one space apart, and the
        // probe names one of them.
        const std::string ext(e.extension);
        EXPECT_EQ(ext.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ.*;"), std::string::npos);
        EXPECT_EQ(ext.find("  "), std::string::npos);
        EXPECT_NE(ext.front(), ' ');
        EXPECT_NE(ext.back(), ' ');
        ASSERT_TRUE(e.iconProbe.starts_with("aaa."));
        const std::string probeExt(e.iconProbe.substr(4));
        EXPECT_NE((" " + ext + " ").find(" " + probeExt + " "), std::string::npos) << e.format;
    }
    EXPECT_EQ(formats.size(), 37u);
    EXPECT_EQ((std::array{kFileTypeCategories[0], kFileTypeCategories[5]}),
              (std::array<std::string_view, 2>{"Graphic", "Miscellaneous"}));
}

TEST(FileTypeCatalogue, RowsReadAsTheSelectorShowsThem) {
    const FileTypeEntry& gif = FileTypeCategory(0)[1];
    EXPECT_EQ(gif.format, "GIF");
    EXPECT_EQ(gif.description, "Graphics Interchange Format [CompuServe]");
    const FileTypeEntry& pdf = FileTypeCategory(1)[4];
    EXPECT_EQ(pdf.description, "Portable Document Format[Adobe]");
    const FileTypeEntry& mp4 = FileTypeCategory(3)[4];
    EXPECT_EQ(mp4.slot(), 34);
    EXPECT_EQ(mp4.extension, "m4a mp4 aac");
    EXPECT_EQ(mp4.iconProbe, "aaa.mp4"); // not the first extension of the row
    EXPECT_EQ(FileTypeCategory(3)[1].description, "Monkey's Audio");
    EXPECT_EQ(FileTypeCategory(4)[0].description, "AVI");
    EXPECT_EQ(FileTypeCategory(5)[1].description, "ISO");
    EXPECT_EQ(FileTypeCategory(5)[2].slot(), 52);

    const ExtensionTable table = MakeExtensionTable();
    EXPECT_EQ(table[12], "htm html");
    EXPECT_EQ(table[45], "wmv asf");
    EXPECT_TRUE(table[5].empty()); // past Graphic's last row
    EXPECT_TRUE(table[59].empty());
}

TEST(BuildTypeText, EachCheckedSlotInSlotOrderWithOneSpaceThenTheOtherText) {
    EXPECT_EQ(BuildTypeText(Checked({34, 3, 4}), "raw"), "jpg jpeg png m4a mp4 aac raw");
    EXPECT_EQ(BuildTypeText(Checked({40, 41, 42, 43, 44, 45}), ""),
              "avi mov mpg mpeg ogm rm rmvb wmv asf ");
    EXPECT_EQ(BuildTypeText(Checked({}), ""), "");
    // The other text is taken unchanged, even what OK will refuse.
    EXPECT_EQ(BuildTypeText(Checked({0}), " *.X;y "), "bmp  *.X;y ");
}

} // namespace
} // namespace paradrex
