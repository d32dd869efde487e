#include "files/card_field_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/text_bytes.h"
#include "table/charset.h"

namespace tallyfold {
namespace {

std::string Read(const std::string& field) {
    CardText text("junk that must not show through");
    ReadCardText(field, text);
    return std::string(text.View());
}

std::string Write(const std::string& card, std::size_t fieldLength) {
    const CardText text(card);
    EXPECT_TRUE(FitsClassicField(text)) << card;
    std::string field(fieldLength, 'j');
    EXPECT_TRUE(WriteCardText(text, field));
    return field;
}

std::string Padded(const std::string& text, std::size_t length = 64) {
    std::string field = text;
    field.resize(length, ' ');
    return field;
}

TEST(ReadCardText, TrimsCutsAndConverts) {
    EXPECT_EQ(Read(Padded("B\x84r")), "B\u00E4r");  // ä in code page 850
    EXPECT_EQ(Read(Padded("two  words  ")), "two  words");
    EXPECT_EQ(Read(Padded("")), "");
    EXPECT_EQ(Read(""), "");
    EXPECT_EQ(Read("x"), "x");
    EXPECT_EQ(Read(std::string(64, 'q')), std::string(63, 'q'));
    // The field's trailing blanks go first, then the cut to 63: a blank as the 63rd character
    // stays when the field goes on behind it.
    EXPECT_EQ(Read(std::string(62, 'q') + " z" + std::string(36, ' ')), std::string(62, 'q') + " ");
    EXPECT_EQ(Read(std::string(62, 'q') + "  "), std::string(62, 'q'));
    // A zero byte ends the text, even with letters behind it; blanks before it stay.
    EXPECT_EQ(Read(Padded(std::string("ab \0cd", 6))), "ab ");
    EXPECT_EQ(Read(std::string("ab \0", 4)), "ab ");
    EXPECT_EQ(Read(std::string("ab ", 3)), "ab");
    // Beyond 64 bytes only whether the field goes on matters.
    EXPECT_EQ(Read(std::string(63, 'q') + std::string(30, ' ') + "z"), std::string(63, 'q'));
    EXPECT_EQ(Read("ab" + std::string(70, ' ') + "z"), "ab" + std::string(61, ' '));
    // 63 characters of two bytes each, and of three: more than the card keeps in its own bytes.
    EXPECT_EQ(Read(std::string(64, '\x81')), [] {
        std::string u;
        for (int i = 0; i < 63; ++i)
            u += "\u00FC";
        return u;
    }());
    // The program's own code for the euro sign, which code page 850 lacks.
    EXPECT_EQ(Read(Padded(std::string(63, '\xBF'))).size(), 63u * 3);
}

TEST(WriteCardText, ConvertsPadsAndCuts) {
    EXPECT_EQ(Write("B\u00E4r", 64), Padded("B\x84r"));
    EXPECT_EQ(Write("", 64), std::string(64, ' '));
    EXPECT_EQ(Write(std::string(63, 'q'), 64), std::string(63, 'q') + " ");
    EXPECT_EQ(Write("abcdef", 3), "abc");
    EXPECT_EQ(Write("ab", 100), Padded("ab", 100));
    EXPECT_EQ(Write("back\\slash", 12), "back\\slash  ");
    EXPECT_EQ(Write("\u20AC \u0161", 6), "\xBF \xEF   ");
    // A text the field cannot hold is never written changed: the field stays blank.
    std::string field(10, 'j');
    EXPECT_FALSE(WriteCardText(CardText("g\u0119\u015B"), field));
    EXPECT_EQ(field, std::string(10, ' '));
}

TEST(CardFieldText, OnlyWindows1252TextsOfAtMost63CharactersFitTheClassicField) {
    EXPECT_TRUE(FitsClassicField(CardText("Stra\u00DFe \u20AC \u2019")));
    EXPECT_TRUE(FitsClassicField(CardText(std::string(63, 'q'))));
    EXPECT_FALSE(FitsClassicField(CardText(std::string(64, 'q'))));
    // 63 characters of two bytes each fit; 64 do not.
    std::string umlauts;
    for (int i = 0; i < 63; ++i)
        umlauts += "\u00E4";
    EXPECT_TRUE(FitsClassicField(CardText(umlauts)));
    EXPECT_FALSE(FitsClassicField(CardText(umlauts + "\u00E4")));
    // Letters Windows-1252 lacks, and a letter written with a combining mark.
    EXPECT_FALSE(FitsClassicField(CardText("g\u0119\u015B")));
    EXPECT_FALSE(FitsClassicField(CardText("\u0441\u043B\u043E\u0432\u043E")));
    EXPECT_FALSE(FitsClassicField(CardText("e\u0301")));
    // Of the control characters that stand for the bytes Windows-1252 leaves undefined, only
    // those a field gives back fit: every text a classic file gave is saved as it came.
    for (int byte = 0; byte < 256; ++byte) {
        const std::string field = Padded(std::string(1, static_cast<char>(byte)));
        if (byte != 0 && byte != ' ') {
            EXPECT_TRUE(FitsClassicField(CardText(Read(field)))) << byte;
        }
    }
    EXPECT_FALSE(FitsClassicField(CardText("\u0080")));
}

TEST(CardFieldText, WriteThenReadGivesTheTextBack) {
    const std::vector<std::string> letters = {"a",      "b",      "X",      "0",      ".",
                                              ";",      "\\",     "\u00E4", "\u00F6", "\u00DF",
                                              "\u00E9", "\u20AC", "\u2122", "\u0178", "\u00A0"};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const std::size_t length = random() % 64;
        for (std::size_t i = 0; i < length; ++i) {
            // Inner blanks stay; trailing ones are never stored.
            text += i + 1 < length && random() % 8 == 0 ? " " : letters[random() % letters.size()];
        }
        ASSERT_EQ(Read(Write(text, 64)), text);
    }
}

// A Unicode file's fields are as wide as its longest text: every width, every length of text
// and blanks inside it, for the trailing blanks are taken eight bytes at a time.
TEST(ReadUtf8CardText, TrimsTheBlanksOfFieldsOfEveryWidth) {
    for (std::size_t width = 1; width <= 40; ++width) {
        for (std::size_t length = 0; length <= width; ++length) {
            std::string text;
            for (std::size_t i = 0; i < length; ++i) {
                text += i % 5 == 3 && i + 1 < length ? ' ' : static_cast<char>('a' + i % 26);
            }
            CardText read("junk");
            bool cut = true;
            ASSERT_TRUE(ReadUtf8CardText(Padded(text, width), read, cut));
            EXPECT_EQ(read.View(), text) << width;
            EXPECT_FALSE(cut);
        }
    }
    CardText read;
    bool cut = false;
    ASSERT_TRUE(ReadUtf8CardText(Padded(std::string("\u0436\0zz", 4), 20), read, cut));
    EXPECT_EQ(read.View(), "\u0436");
    EXPECT_FALSE(ReadUtf8CardText(Padded("\xD0", 20), read, cut));
}

// The letters U+00A0 to U+00FF are worked out on the way into a field, the rest looked up: the
// two agree with the character set's own table, at every place of the 63.
TEST(WriteCardText, EveryWindows1252CharacterAtEveryPlace) {
    for (int byte = 0x20; byte < 256; ++byte) {
        if (byte == 0x7F) {
            continue;
        }
        const std::string character = Read(Padded(
            std::string(1, static_cast<char>(AnsiToOemChar(static_cast<unsigned char>(byte))))));
        if (!FitsClassicField(CardText(character))) {
            continue;  // of the five bytes Windows-1252 leaves undefined, those a field changes
        }
        for (const std::size_t before : {0U, 1U, 15U, 16U, 17U, 47U, 48U, 61U, 62U}) {
            const std::string text = std::string(before, 'a') + character;
            EXPECT_EQ(Read(Write(text, 64)), text) << byte << " after " << before;
            if (before < 62) {
                EXPECT_EQ(Read(Write(text + "z", 64)), text + "z") << byte << " after " << before;
            }
        }
    }
    // The 64th character is one too many, whichever it is.
    EXPECT_FALSE(FitsClassicField(CardText(std::string(63, 'a') + "\u00E4")));
    EXPECT_FALSE(FitsClassicField(CardText(std::string(63, 'a') + "\u20AC")));
    EXPECT_FALSE(FitsClassicField(CardText(std::string(62, 'a') + "\u00E4\u00E4")));
}

TEST(TextBytes, BitsStandForBytesInOrder) {
    char bytes[64];
    std::memset(bytes, 'x', sizeof bytes);
    bytes[0] = ' ';
    bytes[17] = '\0';
    bytes[40] = '\x84';
    bytes[63] = ' ';
    for (const TextBytes found : {ClassifyTextBytes(bytes), ClassifyTextBytesPortable(bytes)}) {
        EXPECT_EQ(found.blanks, (std::uint64_t{1} << 63) | 1u);
        EXPECT_EQ(found.zeros, std::uint64_t{1} << 17);
        EXPECT_EQ(found.high, std::uint64_t{1} << 40);
    }
}

TEST(TextBytes, VectorAndPortableClassificationAgree) {
    const std::string likely = std::string("\0 \x80\xFF\x7F\x1F!a", 8);
    std::mt19937 random(13);
    for (int round = 0; round < 20000; ++round) {
        char bytes[64];
        for (char& c : bytes) {
            c = random() % 2 == 0 ? likely[random() % likely.size()]
                                  : static_cast<char>(random() % 256);
        }
        const TextBytes vector = ClassifyTextBytes(bytes);
        const TextBytes portable = ClassifyTextBytesPortable(bytes);
        ASSERT_EQ(vector.zeros, portable.zeros) << "round " << round;
        ASSERT_EQ(vector.blanks, portable.blanks) << "round " << round;
        ASSERT_EQ(vector.high, portable.high) << "round " << round;
    }
}

}  // namespace
}  // namespace tallyfold
