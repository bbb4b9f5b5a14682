#include "uimodel/XPMenuGeometry.h"

#include <algorithm>

namespace paradrex {

namespace {

int Right(const WindowRect& r) {
    return r.x + r.width;
}
int Bottom(const WindowRect& r) {
    return r.y + r.height;
}
bool Empty(const WindowRect& r) {
    return r.width <= 0 || r.height <= 0;
}

} // namespace

int SubmenuLeft(const WindowRect& parent, int width, const WindowRect& screen, bool rightFirst) {
    const int toRight = Right(parent) - 1;
    const int toLeft = parent.x - width + 1;
    const bool fitsRight = toRight + width <= Right(screen);
    const bool fitsLeft = toLeft >= screen.x;
    int x = rightFirst ? (fitsRight || !fitsLeft ? toRight : toLeft)
                       : (fitsLeft || !fitsRight ? toLeft : toRight);
    if (x + width > Right(screen))
        x = Right(screen) - width;
    return std::max(x, screen.x);
}

std::vector<WindowRect> Subtract(const WindowRect& rect, const WindowRect& cut) {
    if (Empty(rect))
        return {};
    const int left = std::max(rect.x, cut.x), right = std::min(Right(rect), Right(cut));
    const int top = std::max(rect.y, cut.y), bottom = std::min(Bottom(rect), Bottom(cut));
    if (Empty(cut) || left >= right || top >= bottom)
        return {rect};
    std::vector<WindowRect> out;
    auto add = [&out](WindowRect r) {
        if (!Empty(r))
            out.push_back(r);
    };
    add({rect.x, rect.y, rect.width, top - rect.y});          // above the cut
    add({rect.x, bottom, rect.width, Bottom(rect) - bottom}); // below it
    add({rect.x, top, left - rect.x, bottom - top});          // left of it
    add({right, top, Right(rect) - right, bottom - top});     // right of it
    return out;
}

std::vector<WindowRect> MenuShadowStrips(const WindowRect& body,
                                         std::span<const WindowRect> covered) {
    constexpr int s = kMenuShadowSize;
    std::vector<WindowRect> strips;
    if (body.width > s)
        strips.push_back({body.x + s, Bottom(body), body.width - s, s});
    if (body.height > 0)
        strips.push_back({Right(body), body.y + s, s, body.height});
    for (const WindowRect& cut : covered) {
        std::vector<WindowRect> left;
        for (const WindowRect& strip : strips)
            for (const WindowRect& part : Subtract(strip, cut))
                left.push_back(part);
        strips = std::move(left);
    }
    return strips;
}

} // namespace paradrex
