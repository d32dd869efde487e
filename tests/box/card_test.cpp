#include "box/card.h"

#include <gtest/gtest.h>

#include <string>

namespace tallyfold {
namespace {

TEST(CardTexts, SetTextsCutsAtSixtyThreeBytes) {
    tVokabel card;
    card.SetTexts(std::string(70, 'q'), "short");
    EXPECT_EQ(card.Question(), std::string(63, 'q'));
    EXPECT_EQ(card.Answer(), "short");
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

TEST(CardComparison, HighBytesCompareExactly) {
    tVokabel a;
    tVokabel b;
    a.SetTexts(
        "Gr\xFC\xDF"
        "e",
        "greeting");
    b.SetTexts(
        "Gr\xFC\xDF"
        "e",
        "greeting");
    EXPECT_TRUE(a.SameCard(b));
    b.SetTexts(
        "Gr\xDC\xDF"
        "e",
        "greeting");
    EXPECT_FALSE(a.SameCard(b));
    EXPECT_TRUE(a.SameQuestionOrAnswer(b));
}

}  // namespace
}  // namespace tallyfold
