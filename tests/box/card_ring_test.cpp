#include "box/card_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/support/cards.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::Questions;
using Names = std::vector<std::string>;

void AppendAll(tVokListe& ring, const Names& names) {
    for (const std::string& name : names) {
        ring.Append(Card(name));
    }
}

TEST(CardRingAppend, OneCardRingHandsOutThatCardEverywhere) {
    tVokListe ring;
    ring.Append(Card("a"));
    ASSERT_NE(ring.Head(), nullptr);
    EXPECT_EQ(ring.Head()->Question(), "a");
    EXPECT_EQ(ring.First(), ring.Head());
    EXPECT_EQ(ring.Rotate(), ring.Head());
    EXPECT_EQ(ring.Next(), nullptr);
    EXPECT_EQ(ring.Count(), 1);
}

TEST(CardRingAppend, StoresACopy) {
    tVokListe ring;
    tVokabel card = Card("a");
    ring.Append(card);
    card.SetTexts("changed", "changed");
    EXPECT_NE(ring.Head(), &card);
    EXPECT_EQ(ring.Head()->Question(), "a");
}

TEST(CardRingWalk, HandsOutCountCardsInOrder) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c"});
    EXPECT_EQ(Questions(ring), (Names{"a", "b", "c"}));
    // The walk stops after Count cards and stays stopped.
    EXPECT_EQ(ring.Next(), nullptr);
    EXPECT_EQ(ring.Next(), nullptr);
}

TEST(CardRingWalk, EmptyRingGivesNothing) {
    tVokListe ring;
    EXPECT_EQ(ring.Head(), nullptr);
    EXPECT_EQ(ring.First(), nullptr);
    EXPECT_EQ(ring.Next(), nullptr);
    EXPECT_EQ(ring.Rotate(), nullptr);
    ring.DropHead();
    EXPECT_EQ(ring.Count(), 0);
}

TEST(CardRingRotate, HeadBecomesLast) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c"});  // [a, b, c]
    EXPECT_EQ(ring.Rotate()->Question(), "b");
    EXPECT_EQ(Questions(ring), (Names{"b", "c", "a"}));
    ring.Append(Card("d"));  // appended after the tail "a"
    EXPECT_EQ(Questions(ring), (Names{"b", "c", "a", "d"}));
}

TEST(CardRingDropHead, TwoCardRingLeavesSecondAsHeadAndTail) {
    tVokListe ring;
    AppendAll(ring, {"a", "b"});
    ring.DropHead();  // [b]
    EXPECT_EQ(ring.Count(), 1);
    EXPECT_EQ(ring.Head()->Question(), "b");
    EXPECT_EQ(ring.Rotate()->Question(), "b");
    ring.Append(Card("c"));
    EXPECT_EQ(Questions(ring), (Names{"b", "c"}));
}

TEST(CardRingDropHead, OneCardRingBecomesEmpty) {
    tVokListe ring;
    ring.Append(Card("a"));
    ring.DropHead();
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_EQ(ring.Head(), nullptr);
    ring.Append(Card("b"));
    EXPECT_EQ(Questions(ring), (Names{"b"}));
}

TEST(CardRingRemove, TailThenAppendKeepsOrder) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c"});
    tVokabel* tail = ring.First();
    tail = ring.Next();
    tail = ring.Next();
    ASSERT_TRUE(ring.Remove(tail));  // [a, b]
    ring.Append(Card("d"));          // [a, b, d]
    EXPECT_EQ(Questions(ring), (Names{"a", "b", "d"}));
    EXPECT_EQ(ring.Count(), 3);
}

TEST(CardRingRemove, HeadMovesHeadOn) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c"});
    ASSERT_TRUE(ring.Remove(ring.Head()));  // [b, c]
    EXPECT_EQ(ring.Head()->Question(), "b");
    ring.Append(Card("d"));
    EXPECT_EQ(Questions(ring), (Names{"b", "c", "d"}));
}

TEST(CardRingRemove, MiddleCard) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c"});
    ring.First();
    ASSERT_TRUE(ring.Remove(ring.Next()));  // [a, c]
    EXPECT_EQ(Questions(ring), (Names{"a", "c"}));
    EXPECT_EQ(ring.Rotate()->Question(), "c");
    EXPECT_EQ(ring.Rotate()->Question(), "a");
}

