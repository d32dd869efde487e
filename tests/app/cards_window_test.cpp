// The Cards window through the program's own menu and key, driven as a user would.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/app_fixture.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using platform::headless::HeadlessDialog;
using testing::AppTest;
using testing::Card;
using Lines = std::vector<std::string>;

// The questions the table shows, in its order.
Lines Questions(const HeadlessDialog& cards) {
    Lines questions;
    for (int row = 0; row < cards.Peer().LineCount(ids::kCardsTable); ++row) {
        questions.push_back(cards.Cell(ids::kCardsTable, row, 0));
    }
    return questions;
}

class CardsWindowTest : public AppTest {
  protected:
    CardsWindowTest() {
        box.AddToPartition(Card("\xC3\x84pfel", "apples", 3, 1), 1);  // Äpfel
        box.AddToPartition(Card("Stra\xC3\x9F"
                                "e",
                                "street", 0, 4),
                           1);
        box.AddToPartition(Card("\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0", "book", 1, 1), 3);
        box.AddToPartition(Card("\xE6\x9C\xAC", "book (Chinese)", 2, 2), 7);  // 本
        box.AddToInput(Card("apfel", "apple"));
    }
    // Opens the window with Ctrl+F, runs `script` in it, and closes it with Escape.
    void WithCards(const std::function<void(HeadlessDialog&)>& script) {
        backend.ExpectDialog(ids::kCardsDialog, [&script](HeadlessDialog& cards) {
            script(cards);
            cards.PressEscape();
        });
        ASSERT_TRUE(frame->PressShortcut("Ctrl+F"));
    }
};

TEST_F(CardsWindowTest, EveryCardInTheBoxsOrder) {
    Start();
    WithCards([](HeadlessDialog& cards) {
        EXPECT_EQ(cards.Caption(), "Cards");
        EXPECT_EQ(cards.Focused(), ids::kCardsSearch);
        EXPECT_EQ(cards.Lines(ids::kCardsTable),
                  (Lines{"\xC3\x84pfel\tapples\t1\t3\t1",
                         "Stra\xC3\x9F"
                         "e\tstreet\t1\t0\t4",
                         "\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0\tbook\t3\t1\t1",
                         "\xE6\x9C\xAC\tbook (Chinese)\t7\t2\t2", "apfel\tapple\tInput\t0\t0"}));
        EXPECT_EQ(cards.Text(ids::kCardsCount), "5 of 5 cards");
        EXPECT_EQ(cards.Lines(ids::kCardsPartition),
                  (Lines{"All", "1", "2", "3", "4", "5", "6", "7", "Input"}));
        EXPECT_FALSE(cards.IsEnabled(ids::kCardsEdit)) << "nothing selected yet";
        EXPECT_FALSE(cards.IsEnabled(ids::kCardsDelete));
        EXPECT_TRUE(cards.PressHelpKey());
    });
    EXPECT_EQ(backend.HelpRequests().back().context, static_cast<unsigned long>(ids::kCardsDialog));
    EXPECT_FALSE(view->Changed());
}

