#include "uimodel/XPColourScheme.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

// The classic desktop colours: white window, black text, a warm grey button
// face and a dark blue highlight.
SystemColours Classic() {
    SystemColours s;
    s.window = MakeColour(255, 255, 255);
    s.windowText = MakeColour(0, 0, 0);
    s.buttonFace = MakeColour(212, 208, 200);
    s.grayText = MakeColour(128, 128, 128);
    s.menuText = MakeColour(1, 2, 3);
    s.highlight = MakeColour(10, 36, 106);
    s.menu = MakeColour(240, 239, 238);
    return s;
}

TEST(XPColourScheme, BlendIsPerChannelAndTruncatesTowardZero) {
    const Colour a = MakeColour(212, 10, 200), b = MakeColour(0, 255, 200);
    EXPECT_EQ(BlendTowards(a, b, 0), a);
    EXPECT_EQ(BlendTowards(a, b, 100), b);
    // 212 - 212 * 43 / 100 = 212 - 91.16: 121, not 120; 10 + 245 * 43 / 100 =
    // 10 + 105.35: 115.
    EXPECT_EQ(BlendTowards(a, b, 43), MakeColour(121, 115, 200));
}

TEST(XPColourScheme, DeepDisplayBlendsTheSystemColours) {
    const XPColourScheme s = MakeXPColourScheme(Classic(), 24);
    struct Row {
        XPColour colour;
        Colour expected;
    };
    // Worked out channel by channel from the classic colours.
    const Row rows[] = {
        {XPColour::MenuBack, MakeColour(250, 250, 249)},   // F + (W - F) * 90%
        {XPColour::Border, MakeColour(10, 36, 106)},       // H
        {XPColour::Hot, MakeColour(181, 189, 210)},        // H + (W - H) * 70%
        {XPColour::Pressed, MakeColour(157, 167, 195)},    // H + (W - H) * 60%
        {XPColour::GrayText, MakeColour(135, 141, 157)},   // T + (colour 3 - T) * 75%
        {XPColour::MenuBorder, MakeColour(121, 119, 114)}, // F + (T - F) * 43%
        // X = H + (W - H) * 85% = (218, 222, 232); X + (F - X) * 40%.
        {XPColour::Checked, MakeColour(216, 217, 220)},
        {XPColour::BarBack, MakeColour(220, 217, 211)}, // F + (W - F) / 5
    };
    for (const Row& r : rows)
        EXPECT_EQ(s[r.colour], r.expected) << static_cast<int>(r.colour);
    EXPECT_EQ(s.system, Classic());
    EXPECT_EQ(MakeXPColourScheme(Classic(), 16), s);
    EXPECT_EQ(MakeXPColourScheme(Classic(), 32), s);
}

TEST(XPColourScheme, DarkColoursTruncateTowardZeroToo) {
    SystemColours dark;
    dark.window = MakeColour(42, 42, 42);
    dark.windowText = MakeColour(230, 230, 230);
    dark.buttonFace = MakeColour(60, 60, 60);
    dark.highlight = MakeColour(61, 174, 233);
    const XPColourScheme s = MakeXPColourScheme(dark, 24);
    // 60 + (42 - 60) * 90 / 100 = 60 - 16.2: 44 (flooring would give 43).
    EXPECT_EQ(s[XPColour::MenuBack], MakeColour(44, 44, 44));
    // 60 + (42 - 60) / 5 = 60 - 3.6: 57.
    EXPECT_EQ(s[XPColour::BarBack], MakeColour(57, 57, 57));
    // 60 + 170 * 43 / 100 = 60 + 73.1: 133.
    EXPECT_EQ(s[XPColour::MenuBorder], MakeColour(133, 133, 133));
    // 61 + (42 - 61) * 70 / 100 = 61 - 13.3: 48; 174 - 92.4: 82; 233 - 133.7: 100.
    EXPECT_EQ(s[XPColour::Hot], MakeColour(48, 82, 100));
}

TEST(XPColourScheme, EightBitDisplayUsesThePlainSystemColours) {
    const SystemColours c = Classic();
    for (int bits : {1, 4, 8}) {
        const XPColourScheme s = MakeXPColourScheme(c, bits);
        EXPECT_EQ(s[XPColour::MenuBack], c.window) << bits;
        EXPECT_EQ(s[XPColour::Border], c.highlight);
        EXPECT_EQ(s[XPColour::Hot], c.window);
        EXPECT_EQ(s[XPColour::Pressed], c.window);
        EXPECT_EQ(s[XPColour::GrayText], c.grayText);
        EXPECT_EQ(s[XPColour::MenuBorder], c.windowText);
        EXPECT_EQ(s[XPColour::Checked], c.menu);
        EXPECT_EQ(s[XPColour::BarBack], c.buttonFace);
        EXPECT_EQ(s.system, c);
    }
}

TEST(XPColourScheme, ToolButtonLookFollowsItsState) {
    using L = ToolButtonLook;
    const L none{};
    const L checked{XPColour::Border, XPColour::Checked};
    const L hot{XPColour::Border, XPColour::Hot};
    const L pressed{XPColour::Border, XPColour::Pressed};
    struct Case {
        ToolButtonState state; // enabled, under the mouse, pressed, checked
        L look;
    };
    const Case cases[] = {
        {{false, false, false, false}, none},
        {{false, true, true, true}, none}, // greyed: nothing whatever else
        {{false, false, false, true}, none},
        {{true, false, false, false}, none},
        {{true, false, false, true}, checked}, // Group Set while on
        {{true, true, false, true}, pressed},
        {{true, true, true, true}, pressed},
        {{true, true, false, false}, hot},
        {{true, true, true, false}, pressed},
    };
    for (const Case& c : cases) {
        const ToolButtonState& s = c.state;
        EXPECT_EQ(ToolButtonLookOf(s), c.look)
            << s.enabled << s.underMouse << s.pressed << s.checked;
    }
}

} // namespace
} // namespace paradrex
