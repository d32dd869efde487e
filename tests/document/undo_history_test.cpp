#include "document/undo_history.h"

#include <gtest/gtest.h>

#include "tests/support/box_state.h"
#include "tests/support/cards.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::Counts;
using testing::StateOf;

class UndoHistoryTest : public ::testing::Test {
  protected:
    /// One step named `name` that adds a card to the input stack.
    void AddStep(StepName name, std::string_view question) {
        history.Begin(name);
        box.AddToInput(Card(question));
        history.End();
    }

    tCardBox box;
    DayHistory days;
    UndoHistory history{box, days};
};

TEST_F(UndoHistoryTest, NothingToTakeBackAtFirst) {
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Undo().has_value());
    EXPECT_FALSE(history.Redo().has_value());
    EXPECT_TRUE(history.AtSavePoint());
}

TEST_F(UndoHistoryTest, AStepWithTheStepsThatFollowedItGoesBackAndComesAgain) {
    AddStep(StepName::NewCard, "a");
    const testing::BoxState afterA = StateOf(box);
    AddStep(StepName::Import, "b");  // serial 2
    AddStep(StepName::Follow, "c");  // serial 3: goes with the import
    const testing::BoxState afterC = StateOf(box);
    EXPECT_EQ(history.UndoName(), StepName::Import);

    EXPECT_EQ(history.Undo(), std::optional<std::uint64_t>(2));
    EXPECT_EQ(StateOf(box), afterA);
    EXPECT_EQ(history.UndoName(), StepName::NewCard);
    EXPECT_EQ(history.RedoName(), StepName::Import) << "the named step, not the one after it";

    EXPECT_EQ(history.Redo(), std::optional<std::uint64_t>(2));
    EXPECT_EQ(StateOf(box), afterC);
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(UndoHistoryTest, NestedStepsAreOneAndAnEmptyStepIsNotKept) {
    EXPECT_TRUE(history.Begin(StepName::MoveCards));
    EXPECT_FALSE(history.Begin(StepName::DeleteCards));
    EXPECT_EQ(history.OpenName(), StepName::MoveCards);
    box.AddToInput(Card("a"));
    EXPECT_EQ(history.OpenChanges().Size(), 1U);
    EXPECT_FALSE(history.End());
    EXPECT_TRUE(history.StepOpen());
    EXPECT_TRUE(history.End());
    EXPECT_FALSE(history.StepOpen());

    history.Begin(StepName::Known);
    history.End();
    EXPECT_EQ(history.UndoName(), StepName::MoveCards);
    ASSERT_TRUE(history.Undo().has_value());
    EXPECT_FALSE(history.CanUndo());
}

TEST_F(UndoHistoryTest, NoUndoWhileAStepIsOpen) {
    AddStep(StepName::NewCard, "a");
    history.Begin(StepName::Known);
    EXPECT_FALSE(history.Undo().has_value());
    history.End();
    EXPECT_TRUE(history.Undo().has_value());
    history.Begin(StepName::Known);
    EXPECT_FALSE(history.Redo().has_value());
    history.End();
}

TEST_F(UndoHistoryTest, TheSavePointIsReachedAgainUntilANewStepPassesIt) {
    AddStep(StepName::NewCard, "a");
    history.MarkSaved();
    AddStep(StepName::NewCard, "b");
    EXPECT_FALSE(history.AtSavePoint());
    ASSERT_TRUE(history.Undo().has_value());
    EXPECT_TRUE(history.AtSavePoint());
    ASSERT_TRUE(history.Undo().has_value());
    EXPECT_FALSE(history.AtSavePoint());
    ASSERT_TRUE(history.Redo().has_value());
    EXPECT_TRUE(history.AtSavePoint());

    // Undone past the save, then a new step: the saved state is out of reach.
    ASSERT_TRUE(history.Undo().has_value());
    AddStep(StepName::NewCard, "c");
    EXPECT_FALSE(history.CanRedo());
    ASSERT_TRUE(history.Undo().has_value());
    EXPECT_FALSE(history.AtSavePoint());
}

TEST_F(UndoHistoryTest, TheOldestStepsGoPastTheLimit) {
    for (std::size_t i = 0; i < UndoHistory::kStepLimit + 5; ++i) {
        AddStep(StepName::NewCard, "c" + std::to_string(i));
    }
    std::size_t undone = 0;
    while (history.Undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, UndoHistory::kStepLimit);
    EXPECT_EQ(Counts(box)[tCardBox::kInputStack - 1], 5);
}

TEST_F(UndoHistoryTest, ClearForgetsEveryStepAndCountsAsSaved) {
    AddStep(StepName::NewCard, "a");
    ASSERT_TRUE(history.Undo().has_value());
    AddStep(StepName::NewCard, "b");
    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.AtSavePoint());
    EXPECT_EQ(history.Bytes(), 0U);
    EXPECT_EQ(box.TotalCards(), 1) << "the box keeps its cards";
}

}  // namespace
}  // namespace tallyfold
