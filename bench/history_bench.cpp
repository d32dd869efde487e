#include "bench/history_bench.h"

#include <string>

#include "files/vok_file.h"

namespace tallyfold::bench {

std::unique_ptr<History> OpenHistory(const std::string& vok, const std::string& journals) {
    auto history = std::make_unique<History>();
    history->document = std::make_unique<Document>(history->box);
    if (!journals.empty()) {
        history->document->SetJournalFolder(FilePath(journals));
    }
    static_cast<void>(history->document->Open(FilePath(vok)));
    int number = 0;
    static_cast<void>(history->document->ChooseNext(false, number));
    return history;
}

void Verdict(Document& document, bool known) {
    const Document::Step step(document, known ? StepName::Known : StepName::Unknown);
    if (known) {
        document.Known();
    } else {
        document.Unknown();
    }
    int number = 0;
    static_cast<void>(document.ChooseNext(false, number));
}

void ImportStep(Document& document, int count) {
    const Document::Step step(document, StepName::Import);
    tVokabel card;
    for (int i = 0; i < count; ++i) {
        card.SetTexts("imported question " + std::to_string(i), "imported answer");
        document.AddCard(card);
    }
}

}  // namespace tallyfold::bench
