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

TEST(WindowPlacement, ARectOffEveryScreenComesBackToTheFirst) {
    const WindowRect screens[] = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const WindowRect partly{1800, 900, 800, 600};
    EXPECT_EQ(KeepOnScreen(partly, screens), partly);
    EXPECT_EQ(KeepOnScreen({2000, 100, 800, 600}, screens), (WindowRect{2000, 100, 800, 600}));
    EXPECT_EQ(KeepOnScreen({5000, 4000, 800, 600}, screens), (WindowRect{0, 0, 800, 600}));
    EXPECT_EQ(KeepOnScreen({-3000, 0, 2500, 1500}, screens), (WindowRect{0, 0, 1920, 1080}));
    EXPECT_EQ(KeepOnScreen({100, 100, 0, 0}, screens), (WindowRect{0, 0, 1, 1}))
        << "an empty rectangle shows nowhere";
    EXPECT_EQ(KeepOnScreen({5000, 0, 10, 10}, {}), (WindowRect{5000, 0, 10, 10}));
}

} // namespace
} // namespace paradrex
