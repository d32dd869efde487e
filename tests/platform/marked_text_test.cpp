#include "platform/marked_text.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace tallyfold::platform {
namespace {

constexpr TextMark kMarks[] = {TextMark::Right, TextMark::Forgiven, TextMark::Wrong,
                               TextMark::Extra, TextMark::Missing};

TEST(MarkedText, EveryMarkIsReadableOnLightAndDarkPalettes) {
    // White and the window colours of common light and dark themes.
    const MarkColour light[] = {{0xFF, 0xFF, 0xFF}, {0xF0, 0xF0, 0xF0}, {0xFA, 0xFA, 0xFA}};
    const MarkColour dark[] = {
        {0x00, 0x00, 0x00}, {0x1E, 0x1E, 0x1E}, {0x2B, 0x2B, 0x2B}, {0x35, 0x35, 0x35}};
    for (const MarkColour background : light) {
        EXPECT_FALSE(IsDark(background));
        for (const TextMark mark : kMarks) {
            const MarkLook look = LookOf(mark, IsDark(background));
            EXPECT_GE(ContrastOf(look.colour, background), 4.5) << static_cast<int>(mark);
        }
    }
    for (const MarkColour background : dark) {
        EXPECT_TRUE(IsDark(background));
        for (const TextMark mark : kMarks) {
            const MarkLook look = LookOf(mark, IsDark(background));
            EXPECT_GE(ContrastOf(look.colour, background), 4.5) << static_cast<int>(mark);
        }
    }
}

TEST(MarkedText, EverySlipHasACueBesidesItsColour) {
    // Told apart by their lines alone, as a reader who sees no colour does.
    std::set<MarkLine> lines;
    for (const TextMark mark :
         {TextMark::Forgiven, TextMark::Wrong, TextMark::Extra, TextMark::Missing}) {
        for (const bool dark : {false, true}) {
            EXPECT_NE(LookOf(mark, dark).line, MarkLine::None) << static_cast<int>(mark);
        }
        lines.insert(LookOf(mark, false).line);
    }
    EXPECT_EQ(lines.size(), 4u);
    EXPECT_EQ(LookOf(TextMark::Right, false).line, MarkLine::None);
    EXPECT_TRUE(LookOf(TextMark::Plain, true).textColour);
}

TEST(MarkedText, ContrastIsMeasuredAsTheGuidelinesDo) {
    EXPECT_NEAR(ContrastOf({0, 0, 0}, {0xFF, 0xFF, 0xFF}), 21.0, 1e-9);
    EXPECT_NEAR(ContrastOf({0x77, 0x77, 0x77}, {0xFF, 0xFF, 0xFF}), 4.48, 0.01);
    EXPECT_EQ(TextOf({{"ab", TextMark::Right}, {"c", TextMark::Missing}}), "abc");
}

}  // namespace
}  // namespace tallyfold::platform