// The search ignores case and accents in every script, unless the check box asks for the
// strict match; the partition filter goes with it, and the selection stays where it shows.
TEST_F(CardsWindowTest, SearchAsYouTypeWithThePartitionAndTheSelection) {
    Start();
    WithCards([](HeadlessDialog& cards) {
        cards.Type(ids::kCardsSearch, "APF");
        EXPECT_EQ(Questions(cards), (Lines{"\xC3\x84pfel", "apfel"}));
        EXPECT_EQ(cards.Text(ids::kCardsCount), "2 of 5 cards");
        cards.SelectLines(ids::kCardsTable, {1});
        EXPECT_TRUE(cards.IsEnabled(ids::kCardsEdit));
        cards.Type(ids::kCardsSearch, "apf");
        EXPECT_EQ(cards.SelectedLines(ids::kCardsTable), (std::vector<int>{1}));
        cards.Toggle(ids::kCardsStrict);
        EXPECT_EQ(Questions(cards), (Lines{"apfel"}));
        EXPECT_EQ(cards.SelectedLines(ids::kCardsTable), (std::vector<int>{0}))
            << "the selected card still shows, selected";
        cards.Toggle(ids::kCardsStrict);
        cards.Type(ids::kCardsSearch, "\xD0\xBA\xD0\x9D\xD0\x98\xD0\x93");  // кНИГ
        EXPECT_EQ(Questions(cards), (Lines{"\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0"}));
        EXPECT_TRUE(cards.SelectedLines(ids::kCardsTable).empty());
        cards.Type(ids::kCardsSearch, "book");
        EXPECT_EQ(cards.Peer().LineCount(ids::kCardsTable), 2);
        cards.Type(ids::kCardsSearch, "apf");
        cards.Select(ids::kCardsPartition, 1);  // partition 1
        EXPECT_EQ(Questions(cards), (Lines{"\xC3\x84pfel"}));
        EXPECT_TRUE(cards.SelectedLines(ids::kCardsTable).empty());
        EXPECT_FALSE(cards.IsEnabled(ids::kCardsDelete));
        cards.Type(ids::kCardsSearch, "");
        cards.Select(ids::kCardsPartition, 8);  // the input stack
        EXPECT_EQ(Questions(cards), (Lines{"apfel"}));
        EXPECT_EQ(cards.Text(ids::kCardsCount), "1 of 5 cards");
    });
}

// A click on a header sorts by its column, a second one reverses; equal keys keep the box's
// order, and the headers show the sort.
TEST_F(CardsWindowTest, HeadersSortAndReverse) {
    Start();
    WithCards([](HeadlessDialog& cards) {
        cards.ClickColumn(ids::kCardsTable, 3);  // known
        EXPECT_EQ(Questions(cards).front(),
                  "Stra\xC3\x9F"
                  "e");
        EXPECT_EQ(Questions(cards).back(), "\xC3\x84pfel");
        EXPECT_EQ(cards.Peer().Find(ids::kCardsTable)->sortColumn, 3);
        EXPECT_FALSE(cards.Peer().Find(ids::kCardsTable)->sortDescending);
        cards.ClickColumn(ids::kCardsTable, 3);
        EXPECT_EQ(Questions(cards).front(), "\xC3\x84pfel");
        EXPECT_TRUE(cards.Peer().Find(ids::kCardsTable)->sortDescending);
        cards.ClickColumn(ids::kCardsTable, 2);  // partition, ascending again
        EXPECT_EQ(Questions(cards),
                  (Lines{"\xC3\x84pfel",
                         "Stra\xC3\x9F"
                         "e",
                         "\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0", "\xE6\x9C\xAC", "apfel"}));
        cards.ClickColumn(ids::kCardsTable, 2);
        EXPECT_EQ(Questions(cards).front(), "apfel");
        EXPECT_EQ(Questions(cards)[3], "\xC3\x84pfel") << "ties keep the box's order";
    });
}

// Edit, Put into and Delete work on the cards where they are; each is one step of the history.
TEST_F(CardsWindowTest, EachActionIsOneStepOfTheHistory) {
    Start();
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        EXPECT_EQ(input.Text(ids::kInputQuestion),
                  "Stra\xC3\x9F"
                  "e");
        input.Type(ids::kInputAnswer, "the street");
        input.Click(ids::kIdOk);
    });
    backend.ExpectDialog(ids::kTargetDialog, [](HeadlessDialog& target) {
        target.Select(ids::kTargetList, 7);  // the input stack
        target.Click(ids::kIdOk);
    });
    WithCards([this](HeadlessDialog& cards) {
        cards.DoubleClick(ids::kCardsTable, 1);
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 1, 1), "the street");
        EXPECT_EQ(cards.SelectedLines(ids::kCardsTable), (std::vector<int>{1}));
        // Two cards of two partitions into the input stack.
        cards.SelectLines(ids::kCardsTable, {0, 2});
        cards.Click(ids::kCardsPutInto);
        EXPECT_EQ(box.CardsIn(tCardBox::kInputStack), 3);
        EXPECT_EQ(box.CardsIn(3), 0);
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 4, 0), "\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0");
        EXPECT_EQ(cards.SelectedLines(ids::kCardsTable), (std::vector<int>{3, 4}))
            << "the moved cards stay selected";
        // Deleting asks once, naming how many.
        backend.AnswerMessageBox(DialogResult::No);
        cards.Click(ids::kCardsDelete);
        EXPECT_EQ(box.TotalCards(), 5);
        backend.AnswerMessageBox(DialogResult::Yes);
        cards.Click(ids::kCardsDelete);
        EXPECT_EQ(box.TotalCards(), 3);
        EXPECT_EQ(cards.Text(ids::kCardsCount), "3 of 3 cards");
    });
    EXPECT_EQ(MessageTexts().back(), "Delete 2 cards?");
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(frame->MenuState(ids::kCmEditUndo).text, "&Undo Delete 2 cards");
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));  // the delete
    EXPECT_EQ(box.TotalCards(), 5);
    EXPECT_EQ(frame->MenuState(ids::kCmEditRedo).text, "&Redo Delete 2 cards");
    EXPECT_EQ(frame->MenuState(ids::kCmEditUndo).text, "&Undo Move 2 cards");
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));  // the move
    EXPECT_EQ(box.CardsIn(3), 1);
    EXPECT_EQ(frame->MenuState(ids::kCmEditUndo).text, "&Undo Correct card");
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));  // the edit
    tVokabel first;
    ASSERT_NE(box.FirstInPartition(1, first), nullptr);
    EXPECT_EQ(box.NextInPartition(1, first)->Answer(), "street");
    EXPECT_FALSE(view->Changed());
}

