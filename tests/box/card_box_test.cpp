#include "box/card_box.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "tests/support/cards.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::Counts;
using testing::Fill;
using testing::Questions;
using Names = std::vector<std::string>;

constexpr int kInput = tCardBox::kInputStack;

TEST(BoxConstruction, CapacitiesDoubleFromTen) {
    tCardBox box;
    EXPECT_EQ(box.PartitionCount(), 7);
    const std::vector<std::int32_t> expected = {10, 20, 40, 80, 160, 320, 640};
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(box.Capacity(n), expected[static_cast<std::size_t>(n - 1)]);
    }
    EXPECT_EQ(box.Capacity(12), 20480);
    EXPECT_EQ(box.Capacity(25), 167772160);  // exact: the table is 32-bit
    EXPECT_EQ(box.Capacity(0), 0);
    EXPECT_EQ(box.Capacity(26), 0);
    EXPECT_TRUE(box.UnknownToInput());
}

TEST(BoxAdd, RangeOfNumbers) {
    tCardBox box;
    EXPECT_TRUE(box.AddToPartition(Card("a"), 1));
    EXPECT_TRUE(box.AddToPartition(Card("b"), 7));
    EXPECT_TRUE(box.AddToPartition(Card("c"), kInput));
    EXPECT_FALSE(box.AddToPartition(Card("d"), 0));
    EXPECT_FALSE(box.AddToPartition(Card("e"), 9));
    EXPECT_FALSE(box.AddToPartition(Card("f"), -1));
    box.AddToInput(Card("g"));
    EXPECT_EQ(Counts(box), (std::vector<int>{1, 0, 0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(box.TotalCards(), 4);
    EXPECT_EQ(box.CardsIn(0), 0);
    EXPECT_EQ(box.CardsIn(9), 0);
}

TEST(BoxChooseNext, FreshBoxHasNoCardAndNumberOne) {
    tCardBox box;
    int number = -5;
    EXPECT_EQ(box.ChooseNext(number), nullptr);
    EXPECT_EQ(number, 1);
}

TEST(BoxChooseNext, RefillsTenInOrderFromTheInputStack) {
    tCardBox box;
    Fill(box, kInput, 25);
    int number = 0;
    tVokabel* card = box.ChooseNext(number);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->Question(), "c1");
    EXPECT_EQ(number, 1);
    EXPECT_EQ(Questions(box, 1),
              (Names{"c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9", "c10"}));
    EXPECT_EQ(box.CardsIn(kInput), 15);
    EXPECT_EQ(Questions(box, kInput).front(), "c11");
}

TEST(BoxChooseNext, RefillTakesWhatIsThereWhenFewerThanTen) {
    tCardBox box;
    Fill(box, kInput, 3);
    int number = 0;
    box.ChooseNext(number);
    EXPECT_EQ(box.CardsIn(1), 3);
    EXPECT_EQ(box.CardsIn(kInput), 0);
}

TEST(BoxChooseNext, NoRefillWhilePartitionOneHoldsACard) {
    tCardBox box;
    Fill(box, 1, 1, "p");
    Fill(box, kInput, 30);
    int number = 0;
    EXPECT_EQ(box.ChooseNext(number)->Question(), "p1");
    EXPECT_EQ(box.CardsIn(1), 1);
    EXPECT_EQ(box.CardsIn(kInput), 30);
}

TEST(BoxChooseNext, PartitionAtCapacityIsNotOverfull) {
    tCardBox box;
    Fill(box, 1, 9, "one");
    Fill(box, 2, 20, "two");
    int number = 0;
    EXPECT_EQ(box.ChooseNext(number)->Question(), "one1");
    EXPECT_EQ(number, 1);
    box.AddToPartition(Card("two21"), 2);
    EXPECT_EQ(box.ChooseNext(number)->Question(), "two1");
    EXPECT_EQ(number, 2);
}

TEST(BoxChooseNext, LowestOverfullPartitionWins) {
    tCardBox box;
    Fill(box, 1, 5, "one");
    Fill(box, 2, 21, "two");
    Fill(box, 4, 81, "four");
    int number = 0;
    box.ChooseNext(number);
    EXPECT_EQ(number, 2);
}

TEST(BoxChooseNext, LastPartitionIsNeverOverfull) {
    tCardBox box;
    Fill(box, 3, 1, "three");
    Fill(box, 7, 700, "seven");
    int number = 0;
    EXPECT_EQ(box.ChooseNext(number)->Question(), "three1");
    EXPECT_EQ(number, 3);
}

TEST(BoxChooseNext, OnlyTheLastPartitionHoldsCards) {
    tCardBox box;
    Fill(box, 7, 2, "seven");
    int number = 0;
    EXPECT_EQ(box.ChooseNext(number)->Question(), "seven1");
    EXPECT_EQ(number, 7);
}

TEST(BoxKnown, MovesUpOnePartitionAndCounts) {
    tCardBox box;
    box.AddToPartition(Card("a", "a", 2, 1), 1);
    Fill(box, 2, 1, "two");
    int number = 0;
    box.ChooseNext(number);
    box.Known();
    EXPECT_EQ(box.CurrentPartition(), 2);
    EXPECT_EQ(Questions(box, 2), (Names{"two1", "a"}));
    tVokabel copy;
    box.FirstInPartition(2, copy);
    box.NextInPartition(2, copy);
    EXPECT_EQ(copy.knownCount, 3);
    EXPECT_EQ(copy.unknownCount, 1);
}

TEST(BoxKnown, InTheLastPartitionOnlyRotates) {
    tCardBox box;
    box.AddToPartition(Card("a", "a", 5), 7);
    box.AddToPartition(Card("b"), 7);
    int number = 0;
    box.ChooseNext(number);
    box.Known();
    EXPECT_EQ(Questions(box, 7), (Names{"b", "a"}));
    tVokabel copy;
    box.FirstInPartition(7, copy);
    box.NextInPartition(7, copy);
    EXPECT_EQ(copy.knownCount, 5);
    EXPECT_EQ(box.CurrentPartition(), 7);
}

TEST(BoxKnown, EmptyBoxChangesNothing) {
    tCardBox box;
    int number = 0;
    box.ChooseNext(number);
    box.Known();
    box.Unknown();
    EXPECT_EQ(box.TotalCards(), 0);
    EXPECT_EQ(box.CurrentPartition(), 1);
}

TEST(BoxUnknown, InPartitionOneGoesToItsEndWhateverTheOption) {
    for (bool option : {true, false}) {
        tCardBox box;
        box.SetUnknownToInput(option);
        Fill(box, 1, 3);
        int number = 0;
        box.ChooseNext(number);
        box.Unknown();
        EXPECT_EQ(Questions(box, 1), (Names{"c2", "c3", "c1"}));
        tVokabel copy;
        box.FirstInPartition(1, copy);
        box.NextInPartition(1, copy);
        box.NextInPartition(1, copy);
        EXPECT_EQ(copy.unknownCount, 1);
        EXPECT_EQ(box.CardsIn(kInput), 0);
    }
}

TEST(BoxUnknown, ElsewhereGoesToTheInputStackWithTheOptionOn) {
    tCardBox box;
    Fill(box, 3, 2, "three");
    int number = 0;
    box.ChooseNext(number);
    ASSERT_EQ(number, 3);
    box.Unknown();
    EXPECT_EQ(Questions(box, 3), (Names{"three2"}));
    EXPECT_EQ(Questions(box, kInput), (Names{"three1"}));
    EXPECT_EQ(box.CurrentPartition(), 3);
}

TEST(BoxUnknown, ElsewhereGoesToPartitionOneWithTheOptionOff) {
    tCardBox box;
    box.SetUnknownToInput(false);
    Fill(box, 3, 1, "three");
    int number = 0;
    box.ChooseNext(number);
    box.Unknown();
    EXPECT_EQ(Questions(box, 1), (Names{"three1"}));
    EXPECT_EQ(box.CardsIn(kInput), 0);
    tVokabel copy;
    box.FirstInPartition(1, copy);
    EXPECT_EQ(copy.unknownCount, 1);
}

TEST(BoxUnknown, CollectedInPartitionOneMakeItOverfull) {
    tCardBox box;
    box.SetUnknownToInput(false);
    Fill(box, 1, 10, "one");
    Fill(box, 2, 21, "two");
    int number = 0;
    box.ChooseNext(number);
    ASSERT_EQ(number, 2);
    box.Unknown();  // partition 1 now holds 11 cards
    box.ChooseNext(number);
    EXPECT_EQ(number, 1);
}

TEST(BoxDeleteCurrent, DeletesTheShownCardAndChoosesAgain) {
    tCardBox box;
    Fill(box, 2, 2, "two");
    int number = 0;
    box.ChooseNext(number);
    tVokabel* next = box.DeleteCurrent(&number);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->Question(), "two2");
    EXPECT_EQ(number, 2);
    EXPECT_EQ(box.DeleteCurrent(&number), nullptr);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(box.TotalCards(), 0);
}

TEST(BoxDeleteCurrent, NumberOutOfRangeDeletesNothing) {
    tCardBox box;
    Fill(box, 2, 2, "two");
    int number = 0;
    box.ChooseNext(number);
    number = 9;
    EXPECT_EQ(box.DeleteCurrent(&number)->Question(), "two1");
    EXPECT_EQ(number, 2);
    EXPECT_EQ(box.TotalCards(), 2);
    EXPECT_EQ(box.DeleteCurrent(nullptr), nullptr);
    EXPECT_EQ(box.TotalCards(), 2);
}

TEST(BoxRemoveFromPartition, OnlyTheStoredCardOfThatPartition) {
    tCardBox box;
    Fill(box, 4, 3, "four");
    tVokabel copy;
    box.FirstInPartition(4, copy);
    tVokabel* second = box.NextInPartition(4, copy);
    EXPECT_FALSE(box.RemoveFromPartition(second, 3));
    EXPECT_FALSE(box.RemoveFromPartition(second, 9));
    EXPECT_FALSE(box.RemoveFromPartition(&copy, 4));
    EXPECT_TRUE(box.RemoveFromPartition(second, 4));
    EXPECT_EQ(Questions(box, 4), (Names{"four1", "four3"}));
}

TEST(BoxRemoveFromPartition, ManyCardsAtOnce) {
    tCardBox box;
    Fill(box, 2, 4, "two");
    tVokabel copy;
    std::vector<const tVokabel*> cards = {box.FirstInPartition(2, copy)};
    box.NextInPartition(2, copy);
    cards.push_back(box.NextInPartition(2, copy));
    EXPECT_EQ(box.RemoveAllFromPartition(cards, 3), 0);
    EXPECT_EQ(box.RemoveAllFromPartition(cards, 9), 0);
    EXPECT_EQ(box.RemoveAllFromPartition(cards, 2), 2);
    EXPECT_EQ(Questions(box, 2), (Names{"two2", "two4"}));
}

TEST(BoxTakeCards, MovesEveryRingAndKeepsTheOptions) {
    tCardBox box;
    box.SetUnknownToInput(false);
    Fill(box, 3, 1, "old");
    tCardBox loaded;
    Fill(loaded, 3, 2, "new");
    Fill(loaded, kInput, 1, "in");
    box.TakeCardsFrom(loaded);
    EXPECT_EQ(Questions(box, 3), (Names{"old1", "new1", "new2"}));
    EXPECT_EQ(Questions(box, kInput), (Names{"in1"}));
    EXPECT_EQ(loaded.TotalCards(), 0);
    EXPECT_FALSE(box.UnknownToInput());
}

TEST(BoxPartitionWalk, CopiesEachCardAndRefusesBadNumbers) {
    tCardBox box;
    box.AddToPartition(Card("q", "a", 3, 4), kInput);
    tVokabel copy;
    tVokabel* card = box.FirstInPartition(kInput, copy);
    ASSERT_NE(card, nullptr);
    EXPECT_NE(card, &copy);
    EXPECT_EQ(copy.Answer(), "a");
    EXPECT_EQ(copy.unknownCount, 4);
    EXPECT_EQ(box.NextInPartition(kInput, copy), nullptr);
    EXPECT_EQ(box.FirstInPartition(0, copy), nullptr);
    EXPECT_EQ(box.FirstInPartition(9, copy), nullptr);
    EXPECT_EQ(box.FirstInPartition(3, copy), nullptr);
}

TEST(BoxWalk, VisitsPartitionsInOrderThenTheInputStack) {
    tCardBox box;
    Fill(box, kInput, 1, "in");
    Fill(box, 3, 2, "three");
    Fill(box, 1, 1, "one");
    Fill(box, 7, 1, "seven");
    std::vector<std::pair<int, std::string>> seen;
    tVokabel copy;
    for (int number = box.FirstCard(copy); number != 0; number = box.NextCard(copy)) {
        seen.emplace_back(number, copy.Question());
    }
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "one1"}, {3, "three1"}, {3, "three2"}, {7, "seven1"}, {8, "in1"}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(box.NextCard(copy), 0);

    // The walk without copies gives the same cards in the same order, from where they are
    // stored, and stops where the visitor says so.
    std::vector<std::pair<int, std::string>> visited;
    EXPECT_TRUE(box.ForEachCard([&](const tVokabel& card, int number) {
        visited.emplace_back(number, card.Question());
        return true;
    }));
    EXPECT_EQ(visited, expected);
    visited.clear();
    EXPECT_FALSE(box.ForEachCard([&](const tVokabel& card, int number) {
        visited.emplace_back(number, card.Question());
        return visited.size() < 3;
    }));
    EXPECT_EQ(visited,
              (std::vector<std::pair<int, std::string>>(expected.begin(), expected.begin() + 3)));
    const tVokabel* firstOfThree = nullptr;
    box.ForEachCard([&](const tVokabel& card, int number) {
        firstOfThree = number == 3 ? &card : nullptr;
        return number != 3;
    });
    EXPECT_EQ(firstOfThree, box.FirstInPartition(3, copy));
}

