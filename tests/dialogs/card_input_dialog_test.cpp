#include "dialogs/card_input_dialog.h"

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
using testing::Questions;
using Names = std::vector<std::string>;

constexpr int kInput = tCardBox::kInputStack;

class CardInputTest : public testing::HeadlessTest {
  protected:
    /// Runs the input dialog in new mode with `script`.
    platform::DialogResult RunNew(platform::headless::HeadlessBackend::DialogScript script) {
        backend.ExpectDialog(ids::kInputDialog, std::move(script));
        return Edit(nullptr);
    }
    /// The dialog for a new card (`card` null) or a stored one, in a step of the history as
    /// the Card commands open it.
    platform::DialogResult Edit(tVokabel* card) {
        const Document::Step step(document,
                                  card == nullptr ? StepName::NewCard : StepName::ChangeCard);
        return EditCard(owner, document, texts, card);
    }

    static void TypeCard(HeadlessDialog& dialog, const std::string& question,
                         const std::string& answer) {
        dialog.Type(ids::kInputQuestion, question);
        dialog.Type(ids::kInputAnswer, answer);
        dialog.Click(ids::kIdOk);
    }

    tCardBox box;
    Document document{box};
    CardInputTexts texts;
    testing::OwnerWindow owner{backend};
};

TEST_F(CardInputTest, NewCardsOneAfterAnother) {
    const platform::DialogResult result = RunNew([](HeadlessDialog& dialog) {
        EXPECT_EQ(dialog.Caption(), "Input");
        EXPECT_EQ(dialog.Text(ids::kIdOk), "&Save");
        EXPECT_EQ(dialog.Text(ids::kIdCancel), "&Close");
        EXPECT_EQ(dialog.Text(ids::kInputQuestion), "");
        TypeCard(dialog, "house", "Haus");
        EXPECT_FALSE(dialog.Ended());
        EXPECT_EQ(dialog.Focused(), ids::kInputQuestion);
        EXPECT_EQ(dialog.EditSelection(ids::kInputQuestion), (std::pair<int, int>{0, 5}));
        EXPECT_EQ(dialog.Text(ids::kInputAnswer), "Haus");  // keeps its text
        TypeCard(dialog, "tree", "Baum");
        dialog.PressEnter();  // the fields are unchanged: nothing more is stored
        dialog.Click(ids::kIdCancel);
    });
    EXPECT_EQ(result, platform::DialogResult::Cancel);
    EXPECT_EQ(Questions(box, kInput), (Names{"house", "tree"}));
    tVokabel card;
    box.FirstInPartition(kInput, card);
    EXPECT_EQ(card.Answer(), "Haus");
    EXPECT_EQ(card.knownCount, 0);
    EXPECT_EQ(card.unknownCount, 0);
    EXPECT_TRUE(backend.MessageBoxes().empty());
}

TEST_F(CardInputTest, EveryOpeningStartsEmpty) {
    RunNew([](HeadlessDialog& dialog) {
        TypeCard(dialog, "a", "b");
        dialog.PressEscape();
    });
    RunNew([](HeadlessDialog& dialog) {
        EXPECT_EQ(dialog.Text(ids::kInputQuestion), "");
        EXPECT_EQ(dialog.Text(ids::kInputAnswer), "");
        // The first Save after opening compares with empty texts, so "a"/"b" is a clash.
        dialog.Click(ids::kIdCancel);
    });
    EXPECT_EQ(box.TotalCards(), 1);
}

