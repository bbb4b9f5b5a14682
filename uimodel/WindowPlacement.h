#pragma once
// The main window's placement as Setting.ini keeps it: the normal (restored)
// rectangle and the show command (1 normal, 2 minimised, 3 maximised).

#include <span>

namespace paradrex {

class _Layout_section;

struct WindowRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const WindowRect&) const = default;
};

enum class WindowShowState { Normal, Minimized, Maximized };

// The show commands as the settings number them.
inline constexpr unsigned kShowNormal = 1;
inline constexpr unsigned kShowMinimized = 2;
inline constexpr unsigned kShowMaximized = 3;

// The normal rectangle the settings hold.
WindowRect NormalRect(const _Layout_section& layout);
// Only a stored 3 opens the window maximised; every other value (a minimised
// window included) opens it as the program was started.
bool OpensMaximized(const _Layout_section& layout);
// Stores the normal rectangle and the show command of the window's state.
void StorePlacement(_Layout_section& layout, const WindowRect& normal, WindowShowState state);

// Where the main window opens. `stored`: `rect` is the inner area, exactly
// as stored. Otherwise `rect` holds the size of the inner area and the place
// of the window's frame: centred on the screen, so the frame with its title
// bar lies on the screen whatever size the window manager gives it.
struct StartGeometry {
    WindowRect rect;
    bool stored = false;
    bool operator==(const StartGeometry&) const = default;
};

// The stored normal rectangle when a placement was stored (the settings file
// existed) and it shows at least partly on one of the screens. Without a
// stored placement, or for a rectangle on none of the screens (a monitor that
// is gone, a hand-edited file), the window is centred on the first screen,
// its size cut to that screen. Without any screen the stored rectangle stands.
StartGeometry StartGeometryOf(const WindowRect& stored, bool placementStored,
                              std::span<const WindowRect> screens);

} // namespace paradrex
