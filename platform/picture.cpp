#include "platform/picture.h"

#include <algorithm>

namespace tallyfold::platform {

namespace {

std::uint8_t Mixed(std::uint8_t over, std::uint8_t under, int percent) {
    return static_cast<std::uint8_t>((over * percent + under * (100 - percent) + 50) / 100);
}

MarkColour Mix(MarkColour over, MarkColour under, int percent) {
    const int clamped = std::clamp(percent, 0, 100);
    return {Mixed(over.red, under.red, clamped), Mixed(over.green, under.green, clamped),
            Mixed(over.blue, under.blue, clamped)};
}

}  // namespace

MarkColour ColourOf(PictureColour colour, int strength, const PictureColours& palette) {
    const bool dark = IsDark(palette.background);
    MarkColour full = palette.text;
    switch (colour) {
        case PictureColour::Text:
            full = palette.text;
            break;
        case PictureColour::Background:
            full = palette.background;
            break;
        case PictureColour::Line:
            full = Mix(palette.text, palette.background, 45);
            break;
        case PictureColour::Known:
            full = LookOf(TextMark::Right, dark).colour;
            break;
        case PictureColour::Unknown:
            full = LookOf(TextMark::Wrong, dark).colour;
            break;
        case PictureColour::Over:
            full = LookOf(TextMark::Forgiven, dark).colour;
            break;
        case PictureColour::Accent:
            full = palette.highlight;
            break;
    }
    return Mix(full, palette.background, strength);
}

}  // namespace tallyfold::platform
