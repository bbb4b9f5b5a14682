#include "uimodel/XPMenuGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace paradrex {
namespace {

const WindowRect kScreen{0, 0, 1000, 800};

TEST(XPMenuGeometry, SubmenuOverlapsItsParentByOnePixel) {
    const WindowRect parent{400, 50, 200, 300}; // right edge at 600
    EXPECT_EQ(SubmenuLeft(parent, 150, kScreen, true), 599);
    // To the left: its right edge one pixel inside the parent's left edge.
    EXPECT_EQ(SubmenuLeft(parent, 150, kScreen, false), 400 - 150 + 1);
}

TEST(XPMenuGeometry, SubmenuOpensToTheOtherSideOrEndsAtTheScreenEdge) {
    // No room on the right: it opens to the left of its parent.
    const WindowRect nearRight{700, 50, 200, 300};
    EXPECT_EQ(SubmenuLeft(nearRight, 150, kScreen, true), 700 - 150 + 1);
    // Exactly fits on the right.
    EXPECT_EQ(SubmenuLeft({650, 50, 200, 300}, 151, kScreen, true), 849);
    // No room on the left either: on the right, moved left to end at the edge.
    const WindowRect wide{100, 50, 800, 300};
    EXPECT_EQ(SubmenuLeft(wide, 300, kScreen, true), 1000 - 300);
    // Mirrored when it opens to the left first: it starts at the left edge.
    EXPECT_EQ(SubmenuLeft(wide, 300, kScreen, false), 0);
    // Opening to the left but no room there: to the right.
    EXPECT_EQ(SubmenuLeft({20, 50, 200, 300}, 150, kScreen, false), 219);
    // Wider than the screen: starts at its left edge.
    EXPECT_EQ(SubmenuLeft({100, 50, 200, 300}, 1200, kScreen, true), 0);
    // A screen that does not start at 0 (the second of two).
    const WindowRect second{1000, 0, 800, 600};
    EXPECT_EQ(SubmenuLeft({1600, 0, 150, 100}, 100, second, true), 1600 - 100 + 1);
}

bool Same(std::vector<WindowRect> a, std::vector<WindowRect> b) {
    auto key = [](const WindowRect& r) { return std::tie(r.x, r.y, r.width, r.height); };
    auto less = [&](const WindowRect& l, const WindowRect& r) { return key(l) < key(r); };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    return a == b;
}

TEST(XPMenuGeometry, ShadowStripsLieRightAndBelowOffsetByTheirWidth) {
    const WindowRect body{100, 50, 200, 300};
    EXPECT_TRUE(
        Same(MenuShadowStrips(body, {}), {{300, 54, 4, 300}, // right, down to 4 below the bottom
                                          {104, 350, 196, 4}}));
}

TEST(XPMenuGeometry, ShadowIsCutWhereItWouldFallOnTheParent) {
    // A submenu opened to the left: its right strip lies on the parent.
    const WindowRect parent{300, 40, 200, 200};
    const WindowRect sub{151, 60, 150, 100};
    const WindowRect covered[] = {parent};
    EXPECT_TRUE(Same(MenuShadowStrips(sub, covered), {{155, 160, 145, 4}}));
    // Taller than its parent: the right strip shows below the parent.
    const WindowRect tall{151, 60, 150, 300};
    EXPECT_TRUE(Same(MenuShadowStrips(tall, covered), {{301, 240, 4, 124}, {155, 360, 146, 4}}));
    // A menu bar item above the menu does not touch its shadow.
    const WindowRect item[] = {{100, 30, 40, 20}};
    EXPECT_TRUE(
        Same(MenuShadowStrips({100, 50, 200, 300}, item), {{300, 54, 4, 300}, {104, 350, 196, 4}}));
}

TEST(XPMenuGeometry, SubtractLeavesThePartsAround) {
    const WindowRect r{0, 0, 10, 10};
    EXPECT_TRUE(Same(Subtract(r, {20, 20, 5, 5}), {r}));
    EXPECT_TRUE(Same(Subtract(r, {-1, -1, 12, 12}), {}));
    EXPECT_TRUE(Same(Subtract(r, {3, 3, 4, 4}),
                     {{0, 0, 10, 3}, {0, 7, 10, 3}, {0, 3, 3, 4}, {7, 3, 3, 4}}));
    EXPECT_TRUE(Same(Subtract(r, {5, -5, 10, 30}), {{0, 0, 5, 10}}));
    EXPECT_TRUE(Same(Subtract(r, {0, 0, 0, 0}), {r}));
}

} // namespace
} // namespace paradrex
