#include "dialogs/card_input_dialog.h"

#include <algorithm>
#include <string_view>

#include "dialogs/help.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "table/charset.h"

namespace tallyfold {

namespace {

std::string_view TextOf(const CardInputTexts::TextBuffer& buffer) {
    return buffer.data();
}

void Assign(CardInputTexts::TextBuffer& buffer, std::string_view text) {
    const std::size_t length = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.data(), length, buffer.data());
    buffer[length] = '\0';
}

bool AllDefined(const CardInputTexts::TextBuffer& text) {
    return AllDefinedAnsi(TextOf(text));
}

}  // namespace

tVokabelDialog::tVokabelDialog(platform::Window& parent, Document& document, CardInputTexts& texts,
                               bool newMode)
    : Dialog(parent, InputTemplate()),
      document_(&document),
      texts_(&texts),
      QuestionEdit(*this, ids::kInputQuestion),
      AnswerEdit(*this, ids::kInputAnswer),
      SaveButton(*this, ids::kIdOk),
      CloseButton(*this, ids::kIdCancel),
      NewMode(newMode) {
    OnCommand(ids::kIdOk, &tVokabelDialog::CmSave);
    OnCommand(ids::kInputHelp, &tVokabelDialog::CmHelp);
}

void tVokabelDialog::SetupWindow() {
    QuestionEdit.SetText(TextOf(texts_->question));
    AnswerEdit.SetText(TextOf(texts_->answer));
    if (!NewMode) {
        SaveButton.SetText(StringResource(ids::kStrOk));
        char cancel[80];
        LoadString(ids::kStrCancel, cancel);
        CloseButton.SetText(cancel);
    }
}

void tVokabelDialog::CmSave() {
    CardInputTexts::TextBuffer& question = texts_->question;
    CardInputTexts::TextBuffer& answer = texts_->answer;
    if (NewMode) {
        texts_->lastQuestion = question;
        texts_->lastAnswer = answer;
    }
    QuestionEdit.GetText(question);
    AnswerEdit.GetText(answer);
    if (question[0] == '\0' || answer[0] == '\0') {
        char message[80];
        LoadString(ids::kStrFieldsEmpty, message);
        MessageBox(message, " ");
        return;
    }
    if (!AllDefined(question) || !AllDefined(answer)) {
        // No character is changed behind the user's back: what no file can hold is refused.
        MessageBox(StringResource(ids::kStrCharacterNotSupported), " ");
        return;
    }
    ExpandEscapesAnsi(question);
    ExpandEscapesAnsi(answer);
    // The "\0" escape ends a text where it stands: a text that is empty as stored is empty.
    if (question[0] == '\0' || answer[0] == '\0') {
        MessageBox(StringResource(ids::kStrFieldsEmpty), " ");
        return;
    }
    if (!NewMode) {
        EndDialog(platform::DialogResult::Ok);
        return;
    }
    const bool unchanged = TextOf(question) == TextOf(texts_->lastQuestion) &&
                           TextOf(answer) == TextOf(texts_->lastAnswer);
    if (!unchanged) {
        tVokabel card;
        card.SetTexts(TextOf(question), TextOf(answer));
        tVokabel* found = document_->FindSameQuestionOrAnswer(card);
        if (found == nullptr ||
            ShowDoubles(*this, *document_, *texts_, *found) == platform::DialogResult::Ok) {
            document_->AddCard(card);
        }
    }
    QuestionEdit.SetFocus();
    QuestionEdit.SetSelection(0, -1);
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

platform::DialogResult EditCard(platform::Window& parent, Document& document, CardInputTexts& texts,
                                tVokabel* card) {
    tVokabelDialog dialog(parent, document, texts, card == nullptr);
    Assign(texts.question, card != nullptr ? card->Question() : std::string_view());
    Assign(texts.answer, card != nullptr ? card->Answer() : std::string_view());
    const platform::DialogResult result = dialog.Execute();
    if (result == platform::DialogResult::Ok && card != nullptr) {
        document.SetTexts(*card, TextOf(texts.question), TextOf(texts.answer));
    }
    return result;
}

platform::DialogResult ShowDoubles(platform::Window& parent, Document& document,
                                   CardInputTexts& texts, tVokabel& found) {
    tShowDialog dialog(parent, document, texts, found);
    return dialog.Execute();
}

}  // namespace tallyfold
