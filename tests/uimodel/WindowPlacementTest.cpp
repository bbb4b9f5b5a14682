#include "uimodel/WindowPlacement.h"
#include "settings/SettingFile.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

TEST(WindowPlacement, SettingsGiveTheNormalRectAndOnlyThreeMaximises) {
    _Setting_file s = _Setting_file::FromText("");
    s.layout.window_x = -8;
    s.layout.window_y = 20;
    s.layout.window_width = 1024;
    s.layout.window_height = 700;
    EXPECT_EQ(NormalRect(s.layout), (WindowRect{-8, 20, 1024, 700}));
    for (unsigned cmd : {0u, 1u, 2u, 4u, 9u}) {
        s.layout.window_showcmd = cmd;
        EXPECT_FALSE(OpensMaximized(s.layout)) << cmd;
    }
    s.layout.window_showcmd = 3u;
    EXPECT_TRUE(OpensMaximized(s.layout));

    StorePlacement(s.layout, {5, 6, 700, 500}, WindowShowState::Minimized);
    EXPECT_EQ(NormalRect(s.layout), (WindowRect{5, 6, 700, 500}));
    EXPECT_EQ(s.layout.window_showcmd.value, 2u);
    StorePlacement(s.layout, {5, 6, 700, 500}, WindowShowState::Maximized);
    EXPECT_EQ(s.layout.window_showcmd.value, 3u);
    StorePlacement(s.layout, {5, 6, 700, 500}, WindowShowState::Normal);
    EXPECT_EQ(s.layout.window_showcmd.value, 1u);
}

TEST(WindowPlacement, StoredRectOnAScreenIsTakenElseTheWindowIsCentred) {
    const WindowRect screens[] = {{0, 30, 1920, 1050}, {1920, 0, 1280, 1024}};
    struct Case {
        WindowRect stored;
        bool placementStored;
        StartGeometry expected;
    };
    const Case cases[] = {
        // A stored rectangle that shows, even partly or on the second screen.
        {{30, 40, 900, 650}, true, {{30, 40, 900, 650}, true}},
        {{1800, 900, 800, 600}, true, {{1800, 900, 800, 600}, true}},
        {{2000, 100, 800, 600}, true, {{2000, 100, 800, 600}, true}},
        // A first start (no settings file): the default rectangle's inner area
        // at (0,0) would put the title bar above the screen.
        {{0, 0, 800, 600}, false, {{560, 255, 800, 600}, false}},
        {{0, 0, 3000, 600}, false, {{0, 255, 1920, 600}, false}},
        // On no screen: centred, the size cut to the first screen.
        {{5000, 4000, 800, 600}, true, {{560, 255, 800, 600}, false}},
        {{-3000, 0, 2500, 1500}, true, {{0, 30, 1920, 1050}, false}},
        {{100, 100, 0, 0}, true, {{959, 554, 1, 1}, false}}, // an empty one shows nowhere
    };
    for (const Case& c : cases)
        EXPECT_EQ(StartGeometryOf(c.stored, c.placementStored, screens), c.expected)
            << c.stored.x << "," << c.stored.y << " " << c.stored.width << "x" << c.stored.height;
    // Without screens to compare with, the stored rectangle stands.
    EXPECT_EQ(StartGeometryOf({5000, 0, 10, 10}, true, {}),
              (StartGeometry{{5000, 0, 10, 10}, true}));
}

} // namespace
} // namespace paradrex
