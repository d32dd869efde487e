#include "files/card_field_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "files/text_bytes.h"

namespace tallyfold {
namespace {

using Text = char[kMaxCardText + 1];

std::string Read(const std::string& field) {
    Text text;
    std::memset(text, 'j', sizeof text);  // junk that must not show through
    ReadCardText(field, text);
    return text;
}

std::string Write(const std::string& card, std::size_t fieldLength) {
    Text text;
    std::memset(text, 'j', sizeof text);  // junk behind the terminator must not be written
    const std::size_t length = std::min<std::size_t>(card.size(), kMaxCardText);
    std::copy_n(card.data(), length, text);
    text[length] = '\0';
    std::string field(fieldLength, 'j');
    WriteCardText(text, field);
    return field;
}

std::string Padded(const std::string& text, std::size_t length = 64) {
    std::string field = text;
    field.resize(length, ' ');
    return field;
}

TEST(ReadCardText, TrimsCutsAndConverts) {
    EXPECT_EQ(Read(Padded("B\x84r")), "B\xE4r");  // ä in code page 850 becomes ä in 1252
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
    EXPECT_EQ(Read(std::string(10, '\x81')), std::string(10, '\xFC'));
}

TEST(WriteCardText, ConvertsPadsAndCuts) {
    EXPECT_EQ(Write("B\xE4r", 64), Padded("B\x84r"));
    EXPECT_EQ(Write("", 64), std::string(64, ' '));
    EXPECT_EQ(Write(std::string(63, 'q'), 64), std::string(63, 'q') + " ");
    EXPECT_EQ(Write("abcdef", 3), "abc");
    EXPECT_EQ(Write("ab", 100), Padded("ab", 100));
    EXPECT_EQ(Write("back\\slash", 12), "back\\slash  ");
}

TEST(CardFieldText, WriteThenReadGivesTheTextBack) {
    const std::string letters = "abcXYZ019.-;\\\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xE9";
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 64, ' ');
        for (char& c : text) {
            c = letters[random() % letters.size()];
        }
        // Inner blanks stay; trailing ones are never stored.
        if (text.size() > 2) {
            text[random() % (text.size() - 1)] = ' ';
        }
        EXPECT_EQ(Read(Write(text, 64)), text);
    }
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
