#pragma once
// The "Color Scheme" page of the options sheet without its widgets: the
// three background colours of grouped rows, the colour dialog's custom
// colours, and the eight preview rows that show the colours as the file
// list paints them.

#include "engine/SearchModel.h"
#include "review/Colour.h"
#include "uimodel/ListColumns.h"
#include "uimodel/OptionPage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace paradrex {

class OptionColorPage : public OptionPage {
public:
    // The page's colour rows from top to bottom.
    enum Row : size_t {
        kClassified = 0, // "clrTextBk2"
        kDuplicate = 1,  // "clrTextBlock"
        kInterval = 2,   // "clrTextBk1"
    };
    static constexpr size_t kRows = 3;
    static constexpr std::array<std::string_view, kRows> kRowLabels = {
        "Classified File Rows Background Color:", "Duplicate File Rows Background Color:",
        "Interval Background Color:"};
    static constexpr std::string_view kChooseText = "Choose...";
    static constexpr std::string_view kPreviewLabel = "Preview:";

    // A row of the preview list.
    struct PreviewRow {
        std::string_view name;
        uint64_t size; // shown as the file list shows sizes
        // A file name whose icon and type name the row shows, looked up as
        // the file list looks up its files'.
        std::string_view typeProbe;
        std::string_view modified;
        FileState state;
        Row colour; // the row's background is this colour of the page
    };
    static constexpr size_t kPreviewRowCount = 8;
    static const std::array<PreviewRow, kPreviewRowCount> kPreviewRows;

    // The preview list's columns in display order, with their widths.
    struct PreviewColumn {
        ListColumn column;
        int width;
    };
    static constexpr std::array<PreviewColumn, 5> kPreviewColumns = {
        {{ListColumn::State, kStateColumnWidth},
         {ListColumn::Name, 260},
         {ListColumn::Size, 80},
         {ListColumn::Type, 130},
         {ListColumn::Modified, 110}}};

    // The colour dialog's 16 custom colours. They live for the whole run,
    // from one options sheet to the next, and are never saved.
    static std::array<Colour, 16>& CustomColours();
    static constexpr std::array<Colour, 16> kInitialCustomColours = {
        0xFFF1F1, 0xF1F1FF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

    void Load(const _Setting_file& settings) override;
    void Store(_Setting_file& settings) const override;

    // A row's colour, as its swatch shows it; a colour chosen in the colour
    // dialog is set here (a cancelled dialog sets nothing).
    Colour colour(Row row) const { return colours_[row]; }
    void SetColour(Row row, Colour colour) { colours_[row] = colour; }
    // The background of a preview row (0 to 7) with the page's colours.
    Colour PreviewBackground(size_t previewRow) const {
        return colours_[kPreviewRows[previewRow].colour];
    }

private:
    std::array<Colour, kRows> colours_ = {RowColours{}.textBk2, RowColours{}.textBlock,
                                          RowColours{}.textBk1};
};

} // namespace paradrex
