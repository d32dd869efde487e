#include "table/charset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace tallyfold {
namespace {

std::string Expanded(std::string text, std::size_t (*operation)(std::span<char>)) {
    text.push_back('\0');
    const std::size_t length = operation(text);
    return text.substr(0, length);
}

std::string Ansi(const std::string& text) {
    return Expanded(text, ExpandEscapesAnsi);
}
std::string Oem(const std::string& text) {
    return Expanded(text, TextAnsiToOemEscaped);
}
std::string OemToAnsi(const std::string& text) {
    return Expanded(text, TextOemToAnsi);
}

TEST(CharTable, EntriesInTheirOrder) {
    ASSERT_EQ(kCharTable.size(), 80u);
    EXPECT_EQ(kCharTable[0].oem, 0x80);
    EXPECT_EQ(kCharTable[0].ansi, 0xC7);
    EXPECT_EQ(std::string(kCharTable[0].name.data(), 2), ",C");
    EXPECT_EQ(kCharTable[2].name[0], '\xEF');  // acute, code page 850 form, before its twin
    EXPECT_EQ(kCharTable[3].name[0], '\xB4');
    EXPECT_EQ(kCharTable[47].oem, 0xB6);  // the entry whose name is shadowed by entry 18
    EXPECT_EQ(kCharTable[47].ansi, 0xC5);
    EXPECT_EQ(kCharTable[51].oem, 0xBE);
    EXPECT_EQ(kCharTable[51].ansi, 0xBE);
    EXPECT_EQ(kCharTable[79].oem, 0x00);
    EXPECT_EQ(kCharTable[79].name[0], '0');
}

TEST(CharConversion, FirstMatchWinsBothWays) {
    EXPECT_EQ(OemToAnsiChar(0x84), 0xE4);  // ä
    EXPECT_EQ(AnsiToOemChar(0xE4), 0x84);
    EXPECT_EQ(AnsiToOemChar(0xC5), 0x8F);  // Å: entry 18, not 48
    EXPECT_EQ(OemToAnsiChar(0xB6), 0xC5);  // a stored 0xB6 reads back as Å
    EXPECT_EQ(AnsiToOemChar(0xBE), 0xBE);
    EXPECT_EQ(OemToAnsiChar(0xBE), 0xBE);
    EXPECT_EQ(AnsiToOemChar(0xA4), 0xCF);  // ¤ has no entry: its code page 850 code
    EXPECT_EQ(OemToAnsiChar(0xA4), 0xF1);  // ... while 0xA4 still reads as ñ
    EXPECT_EQ(AnsiToOemChar(0x80), 0xBF);  // € has no code page 850 code: one of our own
    EXPECT_EQ(OemToAnsiChar(0xBF), 0x80);
    EXPECT_EQ(AnsiToOemChar('a'), 'a');
}

// What the table alone makes of a byte, first match winning: how every earlier file was
// written and read.
unsigned char TableAnsiToOem(unsigned char c) {
    for (const CharEntry& entry : kCharTable) {
        if (entry.ansi == c && entry.oem != 0) {
            return entry.oem;
        }
    }
    return c;
}

unsigned char TableOemToAnsi(unsigned char c) {
    for (const CharEntry& entry : kCharTable) {
        if (entry.oem == c && entry.oem != 0) {
            return entry.ansi;
        }
    }
    return c;
}

TEST(CharConversion, EveryCharacterComesBackFromTheFile) {
    int undefined = 0;
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        if (!IsDefinedAnsi(byte)) {
            ++undefined;
            continue;
        }
        EXPECT_EQ(OemToAnsiChar(AnsiToOemChar(byte)), byte) << c;
    }
    EXPECT_EQ(undefined, 5);
    // Two characters never share a code in the file.
    std::array<int, 256> owner;
    owner.fill(-1);
    for (int c = 0; c < 256; ++c) {
        if (IsDefinedAnsi(static_cast<unsigned char>(c))) {
            const unsigned char code = AnsiToOemChar(static_cast<unsigned char>(c));
            EXPECT_EQ(owner[code], -1) << c << " and " << owner[code] << " share " << int(code);
            owner[code] = c;
        }
    }
}

TEST(CharConversion, ATextIsAllDefinedUnlessOneOfItsBytesIsUndefined) {
    const std::vector<unsigned char> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_EQ(IsDefinedAnsi(byte),
                  std::find(undefined.begin(), undefined.end(), byte) == undefined.end())
            << c;
    }
    // Every byte at every place of texts that fill whole words, part of one, or both, among
    // plain letters and neighbours of the undefined bytes.
    for (const std::string around : {"abc de", "a\x80\x82\x8C\x8E\x91\x9C\x9E\xE4 "}) {
        for (std::size_t length = 1; length <= 19; ++length) {
            for (std::size_t place = 0; place < length; ++place) {
                for (int c = 0; c < 256; ++c) {
                    std::string text(length, ' ');
                    for (std::size_t i = 0; i < length; ++i) {
                        text[i] = around[(i * 7 + length) % around.size()];
                    }
                    text[place] = static_cast<char>(c);
                    EXPECT_EQ(AllDefinedAnsi(text), IsDefinedAnsi(static_cast<unsigned char>(c)))
                        << "byte " << c << " at " << place << " of " << length;
                }
            }
        }
    }
    EXPECT_TRUE(AllDefinedAnsi(""));
}

