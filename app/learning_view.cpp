// The learning view of the main window: what the learning session shows, drawn in the
// window's controls and status bar.

#include <string>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

namespace {

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

// Each field carries a name for screen readers that says what it is: a bare "house" or "1"
// tells a listener nothing.
void tHauptFenster::ShowQuestion(std::string_view text) {
    QuestionStatic.SetText(text);
    QuestionStatic.SetAccessibleName(
        FormatTexts(StringResource(ids::kStrQuestionName), {std::string(text)}));
}

void tHauptFenster::ShowAnswer(std::string_view text) {
    AnswerStatic.SetText(text);
    AnswerStatic.SetAccessibleName(
        IsBlank(text) ? std::string(StringResource(ids::kStrAnswerHidden))
                      : FormatTexts(StringResource(ids::kStrAnswerName), {std::string(text)}));
}

void tHauptFenster::ShowPartition(std::string_view text) {
    PartitionStatic.SetText(text);
    PartitionStatic.SetAccessibleName(
        IsBlank(text) ? std::string(StringResource(ids::kStrNoPartition))
                      : FormatTexts(StringResource(ids::kStrPartitionName), {std::string(text)}));
}

void tHauptFenster::ChooseCardFont(platform::TextFont& font, int titleId, std::string_view key) {
    platform::TextFont chosen = font;
    if (!RunFontDialog(StringResource(titleId), chosen)) {
        return;
    }
    font = chosen;
    GetBackend().WriteSetting(key, SettingOfCardFont(font));
    ShowCardFonts();
}

void tHauptFenster::ShowCardFonts() {
    if (Peer() == nullptr) {
        return;
    }
    const bool switched = session_.Switched();
    QuestionStatic.SetFont(
        CardFontForField(switched ? answerFont_ : questionFont_, cardFieldHeight_));
    AnswerStatic.SetFont(
        CardFontForField(switched ? questionFont_ : answerFont_, cardFieldHeight_));
}

void tHauptFenster::EnableVerdicts(bool answerShown) {
    // The focus goes where the next key is wanted: to Known once the answer shows, to Look once
    // a verdict is given, so that Space, Space is Look, Known as Enter, Enter is. The button
    // that takes it is enabled first, so the focus never passes through another.
    if (answerShown) {
        KnownButton.Enable(true);
        KnownButton.SetFocus();
    } else {
        LookButton.Enable(true);
        LookButton.SetFocus();
    }
    KnownButton.Enable(answerShown);
    UnknownButton.Enable(answerShown);
    LookButton.Enable(!answerShown);
}

void tHauptFenster::ShowCounters(std::string_view text) {
    CountsGadget.SetText(text);
}

void tHauptFenster::ShowCounts(std::string_view text) {
    MessageArea.SetText(text);
    // The counts are written after every change: the moment to see whether the change could be
    // journaled.
    ReportSafetyNet();
}

}  // namespace tallyfold
