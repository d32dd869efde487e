#include "dialogs/partition_overview_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/support/cards.h"
#include "tests/support/headless.h"

namespace tallyfold {
namespace {

using platform::headless::HeadlessDialog;
using testing::Card;
using testing::Fill;
using testing::Questions;
using Names = std::vector<std::string>;

constexpr int kInput = tCardBox::kInputStack;

bool ActionsEnabled(const HeadlessDialog& dialog) {
    return dialog.IsEnabled(ids::kOverviewCorrect) && dialog.IsEnabled(ids::kOverviewMove) &&
           dialog.IsEnabled(ids::kOverviewDelete);
}

bool ActionsDisabled(const HeadlessDialog& dialog) {
    return !dialog.IsEnabled(ids::kOverviewCorrect) && !dialog.IsEnabled(ids::kOverviewMove) &&
           !dialog.IsEnabled(ids::kOverviewDelete);
}

class OverviewTest : public testing::HeadlessTest {
  protected:
    void Run(platform::headless::HeadlessBackend::DialogScript script) {
        backend.ExpectDialog(ids::kOverviewDialog, std::move(script));
        ShowPartitionOverview(owner, document, texts);
    }
    void ExpectTarget(int line) {
        backend.ExpectDialog(ids::kTargetDialog, [line](HeadlessDialog& target) {
            target.DoubleClick(ids::kTargetList, line);
        });
    }
    tCardBox box;
    Document document{box};
    CardInputTexts texts;
    testing::OwnerWindow owner{backend};
};

TEST_F(OverviewTest, OpensOnPartitionOneWithTheActionsOff) {
    Fill(box, 1, 3, "one");
    Fill(box, kInput, 2, "in");
    Run([](HeadlessDialog& dialog) {
        EXPECT_EQ(dialog.Caption(), "Partition overview");
        EXPECT_EQ(dialog.Lines(ids::kOverviewPartition),
                  (Names{" - 1 - ", " - 2 - ", " - 3 - ", " - 4 - ", " - 5 - ", " - 6 - ",
                         " - 7 - ", "Input"}));
        EXPECT_EQ(dialog.SelectedLines(ids::kOverviewPartition), std::vector<int>{0});
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards), (Names{"one1", "one2", "one3"}));
        EXPECT_EQ(dialog.Text(ids::kOverviewCount), "3");
        EXPECT_TRUE(ActionsDisabled(dialog));
        dialog.Select(ids::kOverviewPartition, 7);
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards), (Names{"in1", "in2"}));
        EXPECT_EQ(dialog.Text(ids::kOverviewCount), "2");
        dialog.Click(ids::kIdOk);
    });
}

TEST_F(OverviewTest, AnEmptyPartitionAndCorrectOnIt) {
    Run([](HeadlessDialog& dialog) {
        EXPECT_TRUE(dialog.Lines(ids::kOverviewCards).empty());
        EXPECT_EQ(dialog.Text(ids::kOverviewCount), "0");
        dialog.SelectLines(ids::kOverviewCards, {});
        EXPECT_TRUE(ActionsEnabled(dialog));  // any selection change enables them
        dialog.Click(ids::kOverviewCorrect);  // nothing to correct: no dialog opens
        dialog.PressEscape();
    });
    EXPECT_EQ(backend.DialogsRun(), std::vector<int>{3500});
}

TEST_F(OverviewTest, MovesTheFirstAndThirdCardsInListOrder) {
    box.AddToPartition(Card("a", "a", 3, 1), 2);
    box.AddToPartition(Card("b"), 2);
    box.AddToPartition(Card("c", "c", 5, 2), 2);
    Fill(box, 4, 1, "four");
    ExpectTarget(3);
    Run([](HeadlessDialog& dialog) {
        dialog.Select(ids::kOverviewPartition, 1);
        dialog.SelectLines(ids::kOverviewCards, {2, 0});
        EXPECT_TRUE(ActionsEnabled(dialog));
        dialog.Click(ids::kOverviewMove);
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards), Names{"b"});
        EXPECT_EQ(dialog.Text(ids::kOverviewCount), "1");
        EXPECT_TRUE(ActionsDisabled(dialog));
        dialog.Click(ids::kIdOk);
    });
    EXPECT_EQ(Questions(box, 4), (Names{"four1", "a", "c"}));
    tVokabel card;
    box.FirstInPartition(4, card);
    box.NextInPartition(4, card);
    EXPECT_EQ(card.knownCount, 3);
    EXPECT_EQ(card.unknownCount, 1);
}