// Every action has its key: Ctrl+F to the search, Ctrl+A, Delete in the table, and Ctrl+Z and
// Ctrl+Y for the box's history; the search field keeps the keys it uses on its text.
TEST_F(CardsWindowTest, TheWindowsKeys) {
    Start();
    frame->PressEnter();  // look
    frame->PressEnter();  // known: a verdict before the window opens
    ASSERT_NE(frame->Text(ids::kQuestionStatic), "\xC3\x84pfel");
    WithCards([this](HeadlessDialog& cards) {
        EXPECT_FALSE(cards.PressShortcut("Ctrl+A")) << "the search field selects its text";
        EXPECT_FALSE(cards.PressShortcut("Del"));
        cards.Focus(ids::kCardsStrict);
        ASSERT_TRUE(cards.PressShortcut("Ctrl+A"));
        EXPECT_EQ(cards.SelectedLines(ids::kCardsTable), (std::vector<int>{0, 1, 2, 3, 4}));
        EXPECT_EQ(cards.Focused(), ids::kCardsTable);
        EXPECT_TRUE(cards.IsEnabled(ids::kCardsDelete));
        cards.SelectLines(ids::kCardsTable, {1, 3});
        backend.AnswerMessageBox(DialogResult::Yes);
        ASSERT_TRUE(cards.PressShortcut("Del"));
        EXPECT_EQ(box.TotalCards(), 3);
        ASSERT_TRUE(cards.PressShortcut("Ctrl+Z"));
        EXPECT_EQ(box.TotalCards(), 5);
        EXPECT_EQ(cards.Peer().LineCount(ids::kCardsTable), 5);
        ASSERT_TRUE(cards.PressShortcut("Ctrl+Y"));
        EXPECT_EQ(box.TotalCards(), 3);
        ASSERT_TRUE(cards.PressShortcut("Ctrl+Z"));  // the delete
        ASSERT_TRUE(cards.PressShortcut("Ctrl+Z"));  // and the verdict from before
        ASSERT_TRUE(cards.PressShortcut("Ctrl+F"));
        EXPECT_EQ(cards.Focused(), ids::kCardsSearch);
        EXPECT_FALSE(cards.PressShortcut("Ctrl+Z")) << "the search field's own undo";
    });
    EXPECT_EQ(MessageTexts().back(), "Delete 2 cards?");
    EXPECT_FALSE(view->Changed());
    EXPECT_EQ(frame->Text(ids::kQuestionStatic), "\xC3\x84pfel")
        << "the card of the verdict, asked again";
    EXPECT_EQ(frame->MenuState(ids::kCmEditRedo).text, "&Redo Known")
        << "closing the window kept what can be redone";
}

