#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/app_fixture.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using platform::headless::HeadlessDialog;
using testing::AppTest;
using testing::Card;
using testing::Fill;
using testing::Questions;
using Names = std::vector<std::string>;

constexpr int kInput = tCardBox::kInputStack;

class BoxCommandsTest : public AppTest {
  protected:
    void StartAsking() {
        Start();
        frame->ChooseMenu(ids::kCmSwitch);
        frame->ChooseMenu(ids::kCmSwitch);
    }
};

TEST_F(BoxCommandsTest, CardNewAddsToTheInputStack) {
    StartAsking();
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        EXPECT_EQ(input.Text(ids::kInputCount), "");
        input.Type(ids::kInputQuestion, "neu");
        input.Type(ids::kInputAnswer, "new");
        input.PressEnter();
        EXPECT_EQ(input.Text(ids::kInputCount), "1 card put in");
        input.PressEnter();  // the same again: nothing put in
        EXPECT_EQ(input.Text(ids::kInputCount), "1 card put in");
        input.Type(ids::kInputQuestion, "alt");
        input.Type(ids::kInputAnswer, "old");
        input.PressEnter();
        EXPECT_EQ(input.Text(ids::kInputCount), "2 cards put in");
        input.PressEscape();
    });
    EXPECT_TRUE(frame->PressShortcut("Ctrl+Shift+N"));  // Card > New's own key
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(Question(), "neu");  // refreshed: refilled into partition 1
    EXPECT_EQ(box.TotalCards(), 2);
}

TEST_F(BoxCommandsTest, CardChangeShowsTheCorrectedTextsWithoutChoosingAnew) {
    Fill(box, 1, 2);
    StartAsking();
    frame->PressEnter();  // the answer is on view
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        EXPECT_EQ(input.Text(ids::kInputQuestion), "c1");
        input.Type(ids::kInputAnswer, "corrected");
        input.Click(ids::kIdOk);
    });
    frame->ChooseMenu(ids::kCmCardChange);
    EXPECT_EQ(Question(), "c1");
    EXPECT_EQ(Answer(), "corrected");
    EXPECT_TRUE(view->AnswerShown());
    EXPECT_TRUE(view->Changed());
}

// Dialogs opened and closed without a change leave the box unchanged: no save prompt for
// nothing, and nothing to undo.
TEST_F(BoxCommandsTest, DialogsThatChangedNothingLeaveTheBoxUnchanged) {
    Fill(box, 1, 1);
    StartAsking();
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) { input.PressEscape(); });
    frame->ChooseMenu(ids::kCmCardNew);
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) { input.PressEscape(); });
    frame->ChooseMenu(ids::kCmCardChange);
    // Saved as it was.
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) { input.Click(ids::kIdOk); });
    frame->ChooseMenu(ids::kCmCardChange);
    backend.ExpectDialog(ids::kOverviewDialog,
                         [](HeadlessDialog& overview) { overview.Click(ids::kIdOk); });
    frame->ChooseMenu(ids::kCmPartitionChange);
    EXPECT_FALSE(view->Changed());
    EXPECT_FALSE(document.CanUndo());
    EXPECT_EQ(Question(), "c1");
    EXPECT_TRUE(frame->CloseBox());
    EXPECT_TRUE(backend.MessageBoxes().empty());
}

TEST_F(BoxCommandsTest, CardDeleteDeletesTheCardOnViewAndMarksTheBox) {
    Fill(box, 2, 2, "two");
    StartAsking();
    frame->ChooseMenu(ids::kCmCardDelete);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(Questions(box, 2), Names{"two2"});
    EXPECT_EQ(Question(), "two2");
    EXPECT_TRUE(view->Changed());
}

TEST_F(BoxCommandsTest, AllToInputAsksFirst) {
    Fill(box, 1, 2, "one");
    Fill(box, 3, 2, "three");
    Fill(box, kInput, 1, "in");
    StartAsking();
    backend.AnswerMessageBox(DialogResult::No);
    frame->ChooseMenu(ids::kCmAllToInput);
    EXPECT_EQ(box.CardsIn(3), 2);
    EXPECT_FALSE(view->Changed());
    backend.AnswerMessageBox(DialogResult::Yes);
    frame->ChooseMenu(ids::kCmAllToInput);
    const auto& question = backend.MessageBoxes().at(0).request;
    EXPECT_EQ(question.text, "All words will be put in the first partition");
    EXPECT_EQ(question.caption, " ");
    EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(Questions(box, 1), (Names{"in1", "one1", "one2", "three1", "three2"}));
    EXPECT_EQ(Question(), "in1");
    EXPECT_TRUE(view->Changed());
}