TEST_F(CardInputTest, AClashByQuestionShowsTheDoubles) {
    box.AddToPartition(Card("house", "Geb\u00E4ude"), 3);
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        EXPECT_EQ(doubles.Caption(), "Doubles");
        EXPECT_EQ(doubles.Text(ids::kDoublesQuestion), "house");
        EXPECT_EQ(doubles.Text(ids::kDoublesAnswer), "Geb\u00E4ude");
        doubles.Click(ids::kIdOk);
    });
    backend.ExpectDialog(ids::kDoublesDialog,
                         [](HeadlessDialog& doubles) { doubles.Click(ids::kIdCancel); });
    RunNew([](HeadlessDialog& dialog) {
        TypeCard(dialog, "house", "Haus");         // OK: stored anyway
        TypeCard(dialog, "home", "Geb\u00E4ude");  // the same answer; Cancel: not stored
        dialog.Click(ids::kIdCancel);
    });
    EXPECT_EQ(Questions(box, kInput), Names{"house"});
    EXPECT_EQ(backend.DialogsRun(), (std::vector<int>{3300, 3200, 3200}));
}

TEST_F(CardInputTest, CaseMakesTextsDifferent) {
    box.AddToPartition(Card("house", "Haus"), 1);
    RunNew([](HeadlessDialog& dialog) {
        TypeCard(dialog, "House", "Heim");
        dialog.Click(ids::kIdCancel);
    });
    EXPECT_EQ(Questions(box, kInput), Names{"House"});
}

TEST_F(CardInputTest, ChangeInTheDoublesCorrectsTheStoredCard) {
    tVokabel* stored = box.AddToInput(Card("house", "Haus"));
    // Scripts run in the order the dialogs open: the outer input dialog first.
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& dialog) {
        TypeCard(dialog, "house", "Heim");
        dialog.Click(ids::kIdCancel);
    });
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        doubles.Click(ids::kDoublesChange);
        EXPECT_EQ(doubles.Text(ids::kDoublesQuestion), "house");
        EXPECT_EQ(doubles.Text(ids::kDoublesAnswer), "Geb\u00E4ude");
        doubles.Click(ids::kIdOk);
    });
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& nested) {
        EXPECT_EQ(nested.Caption(), "Input");
        EXPECT_EQ(nested.Text(ids::kIdOk), "Ok");
        EXPECT_EQ(nested.Text(ids::kIdCancel), "Cancel");
        EXPECT_EQ(nested.Text(ids::kInputQuestion), "house");
        EXPECT_EQ(nested.Text(ids::kInputAnswer), "Haus");
        nested.Type(ids::kInputAnswer, "Geb\\\"aude");
        nested.Click(ids::kIdOk);
    });
    EXPECT_EQ(Edit(nullptr), platform::DialogResult::Cancel);
    EXPECT_EQ(stored->Answer(), "Geb\u00E4ude");
    EXPECT_EQ(Questions(box, kInput), (Names{"house", "house"}));
}

TEST_F(CardInputTest, ANestedDialogLeavesItsTextsForTheNextComparison) {
    box.AddToInput(Card("house", "Haus"));
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& dialog) {
        TypeCard(dialog, "house", "Heim");
        // The nested dialog left "house"/"Haus" behind, so the unchanged fields are saved
        // again and clash again.
        dialog.Click(ids::kIdOk);
        dialog.Click(ids::kIdCancel);
    });
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        doubles.Click(ids::kDoublesChange);
        doubles.Click(ids::kIdCancel);
    });
    backend.ExpectDialog(ids::kInputDialog,
                         [](HeadlessDialog& nested) { nested.Click(ids::kIdCancel); });
    backend.ExpectDialog(ids::kDoublesDialog,
                         [](HeadlessDialog& doubles) { doubles.Click(ids::kIdCancel); });
    EXPECT_EQ(Edit(nullptr), platform::DialogResult::Cancel);
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_EQ(backend.DialogsRun(), (std::vector<int>{3300, 3200, 3300, 3200}));
}

