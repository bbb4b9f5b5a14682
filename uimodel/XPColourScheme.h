#pragma once
// The colour scheme of the "OfficeXP Style" menus and bars, derived from the
// system colours, and which of its colours a tool bar button is painted in
// for each of its states. No widgets: the style paints what these answer.

#include "review/Colour.h"

#include <array>
#include <optional>

namespace paradrex {

// The system colours the scheme is derived from.
struct SystemColours {
    Colour window = 0xFFFFFF;     // W
    Colour windowText = 0x000000; // T
    Colour buttonFace = 0xC8D0D4; // F
    Colour grayText = 0x808080;
    Colour menuText = 0x000000;
    Colour highlight = 0x6A240A; // H
    Colour menu = 0xFFFFFF;      // M
    bool operator==(const SystemColours&) const = default;
};

// One channel of a + (b - a) * percent / 100, the division truncating toward
// zero; red, green and blue each on their own.
Colour BlendTowards(Colour a, Colour b, int percent);

// The eight scheme colours, numbered 1 to 8.
enum class XPColour {
    MenuBack = 1,   // menu body
    Border = 2,     // border of a highlighted item or button
    Hot = 3,        // fill of an item or button under the mouse
    Pressed = 4,    // fill of a pressed button, or a checked one under the mouse
    GrayText = 5,   // greyed text
    MenuBorder = 6, // menu frame and separators
    Checked = 7,    // fill of a checked button
    BarBack = 8,    // menu bar, tool bar and the image margin of menus
};

struct XPColourScheme {
    std::array<Colour, 8> colours{};
    // Kept as read, for the text of items.
    SystemColours system;

    Colour operator[](XPColour c) const { return colours[static_cast<size_t>(c) - 1]; }
    bool operator==(const XPColourScheme&) const = default;
};

// The scheme for a display of `bitsPerPixel` bits per pixel: blends of the
// system colours above 8 bits, the plain system colours at 8 bits or fewer.
XPColourScheme MakeXPColourScheme(const SystemColours& system, int bitsPerPixel);

// A tool bar button's state as the painting sees it.
struct ToolButtonState {
    bool enabled = true;
    bool underMouse = false;
    bool pressed = false;
    bool checked = false;
};

// The rectangle painted under a tool bar button's image and text: a border
// and a fill, or nothing at all.
struct ToolButtonLook {
    std::optional<XPColour> border;
    std::optional<XPColour> fill;
    bool operator==(const ToolButtonLook&) const = default;
};
ToolButtonLook ToolButtonLookOf(const ToolButtonState& state);

} // namespace paradrex