TEST(CardRingRemove, OnlyCardEmptiesTheRing) {
    tVokListe ring;
    ring.Append(Card("a"));
    ASSERT_TRUE(ring.Remove(ring.Head()));
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_EQ(ring.Head(), nullptr);
    ring.Append(Card("b"));
    EXPECT_EQ(Questions(ring), (Names{"b"}));
}

TEST(CardRingRemove, EqualCopyIsNotTheStoredCard) {
    tVokListe ring;
    AppendAll(ring, {"a", "b"});
    const tVokabel copy = *ring.Head();
    EXPECT_FALSE(ring.Remove(&copy));
    EXPECT_EQ(Questions(ring), (Names{"a", "b"}));
}

TEST(CardRingRemove, CardOfAnotherRingIsNotFound) {
    tVokListe ring;
    tVokListe other;
    AppendAll(ring, {"a"});
    AppendAll(other, {"a"});
    EXPECT_FALSE(ring.Remove(other.Head()));
    EXPECT_FALSE(tVokListe().Remove(other.Head()));
    EXPECT_EQ(ring.Count(), 1);
}

TEST(CardRingRemoveAll, DeletesTheGivenCardsInOnePass) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c", "d", "e"});
    std::vector<const tVokabel*> doomed;
    ring.First();
    doomed.push_back(ring.Head());  // a, the head
    ring.Next();
    doomed.push_back(ring.Next());  // c
    ring.Next();
    doomed.push_back(ring.Next());  // e, the tail
    tVokListe other;
    other.Append(Card("x"));
    doomed.push_back(other.Head());  // not in this ring
    EXPECT_EQ(ring.RemoveAll(doomed), 3);
    EXPECT_EQ(Questions(ring), (Names{"b", "d"}));
    ring.Append(Card("f"));
    EXPECT_EQ(Questions(ring), (Names{"b", "d", "f"}));
    EXPECT_EQ(ring.Rotate()->Question(), "d");
}

TEST(CardRingRemoveAll, EveryCardEmptiesTheRing) {
    tVokListe ring;
    AppendAll(ring, {"a", "b"});
    ring.First();
    const std::vector<const tVokabel*> all = {ring.Head(), ring.Next()};
    EXPECT_EQ(ring.RemoveAll(all), 2);
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_EQ(ring.Head(), nullptr);
    ring.Append(Card("c"));
    EXPECT_EQ(Questions(ring), (Names{"c"}));
    EXPECT_EQ(tVokListe().RemoveAll(all), 0);
}

TEST(CardRingFind, FirstMatchFromTheHead) {
    tVokListe ring;
    ring.Append(Card("Bank", "bench"));
    ring.Append(Card("Haus", "house"));
    ring.Append(Card("Bank", "bank"));
    EXPECT_EQ(ring.FindSameQuestionOrAnswer(Card("Bank", "x")), ring.Head());
    EXPECT_EQ(ring.FindSameQuestionOrAnswer(Card("x", "house"))->Question(), "Haus");
    EXPECT_EQ(ring.FindSameCard(Card("Bank", "bank"))->Answer(), "bank");
    EXPECT_EQ(ring.FindSameCard(Card("Bank", "house")), nullptr);
    EXPECT_EQ(ring.FindSameQuestionOrAnswer(Card("bank", "House")), nullptr);
}

TEST(CardRingShuffle, FewerThanThreeCardsStayInOrder) {
    tVokListe ring;
    AppendAll(ring, {"a", "b"});
    for (std::uint64_t seed = 0; seed < 20; ++seed) {
        ring.ShuffleWithSeed(seed);
        EXPECT_EQ(Questions(ring), (Names{"a", "b"}));
    }
}