// The window grows with the table in it, and opens again at the size and with the column widths
// it was closed with; kept values that make no sense are passed over.
TEST_F(CardsWindowTest, TheWindowKeepsItsSizeAndItsColumnWidths) {
    using platform::Rect;
    Start();
    WithCards([](HeadlessDialog& cards) {
        EXPECT_EQ(cards.Peer().ClientSize(), (Rect{0, 0, 360, 220}));
        cards.Resize(500, 300);
        EXPECT_EQ(cards.Peer().Position(ids::kCardsTable), (Rect{6, 24, 488, 236}));
        EXPECT_EQ(cards.Peer().Position(ids::kIdCancel), (Rect{444, 280, 50, 14}));
        EXPECT_EQ(cards.Peer().Position(ids::kCardsEdit), (Rect{6, 280, 50, 14}));
        EXPECT_EQ(cards.Peer().Position(ids::kCardsSearch), (Rect{32, 6, 130, 12}));
        cards.Peer().SetColumnWidth(ids::kCardsTable, 1, 222);
    });
    WithCards([](HeadlessDialog& cards) {
        EXPECT_EQ(cards.Peer().ClientSize(), (Rect{0, 0, 500, 300}));
        EXPECT_EQ(cards.Peer().Position(ids::kCardsTable), (Rect{6, 24, 488, 236}));
        EXPECT_EQ(cards.Peer().ColumnWidths(ids::kCardsTable),
                  (std::vector<int>{160, 222, 70, 70, 70}));
        cards.Resize(100, 100);
        EXPECT_EQ(cards.Peer().ClientSize(), (Rect{0, 0, 360, 220})) << "never smaller";
        EXPECT_EQ(cards.Peer().Position(ids::kCardsTable), (Rect{6, 24, 348, 156}));
    });
    backend.WriteSetting("dialogSize3600", "500 -3");
    backend.WriteSetting("cardsColumns", "160 222 70 70");
    WithCards([](HeadlessDialog& cards) {
        EXPECT_EQ(cards.Peer().ClientSize(), (Rect{0, 0, 360, 220}));
        EXPECT_EQ(cards.Peer().ColumnWidths(ids::kCardsTable),
                  (std::vector<int>{160, 160, 70, 70, 70}));
    });
}

// An edit in the window has the Input dialog's checks: a missing side is refused and a text
// longer than a side may be is cut; what is refused or cancelled changes nothing and makes no
// step.
TEST_F(CardsWindowTest, BadEditsAreRefusedAndChangeNothing) {
    Start();
    backend.AnswerMessageBox(DialogResult::Ok);
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        input.Type(ids::kInputAnswer, "");
        input.Click(ids::kIdOk);
        EXPECT_FALSE(input.Ended()) << "the answer is missing";
        input.Type(ids::kInputQuestion, std::string(70, 'x'));
        EXPECT_EQ(input.Text(ids::kInputQuestion), std::string(63, 'x'));
        input.Click(ids::kIdCancel);
    });
    WithCards([](HeadlessDialog& cards) {
        cards.DoubleClick(ids::kCardsTable, 0);
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 0, 0), "\xC3\x84pfel");
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 0, 1), "apples");
        EXPECT_EQ(cards.SelectedLines(ids::kCardsTable), (std::vector<int>{0}));
    });
    EXPECT_EQ(MessageTexts().front(), "At least on of the fields are empty!");
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(view->Changed());
}

