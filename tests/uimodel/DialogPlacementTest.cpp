#include "uimodel/DialogPlacement.h"

#include <gtest/gtest.h>

namespace paradrex {
namespace {

TEST(DialogPlacement, CentredOnThePointerAndKeptWhollyOnItsScreen) {
    const WindowRect screen{100, 50, 1000, 800}; // x 100..1099, y 50..849
    struct Case {
        int x, y;
        WindowRect expected;
    } cases[] = {
        {600, 400, {500, 350, 200, 100}},  // room all round
        {110, 60, {100, 50, 200, 100}},    // top left corner
        {1095, 845, {900, 750, 200, 100}}, // bottom right corner
        {-500, 400, {100, 350, 200, 100}}, // pointer off the screen
        {1099, 849, {900, 750, 200, 100}}, // the last pixel
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentredOnPointer(200, 100, c.x, c.y, screen), c.expected) << c.x << "," << c.y;
    // Larger than the screen: its top left corner shows.
    EXPECT_EQ(CentredOnPointer(1200, 900, 600, 400, screen), (WindowRect{100, 50, 1200, 900}));
}

} // namespace
} // namespace paradrex