TEST(CardRingShuffle, KeepsTheSameCards) {
    tVokListe ring;
    Names names;
    for (int i = 0; i < 50; ++i) {
        names.push_back("card" + std::to_string(i));
    }
    AppendAll(ring, names);
    ring.Shuffle();
    Names shuffled = Questions(ring);
    EXPECT_EQ(ring.Count(), 50);
    EXPECT_NE(shuffled, names);
    std::sort(shuffled.begin(), shuffled.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(shuffled, names);
    // The ring is still well formed: append goes last.
    ring.Append(Card("new"));
    EXPECT_EQ(Questions(ring).back(), "new");
}

TEST(CardRingShuffle, SameSeedSamePermutation) {
    tVokListe first;
    tVokListe second;
    AppendAll(first, {"a", "b", "c", "d", "e", "f"});
    AppendAll(second, {"a", "b", "c", "d", "e", "f"});
    first.ShuffleWithSeed(1234);
    second.ShuffleWithSeed(1234);
    EXPECT_EQ(Questions(first), Questions(second));
}

// A biased shuffle (the classic "swap with any position" mistake, or a modulo draw on a tiny
// range) shows up as permutations far from equally often.
TEST(CardRingShuffle, AllPermutationsOfThreeAboutEquallyOften) {
    std::map<Names, int> seen;
    const int runs = 6000;
    for (int seed = 0; seed < runs; ++seed) {
        tVokListe ring;
        AppendAll(ring, {"a", "b", "c"});
        ring.ShuffleWithSeed(static_cast<std::uint64_t>(seed));
        ++seen[Questions(ring)];
    }
    ASSERT_EQ(seen.size(), 6u);
    for (const auto& [order, times] : seen) {
        EXPECT_GT(times, 850) << order[0] << order[1] << order[2];
        EXPECT_LT(times, 1150) << order[0] << order[1] << order[2];
    }
}

TEST(CardRingMove, HeadMovesWithoutCopyToTheEnd) {
    tVokListe from;
    tVokListe to;
    AppendAll(from, {"a", "b"});
    AppendAll(to, {"x"});
    tVokabel* moved = from.MoveHeadTo(to);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->Question(), "a");
    EXPECT_EQ(Questions(from), (Names{"b"}));
    EXPECT_EQ(Questions(to), (Names{"x", "a"}));
    EXPECT_EQ(tVokListe().MoveHeadTo(to), nullptr);
}

TEST(CardRingMove, HeadToTheSameRingRotates) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c"});
    EXPECT_EQ(ring.MoveHeadTo(ring)->Question(), "a");
    EXPECT_EQ(Questions(ring), (Names{"b", "c", "a"}));
}

TEST(CardRingMove, AllCardsSpliceAfterTheTarget) {
    tVokListe from;
    tVokListe to;
    AppendAll(from, {"a", "b"});
    AppendAll(to, {"x", "y"});
    from.MoveAllTo(to);
    EXPECT_EQ(from.Count(), 0);
    EXPECT_EQ(from.Head(), nullptr);
    EXPECT_EQ(Questions(to), (Names{"x", "y", "a", "b"}));
    to.Append(Card("z"));
    EXPECT_EQ(Questions(to), (Names{"x", "y", "a", "b", "z"}));

    tVokListe empty;
    to.MoveAllTo(empty);
    EXPECT_EQ(Questions(empty), (Names{"x", "y", "a", "b", "z"}));
    EXPECT_EQ(to.Count(), 0);
}

}  // namespace
}  // namespace tallyfold

namespace tallyfold {
namespace {

TEST(RingPlaces, AnyOrderOfReadsFindsTheCardAtThePlace) {
    tVokListe ring;
    std::vector<const tVokabel*> cards;
    for (int i = 0; i < 10000; ++i) {
        cards.push_back(ring.Append(testing::Card("c" + std::to_string(i))));
    }
    tVokListe::Places places(ring);
    std::mt19937 random(3);
    for (int read = 0; read < 2000; ++read) {
        // Runs down the list as a view draws it, with jumps up and down between them.
        const auto start = static_cast<std::int32_t>(random() % 10000);
        for (std::int32_t place = start; place < std::min(start + 20, 10000); ++place) {
            ASSERT_EQ(places.At(place), cards[static_cast<std::size_t>(place)]) << place;
        }
    }
    EXPECT_EQ(places.At(-1), nullptr);
    EXPECT_EQ(places.At(10000), nullptr);
    tVokListe empty;
    tVokListe::Places none(empty);
    EXPECT_EQ(none.At(0), nullptr);
}

#ifndef NDEBUG
// Reading places of a ring that changed meanwhile is the caller's fault: a build with its
// checks stops there rather than hand out a card from a stale walk.
TEST(CardRingPlacesDeathTest, AReadAfterTheRingChangedStops) {
    tVokListe ring;
    AppendAll(ring, {"a", "b", "c"});
    tVokListe::Places places(ring);
    ASSERT_NE(places.At(1), nullptr);
    ring.Append(Card("d"));
    EXPECT_DEATH(static_cast<void>(places.At(1)), "the ring changed while its places were read");
}
#endif

}  // namespace
}  // namespace tallyfold
