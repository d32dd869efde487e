#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/statistics_charts.h"
#include "tests/support/app_fixture.h"

namespace tallyfold {
namespace {

using platform::Picture;
using platform::PictureColour;
using platform::PictureRectangle;
using platform::PictureText;
using platform::headless::HeadlessDialog;
using testing::AppTest;
using testing::Card;
using testing::Fill;

// The rectangles of a picture in a colour, and its texts.
std::vector<PictureRectangle> Bars(const Picture& picture, PictureColour colour) {
    std::vector<PictureRectangle> bars;
    for (const auto& shape : picture.shapes) {
        if (const auto* bar = std::get_if<PictureRectangle>(&shape);
            bar != nullptr && bar->colour == colour && !bar->frameOnly) {
            bars.push_back(*bar);
        }
    }
    return bars;
}

std::vector<std::string> Texts(const Picture& picture) {
    std::vector<std::string> texts;
    for (const auto& shape : picture.shapes) {
        if (const auto* text = std::get_if<PictureText>(&shape)) {
            texts.push_back(text->text);
        }
    }
    return texts;
}

class StatisticsWindowTest : public AppTest {
  protected:
    // A box learned on: partition 1 over its room, a few cards above, some learnt, some
    // waiting; a card not known often in partition 3.
    void StartOnALearnedBox() {
        tCardBox saved;
        Fill(saved, 1, 12, "a");
        Fill(saved, 2, 3, "b");
        saved.AddToPartition(Card("Haus", "house", 1, 4), 3);
        saved.AddToPartition(Card("z1", "", 6, 2), 7);
        saved.AddToPartition(Card("z2", "", 7, 0), 7);
        Fill(saved, tCardBox::kInputStack, 5, "i");
        Start(SaveBox(saved));
    }

