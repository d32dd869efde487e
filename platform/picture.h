#pragma once

// A picture the program draws itself from simple shapes (the bars and the calendar of the
// statistics): rectangles, lines and texts, each in a colour named by its role, so that every
// backend draws it in the colours of the desktop's palette, light or dark.

#include <string>
#include <variant>
#include <vector>

#include "platform/geometry.h"
#include "platform/marked_text.h"

namespace tallyfold::platform {

/// What a shape's colour stands for.
enum class PictureColour {
    Text,        ///< the palette's text colour
    Background,  ///< the palette's colour for texts' backgrounds (that of lists and edits)
    Line,        ///< between text and background: frames, axes, empty places
    Known,       ///< green, as a right answer is marked
    Unknown,     ///< red, as a wrong answer is marked
    Over,        ///< amber: more than there is room for
    Accent,      ///< the palette's highlight colour
};

struct PictureRectangle {
    Rect rect;
    PictureColour colour = PictureColour::Accent;
    /// How strongly the colour covers the background, in percent (a calendar's shades).
    int strength = 100;
    /// Only the rectangle's frame, one pixel wide, is drawn.
    bool frameOnly = false;
    friend bool operator==(const PictureRectangle&, const PictureRectangle&) = default;
};

struct PictureLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    PictureColour colour = PictureColour::Line;
    friend bool operator==(const PictureLine&, const PictureLine&) = default;
};

enum class PictureAlign { Start, Center, End };

/// One line of text in the window's font, centred from top to bottom in `rect`.
struct PictureText {
    Rect rect;
    std::string text;
    PictureColour colour = PictureColour::Text;
    PictureAlign align = PictureAlign::Start;
    bool bold = false;
    friend bool operator==(const PictureText&, const PictureText&) = default;
};

using PictureShape = std::variant<PictureRectangle, PictureLine, PictureText>;

/// The shapes in the order they are drawn, in pixels at 96 dpi from the control's top left
/// corner (a backend scales them to the screen); `width` and `height` are the size they were
/// made for.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<PictureShape> shapes;
    friend bool operator==(const Picture&, const Picture&) = default;
};

/// The colours of a palette that the picture's roles are made of.
struct PictureColours {
    MarkColour text{0, 0, 0};
    MarkColour background{0xFF, 0xFF, 0xFF};
    MarkColour highlight{0x30, 0x8C, 0xC6};
};

/// The colour a role stands for in `palette`, covering its background by `strength` percent.
MarkColour ColourOf(PictureColour colour, int strength, const PictureColours& palette);

}  // namespace tallyfold::platform