TEST_F(OverviewTest, MovesToTheInputStackWithCountersKept) {
    box.AddToPartition(Card("x", "y", 9, 8), 1);
    ExpectTarget(7);
    Run([](HeadlessDialog& dialog) {
        dialog.Select(ids::kOverviewCards, 0);
        dialog.Click(ids::kOverviewMove);
        dialog.Click(ids::kIdOk);
    });
    tVokabel card;
    ASSERT_NE(box.FirstInPartition(kInput, card), nullptr);
    EXPECT_EQ(card.knownCount, 9);
    EXPECT_EQ(card.unknownCount, 8);
    EXPECT_EQ(box.CardsIn(1), 0);
}

TEST_F(OverviewTest, MovingToTheShownPartitionOrCancellingDoesNothing) {
    Fill(box, 1, 2);
    ExpectTarget(0);
    backend.ExpectDialog(ids::kTargetDialog,
                         [](HeadlessDialog& target) { target.Click(ids::kIdCancel); });
    Run([](HeadlessDialog& dialog) {
        dialog.Select(ids::kOverviewCards, 0);
        dialog.Click(ids::kOverviewMove);
        EXPECT_TRUE(ActionsEnabled(dialog));
        dialog.Click(ids::kOverviewMove);
        dialog.Click(ids::kIdOk);
    });
    EXPECT_EQ(Questions(box, 1), (Names{"c1", "c2"}));
}

TEST_F(OverviewTest, ToAnotherAsksForTheTargetEvenWithoutASelection) {
    Fill(box, 1, 2);
    ExpectTarget(4);
    Run([](HeadlessDialog& dialog) {
        dialog.SelectLines(ids::kOverviewCards, {});
        dialog.Click(ids::kOverviewMove);
        dialog.Click(ids::kIdOk);
    });
    EXPECT_EQ(box.CardsIn(1), 2);
    EXPECT_EQ(box.CardsIn(5), 0);
}

TEST_F(OverviewTest, DeleteAsksFirst) {
    Fill(box, 3, 4, "three");
    backend.AnswerMessageBox(platform::DialogResult::No);
    backend.AnswerMessageBox(platform::DialogResult::Yes);
    Run([](HeadlessDialog& dialog) {
        dialog.Select(ids::kOverviewPartition, 2);
        dialog.SelectLines(ids::kOverviewCards, {0, 1, 3});
        dialog.Click(ids::kOverviewDelete);
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards).size(), 4u);
        dialog.Click(ids::kOverviewDelete);
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards), Names{"three3"});
        dialog.Click(ids::kIdOk);
    });
    EXPECT_EQ(Questions(box, 3), Names{"three3"});
    ASSERT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.text, "Really delete?");
    EXPECT_EQ(backend.MessageBoxes()[0].request.caption, "");
    EXPECT_EQ(backend.MessageBoxes()[0].request.buttons, platform::MessageButtons::YesNo);
}

TEST_F(OverviewTest, DoubleClickCorrectsTheCard) {
    box.AddToPartition(Card("hous", "Haus"), 1);
    box.AddToPartition(Card("tree", "Baum"), 1);
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        EXPECT_EQ(input.Text(ids::kIdOk), "Ok");
        EXPECT_EQ(input.Text(ids::kIdCancel), "Cancel");
        EXPECT_EQ(input.Text(ids::kInputQuestion), "hous");
        input.Type(ids::kInputQuestion, "house");
        input.Click(ids::kIdOk);
    });
    Run([](HeadlessDialog& dialog) {
        dialog.DoubleClick(ids::kOverviewCards, 0);
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards), (Names{"house", "tree"}));
        EXPECT_TRUE(dialog.SelectedLines(ids::kOverviewCards).empty());
        EXPECT_TRUE(ActionsDisabled(dialog));
        dialog.Click(ids::kIdOk);
    });
    EXPECT_EQ(Questions(box, 1), (Names{"house", "tree"}));
}

