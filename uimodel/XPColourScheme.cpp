#include "uimodel/XPColourScheme.h"

namespace paradrex {

namespace {

uint8_t BlendChannel(uint8_t a, uint8_t b, int percent) {
    // Integer division in C++ truncates toward zero, as the scheme wants.
    return static_cast<uint8_t>(int(a) + (int(b) - int(a)) * percent / 100);
}

// F + (W - F) / 5, each channel's difference divided on its own.
Colour FifthTowards(Colour a, Colour b) {
    auto channel = [](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(int(x) + (int(y) - int(x)) / 5);
    };
    return MakeColour(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)),
                      channel(BlueOf(a), BlueOf(b)));
}

} // namespace

Colour BlendTowards(Colour a, Colour b, int percent) {
    return MakeColour(BlendChannel(RedOf(a), RedOf(b), percent),
                      BlendChannel(GreenOf(a), GreenOf(b), percent),
                      BlendChannel(BlueOf(a), BlueOf(b), percent));
}

XPColourScheme MakeXPColourScheme(const SystemColours& s, int bitsPerPixel) {
    XPColourScheme scheme;
    scheme.system = s;
    auto set = [&scheme](XPColour c, Colour value) {
        scheme.colours[static_cast<size_t>(c) - 1] = value;
    };
    const Colour W = s.window, T = s.windowText, F = s.buttonFace, H = s.highlight;
    if (bitsPerPixel <= 8) {
        set(XPColour::MenuBack, W);
        set(XPColour::Border, H);
        set(XPColour::Hot, W);
        set(XPColour::Pressed, W);
        set(XPColour::GrayText, s.grayText);
        set(XPColour::MenuBorder, T);
        set(XPColour::Checked, s.menu);
        set(XPColour::BarBack, F);
        return scheme;
    }
    set(XPColour::MenuBack, BlendTowards(F, W, 90));
    set(XPColour::Border, H);
    const Colour hot = BlendTowards(H, W, 70);
    set(XPColour::Hot, hot);
    set(XPColour::Pressed, BlendTowards(H, W, 60));
    set(XPColour::GrayText, BlendTowards(T, hot, 75));
    set(XPColour::MenuBorder, BlendTowards(F, T, 43));
    set(XPColour::Checked, BlendTowards(BlendTowards(H, W, 85), F, 40));
    set(XPColour::BarBack, FifthTowards(F, W));
    return scheme;
}

ToolButtonLook ToolButtonLookOf(const ToolButtonState& state) {
    if (!state.enabled)
        return {};
    if (!state.underMouse)
        return state.checked ? ToolButtonLook{XPColour::Border, XPColour::Checked}
                             : ToolButtonLook{};
    if (state.checked || state.pressed)
        return {XPColour::Border, XPColour::Pressed};
    return {XPColour::Border, XPColour::Hot};
}

} // namespace paradrex