TEST_F(CardInputTest, BytesThatAreNoTextAndControlCharactersAreRefusedInBothModes) {
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    RunNew([](HeadlessDialog& dialog) {
        TypeCard(dialog, "bad\x81", "byte");
        EXPECT_FALSE(dialog.Ended());
        TypeCard(dialog, "line\u2028break", "control");
        TypeCard(dialog, "\u20AC 5", "\u201Cfive\u201D");  // the euro and quotes are characters
        dialog.Click(ids::kIdCancel);
    });
    ASSERT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.text, "Bytes that are no UTF-8 text");
    EXPECT_EQ(backend.MessageBoxes()[1].request.text, "Control character in the text");
    EXPECT_EQ(Questions(box, kInput), Names{"\u20AC 5"});

    tVokabel* card = box.AddToInput(Card("keep", "this"));
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& dialog) {
        dialog.Type(ids::kInputAnswer, "th\u009Dis");
        dialog.Click(ids::kIdOk);
        EXPECT_FALSE(dialog.Ended());
        dialog.Click(ids::kIdCancel);
    });
    EXPECT_EQ(Edit(card), platform::DialogResult::Cancel);
    EXPECT_EQ(card->Answer(), "this");
}

TEST_F(CardInputTest, ATextThatTheZeroEscapeEmptiesIsRefused) {
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    RunNew([](HeadlessDialog& dialog) {
        TypeCard(dialog, "question", "\\0rest");
        EXPECT_FALSE(dialog.Ended());
        dialog.Click(ids::kIdCancel);
    });
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.text, "At least on of the fields are empty!");
    EXPECT_EQ(box.TotalCards(), 0);
}

TEST_F(CardInputTest, EmptyFieldsAreRefusedInBothModes) {
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    RunNew([](HeadlessDialog& dialog) {
        dialog.Type(ids::kInputQuestion, "only a question");
        dialog.Click(ids::kIdOk);
        EXPECT_FALSE(dialog.Ended());
        EXPECT_EQ(dialog.Text(ids::kInputQuestion), "only a question");
        dialog.Type(ids::kInputAnswer, "   ");  // blanks are text
        dialog.Click(ids::kIdOk);
        dialog.Click(ids::kIdCancel);
    });
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.text, "At least on of the fields are empty!");
    EXPECT_EQ(backend.MessageBoxes()[0].request.caption, " ");
    EXPECT_EQ(backend.MessageBoxes()[0].request.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(Questions(box, kInput), Names{"only a question"});

    tVokabel* card = box.AddToInput(Card("keep", "this"));
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& dialog) {
        dialog.Type(ids::kInputQuestion, "");
        dialog.PressEnter();
        EXPECT_FALSE(dialog.Ended());
        dialog.Click(ids::kIdCancel);
    });
    EXPECT_EQ(Edit(card), platform::DialogResult::Cancel);
    EXPECT_EQ(card->Question(), "keep");
}

TEST_F(CardInputTest, ChangeModeExpandsEscapesOnOk) {
    box.AddToPartition(Card("a", "b"), 2);
    tVokabel copy;
    tVokabel* card = box.FirstInPartition(2, copy);
    backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& dialog) {
        dialog.Type(ids::kInputQuestion, "a\\\"e");
        dialog.Click(ids::kIdOk);
        EXPECT_TRUE(dialog.Ended());
        EXPECT_EQ(dialog.Text(ids::kInputQuestion), "a\\\"e");  // the field keeps what was typed
    });
    EXPECT_EQ(Edit(card), platform::DialogResult::Ok);
    EXPECT_EQ(card->Question(), "a\u00EB");
    EXPECT_EQ(card->Answer(), "b");
    EXPECT_EQ(box.CardsIn(2), 1);
}

TEST_F(CardInputTest, LongTextsKeepTheirFirstSixtyThreeCharacters) {
    RunNew([](HeadlessDialog& dialog) {
        TypeCard(dialog, std::string(70, 'q'), std::string(64, 'a') + "b");
        dialog.Click(ids::kIdCancel);
    });
    tVokabel card;
    box.FirstInPartition(kInput, card);
    EXPECT_EQ(card.Question(), std::string(63, 'q'));
    EXPECT_EQ(card.Answer(), std::string(63, 'a'));
}

