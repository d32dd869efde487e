// The learning view of the main window: what the learning session shows, drawn in the
// window's controls and status bar.

#include <string>

#include "app/main_window.h"

namespace tallyfold {

void tHauptFenster::ShowQuestion(std::string_view text) {
    QuestionStatic.SetText(text);
}

void tHauptFenster::ShowAnswer(std::string_view text) {
    AnswerStatic.SetText(text);
}

void tHauptFenster::ShowPartition(std::string_view text) {
    PartitionStatic.SetText(text);
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
