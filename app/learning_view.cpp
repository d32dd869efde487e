// The learning view of the main window: what the learning session shows, drawn in the
// window's controls and status bar.

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "document/checked_answer.h"
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
    const platform::TextFont& answerFont = switched ? questionFont_ : answerFont_;
    QuestionStatic.SetFont(
        CardFontForField(switched ? answerFont_ : questionFont_, cardFieldHeight_));
    // Checked, the answer and what was typed share its place.
    const int answerHeight =
        typingStep_ == TypingStep::Checked ? cardFieldHeight_ / 2 : cardFieldHeight_;
    AnswerStatic.SetFont(CardFontForField(answerFont, answerHeight));
    TypedMarks.SetFont(CardFontForField(answerFont, answerHeight));
    TypedAnswerEdit.SetFont(CardFontForField(answerFont, std::clamp(cardFieldHeight_, 24, 48)));
    // The verdict in the window's face, larger than its labels: it is what the learner reads
    // first.
    VerdictStatic.SetFont({"", std::clamp(cardFieldHeight_ / 4, 11, 18)});
}

void tHauptFenster::EnableVerdicts(bool answerShown, Verdict proposed) {
    // The focus goes where the next key is wanted: to the verdict proposed once the answer
    // shows (Known, unless a typed answer was not right), to Look once a verdict is given, so
    // that Space, Space is Look, Known as Enter, Enter is. The button that takes it is enabled
    // first, so the focus never passes through another.
    if (answerShown) {
        const platform::Button& wanted = proposed == Verdict::Unknown ? UnknownButton : KnownButton;
        wanted.Enable(true);
        wanted.SetFocus();
    } else {
        LookButton.Enable(true);
        LookButton.SetFocus();
    }
    KnownButton.Enable(answerShown);
    UnknownButton.Enable(answerShown);
    LookButton.Enable(!answerShown);
}

void tHauptFenster::ShowTypingStep(TypingStep step) {
    typingStep_ = step;
    const bool asking = step == TypingStep::Asking;
    const bool checked = step == TypingStep::Checked;
    // The field is shown before it takes the focus, and hidden only once the focus has gone to
    // a verdict, so that the focus is never left on a hidden control.
    TypedAnswerEdit.Show(asking);
    AnswerStatic.Show(!asking);
    TypedMarks.Show(checked);
    VerdictStatic.Show(checked);
    LookButton.Show(!checked);
    LayOut();
    if (asking) {
        TypedAnswerEdit.Enable(true);
        TypedAnswerEdit.SetFocus();
    }
}

std::string tHauptFenster::TypedAnswer() const {
    return TypedAnswerEdit.Text();
}

void tHauptFenster::ClearTypedAnswer() {
    TypedAnswerEdit.SetText("");
}

namespace {

platform::TextMark MarkOf(CharacterMark mark) {
    switch (mark) {
        case CharacterMark::Right:
            return platform::TextMark::Right;
        case CharacterMark::Forgiven:
            return platform::TextMark::Forgiven;
        case CharacterMark::Wrong:
            return platform::TextMark::Wrong;
        case CharacterMark::Extra:
            return platform::TextMark::Extra;
        case CharacterMark::Missing:
            return platform::TextMark::Missing;
    }
    return platform::TextMark::Plain;
}

}  // namespace

void tHauptFenster::ShowComparison(const AnswerComparison& comparison) {
    std::vector<platform::MarkedRun> runs;
    for (const MarkedCharacter& character : comparison.marks) {
        const platform::TextMark mark = MarkOf(character.mark);
        if (!runs.empty() && runs.back().mark == mark) {
            runs.back().text += character.text;
        } else {
            runs.push_back({character.text, mark});
        }
    }
    TypedMarks.SetRuns(runs);
    TypedMarks.SetAccessibleName(SpokenComparison(comparison));
    VerdictStatic.SetText(VerdictText(comparison));
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
