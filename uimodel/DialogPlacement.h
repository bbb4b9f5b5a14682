#pragma once
// Where a dialog that opens at the mouse pointer goes: centred on the
// pointer, then moved as little as needed to lie wholly on the pointer's
// screen (its top left corner on the screen when it is larger).

#include "uimodel/WindowPlacement.h"

namespace paradrex {

// `width` x `height` centred on (x, y), kept on `screen` (its available
// area).
WindowRect CentredOnPointer(int width, int height, int x, int y, const WindowRect& screen);

} // namespace paradrex
