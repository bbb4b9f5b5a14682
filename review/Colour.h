#pragma once
// Colour values as the settings store them (0x00BBGGRR), the row colours of
// the result lists and the colour math of the themed selection.

#include <cstdint>

namespace paradrex {

// 0x00BBGGRR: red in the low byte.
using Colour = uint32_t;

constexpr uint8_t RedOf(Colour c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(Colour c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(Colour c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}
constexpr Colour MakeColour(uint8_t red, uint8_t green, uint8_t blue) {
    return Colour(red) | (Colour(green) << 8) | (Colour(blue) << 16);
}
// 0xRRGGBB as the web and Qt write it, from and to a stored colour value.
constexpr uint32_t ToRgb(Colour c) {
    return (uint32_t(RedOf(c)) << 16) | (uint32_t(GreenOf(c)) << 8) | BlueOf(c);
}
constexpr Colour FromRgb(uint32_t rgb) {
    return MakeColour(uint8_t((rgb >> 16) & 0xFF), uint8_t((rgb >> 8) & 0xFF), uint8_t(rgb & 0xFF));
}

// The three background colours of grouped rows, read from the settings when
// a list is filled.
struct RowColours {
    Colour textBk1 = 0xFFFFFF;   // every odd block or group
    Colour textBk2 = 0xFFF1F1;   // even clone-set blocks, even one-list groups
    Colour textBlock = 0xF1F1FF; // even run blocks
    bool operator==(const RowColours&) const = default;
};

// Background of a file-list block: clone-set blocks and run blocks each count
// from 0 in their own series.
Colour CloneBlockColour(uint32_t cloneBlock, const RowColours& colours);
Colour RunBlockColour(uint32_t runBlock, const RowColours& colours);
// Background of a one-list group, groups counted over the whole list.
Colour OneListGroupColour(uint32_t group, const RowColours& colours);

// The four colours of a themed selection.
struct SelectionColours {
    Colour border;
    Colour fill;
    Colour gradientTop;
    Colour gradientBottom;
    bool operator==(const SelectionColours&) const = default;
};

inline constexpr SelectionColours kFocusedSelection{0xF9CCAD, 0xFDFAF0, 0xFFF9E5, 0xFFDCC0};
inline constexpr SelectionColours kUnfocusedSelection{0xDCDCDC, 0xFCFCFC, 0xF9F9F9, 0xECECEC};

// A selection colour laid over a row background, channel by channel:
// background + colour - 255 where that exceeds 255, else 0. On a white row
// the colour is unchanged; on a tinted row it darkens by the tint.
uint8_t BlendChannel(uint8_t background, uint8_t colour);
Colour BlendColour(Colour background, Colour colour);
SelectionColours BlendSelection(const SelectionColours& set, Colour background);

} // namespace paradrex