TEST(BoxWalk, EmptyBoxAndInputStackOnly) {
    tCardBox box;
    tVokabel copy;
    EXPECT_EQ(box.FirstCard(copy), 0);
    Fill(box, kInput, 1, "in");
    EXPECT_EQ(box.FirstCard(copy), 8);
    EXPECT_EQ(copy.Question(), "in1");
    EXPECT_EQ(box.NextCard(copy), 0);
}

TEST(BoxAllToInput, InputFirstThenPartitionsInOrder) {
    tCardBox box;
    Fill(box, kInput, 2, "in");
    Fill(box, 7, 2, "seven");
    Fill(box, 1, 2, "one");
    int number = 0;
    box.ChooseNext(number);
    box.AllToInput();
    EXPECT_EQ(Questions(box, kInput), (Names{"in1", "in2", "one1", "one2", "seven1", "seven2"}));
    EXPECT_EQ(Counts(box), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 6}));
    EXPECT_EQ(box.CurrentPartition(), 1);
    EXPECT_EQ(box.ChooseNext(number)->Question(), "in1");
    EXPECT_EQ(box.CardsIn(1), 6);
}

TEST(BoxClear, PartitionRangeAndEverything) {
    tCardBox box;
    Fill(box, 7, 3);
    Fill(box, kInput, 2);
    box.ClearPartition(8);
    box.ClearPartition(0);
    EXPECT_EQ(box.TotalCards(), 5);
    box.ClearPartition(7);
    EXPECT_EQ(box.CardsIn(7), 0);
    box.SetUnknownToInput(false);
    box.ClearAll();
    EXPECT_EQ(box.TotalCards(), 0);
    EXPECT_FALSE(box.UnknownToInput());
}

