#include "platform/marked_text.h"

#include <algorithm>
#include <cmath>

namespace tallyfold::platform {

namespace {

double Linear(std::uint8_t channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(MarkColour colour) {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) +
           0.0722 * Linear(colour.blue);
}

}  // namespace

bool IsDark(MarkColour background) {
    // The luminance at which black and white text stand out equally.
    return Luminance(background) < 0.18;
}

double ContrastOf(MarkColour a, MarkColour b) {
    const double lighter = std::max(Luminance(a), Luminance(b));
    const double darker = std::min(Luminance(a), Luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

MarkLook LookOf(TextMark mark, bool darkBackground) {
    // Green for right, red for wrong and too many, blue for missing (red and green alone are
    // what the commonest colour blindness confuses), amber for what a tolerance forgave.
    const auto pick = [darkBackground](MarkColour onLight, MarkColour onDark) {
        return darkBackground ? onDark : onLight;
    };
    switch (mark) {
        case TextMark::Plain:
            return {};
        case TextMark::Right:
            return {false, pick({0x1B, 0x6E, 0x20}, {0x8F, 0xD6, 0x94}), MarkLine::None};
        case TextMark::Forgiven:
            return {false, pick({0x8A, 0x55, 0x00}, {0xF0, 0xC0, 0x5A}), MarkLine::Dotted};
        case TextMark::Wrong:
            return {false, pick({0xB3, 0x26, 0x1E}, {0xFF, 0x8A, 0x80}), MarkLine::Solid};
        case TextMark::Extra:
            return {false, pick({0xB3, 0x26, 0x1E}, {0xFF, 0x8A, 0x80}), MarkLine::Through};
        case TextMark::Missing:
            return {false, pick({0x0B, 0x57, 0xD0}, {0x8A, 0xB4, 0xF8}), MarkLine::Dashed};
    }
    return {};
}

std::string TextOf(const std::vector<MarkedRun>& runs) {
    std::string text;
    for (const MarkedRun& run : runs) {
        text += run.text;
    }
    return text;
}

}  // namespace tallyfold::platform
