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

// A rectangle that lies on none of the screens (a monitor that is gone, a
// hand-edited file) is moved to the top left of the first screen and cut to
// its size; one that shows at least partly stays as it is.
WindowRect KeepOnScreen(const WindowRect& rect, std::span<const WindowRect> screens);

} // namespace paradrex
