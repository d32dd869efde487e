#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "document/day_history_file.h"
#include "tests/support/app_fixture.h"

namespace tallyfold {
namespace {

using testing::AppTest;
using testing::Card;
using testing::ReadBytes;
using testing::WriteBytes;

// The day history seen from the window: a file that cannot be read or written is told, and
// never keeps the box from opening or its cards from being saved.
class LearningHistoryTest : public AppTest {
  protected:
    FilePath StartOnABox() {
        tCardBox saved;
        saved.AddToPartition(Card("Haus", "house"), 2);
        saved.AddToPartition(Card("Baum", "tree"), 2);
        const FilePath path = SaveBox(saved);
        backend.AcknowledgeReports(true);
        return path;
    }
};

TEST_F(LearningHistoryTest, ADamagedHistoryIsToldAndTheBoxOpens) {
    const FilePath path = StartOnABox();
    const FilePath history = DayHistoryFileName(path);
    WriteBytes(history, "not a history");
    Start(path);
    EXPECT_EQ(Question(), "Haus");
    ASSERT_EQ(MessageTexts().size(), 1U);
    EXPECT_EQ(MessageTexts().front(),
              "The learning history of this box could not be read. It was kept aside, and "
              "counting starts again:\n" +
                  history.Bytes() + ".damaged");
    frame->TypeChar('k');
    frame->TypeChar('k');
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmFileSave));
    EXPECT_EQ(ReadBytes(FilePath(history.Bytes() + ".damaged")), "not a history");
    EXPECT_NE(ReadBytes(history).find(" 1 0 0 0\n"), std::string::npos);
}

TEST_F(LearningHistoryTest, AHistoryThatCannotBeWrittenIsToldOnceAndTheCardsAreSaved) {
    const FilePath path = StartOnABox();
    Start(path);
    std::filesystem::create_directories(DayHistoryFileName(path).Bytes());
    for (int save = 0; save < 2; ++save) {
        frame->TypeChar('k');
        frame->TypeChar('k');
        ASSERT_TRUE(frame->ChooseMenu(ids::kCmFileSave));
        EXPECT_FALSE(view->Changed());
    }
    ASSERT_EQ(MessageTexts().size(), 1U);
    EXPECT_EQ(MessageTexts().front(),
              "The cards were saved, but the learning history could not be written beside "
              "them:\n" +
                  DayHistoryFileName(path).Bytes());
}

// The status bar shows today's verdicts and the streak beside the classic texts, which stay
// as they were.
TEST_F(LearningHistoryTest, TheStatusBarShowsTodayAndTheStreak) {
    const FilePath path = StartOnABox();
    // Yesterday was a learning day too.
    document.SetClock([] { return std::time(nullptr) - 24 * 60 * 60; });
    Start(path);
    EXPECT_EQ(frame->StatusText(ids::kTodayGadget), "Today: 0, streak: 0");
    frame->TypeChar('k');
    frame->TypeChar('u');
    EXPECT_EQ(frame->StatusText(ids::kTodayGadget), "Today: 1, streak: 1");
    document.SetClock([] { return std::time(nullptr); });
    frame->TypeChar('k');
    frame->TypeChar('k');
    EXPECT_EQ(frame->StatusText(ids::kTodayGadget), "Today: 1, streak: 2");
    EXPECT_EQ(Counts(), "Partition: 2 Box: 2");
    EXPECT_EQ(Counters(), "known: 0 unknown: 0");
    ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
    EXPECT_EQ(frame->StatusText(ids::kTodayGadget), "Today: 0, streak: 1");
}

}  // namespace
}  // namespace tallyfold