    // Opens the window with its key and runs `script` in it; the window is closed after.
    void WithStatistics(const std::function<void(HeadlessDialog&)>& script) {
        backend.ExpectDialog(ids::kStatisticsDialog, [&script](HeadlessDialog& statistics) {
            script(statistics);
            statistics.PressEscape();
        });
        ASSERT_TRUE(frame->PressShortcut("Ctrl+T"));
    }
};

TEST_F(StatisticsWindowTest, TheBoxsBarsStandForItsPartitionsAgainstTheirRoom) {
    StartOnALearnedBox();
    WithStatistics([](HeadlessDialog& statistics) {
        EXPECT_EQ(statistics.Caption(), "Statistics");
        const auto* control = statistics.Peer().Find(ids::kStatsBox);
        ASSERT_NE(control, nullptr);
        const Picture& picture = control->picture;
        EXPECT_EQ(picture.width, control->rect.width);
        const std::vector<PictureRectangle> over = Bars(picture, PictureColour::Over);
        const std::vector<PictureRectangle> filled = Bars(picture, PictureColour::Accent);
        const std::vector<PictureRectangle> learnt = Bars(picture, PictureColour::Known);
        ASSERT_EQ(over.size(), 1U) << "partition 1 is over its room";
        ASSERT_EQ(filled.size(), 3U) << "partitions 2 and 3 and the input stack";
        ASSERT_EQ(learnt.size(), 1U);
        // Partition 2 holds 3 of 20: its bar is 3/20 of partition 1's full one.
        const int room = over.front().rect.height;
        EXPECT_EQ(filled[0].rect.height, room * 3 / 20);
        EXPECT_EQ(filled[1].rect.height, room * 1 / 40);
        // Partition 7 (2 cards) and the input stack (5) are measured against each other.
        EXPECT_EQ(filled[2].rect.height, room);
        EXPECT_EQ(learnt.front().rect.height, room * 2 / 5);
        // The bars stand in order, on one line.
        EXPECT_LT(over.front().rect.x, filled[0].rect.x);
        EXPECT_EQ(over.front().rect.y + room, filled[0].rect.y + filled[0].rect.height);
        EXPECT_EQ(Texts(picture),
                  (std::vector<std::string>{"12/10", "1", "3/20", "2", "1/40", "3", "0/80", "4",
                                            "0/160", "5", "0/320", "6", "2", "7", "5", "Input"}));
        EXPECT_EQ(control->accessibleName,
                  "Cards in each partition: partition 1: 12 of 10, over; partition 2: 3 of 20; "
                  "partition 3: 1 of 40; partition 4: 0 of 80; partition 5: 0 of 160; "
                  "partition 6: 0 of 320; partition 7: 2; Input: 5");
        EXPECT_EQ(statistics.Text(ids::kStatsTotals),
                  "23 cards in the box, 5 waiting in the input stack, 2 learnt");
        EXPECT_EQ(statistics.Text(ids::kStatsRight), "Answered right: 70% of 20 answers");
    });
}

TEST_F(StatisticsWindowTest, TheDaysAndTheYearShowWhatWasAnsweredWhen) {
    StartOnALearnedBox();
    const std::time_t now = std::time(nullptr);
    // Two days ago three answers, yesterday none, today two.
    document.SetClock([now] { return now - 2 * 24 * 60 * 60; });
    for (const char key : {'k', 'k', 'k', 'u', 'k', 'k'}) {
        frame->TypeChar(key);
    }
    document.SetClock([now] { return now; });
    for (const char key : {'k', 'u', 'k', 'k'}) {
        frame->TypeChar(key);
    }
    WithStatistics([](HeadlessDialog& statistics) {
        const Picture& days = statistics.Peer().Find(ids::kStatsDays)->picture;
        const std::vector<PictureRectangle> known = Bars(days, PictureColour::Known);
        const std::vector<PictureRectangle> unknown = Bars(days, PictureColour::Unknown);
        ASSERT_EQ(known.size(), 2U);
        ASSERT_EQ(unknown.size(), 2U);
        // The busiest day (3 answers: 2 known, 1 not) fills the room; today (1 and 1) less.
        EXPECT_EQ(known[0].rect.height, 2 * unknown[0].rect.height);
        EXPECT_EQ(known[1].rect.height, unknown[1].rect.height);
        EXPECT_EQ(unknown[1].rect.y + unknown[1].rect.height, known[1].rect.y) << "stacked";
        EXPECT_GT(known[1].rect.x, known[0].rect.x);
        EXPECT_EQ(Texts(days).front(), "3");
        EXPECT_EQ(statistics.Peer().Find(ids::kStatsDays)->accessibleName,
                  "Answers in the last 30 days: 3 known, 2 not known; today 1 known, 1 not known");

        const Picture& year = statistics.Peer().Find(ids::kStatsCalendar)->picture;
        int days365 = 0;
        int shaded = 0;
        for (const auto& shape : year.shapes) {
            if (const auto* cell = std::get_if<PictureRectangle>(&shape)) {
                ++days365;
                shaded += cell->colour == PictureColour::Accent ? 1 : 0;
            }
        }
        EXPECT_EQ(days365, 365);
        EXPECT_EQ(shaded, 2);
        EXPECT_EQ(statistics.Text(ids::kStatsStreak),
                  "2 days with answers in the last year; streak: 1 day, longest: 1 day");
    });
}

TEST_F(StatisticsWindowTest, TheHardestCardsAreAskedNextInOneStep) {
    StartOnALearnedBox();
    WithStatistics([this](HeadlessDialog& statistics) {
        EXPECT_EQ(statistics.Focused(), ids::kStatsHardest);
        ASSERT_EQ(statistics.Peer().LineCount(ids::kStatsHardest), 2);
        EXPECT_EQ(statistics.Cell(ids::kStatsHardest, 0, 0), "Haus");
        EXPECT_EQ(statistics.Cell(ids::kStatsHardest, 0, 1), "house");
        EXPECT_EQ(statistics.Cell(ids::kStatsHardest, 0, 2), "4");
        EXPECT_EQ(statistics.Cell(ids::kStatsHardest, 0, 3), "1");
        EXPECT_EQ(statistics.Cell(ids::kStatsHardest, 1, 0), "z1");
        ASSERT_TRUE(statistics.Click(ids::kStatsAskNext));
        EXPECT_EQ(box.CardsIn(1), 14);
        EXPECT_EQ(box.CardsIn(3), 0);
        EXPECT_EQ(box.CardsIn(7), 1);
        EXPECT_EQ(statistics.Text(ids::kStatsTotals),
                  "23 cards in the box, 5 waiting in the input stack, 1 learnt")
            << "shown anew";
        EXPECT_TRUE(statistics.PressHelpKey());
    });
    ASSERT_EQ(backend.HelpRequests().size(), 1U);
    EXPECT_EQ(backend.HelpRequests().front().context, static_cast<unsigned long>(3700));
    EXPECT_EQ(frame->MenuState(ids::kCmEditUndo).text, "&Undo Move 2 cards");
    EXPECT_TRUE(view->Changed());
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
    EXPECT_EQ(box.CardsIn(3), 1);
    EXPECT_EQ(box.CardsIn(7), 2);
}

TEST_F(StatisticsWindowTest, AnEmptyBoxHasNothingToShowOrAsk) {
    Start();
    WithStatistics([](HeadlessDialog& statistics) {
        EXPECT_EQ(statistics.Text(ids::kStatsRight), "No answers yet");
        EXPECT_FALSE(statistics.IsEnabled(ids::kStatsAskNext));
        EXPECT_EQ(statistics.Peer().LineCount(ids::kStatsHardest), 0);
        EXPECT_FALSE(statistics.Peer().Find(ids::kStatsBox)->picture.shapes.empty());
    });
}

}  // namespace
}  // namespace tallyfold