TEST(CharConversion, EveryByteEarlierFilesHoldReadsAsBefore) {
    for (int c = 0; c < 256; ++c) {
        const unsigned char written = TableAnsiToOem(static_cast<unsigned char>(c));
        EXPECT_EQ(OemToAnsiChar(written), TableOemToAnsi(written)) << "code " << int(written);
    }
    // The table's twins and its own rules stay: both codes of Å read as Å.
    EXPECT_EQ(OemToAnsiChar(0x8F), 0xC5);
    EXPECT_EQ(OemToAnsiChar(0xB6), 0xC5);
}

TEST(CharConversion, EveryEntryRoundTripsFromAnsi) {
    for (const CharEntry& entry : kCharTable) {
        EXPECT_EQ(OemToAnsiChar(AnsiToOemChar(entry.ansi)), entry.ansi) << int(entry.ansi);
    }
}

TEST(CharConversion, TextOemToAnsiTouchesOnlyHighBytes) {
    EXPECT_EQ(OemToAnsi("Gr\x81\xE1"
                        "e"),
              "Gr\xFC\xDF"
              "e");
    EXPECT_EQ(OemToAnsi("plain \\\"a text"), "plain \\\"a text");
}

TEST(FindEscape, FirstEntryWhoseNameIsAPrefix) {
    EXPECT_EQ(FindEscape("\"u"), 1);
    EXPECT_EQ(FindEscape("\xB4"
                         "e"),
              3);
    EXPECT_EQ(FindEscape("\xF8"
                         "A"),
              17);
    EXPECT_EQ(FindEscape("Lx"), 32);
    EXPECT_EQ(FindEscape("0"), 79);
    EXPECT_EQ(FindEscape("q"), -1);
    EXPECT_EQ(FindEscape("\""), -1);  // half a name
    EXPECT_EQ(FindEscape(""), -1);
}

TEST(EscapeExpansion, QuoteLetterGivesUmlaut) {
    EXPECT_EQ(Ansi("Gr\\\"use"), "Gr\xFCse");
    EXPECT_EQ(Oem("Gr\\\"use"), "Gr\x81se");
    EXPECT_EQ(Ansi("\\\"a\\\"A"), "\xE4\xC4");
}

TEST(EscapeExpansion, BothAccentMarkers) {
    EXPECT_EQ(Ansi("\\\xB4"
                   "e\\\xEF"
                   "e"),
              "\xE9\xE9");
    EXPECT_EQ(Ansi("\\\xB0"
                   "a\\\xF8"
                   "A"),
              "\xE5\xC5");
    EXPECT_EQ(Oem("\\\xB0"
                  "A"),
              "\x8F");
}

TEST(EscapeExpansion, BackslashRules) {
    EXPECT_EQ(Ansi("a\\\\b"), "a\\b");       // two backslashes give one
    EXPECT_EQ(Ansi("\\qx"), "qx");           // no such name: only the backslash goes
    EXPECT_EQ(Ansi("end\\"), "end");         // a final backslash is dropped
    EXPECT_EQ(Ansi("\\Lx"), "\xA3x");        // a one-letter name takes one byte
    EXPECT_EQ(Ansi("\\?\\=Y"), "\xBF\xBE");  // ¿ and the ¥/¾ entry
    EXPECT_EQ(Oem("\\=Y"), "\xBE");
}

TEST(EscapeExpansion, BackslashZeroCutsTheText) {
    EXPECT_EQ(Ansi("x\\0y"), "x");
    EXPECT_EQ(Oem("x\\0y"), "x");
    std::string text = "x\\0y";
    text.push_back('\0');
    ExpandEscapesAnsi(text);
    EXPECT_EQ(text[1], '\0');
}

TEST(EscapeExpansion, NamesAreMatchedBeforeConversion) {
    // The ANSI acute accent after a backslash is a name, not a character to convert first.
    EXPECT_EQ(Oem("\\\xB4"
                  "a"),
              "\xA0");
    // A high byte that is not part of an escape is converted.
    EXPECT_EQ(Oem("\xE4"), "\x84");
    EXPECT_EQ(Ansi("\xE4"), "\xE4");
    EXPECT_EQ(Oem("\xA4"), "\xCF");
}

TEST(EscapeExpansion, PlainTextUnchangedEverywhere) {
    const std::string plain = "The quick brown fox; 42 (jumps)!";
    EXPECT_EQ(Ansi(plain), plain);
    EXPECT_EQ(Oem(plain), plain);
    EXPECT_EQ(OemToAnsi(plain), plain);
}

TEST(EscapeExpansion, SpanWithoutTerminatorStaysInside) {
    char text[3] = {'\\', '"', 'a'};
    EXPECT_EQ(ExpandEscapesAnsi(text), 1u);
    EXPECT_EQ(text[0], '\xE4');
    EXPECT_EQ(text[1], '\0');
    char plain[2] = {'a', 'b'};
    EXPECT_EQ(TextAnsiToOemEscaped(plain), 2u);
    EXPECT_EQ(plain[1], 'b');
}

}  // namespace
}  // namespace tallyfold
