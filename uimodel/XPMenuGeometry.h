#pragma once
// Where the "OfficeXP Style" popup menus go and where their drop shadow
// falls, in screen pixels. A menu's body is its window without the shadow.

#include "uimodel/WindowPlacement.h"

#include <span>
#include <vector>

namespace paradrex {

// The shadow: strips this wide along the right and the bottom edge of a
// menu, offset as far down and to the right, darkened in this many steps.
inline constexpr int kMenuShadowSize = 4;
// A menu gets its shadow only once it has been open this long, so one that
// closes at once never shows one.
inline constexpr int kMenuShadowDelayMs = 50;

// The left edge of a submenu body `width` wide opened from the body `parent`:
// overlapping it by one pixel, at its right edge when it opens to the right
// (`rightFirst` and room on the screen) or at its left edge otherwise, and
// moved left to end at the screen's right edge when it would reach past it.
int SubmenuLeft(const WindowRect& parent, int width, const WindowRect& screen, bool rightFirst);

// The shadow of a menu body: the right strip, from `kMenuShadowSize` below the
// body's top to as far below its bottom, and the bottom strip, from as far
// right of its left edge to its right edge; cut so that no part falls on the
// rectangles in `covered` (the parent menu, the menu bar item that opened
// it). Empty parts are left out.
std::vector<WindowRect> MenuShadowStrips(const WindowRect& body,
                                         std::span<const WindowRect> covered);

// The parts of `rect` outside `cut`: up to four rectangles.
std::vector<WindowRect> Subtract(const WindowRect& rect, const WindowRect& cut);

} // namespace paradrex