// An edit that gives a card another card's question or answer asks first, as the Input dialog
// does for a new card: Cancel goes back to the typed texts, Ok stores them. A card is no double
// of itself, and a card the Doubles dialog corrects shows corrected even when the edit is
// cancelled.
TEST_F(CardsWindowTest, AnEditIntoADoubleAsksFirst) {
    Start();
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        input.Type(ids::kInputQuestion, "\xC3\x84pfel");  // Äpfel, as the first card
        input.Click(ids::kIdOk);
        EXPECT_FALSE(input.Ended()) << "Cancel in the Doubles dialog: back to typing";
        EXPECT_EQ(input.Text(ids::kInputQuestion), "\xC3\x84pfel");
        input.Type(ids::kInputQuestion, "Gasse");
        input.Click(ids::kIdOk);
        EXPECT_TRUE(input.Ended());
    });
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        EXPECT_EQ(doubles.Text(ids::kDoublesQuestion), "\xC3\x84pfel");
        EXPECT_EQ(doubles.Text(ids::kDoublesAnswer), "apples");
        doubles.Click(ids::kIdCancel);
    });
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        input.Type(ids::kInputAnswer, "apples");
        input.Click(ids::kIdOk);
    });
    backend.ExpectDialog(ids::kDoublesDialog,
                         [](HeadlessDialog& doubles) { doubles.Click(ids::kIdOk); });
    // Unchanged texts: no question, though another card shares none of them anyway.
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) { input.Click(ids::kIdOk); });
    // The Doubles dialog's Change corrects the first card; the edit itself is cancelled.
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
        input.Type(ids::kInputAnswer, "apples");
        input.Click(ids::kIdOk);
        input.Click(ids::kIdCancel);
    });
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        doubles.Click(ids::kDoublesChange);
        doubles.Click(ids::kIdCancel);
    });
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& nested) {
        nested.Type(ids::kInputAnswer, "Apfel (plural)");
        nested.Click(ids::kIdOk);
    });
    WithCards([](HeadlessDialog& cards) {
        cards.DoubleClick(ids::kCardsTable, 1);
        EXPECT_EQ(cards.Lines(ids::kCardsTable)[1], "Gasse\tstreet\t1\t0\t4");
        cards.DoubleClick(ids::kCardsTable, 1);
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 1, 1), "apples") << "stored after Ok";
        cards.DoubleClick(ids::kCardsTable, 4);
        cards.DoubleClick(ids::kCardsTable, 2);
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 2, 1), "book") << "the edit was cancelled";
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 0, 1), "Apfel (plural)");
    });
    EXPECT_EQ(backend.DialogsRun(),
              (std::vector<int>{3600, 3300, 3200, 3300, 3200, 3300, 3300, 3200, 3300}));
    // Three edits changed the box, each one step; the unchanged one made none.
    for (int step = 0; step < 3; ++step) {
        EXPECT_EQ(frame->MenuState(ids::kCmEditUndo).text, "&Undo Correct card");
        ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));
    }
    EXPECT_FALSE(document.CanUndo());
    tVokabel first;
    ASSERT_NE(box.FirstInPartition(1, first), nullptr);
    EXPECT_EQ(first.Answer(), "apples");
}

// Reset counters sets the selected cards' counts to 0 after one question, as one step; cards
// counted nowhere make no step.
TEST_F(CardsWindowTest, ResetCountersIsOneStep) {
    Start();
    WithCards([this](HeadlessDialog& cards) {
        cards.SelectLines(ids::kCardsTable, {0, 2, 4});  // Äpfel, Книга, apfel (0 and 0)
        backend.AnswerMessageBox(DialogResult::Yes);
        cards.Click(ids::kCardsReset);
        EXPECT_EQ(cards.Lines(ids::kCardsTable)[0], "\xC3\x84pfel\tapples\t1\t0\t0");
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 2, 3), "0");
        EXPECT_EQ(cards.Cell(ids::kCardsTable, 1, 4), "4") << "a card not selected keeps them";
        EXPECT_EQ(cards.SelectedLines(ids::kCardsTable), (std::vector<int>{0, 2, 4}));
        cards.SelectLines(ids::kCardsTable, {4});
        backend.AnswerMessageBox(DialogResult::Yes);
        cards.Click(ids::kCardsReset);  // counted nowhere: nothing to do
    });
    EXPECT_EQ(MessageTexts().front(), "Set the known and unknown counts of 3 cards to 0?");
    EXPECT_EQ(frame->MenuState(ids::kCmEditUndo).text, "&Undo Reset counters of 2 cards")
        << "the card counted nowhere is not named";
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));
    EXPECT_FALSE(document.CanUndo());
    tVokabel first;
    ASSERT_NE(box.FirstInPartition(1, first), nullptr);
    EXPECT_EQ(first.knownCount, 3);
    EXPECT_EQ(first.unknownCount, 1);
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Y"));
    ASSERT_NE(box.FirstInPartition(1, first), nullptr);
    EXPECT_EQ(first.knownCount, 0);
}

}  // namespace
}  // namespace tallyfold
