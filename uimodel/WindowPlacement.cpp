#include "uimodel/WindowPlacement.h"

#include "settings/SettingKeys.h"

#include <algorithm>

namespace paradrex {

WindowRect NormalRect(const _Layout_section& layout) {
    return {layout.window_x.value, layout.window_y.value, layout.window_width.value,
            layout.window_height.value};
}

bool OpensMaximized(const _Layout_section& layout) {
    return layout.window_showcmd.value == kShowMaximized;
}

void StorePlacement(_Layout_section& layout, const WindowRect& normal, WindowShowState state) {
    layout.window_x = normal.x;
    layout.window_y = normal.y;
    layout.window_width = normal.width;
    layout.window_height = normal.height;
    switch (state) {
    case WindowShowState::Normal:
        layout.window_showcmd = kShowNormal;
        break;
    case WindowShowState::Minimized:
        layout.window_showcmd = kShowMinimized;
        break;
    case WindowShowState::Maximized:
        layout.window_showcmd = kShowMaximized;
        break;
    }
}

namespace {

bool Overlaps(const WindowRect& a, const WindowRect& b) {
    const long long left = std::max(a.x, b.x);
    const long long top = std::max(a.y, b.y);
    const long long right = std::min<long long>(1LL * a.x + a.width, 1LL * b.x + b.width);
    const long long bottom = std::min<long long>(1LL * a.y + a.height, 1LL * b.y + b.height);
    return left < right && top < bottom;
}

} // namespace

StartGeometry StartGeometryOf(const WindowRect& stored, bool placementStored,
                              std::span<const WindowRect> screens) {
    if (screens.empty())
        return {stored, placementStored};
    if (placementStored)
        for (const WindowRect& s : screens)
            if (Overlaps(stored, s))
                return {stored, true};
    const WindowRect& first = screens.front();
    const int width = std::clamp(stored.width, 1, std::max(first.width, 1));
    const int height = std::clamp(stored.height, 1, std::max(first.height, 1));
    return {
        {first.x + (first.width - width) / 2, first.y + (first.height - height) / 2, width, height},
        false};
}

} // namespace paradrex
