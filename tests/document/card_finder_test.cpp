#include "document/card_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/cards.h"
#include "text/folding.h"

namespace tallyfold {
namespace {

using testing::Card;
using Lines = std::vector<std::string>;

Lines Questions(const CardFinder& finder) {
    Lines lines;
    for (int line = 0; line < finder.Shown(); ++line) {
        lines.push_back(finder.Cell(line, CardColumn::Question));
    }
    return lines;
}

// A box with cards in several partitions and the input stack, in Latin, Cyrillic, Greek,
// Chinese and Japanese.
class CardFinderTest : public ::testing::Test {
  protected:
    CardFinderTest() {
        box.AddToPartition(Card("\xC3\x84pfel", "apples", 3, 1), 1);  // Äpfel
        box.AddToPartition(Card("Stra\xC3\x9F"
                                "e",
                                "street", 0, 4),
                           1);  // Straße
        box.AddToPartition(Card("\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0", "book", 1, 1), 3);
        box.AddToPartition(Card("\xCE\x8C\xCE\xBC\xCE\xB7\xCF\x81\xCE\xBF\xCF\x82", "Homer", 5, 0),
                           3);                                                // Όμηρος
        box.AddToPartition(Card("\xE6\x9C\xAC", "book (Chinese)", 2, 2), 7);  // 本
        box.AddToInput(Card("\xE3\x81\xB2\xE3\x82\x89\xE3\x81\x8C\xE3\x81\xAA", "hiragana"));
        box.AddToInput(Card("apfel", "apple"));
    }
    tCardBox box;
};

TEST_F(CardFinderTest, EveryCardInTheBoxsOrderWithItsCells) {
    const CardFinder finder(box);
    EXPECT_EQ(finder.Total(), 7);
    EXPECT_EQ(finder.Shown(), 7);
    EXPECT_EQ(finder.Cell(0, CardColumn::Question), "\xC3\x84pfel");
    EXPECT_EQ(finder.Cell(0, CardColumn::Answer), "apples");
    EXPECT_EQ(finder.Cell(0, CardColumn::Partition), "1");
    EXPECT_EQ(finder.Cell(0, CardColumn::Known), "3");
    EXPECT_EQ(finder.Cell(0, CardColumn::Unknown), "1");
    EXPECT_EQ(finder.Cell(4, CardColumn::Partition), "7");
    EXPECT_EQ(finder.Cell(6, CardColumn::Partition), "Input");
    EXPECT_EQ(finder.Cell(6, CardColumn::Question), "apfel");
    EXPECT_EQ(finder.PartitionAt(6), tCardBox::kInputStack);
    EXPECT_EQ(finder.PlaceAt(6), 1) << "the second card of the input stack";
    EXPECT_EQ(finder.PlaceAt(3), 1);
    EXPECT_EQ(finder.PlaceAt(4), 0);
    const tVokabel* wanted[] = {&finder.CardAt(5), &finder.CardAt(1), nullptr};
    EXPECT_EQ(finder.LinesOf(wanted), (std::vector<int>{1, 5}));
}

// Case and accents do not count by default, in every script; the strict search matches bytes.
TEST_F(CardFinderTest, TheSearchIgnoresCaseAndAccentsUnlessStrict) {
    CardFinder finder(box);
    finder.SetQuery("APF", false);
    EXPECT_EQ(Questions(finder), (Lines{"\xC3\x84pfel", "apfel"}));
    finder.SetQuery("strasse", false);
    EXPECT_EQ(Questions(finder), (Lines{"Stra\xC3\x9F"
                                        "e"}));
    finder.SetQuery("\xD0\xBA\xD0\x9D\xD0\x98\xD0\x93", false);  // кНИГ
    EXPECT_EQ(Questions(finder), (Lines{"\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0"}));
    finder.SetQuery("\xCE\xBF\xCE\xBC\xCE\x97\xCE\xA1\xCE\x9F\xCE\xA3", false);  // ομΗΡΟΣ
    EXPECT_EQ(finder.Shown(), 1);
    finder.SetQuery("\xE6\x9C\xAC", false);  // 本
    EXPECT_EQ(Questions(finder), (Lines{"\xE6\x9C\xAC"}));
    finder.SetQuery("\xE3\x82\x89\xE3\x81\x8C", false);  // らが
    EXPECT_EQ(finder.Shown(), 1);
    finder.SetQuery("book", false);  // answers count too
    EXPECT_EQ(finder.Shown(), 2);
    finder.SetQuery("", false);
    EXPECT_EQ(finder.Shown(), 7);

    finder.SetQuery("apf", true);
    EXPECT_EQ(Questions(finder), (Lines{"apfel"}));
    finder.SetQuery("\xC3\x84", true);
    EXPECT_EQ(Questions(finder), (Lines{"\xC3\x84pfel"}));
    finder.SetQuery("strasse", true);
    EXPECT_EQ(finder.Shown(), 0);
}

TEST_F(CardFinderTest, APartitionFilterGoesWithTheSearch) {
    CardFinder finder(box);
    finder.SetPartition(3);
    EXPECT_EQ(finder.Shown(), 2);
    finder.SetPartition(tCardBox::kInputStack);
    EXPECT_EQ(Questions(finder),
              (Lines{"\xE3\x81\xB2\xE3\x82\x89\xE3\x81\x8C\xE3\x81\xAA", "apfel"}));
    finder.SetQuery("apfel", false);
    EXPECT_EQ(Questions(finder), (Lines{"apfel"}));
    finder.SetPartition(0);
    EXPECT_EQ(finder.Shown(), 2);
}

// A sort by a column, either way; equal keys keep the box's order in both directions.
TEST_F(CardFinderTest, SortsKeepTheBoxsOrderForEqualKeys) {
    CardFinder finder(box);
    finder.SortBy(CardColumn::Question, false);
    // "apfel" and its capital with umlaut compare equal as the search compares them; their
    // bytes decide then.
    EXPECT_EQ(Questions(finder)[0], "apfel");
    EXPECT_EQ(Questions(finder)[1], "\xC3\x84pfel");
    EXPECT_EQ(Questions(finder)[2],
              "Stra\xC3\x9F"
              "e");
    finder.SortBy(CardColumn::Known, true);
    EXPECT_EQ(finder.Cell(0, CardColumn::Known), "5");
    // Known 0 twice: Straße (partition 1) before ひらがな (input) before apfel (input).
    EXPECT_EQ(Questions(finder)[4],
              "Stra\xC3\x9F"
              "e");
    EXPECT_EQ(Questions(finder)[5], "\xE3\x81\xB2\xE3\x82\x89\xE3\x81\x8C\xE3\x81\xAA");
    EXPECT_EQ(Questions(finder)[6], "apfel");
    finder.SortBy(CardColumn::Partition, true);
    EXPECT_EQ(finder.Cell(0, CardColumn::Partition), "Input");
    EXPECT_EQ(Questions(finder)[0], "\xE3\x81\xB2\xE3\x82\x89\xE3\x81\x8C\xE3\x81\xAA");
    EXPECT_EQ(finder.Cell(6, CardColumn::Partition), "1");
    EXPECT_EQ(Questions(finder)[5], "\xC3\x84pfel");
    // The sort holds through a search and a reload.
    finder.SetQuery("apf", false);
    EXPECT_EQ(Questions(finder), (Lines{"apfel", "\xC3\x84pfel"}));
    tVokabel extra = Card("Apfelbaum", "apple tree");
    box.AddToPartition(extra, 2);
    finder.Reload();
    EXPECT_EQ(Questions(finder), (Lines{"apfel", "Apfelbaum", "\xC3\x84pfel"}));
    finder.Unsort();
    EXPECT_EQ(Questions(finder), (Lines{"\xC3\x84pfel", "Apfelbaum", "apfel"}));
    const tVokabel* second = &finder.CardAt(1);
    EXPECT_EQ(finder.LinesOf(std::span(&second, 1)), (std::vector<int>{1}));
    const tVokabel* none = nullptr;
    EXPECT_TRUE(finder.LinesOf(std::span(&none, 1)).empty());
}

// Typing on searches only the cards shown; every step must show what a fresh search shows, also
// after a character taken back, a change of the check box, a partition, and in a sort.
TEST_F(CardFinderTest, TypingOnShowsWhatAFreshSearchShows) {
    CardFinder typed(box);
    typed.SortBy(CardColumn::Answer, true);
    struct Step {
        std::string query;
        bool strict;
        int partition;
    };
    const std::vector<Step> steps = {{"a", false, 0},   {"ap", false, 0},   {"app", false, 0},
                                     {"ap", false, 0},  {"apf", false, 0},  {"apf", true, 0},
                                     {"apfe", true, 0}, {"Apfe", false, 0}, {"b", false, 3},
                                     {"bo", false, 3},  {"boo", false, 0},  {"", false, 0},
                                     {"Ã", true, 0}, {"Ãp", false, 0}};
    for (const Step& step : steps) {
        typed.SetPartition(step.partition);
        typed.SetQuery(step.query, step.strict);
        CardFinder fresh(box);
        fresh.SortBy(CardColumn::Answer, true);
        fresh.SetPartition(step.partition);
        fresh.SetQuery(step.query, step.strict);
        EXPECT_EQ(Questions(typed), Questions(fresh))
            << step.query << (step.strict ? " strict" : "") << " in " << step.partition;
    }
}

// Every search of a large box, sorted, shows the lines a fold of every text gives, in the order
// asked.
TEST(CardFinderLargeBoxTest, ASearchGivesTheLinesAFoldOfEveryTextGivesInOrder) {
    tCardBox box;
    for (int i = 0; i < 70000; ++i) {
        const std::string question = (i % 7 == 0   ? "\xC3\x84"
                                      : i % 3 == 0 ? "A"
                                                   : "e") +
                                     std::string("b ") + std::to_string(i);
        box.AddToPartition(Card(question, i % 5 == 0 ? "\xC3\x9F" : "x"), 1 + i % 8);
    }
    const std::vector<std::string> queries = {"AB", "b", "7", "\xC3\xA4", "ss", "a", "ab 7", "q"};
    CardFinder finder(box);
    finder.SortBy(CardColumn::Question, true);
    std::vector<std::string> all;
    std::vector<std::string> answers;
    for (int line = 0; line < finder.Shown(); ++line) {
        all.push_back(finder.Cell(line, CardColumn::Question));
        answers.push_back(finder.Cell(line, CardColumn::Answer));
    }
    for (const std::string& query : queries) {
        const std::string folded = unicode::FoldForSearch(query);
        std::vector<std::string> expected;
        for (std::size_t line = 0; line < all.size(); ++line) {
            if (unicode::FoldForSearch(all[line]).find(folded) != std::string::npos ||
                unicode::FoldForSearch(answers[line]).find(folded) != std::string::npos) {
                expected.push_back(all[line]);
            }
        }
        finder.SetQuery(query, false);
        EXPECT_EQ(Questions(finder), expected) << query;
    }
    finder.SetQuery(
        "\xC3\xA4"
        "b",
        true);
    EXPECT_TRUE(Questions(finder).empty()) << "the strict search keeps the capital";
}

}  // namespace
}  // namespace tallyfold
