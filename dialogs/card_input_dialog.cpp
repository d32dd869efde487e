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

std::string_view TextOf(const tVokabelDialog::TextBuffer& buffer) {
    return buffer.data();
}

void Assign(tVokabelDialog::TextBuffer& buffer, std::string_view text) {
    const std::size_t length = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.data(), length, buffer.data());
    buffer[length] = '\0';
}

bool AllDefined(const tVokabelDialog::TextBuffer& text) {
    const std::string_view view = TextOf(text);
    return std::all_of(view.begin(), view.end(),
                       [](char c) { return IsDefinedAnsi(static_cast<unsigned char>(c)); });
}

}  // namespace

tVokabelDialog::tVokabelDialog(platform::Window& parent, tCardBox& box, bool newMode)
    : Dialog(parent, InputTemplate()),
      box_(&box),
      QuestionEdit(*this, ids::kInputQuestion),
      AnswerEdit(*this, ids::kInputAnswer),
      SaveButton(*this, ids::kIdOk),
      CloseButton(*this, ids::kIdCancel),
      NewMode(newMode) {
    OnCommand(ids::kIdOk, &tVokabelDialog::CmSave);
    OnCommand(ids::kInputHelp, &tVokabelDialog::CmHelp);
}

void tVokabelDialog::SetupWindow() {
    QuestionEdit.SetText(TextOf(QuestionText));
    AnswerEdit.SetText(TextOf(AnswerText));
    if (!NewMode) {
        SaveButton.SetText(StringResource(ids::kStrOk));
        char cancel[80];
        LoadString(ids::kStrCancel, cancel);
        CloseButton.SetText(cancel);
    }
}

void tVokabelDialog::CmSave() {
    if (NewMode) {
        LastQuestion = QuestionText;
        LastAnswer = AnswerText;
    }
    QuestionEdit.GetText(QuestionText);
    AnswerEdit.GetText(AnswerText);
    if (QuestionText[0] == '\0' || AnswerText[0] == '\0') {
        char message[80];
        LoadString(ids::kStrFieldsEmpty, message);
        MessageBox(message, " ");
        return;
    }
    if (!AllDefined(QuestionText) || !AllDefined(AnswerText)) {
        // No character is changed behind the user's back: what no file can hold is refused.
        MessageBox(StringResource(ids::kStrCharacterNotSupported), " ");
        return;
    }
    ExpandEscapesAnsi(QuestionText);
    ExpandEscapesAnsi(AnswerText);
    // The "\0" escape ends a text where it stands: a text that is empty as stored is empty.
    if (QuestionText[0] == '\0' || AnswerText[0] == '\0') {
        MessageBox(StringResource(ids::kStrFieldsEmpty), " ");
        return;
    }
    if (!NewMode) {
        EndDialog(platform::DialogResult::Ok);
        return;
    }
    const bool unchanged =
        TextOf(QuestionText) == TextOf(LastQuestion) && TextOf(AnswerText) == TextOf(LastAnswer);
    if (!unchanged) {
        tVokabel card;
        card.SetTexts(TextOf(QuestionText), TextOf(AnswerText));
        tVokabel* found = box_->FindSameQuestionOrAnswer(card);
        if (found == nullptr || ShowDoubles(*this, *box_, *found) == platform::DialogResult::Ok) {
            box_->AddToInput(card);
        }
    }
    QuestionEdit.SetFocus();
    QuestionEdit.SetSelection(0, -1);
}

void tVokabelDialog::CmHelp() {
    ShowHelpContext(*this, ids::kInputDialog);
}

tShowDialog::tShowDialog(platform::Window& parent, tCardBox& box, tVokabel& found)
    : Dialog(parent, DoublesTemplate()),
      box_(&box),
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
    static_cast<void>(EditCard(*this, *box_, FoundCard));
    ShowFoundCard();
}

void tShowDialog::CmHelp() {
    ShowHelpContext(*this, ids::kDoublesDialog);
}

platform::DialogResult EditCard(platform::Window& parent, tCardBox& box, tVokabel* card) {
    tVokabelDialog dialog(parent, box, card == nullptr);
    Assign(tVokabelDialog::QuestionText, card != nullptr ? card->Question() : std::string_view());
    Assign(tVokabelDialog::AnswerText, card != nullptr ? card->Answer() : std::string_view());
    const platform::DialogResult result = dialog.Execute();
    if (result == platform::DialogResult::Ok && card != nullptr) {
        CopyCardText(card->question, TextOf(tVokabelDialog::QuestionText));
        CopyCardText(card->answer, TextOf(tVokabelDialog::AnswerText));
    }
    return result;
}

platform::DialogResult ShowDoubles(platform::Window& parent, tCardBox& box, tVokabel& found) {
    tShowDialog dialog(parent, box, found);
    return dialog.Execute();
}

}  // namespace tallyfold
