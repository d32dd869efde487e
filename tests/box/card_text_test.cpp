#include "box/card_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "box/card.h"

namespace tallyfold {
namespace {

// Sixty-three Chinese characters: 189 bytes, beyond what a text keeps in its own bytes.
std::string LongText(char32_t variant = 0) {
    std::string text;
    for (int i = 0; i < 63; ++i) {
        text += variant == 0 ? "\u4E2D" : "\u6587";
    }
    return text;
}

TEST(CardText, IsUtf8WhateverItIsMadeOf) {
    EXPECT_EQ(CardText("Haus").View(), "Haus");
    EXPECT_EQ(CardText("\u0441\u043B\u043E\u0432\u043E").View(), "\u0441\u043B\u043E\u0432\u043E");
    // Bytes that are no UTF-8 (Windows-1252 "ä", a character cut short, a surrogate) become
    // U+FFFD, one for each byte that begins no character.
    EXPECT_EQ(CardText("B\xE4r").View(), "B\uFFFDr");
    EXPECT_EQ(CardText("\xE4\xB8").View(), "\uFFFD\uFFFD");
    EXPECT_EQ(CardText("\xED\xA0\x80").View(), "\uFFFD\uFFFD\uFFFD");
    EXPECT_TRUE(CardText("").Empty());
    EXPECT_FALSE(CardText("x").Empty());
    EXPECT_FALSE(CardText("Haus").HasNonAscii());
    EXPECT_TRUE(CardText("\u00E4").HasNonAscii());
    EXPECT_TRUE(CardText(LongText()).HasNonAscii());
}

TEST(CardText, ATextBeyondItsOwnBytesIsAValueLikeAnyOther) {
    const std::string long1 = LongText();
    const std::string long2 = LongText(1);
    CardText a(long1);
    EXPECT_EQ(a.View(), long1);
    EXPECT_FALSE(a.Empty());
    CardText copy(a);
    EXPECT_EQ(copy, a);
    copy = CardText("short");
    EXPECT_EQ(copy.View(), "short");
    EXPECT_EQ(a.View(), long1);
    copy = a;  // short to long
    CardText other(long2);
    other = a;  // long to long
    EXPECT_EQ(other.View(), long1);
    other = CardText("x");  // long to short
    EXPECT_EQ(other.View(), "x");
    CardText moved(std::move(copy));
    EXPECT_EQ(moved.View(), long1);
    CardText target(long2);
    target = std::move(moved);
    EXPECT_EQ(target.View(), long1);
    std::swap(target, other);
    EXPECT_EQ(target.View(), "x");
    EXPECT_EQ(other.View(), long1);
    const CardText& same = other;
    other = same;
    EXPECT_EQ(other.View(), long1);
    // Copies made by a container as it grows keep their texts.
    std::vector<tVokabel> cards;
    for (int i = 0; i < 100; ++i) {
        tVokabel card;
        card.SetTexts(i % 2 == 0 ? long1 : "short", long2);
        cards.push_back(card);
    }
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(cards[static_cast<std::size_t>(i)].Question(), i % 2 == 0 ? long1 : "short");
        EXPECT_EQ(cards[static_cast<std::size_t>(i)].Answer(), long2);
    }
}

TEST(CardText, AsciiFoundByAReaderIsTakenAsItIs) {
    CardText text(LongText());
    text.AssignAscii("Baum und Haus", 4);
    EXPECT_EQ(text.View(), "Baum");
    text.AssignAscii(std::string(63, 'q').data(), 63);
    EXPECT_EQ(text.View(), std::string(63, 'q'));
}

}  // namespace
}  // namespace tallyfold