TEST_F(OverviewTest, CancelledCorrectionKeepsListAndButtons) {
    Fill(box, 1, 2);
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) { input.PressEscape(); });
    Run([](HeadlessDialog& dialog) {
        dialog.SelectLines(ids::kOverviewCards, {1});
        dialog.Click(ids::kOverviewCorrect);
        EXPECT_EQ(dialog.SelectedLines(ids::kOverviewCards), std::vector<int>{1});
        EXPECT_TRUE(ActionsEnabled(dialog));
        dialog.Click(ids::kIdOk);
    });
}

TEST_F(OverviewTest, ChoosingTheShownPartitionDoesNotReload) {
    Fill(box, 1, 3);
    Run([](HeadlessDialog& dialog) {
        dialog.SelectLines(ids::kOverviewCards, {1});
        dialog.Select(ids::kOverviewPartition, 0);
        EXPECT_EQ(dialog.SelectedLines(ids::kOverviewCards), std::vector<int>{1});
        EXPECT_TRUE(ActionsEnabled(dialog));
        dialog.Select(ids::kOverviewPartition, 1);
        EXPECT_TRUE(ActionsDisabled(dialog));
        dialog.Click(ids::kIdOk);
    });
}

// Find cards opens the Cards window on the partition shown; what changes there is listed anew.
TEST_F(OverviewTest, FindCardsOpensTheCardsWindowOnThePartitionShown) {
    Fill(box, 1, 2, "one");
    Fill(box, 3, 3, "three");
    backend.ExpectDialog(ids::kCardsDialog, [this](HeadlessDialog& cards) {
        EXPECT_EQ(cards.SelectedLines(ids::kCardsPartition), std::vector<int>{3});
        EXPECT_EQ(cards.Text(ids::kCardsCount), "3 of 5 cards");
        cards.SelectLines(ids::kCardsTable, {1});
        backend.AnswerMessageBox(platform::DialogResult::Yes);
        EXPECT_TRUE(cards.PressShortcut("Del"));
        cards.PressEscape();
    });
    backend.ExpectDialog(ids::kOverviewDialog, [this](HeadlessDialog& dialog) {
        dialog.Select(ids::kOverviewPartition, 2);
        dialog.SelectLines(ids::kOverviewCards, {0});
        dialog.Click(ids::kOverviewFind);
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards), (Names{"three1", "three3"}));
        EXPECT_EQ(dialog.Text(ids::kOverviewCount), "2");
        EXPECT_TRUE(ActionsDisabled(dialog));
        backend.ExpectDialog(ids::kCardsDialog, [](HeadlessDialog& cards) {
            cards.Focus(ids::kCardsTable);
            EXPECT_TRUE(cards.PressShortcut("Ctrl+Z"));
            cards.PressEscape();
        });
        dialog.Click(ids::kOverviewFind);
        EXPECT_EQ(dialog.Text(ids::kOverviewCount), "3");
        dialog.Click(ids::kIdOk);
    });
    EXPECT_TRUE(ShowPartitionOverview(owner, document, texts)) << "the last change was an undo";
    EXPECT_TRUE(document.CanRedo());
}

TEST_F(OverviewTest, HelpAtItsContext) {
    Run([](HeadlessDialog& dialog) {
        dialog.Click(ids::kOverviewHelp);
        dialog.Click(ids::kIdOk);
    });
    ASSERT_EQ(backend.HelpRequests().size(), 1u);
    EXPECT_EQ(backend.HelpRequests()[0].context, 3500u);
}

TEST_F(OverviewTest, ListsQuestionsWhateverSideTheWindowAsks) {
    box.AddToPartition(Card("Frage", "answer"), 1);
    Run([](HeadlessDialog& dialog) {
        EXPECT_EQ(dialog.Lines(ids::kOverviewCards), Names{"Frage"});
        dialog.Click(ids::kIdOk);
    });
}

}  // namespace
}  // namespace tallyfold
