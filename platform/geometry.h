#pragma once

namespace tallyfold::platform {

/// A rectangle: in pixels for windows built in code, in dialog units inside dialog templates.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;

    friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace tallyfold::platform