TEST(BoxMix, NeverTouchesTheInputStack) {
    tCardBox box;
    Fill(box, kInput, 30, "in");
    Fill(box, 2, 30, "two");
    const Names input = Questions(box, kInput);
    const Names two = Questions(box, 2);
    box.Mix(8);
    box.Mix(-1);
    EXPECT_EQ(Questions(box, 2), two);
    box.Mix(0);
    EXPECT_EQ(Questions(box, kInput), input);
    EXPECT_NE(Questions(box, 2), two);
    EXPECT_EQ(box.CardsIn(2), 30);
}

TEST(BoxMix, OnePartitionOnly) {
    tCardBox box;
    Fill(box, 2, 30, "two");
    Fill(box, 3, 30, "three");
    const Names three = Questions(box, 3);
    box.Mix(2);
    EXPECT_EQ(Questions(box, 3), three);
}

TEST(BoxCompact, FillsFromTheLastPartition) {
    tCardBox box;
    Fill(box, 3, 5);
    Fill(box, 7, 100);
    EXPECT_TRUE(box.Compact());
    EXPECT_EQ(Counts(box), (std::vector<int>{10, 20, 40, 35, 0, 0, 0, 0}));
}

TEST(BoxCompact, NeverTakesFromTheInputStack) {
    tCardBox box;
    Fill(box, 3, 5);
    Fill(box, kInput, 30);
    EXPECT_TRUE(box.Compact());
    EXPECT_EQ(Counts(box), (std::vector<int>{5, 0, 0, 0, 0, 0, 0, 30}));
}

