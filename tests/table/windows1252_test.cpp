#include "table/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tallyfold {
namespace {

bool Undefined(int byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

TEST(Windows1252, EveryCharacterRoundTripsThroughUnicode) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t c = CodePointOfWindows1252(static_cast<unsigned char>(byte));
        if (Undefined(byte)) {
            EXPECT_EQ(Windows1252OfCodePoint(c), std::nullopt) << byte;
            continue;
        }
        EXPECT_EQ(Windows1252OfCodePoint(c), static_cast<unsigned char>(byte)) << byte;
        if (byte != 0) {
            all += static_cast<char>(byte);
        }
    }
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

TEST(Windows1252, ControlCodesAreNoCharacters) {
    for (char32_t c = 0x80; c <= 0x9F; ++c) {
        EXPECT_EQ(Windows1252OfCodePoint(c), std::nullopt) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(Utf8ToWindows1252("a\xC2\x81"), std::nullopt);  // U+0081
}

TEST(Windows1252, TheBytesThatDifferFromLatin1) {
    EXPECT_EQ(CodePointOfWindows1252(0x80), U'\u20AC');  // euro sign
    EXPECT_EQ(CodePointOfWindows1252(0x9F), U'\u0178');
    EXPECT_EQ(CodePointOfWindows1252(0xE4), U'\u00E4');
    EXPECT_EQ(Windows1252OfCodePoint(U'\u201E'), 0x84);
    EXPECT_FALSE(Windows1252OfCodePoint(0x80));  // the control character, not the euro sign
    EXPECT_FALSE(Windows1252OfCodePoint(U'\u0100'));
    EXPECT_FALSE(Windows1252OfCodePoint(U'\u4E2D'));
}

TEST(Windows1252, Utf8Conversion) {
    EXPECT_EQ(Windows1252ToUtf8("Gr\xFC\xDF"
                                "e \x80"),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xE2\x82\xAC");
    EXPECT_EQ(Utf8ToWindows1252("\xC3\x84pfel \xE2\x80\x9Equote\xE2\x80\x9C"),
              "\xC4pfel \x84quote\x93");
    EXPECT_FALSE(Utf8ToWindows1252("\xE4\xB8\xAD"));      // a character 1252 cannot hold
    EXPECT_FALSE(Utf8ToWindows1252("\xC3"));              // cut short
    EXPECT_FALSE(Utf8ToWindows1252("\xC0\xAF"));          // overlong
    EXPECT_FALSE(Utf8ToWindows1252("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(Utf8ToWindows1252("\xF0\x9F\x98\x80"));  // beyond the set
    EXPECT_EQ(Utf8ToWindows1252(""), "");
}

}  // namespace
}  // namespace tallyfold
