// The day history as the document keeps it: counted with every verdict on the day it is given,
// taken back with it, saved beside the box and read with it, journaled with the box's changes.

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "document/day_history_file.h"
#include "document/document.h"
#include "files/vok_file.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::Fill;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

DayNumber Day(int year, int month, int day) {
    return DayOf({year, month, day});
}

// Noon of a day by the local clock: the same day in every time zone's rules.
std::time_t NoonOf(DayNumber day) {
    const CalendarDate date = DateOf(day);
    std::tm local{};
    local.tm_year = date.year - 1900;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

class DayHistoryDocumentTest : public ::testing::Test {
  protected:
    DayHistoryDocumentTest() {
        testing::UseUserFoldersIn(FilePath(dir.Path()));
        std::filesystem::create_directories(journals.Bytes());
        tCardBox cards;
        Fill(cards, 1, 2, "a");
        cards.AddToPartition(Card("f", "", 5, 0), 6);
        Fill(cards, tCardBox::kInputStack, 3, "i");
        // Answered before: back in the input stack, but no new card.
        cards.AddToPartition(Card("old", "", 1, 2), tCardBox::kInputStack);
        EXPECT_TRUE(SaveVokFile(path, cards));
        Start(document);
    }

    void Start(Document& which) {
        which.SetJournalFolder(journals);
        which.SetClock([this] { return NoonOf(today); });
        EXPECT_TRUE(which.Open(path).opened);
    }

    // A verdict, as the learning session gives it: the card is chosen, then judged.
    void Verdict(bool known, Document& which) {
        const Document::Step step(which, known ? StepName::Known : StepName::Unknown);
        int number = 0;
        static_cast<void>(which.ChooseNext(false, number));
        if (known) {
            which.Known();
        } else {
            which.Unknown();
        }
    }
    void Verdict(bool known) { Verdict(known, document); }

    TempDir dir;
    FilePath journals = dir.File("journals");
    FilePath path = dir.File("words.vok");
    DayNumber today = Day(2026, 12, 11);
    tCardBox box;
    Document document{box};
};

TEST_F(DayHistoryDocumentTest, VerdictsNewCardsAndLearntCardsCountOnTheirDay) {
    EXPECT_TRUE(document.Days().Empty());
    Verdict(true);   // a1 to partition 2
    Verdict(false);  // a2 stays in partition 1
    today += 1;
    Verdict(true);  // a2 to partition 2; partition 1 is empty now
    // The next choice refills partition 1 with the input stack: three new cards and one that
    // was answered before.
    Verdict(false);
    EXPECT_EQ(document.Days().On(Day(2026, 12, 11)), (DayCounts{1, 1, 0, 0}));
    EXPECT_EQ(document.Days().On(Day(2026, 12, 12)), (DayCounts{1, 1, 3, 0}));
    EXPECT_EQ(document.Today(), Day(2026, 12, 12));

    // A card known in partition 6 reaches the last one.
    tCardBox high;
    high.AddToPartition(Card("f", "", 5, 0), 6);
    const FilePath other = dir.File("high.vok");
    ASSERT_TRUE(SaveVokFile(other, high));
    ASSERT_TRUE(document.Open(other).opened);
    Verdict(true);
    EXPECT_EQ(document.Days().On(today), (DayCounts{1, 0, 0, 1}));
}

TEST_F(DayHistoryDocumentTest, AnUndoneVerdictLeavesTheDayItCountedIn) {
    Verdict(true);
    today += 1;
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.Days().Empty());
    ASSERT_TRUE(document.Redo());
    EXPECT_EQ(document.Days().On(Day(2026, 12, 11)), (DayCounts{1, 0, 0, 0}));
    EXPECT_EQ(document.Days().On(today), DayCounts{});
}

