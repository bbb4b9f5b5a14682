#include "uimodel/DialogPlacement.h"

#include <algorithm>

namespace paradrex {

namespace {

// The start of a span of `length` centred on `centre`, moved into
// [lo, lo + room); the low end wins when it does not fit.
int KeepInside(int centre, int length, int lo, int room) {
    const int start = centre - length / 2;
    return std::max(lo, std::min(start, lo + room - length));
}

} // namespace

WindowRect CentredOnPointer(int width, int height, int x, int y, const WindowRect& screen) {
    return {KeepInside(x, width, screen.x, screen.width),
            KeepInside(y, height, screen.y, screen.height), width, height};
}

} // namespace paradrex