TEST(BoxCompact, PartitionsBelowTheFirstEmptyOneAreNotFilled) {
    tCardBox box;
    Fill(box, 1, 3, "one");
    Fill(box, 7, 50, "seven");
    EXPECT_TRUE(box.Compact());
    EXPECT_EQ(Counts(box), (std::vector<int>{3, 20, 30, 0, 0, 0, 0, 0}));
    // Head cards move first, in order.
    EXPECT_EQ(Questions(box, 2).front(), "seven1");
    EXPECT_EQ(Questions(box, 3).front(), "seven21");
}

TEST(BoxCompact, NothingToDo) {
    tCardBox box;
    for (int n = 1; n <= 6; ++n) {
        Fill(box, n, 1);
    }
    EXPECT_FALSE(box.Compact());
    tCardBox empty;
    EXPECT_FALSE(empty.Compact());
    tCardBox onlyInput;
    Fill(onlyInput, kInput, 4);
    EXPECT_FALSE(onlyInput.Compact());
}

TEST(BoxFind, SearchesPartitionsThenTheInputStack) {
    tCardBox box;
    box.AddToPartition(Card("Haus", "house"), kInput);
    box.AddToPartition(Card("Haus", "home"), 5);
    EXPECT_EQ(box.FindSameQuestionOrAnswer(Card("Haus", "x"))->Answer(), "home");
    EXPECT_EQ(box.FindSameCard(Card("Haus", "house"))->Answer(), "house");
    EXPECT_EQ(box.FindSameCard(Card("haus", "house")), nullptr);
    EXPECT_EQ(box.FindSameQuestionOrAnswer(Card("x", "y")), nullptr);
    // A card being changed is passed over: the next one found is another.
    const tVokabel* home = box.FindSameQuestionOrAnswer(Card("Haus", "x"));
    EXPECT_EQ(box.FindSameQuestionOrAnswer(Card("Haus", "x"), home)->Answer(), "house");
    EXPECT_EQ(box.FindSameQuestionOrAnswer(Card("y", "home"), home), nullptr);
}

