#include "text/card_side.h"

#include <gtest/gtest.h>

#include <string>

#include "text/graphemes.h"

namespace tallyfold::unicode {
namespace {

std::string Repeat(std::string_view part, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += part;
    }
    return text;
}

// A side holds 63 characters as a person counts them, whatever their bytes, and 254 bytes.
TEST(CardSide, SixtyThreeCharactersOfAnyScriptAndNoMoreThan254Bytes) {
    const std::string thumb = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";  // 👍🏽, 8 bytes
    const std::string zhong = "\xE4\xB8\xAD";                      // 中, 3 bytes
    EXPECT_EQ(ProblemOfSide(Repeat("a", 63)), SideProblem::None);
    EXPECT_EQ(ProblemOfSide(Repeat("a", 64)), SideProblem::TooLong);
    EXPECT_EQ(ProblemOfSide(Repeat(zhong, 63)), SideProblem::None) << "189 bytes";
    EXPECT_EQ(ProblemOfSide(Repeat(zhong, 64)), SideProblem::TooLong);
    EXPECT_EQ(ProblemOfSide(Repeat("e\xCC\x81", 63)), SideProblem::None) << "é with its mark";
    EXPECT_EQ(ProblemOfSide(Repeat(thumb, 31)), SideProblem::None) << "248 bytes";
    EXPECT_EQ(ProblemOfSide(Repeat(thumb, 32)), SideProblem::TooLong) << "256 bytes, 32 characters";
}

TEST(CardSide, WhatIsNoSideIsNamed) {
    EXPECT_EQ(ProblemOfSide(""), SideProblem::Missing);
    EXPECT_EQ(ProblemOfSide("  \xC2\xA0 "), SideProblem::Missing) << "blanks, one of them no-break";
    EXPECT_EQ(ProblemOfSide("a\nb"), SideProblem::ControlCharacter);
    EXPECT_EQ(ProblemOfSide("a\tb"), SideProblem::ControlCharacter);
    EXPECT_EQ(ProblemOfSide("a\tb", true), SideProblem::None) << "a tab where a list allows one";
    EXPECT_EQ(ProblemOfSide("a\xC2\x85"
                            "b"),
              SideProblem::ControlCharacter)
        << "NEL";
    EXPECT_EQ(ProblemOfSide("a\xFF"), SideProblem::NotUtf8);
    EXPECT_EQ(ProblemOfSide("\xC3\xA9t\xC3\xA9"), SideProblem::None);
}

// A too long text from another tool is cut between characters, within both limits.
// Plain ASCII is looked at eight bytes at a time: a control character, a letter of two bytes or
// a tab is found at every place of such a word, and the count of characters stays right.
TEST(CardSide, WhatFollowsALetterIsCheckedAtEveryPlace) {
    for (std::size_t at = 1; at < 40; ++at) {
        const std::string letters = Repeat("x", 40);
        for (const char control : {'\x01', '\x1F', '\x7F', '\n'}) {
            std::string text = letters;
            text[at] = control;
            EXPECT_EQ(ProblemOfSide(text), SideProblem::ControlCharacter) << at << int{control};
        }
        std::string tab = letters;
        tab[at] = '\t';
        EXPECT_EQ(ProblemOfSide(tab, true), SideProblem::None) << at;
        EXPECT_EQ(ProblemOfSide(tab, false), SideProblem::ControlCharacter) << at;
        // 62 ASCII characters and a letter of two bytes are 63; one more is too many.
        const std::string umlaut = "\xC3\xA4";
        std::string fits = Repeat("y", 62);
        fits.insert(at, umlaut);
        EXPECT_EQ(ProblemOfSide(fits), SideProblem::None) << at;
        EXPECT_EQ(ProblemOfSide(fits + "y"), SideProblem::TooLong) << at;
        std::string broken = letters;
        broken[at] = '\xC3';
        EXPECT_EQ(ProblemOfSide(broken), SideProblem::NotUtf8) << at;
        EXPECT_EQ(ProblemOfSide(Repeat(" ", at) + "\xC2\x85" + "z"), SideProblem::ControlCharacter)
            << "U+0085 after " << at << " blanks";
    }
}

TEST(CardSide, ATooLongTextIsCutBetweenCharacters) {
    const std::string thumb = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";
    EXPECT_EQ(BytesThatFitASide("short"), 5u);
    EXPECT_EQ(BytesThatFitASide(Repeat("a", 100)), 63u);
    EXPECT_EQ(BytesThatFitASide(Repeat("e\xCC\x81", 100)), 63u * 3);
    EXPECT_EQ(BytesThatFitASide(Repeat(thumb, 40)), 31u * 8) << "the bytes limit first";
    const std::string text = Repeat("a", 62) + "e\xCC\x81\xCC\x81" + "bc";
    const std::size_t kept = BytesThatFitASide(text);
    EXPECT_EQ(kept, 62u + 5u) << "the last character whole, with both its marks";
    EXPECT_EQ(CountGraphemes(std::string_view(text).substr(0, kept)), 63u);
}

}  // namespace
}  // namespace tallyfold::unicode