TEST_F(DayHistoryDocumentTest, TheHistoryIsSavedBesideTheBoxReadWithItAndFollowsSaveAs) {
    Verdict(true);
    ASSERT_TRUE(document.Save());
    EXPECT_FALSE(document.HistoryUnsaved());
    const FilePath beside = dir.File("words.history");
    EXPECT_EQ(DayHistoryFileName(path), beside);
    EXPECT_EQ(ReadBytes(beside), "Tallyfold day history 1\n2026-12-11 1 0 0 0\n");

    Verdict(true);
    const FilePath copy = dir.File("copy.vok");
    ASSERT_TRUE(document.Save(copy));
    EXPECT_EQ(ReadBytes(dir.File("copy.history")), "Tallyfold day history 1\n2026-12-11 2 0 0 0\n");
    EXPECT_EQ(ReadBytes(beside), "Tallyfold day history 1\n2026-12-11 1 0 0 0\n")
        << "the old file keeps the history it was saved with";

    tCardBox other;
    Document again(other);
    Start(again);
    EXPECT_EQ(again.Days().On(today), (DayCounts{1, 0, 0, 0}));
    // A box that was never learnt on gets no history file.
    tCardBox fresh;
    const FilePath unlearnt = dir.File("fresh.vok");
    ASSERT_TRUE(SaveVokFile(unlearnt, fresh));
    ASSERT_TRUE(again.Open(unlearnt).opened);
    EXPECT_TRUE(again.Days().Empty());
    ASSERT_TRUE(again.Save());
    EXPECT_FALSE(std::filesystem::exists(dir.File("fresh.history").Bytes()));
}

TEST_F(DayHistoryDocumentTest, ADamagedHistoryIsSetAsideAndCountingStartsAgain) {
    const FilePath beside = dir.File("words.history");
    WriteBytes(beside, "Tallyfold day history 1\n2026-12-11 one 0 0 0\n");
    tCardBox other;
    Document again(other);
    Start(again);
    EXPECT_EQ(other.TotalCards(), 7) << "the box opens all the same";
    EXPECT_TRUE(again.Days().Empty());
    const std::optional<FilePath> aside = again.TakeDamagedHistory();
    ASSERT_TRUE(aside.has_value());
    EXPECT_EQ(*aside, dir.File("words.history.damaged"));
    EXPECT_EQ(ReadBytes(*aside), "Tallyfold day history 1\n2026-12-11 one 0 0 0\n");
    EXPECT_FALSE(again.TakeDamagedHistory().has_value()) << "told once";
    Verdict(true, again);
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(ReadBytes(beside), "Tallyfold day history 1\n2026-12-11 1 0 0 0\n");

    // One that cannot be written does not keep the cards from being saved.
    std::filesystem::remove(beside.Bytes());
    std::filesystem::create_directories(beside.Bytes());
    Verdict(true, again);
    EXPECT_TRUE(again.Save());
    EXPECT_TRUE(again.HistoryUnsaved());
    EXPECT_FALSE(again.Changed());
}

TEST_F(DayHistoryDocumentTest, AKilledRunsDaysComeBackWithItsCardsOnTheirOwnDays) {
    {
        tCardBox killed;
        Document run(killed);
        Start(run);
        Verdict(true, run);
        Verdict(false, run);
        // The run ends without Close, as a crash ends it: its journal stays.
    }
    today += 2;
    tCardBox other;
    Document again(other);
    Start(again);
    const std::optional<Recovery> recovery = again.FindRecovery(path);
    ASSERT_TRUE(recovery.has_value());
    ASSERT_TRUE(again.Restore(*recovery));
    EXPECT_EQ(again.Days().On(Day(2026, 12, 11)), (DayCounts{1, 1, 0, 0}));
    EXPECT_EQ(again.Days().Days().size(), 1U);
    // The restored verdicts are steps as before: undo takes the last out of its day.
    ASSERT_TRUE(again.Undo());
    EXPECT_EQ(again.Days().On(Day(2026, 12, 11)), (DayCounts{1, 0, 0, 0}));
}

TEST_F(DayHistoryDocumentTest, AnUndoPastTheJournalsStartBringsTheDaysBackThroughItsSnapshot) {
    Verdict(true);
    ASSERT_TRUE(document.Save());
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.Days().Empty());
    tCardBox other;
    Document again(other);
    Start(again);
    EXPECT_EQ(again.Days().On(today), (DayCounts{1, 0, 0, 0})) << "as saved";
    const std::optional<Recovery> recovery = again.FindRecovery(path);
    ASSERT_TRUE(recovery.has_value());
    ASSERT_TRUE(again.Restore(*recovery));
    EXPECT_TRUE(again.Days().Empty()) << "as the undo left them";
}

TEST_F(DayHistoryDocumentTest, ANewBoxHasNoDaysAndUndoGivesTheOldOnesBack) {
    Verdict(true);
    {
        const Document::Step step(document, StepName::New);
        document.ClearAll();
    }
    EXPECT_TRUE(document.Days().Empty());
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.Days().On(today), (DayCounts{1, 0, 0, 0}));
    ASSERT_TRUE(document.Redo());
    EXPECT_TRUE(document.Days().Empty());
}

}  // namespace
}  // namespace tallyfold
