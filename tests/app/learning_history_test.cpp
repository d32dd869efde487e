#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tallyfold
