// The Card and Partition menus of the main window.

#include "app/main_window.h"
#include "dialogs/card_input_dialog.h"
#include "dialogs/cards_dialog.h"
#include "dialogs/partition_overview_dialog.h"
#include "dialogs/statistics_dialog.h"
#include "dialogs/target_dialog.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

void tHauptFenster::CmCardNew() {
    // New mode adds every card the user saves while the dialog is open, whichever way it then
    // closes. All of them are one step.
    const Document::Step step(*document_, StepName::NewCard);
    static_cast<void>(EditCard(*this, *document_, session_.InputTexts(), nullptr));
    Refresh();
}

void tHauptFenster::CmCardChange() {
    tVokabel* card = session_.CurrentCard();
    if (card == nullptr) {
        return;
    }
    {
        const Document::Step step(*document_, StepName::ChangeCard);
        static_cast<void>(EditCard(*this, *document_, session_.InputTexts(), card));
    }
    session_.ShowCard();
}

void tHauptFenster::CmCardDelete() {
    session_.DeleteCard();
}

void tHauptFenster::CmAllToInput() {
    char question[80];
    LoadString(ids::kStrAllToInput, question);
    if (MessageBox(question, " ", platform::MessageButtons::YesNo) != platform::DialogResult::Yes) {
        return;
    }
    const Document::Step step(*document_, StepName::AllToInput);
    document_->AllToInput();
    Refresh();
}

void tHauptFenster::CmPartitionChange() {
    // Each action of the overview is a step of its own; after an undo in the Cards window
    // opened from it, the card on view is the one the box offers (see CmFindCards).
    if (ShowPartitionOverview(*this, *document_, session_.InputTexts())) {
        session_.ShowRestored();
    } else {
        Refresh();
    }
}

void tHauptFenster::CmFindCards() {
    // Each action of the Cards window is a step of its own. After an undo there, the card on
    // view is the one the box offers, as after Edit > Undo: choosing anew could make a step
    // that drops what can be redone.
    if (ShowCards(*this, *document_, session_.InputTexts())) {
        session_.ShowRestored();
    } else {
        Refresh();
    }
}

void tHauptFenster::CmStatistics() {
    // Ask these next moved cards into partition 1: the card on view is chosen anew, so that
    // they are the next asked.
    if (ShowStatistics(*this, *document_)) {
        Refresh();
    }
}

void tHauptFenster::CmDeleteLast() {
    char question[80];
    LoadString(ids::kStrDeleteLast, question);
    if (MessageBox(question, " ", platform::MessageButtons::OkCancel,
                   platform::MessageIcon::Question) != platform::DialogResult::Ok) {
        return;
    }
    const Document::Step step(*document_, StepName::DeleteLast);
    document_->ClearPartition(document_->Box().PartitionCount());
    Refresh();
}

void tHauptFenster::CmMixAll() {
    const Document::Step step(*document_, StepName::MixAll);
    document_->Mix(0);
    Refresh();
}

void tHauptFenster::CmMixThis() {
    const int number = ChooseTarget(*this, document_->Box());
    if (number == 0) {
        return;
    }
    const Document::Step step(*document_, StepName::MixThis);
    document_->Mix(number);
    Refresh();
}

}  // namespace tallyfold
