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
