#pragma once

// A line of text whose parts are marked (a typed answer against the expected one): what each
// mark looks like is decided here once, so that every backend draws it alike.

#include <cstdint>
#include <string>
#include <vector>

namespace tallyfold::platform {

enum class TextMark { Plain, Right, Forgiven, Wrong, Extra, Missing };

/// A part of a marked line: consecutive characters with the same mark.
struct MarkedRun {
    std::string text;
    TextMark mark = TextMark::Plain;
    friend bool operator==(const MarkedRun&, const MarkedRun&) = default;
};

/// The cue of a mark that is no colour, for those who do not tell the colours apart.
enum class MarkLine { None, Solid, Dotted, Dashed, Through };

struct MarkColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const MarkColour&, const MarkColour&) = default;
};

struct MarkLook {
    /// Drawn in the palette's own text colour.
    bool textColour = true;
    MarkColour colour;
    MarkLine line = MarkLine::None;
};

/// How a mark is drawn on a background that is dark (a dark palette) or light: each colour
/// stands out from that background by a contrast of at least 4.5 to 1.
MarkLook LookOf(TextMark mark, bool darkBackground);

/// Whether a background of this colour is dark: its relative luminance below one half.
bool IsDark(MarkColour background);

/// Contrast of two colours as the web's accessibility guidelines measure it (1 to 21).
double ContrastOf(MarkColour a, MarkColour b);

/// The whole text of a marked line.
std::string TextOf(const std::vector<MarkedRun>& runs);

}  // namespace tallyfold::platform
