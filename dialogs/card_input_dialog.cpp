#include "dialogs/card_input_dialog.h"

#include <string>
#include <string_view>

#include "dialogs/help.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "table/charset.h"
#include "text/card_side.h"
#include "text/normalization.h"
#include "text/utf8.h"

namespace tallyfold {

namespace {

// What a typed side becomes as a card's text: escapes expanded (the "\0" escape ends it where
// it stands), in NFC, so that a letter typed as one code point or as a letter and a mark is
// the same card.
std::string StoredSide(std::string_view typed) {
    return unicode::ToNfc(ExpandEscapesUtf8(typed));
}

// The message that refuses a side as it is stored, or 0. A side of blanks is text, as it
// always was here; only an empty one is missing.
int RefusalOf(std::string_view side) {
    if (side.empty()) {
        return ids::kStrFieldsEmpty;
    }
    switch (unicode::ProblemOfSide(side)) {
        case unicode::SideProblem::None:
        case unicode::SideProblem::Missing:
            return 0;
        case unicode::SideProblem::TooLong:
            return ids::kStrTextTooLong;
        case unicode::SideProblem::NotUtf8:
            return ids::kStrNotUtf8;
        case unicode::SideProblem::ControlCharacter:
            return ids::kStrControlCharacter;
    }
    return 0;
}

}  // namespace

tVokabelDialog::tVokabelDialog(platform::Window& parent, Document& document, CardInputTexts& texts,
                               const tVokabel* card, DoublesOnChange doubles)
    : Dialog(parent, InputTemplate()),
      document_(&document),
      card_(card),
      doubles_(doubles),
      texts_(&texts),
      QuestionEdit(*this, ids::kInputQuestion),
      AnswerEdit(*this, ids::kInputAnswer),
      SaveButton(*this, ids::kIdOk),
      CloseButton(*this, ids::kIdCancel),
      CountLabel(*this, ids::kInputCount),
      NewMode(card == nullptr) {
    OnCommand(ids::kIdOk, &tVokabelDialog::CmSave);
    OnCommand(ids::kInputHelp, &tVokabelDialog::CmHelp);
}

void tVokabelDialog::SetupWindow() {
    QuestionEdit.SetText(texts_->question);
    AnswerEdit.SetText(texts_->answer);
    QuestionEdit.LimitText(unicode::kMaxSideCharacters, unicode::kMaxSideBytes);
    AnswerEdit.LimitText(unicode::kMaxSideCharacters, unicode::kMaxSideBytes);
    if (!NewMode) {
        SaveButton.SetText(StringResource(ids::kStrOk));
        char cancel[80];
        LoadString(ids::kStrCancel, cancel);
        CloseButton.SetText(cancel);
    }
}

void tVokabelDialog::CmSave() {
    std::string& question = texts_->question;
    std::string& answer = texts_->answer;
    if (NewMode) {
        texts_->lastQuestion = question;
        texts_->lastAnswer = answer;
    }
    question = QuestionEdit.Text();
    answer = AnswerEdit.Text();
    if (question.empty() || answer.empty()) {
        char message[80];
        LoadString(ids::kStrFieldsEmpty, message);
        MessageBox(message, " ");
        return;
    }
    // Nothing is cut, dropped or replaced behind the user's back: a side no card can hold is
    // refused.
    if (!unicode::IsValidUtf8(question) || !unicode::IsValidUtf8(answer)) {
        MessageBox(StringResource(ids::kStrNotUtf8), " ");
        return;
    }
    question = StoredSide(question);
    answer = StoredSide(answer);
    const int refusal = RefusalOf(question) != 0 ? RefusalOf(question) : RefusalOf(answer);
    if (refusal != 0) {
        MessageBox(StringResource(refusal), " ");
        return;
    }
    tVokabel card;
    card.SetTexts(question, answer);
    if (!NewMode) {
        const bool unchanged = question == card_->Question() && answer == card_->Answer();
        if (doubles_ == DoublesOnChange::Allowed || unchanged) {
            EndDialog(platform::DialogResult::Ok);
            return;
        }
        // The Doubles dialog's Change edits the card found through the same texts: what was
        // typed here is what this dialog stores.
        const std::string typedQuestion = question;
        const std::string typedAnswer = answer;
        const bool mayStore = MayStore(card);
        texts_->question = typedQuestion;
        texts_->answer = typedAnswer;
        if (mayStore) {
            EndDialog(platform::DialogResult::Ok);
        } else {
            QuestionEdit.SetFocus();
            QuestionEdit.SetSelection(0, -1);
        }
        return;
    }
    const bool unchanged = question == texts_->lastQuestion && answer == texts_->lastAnswer;
    if (!unchanged) {
        if (MayStore(card)) {
            document_->AddCard(card);
            ++added_;
            CountLabel.SetText(FormatTexts(StringResource(ids::kStrCardsPutIn),
                                           {CountOf(added_, ids::kStrOneCard, ids::kStrCards)}));
        }
    }
    QuestionEdit.SetFocus();
    QuestionEdit.SetSelection(0, -1);
}

bool tVokabelDialog::MayStore(const tVokabel& typed) {
    tVokabel* found = document_->FindSameQuestionOrAnswer(typed, card_);
    return found == nullptr ||
           ShowDoubles(*this, *document_, *texts_, *found) == platform::DialogResult::Ok;
}

void tVokabelDialog::CmHelp() {
    ShowHelpContext(*this, ids::kInputDialog);
}

tShowDialog::tShowDialog(platform::Window& parent, Document& document, CardInputTexts& texts,
                         tVokabel& found)
    : Dialog(parent, DoublesTemplate()),
      document_(&document),
      texts_(&texts),
      QuestionLabel(*this, ids::kDoublesQuestion),
      AnswerLabel(*this, ids::kDoublesAnswer),
      FoundCard(&found) {
    OnCommand(ids::kDoublesChange, &tShowDialog::CmChange);
    OnCommand(ids::kDoublesHelp, &tShowDialog::CmHelp);
}

void tShowDialog::SetupWindow() {
    ShowFoundCard();
}

void tShowDialog::ShowFoundCard() {
    QuestionLabel.SetText(FoundCard->Question());
    AnswerLabel.SetText(FoundCard->Answer());
}

void tShowDialog::CmChange() {
    // After Ok the card shows its corrected texts, after Cancel the same ones again.
    static_cast<void>(EditCard(*this, *document_, *texts_, FoundCard));
    ShowFoundCard();
}

void tShowDialog::CmHelp() {
    ShowHelpContext(*this, ids::kDoublesDialog);
}

namespace {

platform::DialogResult RunInput(platform::Window& parent, Document& document, CardInputTexts& texts,
                                tVokabel* card, DoublesOnChange doubles) {
    tVokabelDialog dialog(parent, document, texts, card, doubles);
    texts.question = card != nullptr ? card->Question() : std::string_view();
    texts.answer = card != nullptr ? card->Answer() : std::string_view();
    const platform::DialogResult result = dialog.Execute();
    if (result == platform::DialogResult::Ok && card != nullptr) {
        document.SetTexts(*card, texts.question, texts.answer);
    }
    return result;
}

}  // namespace

platform::DialogResult EditCard(platform::Window& parent, Document& document, CardInputTexts& texts,
                                tVokabel* card) {
    return RunInput(parent, document, texts, card, DoublesOnChange::Allowed);
}

platform::DialogResult EditCardAskingAboutDoubles(platform::Window& parent, Document& document,
                                                  CardInputTexts& texts, tVokabel& card) {
    return RunInput(parent, document, texts, &card, DoublesOnChange::Asked);
}

platform::DialogResult ShowDoubles(platform::Window& parent, Document& document,
                                   CardInputTexts& texts, tVokabel& found) {
    tShowDialog dialog(parent, document, texts, found);
    return dialog.Execute();
}

}  // namespace tallyfold
