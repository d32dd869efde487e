#include "box/card.h"

#include <gtest/gtest.h>

#include <string>

namespace tallyfold {
namespace {

TEST(CardTexts, SetTextsKeepsUpTo254BytesOfWholeCharacters) {
    tVokabel card;
    card.SetTexts(std::string(300, 'q'), "short");
    EXPECT_EQ(card.Question(), std::string(254, 'q'));
    EXPECT_EQ(card.Answer(), "short");
    // 85 characters of three bytes are 255 bytes: the last does not fit whole.
    std::string wide;
    for (int i = 0; i < 85; ++i)
        wide += "\u4E2D";
    card.SetTexts(wide, wide.substr(0, 63));
    EXPECT_EQ(card.Question(), wide.substr(0, 252));
    EXPECT_EQ(card.Answer(), wide.substr(0, 63));
}

TEST(CardTexts, SetTextsStopsAtZeroByteAndKeepsCounters) {
    tVokabel card;
    card.knownCount = 4;
    card.unknownCount = 2;
    card.SetTexts(std::string_view("ab\0cd", 5), "x");
    EXPECT_EQ(card.Question(), "ab");
    EXPECT_EQ(card.knownCount, 4);
    EXPECT_EQ(card.unknownCount, 2);
}

TEST(CardTexts, ClearEmptiesTextsOnly) {
    tVokabel card;
    card.SetTexts("Haus", "house");
    card.knownCount = 3;
    card.Clear();
    EXPECT_EQ(card.Question(), "");
    EXPECT_EQ(card.Answer(), "");
    EXPECT_EQ(card.knownCount, 3);
}

TEST(CardComparison, SameQuestionDifferentAnswer) {
    tVokabel a;
    tVokabel b;
    a.SetTexts("Bank", "bench");
    b.SetTexts("Bank", "bank");
    EXPECT_TRUE(a.SameQuestionOrAnswer(b));
    EXPECT_FALSE(a.SameCard(b));
}

TEST(CardComparison, CaseMatters) {
    tVokabel a;
    tVokabel b;
    a.SetTexts("Haus", "house");
    b.SetTexts("haus", "House");
    EXPECT_FALSE(a.SameQuestionOrAnswer(b));
    EXPECT_FALSE(a.SameCard(b));
}

TEST(CardComparison, TextsCompareByteForByte) {
    tVokabel a;
    tVokabel b;
    a.SetTexts("Gr\u00FC\u00DFe", "greeting");
    b.SetTexts("Gr\u00FC\u00DFe", "greeting");
    EXPECT_TRUE(a.SameCard(b));
    b.SetTexts("Gr\u00DC\u00DFe", "greeting");
    EXPECT_FALSE(a.SameCard(b));
    EXPECT_TRUE(a.SameQuestionOrAnswer(b));
    // The same letter written with a combining mark is other bytes: typed and imported texts
    // are normalised before they get here.
    b.SetTexts("Gru\u0308\u00DFe", "greetings");
    EXPECT_FALSE(a.SameQuestionOrAnswer(b));
}

}  // namespace
}  // namespace tallyfold