TEST(BoxCounters, StopAtTheLargestValue) {
    tCardBox box;
    box.AddToPartition(Card("a", "a", INT32_MAX, INT32_MAX), 2);
    int number = 0;
    box.ChooseNext(number);
    box.Unknown();  // to the input stack
    box.ChooseNext(number);
    box.Known();
    tVokabel copy;
    box.FirstInPartition(2, copy);
    EXPECT_EQ(copy.knownCount, INT32_MAX);
    EXPECT_EQ(copy.unknownCount, INT32_MAX);
}

// The import's index keeps pointers to stored cards across learning steps and edits: a card
// stays where it is in memory whatever moves it between partitions or within one.
TEST(BoxCards, NeverMoveInMemoryUntilDeleted) {
    tCardBox box;
    Fill(box, 8, 40);
    std::vector<std::pair<const tVokabel*, std::string>> stored;
    tVokabel copy;
    for (int number = 1; number <= 8; ++number) {
        for (tVokabel* card = box.FirstInPartition(number, copy); card != nullptr;
             card = box.NextInPartition(number, copy)) {
            stored.emplace_back(card, std::string(card->Question()));
        }
    }
    int current = 0;
    for (int step = 0; step < 200; ++step) {
        box.ChooseNext(current);
        if (step % 3 == 0) {
            box.Unknown();
        } else {
            box.Known();
        }
    }
    box.Mix(0);
    box.SetUnknownToInput(false);
    box.ChooseNext(current);
    box.Unknown();
    box.Compact();
    box.AllToInput();
    tCardBox other;
    other.TakeCardsFrom(box);
    box.TakeCardsFrom(other);
    ASSERT_EQ(box.TotalCards(), static_cast<int>(stored.size()));
    for (const auto& [card, question] : stored) {
        EXPECT_EQ(card->Question(), question);
        EXPECT_EQ(box.FindSameQuestionOrAnswer(*card), card);
    }
}

TEST(BoxCards, AConstBoxHandsOutConstCards) {
    tCardBox box;
    box.AddToInput(Card("Haus", "house"));
    const tCardBox& view = box;
    const tVokabel* found = view.FindSameCard(Card("Haus", "house"));
    static_assert(std::is_same_v<decltype(view.FindSameCard(Card("", ""))), const tVokabel*>);
    static_assert(std::is_same_v<decltype(box.FindSameCard(Card("", ""))), tVokabel*>);
    EXPECT_EQ(found, box.FindSameCard(Card("Haus", "house")));
}

}  // namespace
}  // namespace tallyfold
