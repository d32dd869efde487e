#include "document/box_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "document/document.h"
#include "tests/support/box_state.h"
#include "tests/support/cards.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::Fill;

TEST(BoxStatistics, EachPartitionAgainstItsRoomAndTheTotals) {
    tCardBox box;
    Fill(box, 1, 12, "a");
    Fill(box, 2, 3, "b");
    box.AddToPartition(Card("z1", "", 6, 2), 7);
    box.AddToPartition(Card("z2", "", 7, 0), 7);
    Fill(box, tCardBox::kInputStack, 5, "i");
    const BoxStatistics statistics = StatisticsOf(box);
    ASSERT_EQ(statistics.partitions.size(), 8U);
    const std::vector<std::int32_t> rooms = {10, 20, 40, 80, 160, 320, 0, 0};
    for (std::size_t place = 0; place < 8; ++place) {
        EXPECT_EQ(statistics.partitions[place].number, static_cast<int>(place) + 1);
        EXPECT_EQ(statistics.partitions[place].capacity, rooms[place]) << place;
    }
    EXPECT_EQ(statistics.partitions[0].cards, 12);
    EXPECT_TRUE(statistics.partitions[0].Over());
    EXPECT_FALSE(statistics.partitions[1].Over());
    EXPECT_FALSE(statistics.partitions[6].Over()) << "the last partition has no limit";
    EXPECT_EQ(statistics.totals.cards, 22);
    EXPECT_EQ(statistics.totals.waiting, 5);
    EXPECT_EQ(statistics.totals.learnt, 2);
    EXPECT_EQ(statistics.totals.known, 13);
    EXPECT_EQ(statistics.totals.unknown, 2);
    EXPECT_EQ(statistics.totals.PercentRight(), 87) << "13 of 15, rounded";
    EXPECT_FALSE(StatisticsOf(tCardBox()).totals.PercentRight().has_value());
}

TEST(BoxStatistics, TheHardestCardsByUnknownsThenShareThenPlace) {
    tCardBox box;
    box.AddToPartition(Card("never", "", 9, 0), 3);
    box.AddToPartition(Card("three of four", "", 1, 3), 2);
    box.AddToPartition(Card("three of five", "", 2, 3), 1);
    box.AddToPartition(Card("five", "", 10, 5), 4);
    box.AddToPartition(Card("three of four, later", "", 1, 3), tCardBox::kInputStack);
    const BoxStatistics statistics = StatisticsOf(box, 3);
    std::vector<std::string> order;
    for (const HardCard& hard : statistics.hardest) {
        order.emplace_back(hard.card->Question());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"five", "three of four", "three of four, later"}));
    EXPECT_EQ(statistics.hardest.front().partition, 4);
    EXPECT_TRUE(StatisticsOf(box, 0).hardest.empty());
    EXPECT_EQ(StatisticsOf(box).hardest.size(), 4U) << "a card never unknown is not hard";
}

TEST(BoxStatistics, TheHardestOfManyAreThoseAFullSortFinds) {
    tCardBox box;
    std::mt19937 random(7);
    for (int card = 0; card < 3000; ++card) {
        box.AddToPartition(
            Card("c" + std::to_string(card), "", static_cast<std::int32_t>(random() % 8),
                 static_cast<std::int32_t>(random() % 12)),
            1 + static_cast<int>(random() % 8));
    }
    struct Entry {
        std::string question;
        std::int32_t known;
        std::int32_t unknown;
        std::int64_t place;
    };
    std::vector<Entry> all;
    box.ForEachCard([&all](const tVokabel& card, int) {
        if (card.unknownCount > 0) {
            all.push_back({std::string(card.Question()), card.knownCount, card.unknownCount,
                           static_cast<std::int64_t>(all.size())});
        }
        return true;
    });
    std::stable_sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) {
        if (a.unknown != b.unknown) {
            return a.unknown > b.unknown;
        }
        return a.known < b.known;
    });
    const BoxStatistics statistics = StatisticsOf(box);
    ASSERT_EQ(statistics.hardest.size(), 20U);
    for (std::size_t place = 0; place < 20; ++place) {
        EXPECT_EQ(statistics.hardest[place].card->Question(), all[place].question) << place;
    }
}

TEST(BoxStatistics, TheLastDaysEndToday) {
    DayHistory days;
    const DayNumber today = DayOf({2026, 3, 1});
    days.Add({today, {4, 1, 0, 0}});
    days.Add({today - 1, {2, 0, 0, 0}});
    days.Add({today - 30, {9, 9, 0, 0}});
    const std::vector<DayCounts> last = LastDays(days, today, 30);
    ASSERT_EQ(last.size(), 30U);
    EXPECT_EQ(last.back(), (DayCounts{4, 1, 0, 0}));
    EXPECT_EQ(last[28], (DayCounts{2, 0, 0, 0})) << "2026-02-28, across the month's end";
    EXPECT_EQ(last.front(), DayCounts{}) << "the 30th day back is not among them";
}

TEST(BoxStatistics, TheHardestGoToTheEndOfPartitionOneInOneStep) {
    tCardBox box;
    Fill(box, 1, 2, "a");
    box.AddToPartition(Card("hard", "", 0, 4), 3);
    box.AddToPartition(Card("harder", "", 0, 6), 5);
    box.AddToPartition(Card("in one", "", 0, 1), 1);
    Document document(box);
    const testing::BoxState before = testing::StateOf(box);
    const BoxStatistics statistics = StatisticsOf(box);
    std::vector<const tVokabel*> cards;
    for (const HardCard& hard : statistics.hardest) {
        cards.push_back(hard.card);
    }
    {
        const Document::Step step(document, StepName::MoveCards);
        document.MoveCardsToEnd(cards, 1);
    }
    EXPECT_EQ(testing::Questions(box, 1),
              (std::vector<std::string>{"a1", "a2", "in one", "harder", "hard"}));
    EXPECT_EQ(box.CardsIn(3), 0);
    EXPECT_EQ(document.UndoTitle(), "Move 2 cards");
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(testing::StateOf(box), before);
}

}  // namespace
}  // namespace tallyfold