TEST_F(BoxCommandsTest, PartitionChangeOpensTheOverviewAndRefreshes) {
    Fill(box, 1, 2);
    StartAsking();
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.ExpectDialog(ids::kOverviewDialog, [](HeadlessDialog& overview) {
        overview.Select(ids::kOverviewCards, 0);
        overview.Click(ids::kOverviewDelete);
        overview.Click(ids::kIdOk);
    });
    frame->ChooseMenu(ids::kCmPartitionChange);
    EXPECT_EQ(Question(), "c2");
    EXPECT_TRUE(view->Changed());
}

TEST_F(BoxCommandsTest, DeleteLastEmptiesOnlyTheLastPartition) {
    Fill(box, 7, 12, "seven");
    Fill(box, 2, 3);
    Fill(box, kInput, 4);
    StartAsking();
    backend.AnswerMessageBox(DialogResult::Cancel);
    frame->ChooseMenu(ids::kCmDeleteLast);
    EXPECT_EQ(box.CardsIn(7), 12);
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmDeleteLast);
    const auto& question = backend.MessageBoxes().at(1).request;
    EXPECT_EQ(question.text, "Shure to delete tray?");
    EXPECT_EQ(question.caption, " ");
    EXPECT_EQ(question.buttons, platform::MessageButtons::OkCancel);
    EXPECT_EQ(question.icon, platform::MessageIcon::Question);
    EXPECT_EQ(box.CardsIn(7), 0);
    EXPECT_EQ(box.TotalCards(), 7);
    EXPECT_TRUE(view->Changed());
}

TEST_F(BoxCommandsTest, MixAllShufflesThePartitions) {
    Fill(box, 2, 40, "two");
    Fill(box, kInput, 20, "in");
    StartAsking();  // the refill took the first 10 of the input stack
    const Names input = Questions(box, kInput);
    const Names two = Questions(box, 2);
    frame->ChooseMenu(ids::kCmMixAll);
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(Questions(box, kInput), input);
    Names mixed = Questions(box, 2);
    EXPECT_NE(mixed, two);
    std::sort(mixed.begin(), mixed.end());
    Names sorted = two;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(mixed, sorted);
}

TEST_F(BoxCommandsTest, MixThisMarksTheBoxOnlyForAPartition) {
    Fill(box, 3, 30, "three");
    StartAsking();
    backend.ExpectDialog(ids::kTargetDialog, [](HeadlessDialog& target) {
        target.DoubleClick(ids::kTargetList, 7);  // the input stack: nothing to mix
    });
    frame->ChooseMenu(ids::kCmMixThis);
    EXPECT_FALSE(view->Changed());
    backend.ExpectDialog(ids::kTargetDialog, [](HeadlessDialog& target) { target.PressEscape(); });
    frame->ChooseMenu(ids::kCmMixThis);
    EXPECT_FALSE(view->Changed());
    const Names before = Questions(box, 3);
    backend.ExpectDialog(ids::kTargetDialog, [](HeadlessDialog& target) {
        target.Select(ids::kTargetList, 2);
        target.Click(ids::kIdOk);
    });
    frame->ChooseMenu(ids::kCmMixThis);
    EXPECT_TRUE(view->Changed());
    EXPECT_NE(Questions(box, 3), before);
}

TEST_F(BoxCommandsTest, UnknownToInputOption) {
    Fill(box, 3, 2, "three");
    StartAsking();
    frame->ChooseMenu(ids::kCmUnknownToInput);
    EXPECT_FALSE(frame->MenuState(ids::kCmUnknownToInput).checked);
    EXPECT_FALSE(view->Changed());
    frame->PressEnter();
    frame->PressEscape();
    EXPECT_EQ(testing::Counts(box), (std::vector<int>{1, 0, 1, 0, 0, 0, 0, 0}));
    frame->ChooseMenu(ids::kCmUnknownToInput);
    EXPECT_TRUE(frame->MenuState(ids::kCmUnknownToInput).checked);
}

}  // namespace
}  // namespace tallyfold