TEST_F(CardInputTest, EveryScriptGoesInCountedAsAPersonCounts) {
    std::string chinese;
    std::string thumbs;
    for (int i = 0; i < 70; ++i) {
        chinese += "\u4E2D";
        thumbs += "\U0001F44D\U0001F3FD";  // a thumb and its skin tone: one character
    }
    RunNew([&](HeadlessDialog& dialog) {
        TypeCard(dialog, "g\u0119\u015B", "goose");
        TypeCard(dialog, "\u0645\u0631\u062D\u0628\u0627", "\u05E9\u05DC\u05D5\u05DD");
        // The edits take 63 characters, and no more than 254 bytes of them.
        TypeCard(dialog, chinese, thumbs);
        dialog.Click(ids::kIdCancel);
    });
    tVokabel card;
    std::vector<std::pair<std::string, std::string>> cards;
    for (tVokabel* stored = box.FirstInPartition(kInput, card); stored != nullptr;
         stored = box.NextInPartition(kInput, card)) {
        cards.emplace_back(stored->Question(), stored->Answer());
    }
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0], (std::pair<std::string, std::string>{"g\u0119\u015B", "goose"}));
    EXPECT_EQ(cards[1].second, "\u05E9\u05DC\u05D5\u05DD");
    EXPECT_EQ(cards[2].first, chinese.substr(0, 63 * 3));
    EXPECT_EQ(cards[2].second, thumbs.substr(0, 31 * 8));
}

// A letter typed as one code point or as a letter and a combining mark is the same card.
TEST_F(CardInputTest, TextsAreStoredNormalisedSoDoublesAreFound) {
    box.AddToPartition(Card("caf\u00E9", "coffee"), 2);
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        EXPECT_EQ(doubles.Text(ids::kDoublesQuestion), "caf\u00E9");
        doubles.Click(ids::kIdCancel);
    });
    RunNew([](HeadlessDialog& dialog) {
        TypeCard(dialog, "cafe\u0301", "Kaffee");
        TypeCard(dialog, "Ame\u0301lie", "a name");
        dialog.Click(ids::kIdCancel);
    });
    EXPECT_EQ(Questions(box, kInput), Names{"Am\u00E9lie"});
}

TEST_F(CardInputTest, HelpOpensAtTheDialogsContext) {
    box.AddToInput(Card("x", "y"));
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        doubles.Click(ids::kDoublesHelp);
        doubles.PressEscape();
    });
    RunNew([](HeadlessDialog& dialog) {
        dialog.Click(ids::kInputHelp);
        TypeCard(dialog, "x", "z");
        dialog.Click(ids::kIdCancel);
    });
    ASSERT_EQ(backend.HelpRequests().size(), 2u);
    EXPECT_EQ(backend.HelpRequests()[0].context, 3300u);
    EXPECT_EQ(backend.HelpRequests()[0].command, platform::HelpCommand::Context);
    EXPECT_EQ(backend.HelpRequests()[1].context, 3200u);
    EXPECT_EQ(backend.HelpRequests()[0].page, "input.html");
    EXPECT_EQ(backend.HelpRequests()[1].page, "doubles.html");
}

TEST_F(CardInputTest, F1OpensTheDialogsOwnHelp) {
    box.AddToInput(Card("x", "y"));
    backend.ExpectDialog(ids::kDoublesDialog, [](HeadlessDialog& doubles) {
        EXPECT_TRUE(doubles.PressHelpKey());
        doubles.PressEscape();
    });
    RunNew([](HeadlessDialog& dialog) {
        EXPECT_TRUE(dialog.PressHelpKey());
        TypeCard(dialog, "x", "z");
        dialog.Click(ids::kIdCancel);
    });
    ASSERT_EQ(backend.HelpRequests().size(), 2u);
    EXPECT_EQ(backend.HelpRequests()[0].context, 3300u);
    EXPECT_EQ(backend.HelpRequests()[1].context, 3200u);
}

}  // namespace
}  // namespace tallyfold
