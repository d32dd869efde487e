#pragma once

#include <algorithm>
#include <span>

namespace tallyfold::platform {

/// A rectangle: in pixels for windows built in code, in dialog units inside dialog templates.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

/// The rectangle from `left`, `top` to `right`, `bottom` (the last two outside it), as a window
/// system keeps a place; one turned inside out has a negative size, one of an absurd size is cut
/// to one that still is.
inline Rect RectFromEdges(int left, int top, long long right, long long bottom) {
    constexpr long long kAbsurd = 1LL << 30;
    return {left, top, static_cast<int>(std::clamp(right - left, -1LL, kAbsurd)),
            static_cast<int>(std::clamp(bottom - top, -1LL, kAbsurd))};
}

/// True when a window at `window` can be seen and taken hold of: its size is one a window can
/// have, and one of `screens` shows a corner of it large enough to drag. A kept place that is
/// not (a damaged settings file, a screen since taken away) is better dropped.
inline bool ShowsOnAScreen(const Rect& window, std::span<const Rect> screens) {
    constexpr int kLargest = 1 << 16;
    constexpr int kVisible = 48;
    if (window.width <= 0 || window.height <= 0 || window.width > kLargest ||
        window.height > kLargest) {
        return false;
    }
    // In 64 bits: a damaged place may lie near the ends of the int range.
    const long long left = window.x;
    const long long top = window.y;
    const long long right = left + window.width;
    const long long bottom = top + window.height;
    return std::any_of(screens.begin(), screens.end(), [&](const Rect& screen) {
        const long long seenWidth = std::min<long long>(right, screen.x + screen.width) -
                                    std::max<long long>(left, screen.x);
        const long long seenHeight = std::min<long long>(bottom, screen.y + screen.height) -
                                     std::max<long long>(top, screen.y);
        return seenWidth >= kVisible && seenHeight >= kVisible;
    });
}

}  // namespace tallyfold::platform
