#include "dialogs/partition_overview_dialog.h"

#include <cstdint>
#include <string>

#include "dialogs/card_input_dialog.h"
#include "dialogs/cards_dialog.h"
#include "dialogs/help.h"
#include "dialogs/target_dialog.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

using platform::Notification;

tBearbDialog::tBearbDialog(platform::Window& parent, Document& document, CardInputTexts& texts)
    : Dialog(parent, OverviewTemplate()),
      document_(&document),
      texts_(&texts),
      CardList(*this, ids::kOverviewCards),
      PartitionBox(*this, ids::kOverviewPartition),
      CorrectButton(*this, ids::kOverviewCorrect),
      MoveButton(*this, ids::kOverviewMove),
      DeleteButton(*this, ids::kOverviewDelete),
      CountLabel(*this, ids::kOverviewCount) {
    OnNotify(ids::kOverviewCards, Notification::SelectionChanged, &tBearbDialog::SelectionChanged);
    OnNotify(ids::kOverviewCards, Notification::DoubleClicked, &tBearbDialog::CmCorrect);
    OnNotify(ids::kOverviewPartition, Notification::SelectionChanged,
             &tBearbDialog::PartitionChosen);
    OnCommand(ids::kOverviewCorrect, &tBearbDialog::CmCorrect);
    OnCommand(ids::kOverviewMove, &tBearbDialog::CmMove);
    OnCommand(ids::kOverviewDelete, &tBearbDialog::CmDelete);
    OnCommand(ids::kOverviewHelp, &tBearbDialog::CmHelp);
    OnCommand(ids::kOverviewFind, &tBearbDialog::CmFindCards);
}

void tBearbDialog::SetupWindow() {
    const int partitions = document_->Box().PartitionCount();
    PartitionBox.Clear();
    for (int number = 1; number <= partitions + 1; ++number) {
        PartitionBox.AddString(PartitionEntry(" - %d - ", number, partitions));
    }
    ShownPartition = 0;
    PartitionBox.SetSelIndex(0);
    FillCardList(1);
    DisableActions();
}

int tBearbDialog::FillCardList(int number) {
    const tCardBox& box = document_->Box();
    // The list asks for the lines it shows, mostly one after another: the reader walks on.
    lineCards_ = std::make_unique<tVokListe::Places>(box.PlacesIn(number));
    const int count = box.CardsIn(number);
    CardList.SetLines(count, [this](int line) {
        const tVokabel* card = lineCards_->At(line);
        return card != nullptr ? std::string(card->Question()) : std::string();
    });
    CountLabel.SetText(std::to_string(count));
    return count;
}

void tBearbDialog::DisableActions() {
    CorrectButton.Disable();
    MoveButton.Disable();
    DeleteButton.Disable();
}

void tBearbDialog::SelectionChanged() {
    CorrectButton.Enable();
    MoveButton.Enable();
    DeleteButton.Enable();
}

void tBearbDialog::PartitionChosen() {
    const int chosen = PartitionBox.GetSelIndex();
    if (chosen == ShownPartition || chosen < 0) {
        return;
    }
    ShownPartition = chosen;
    FillCardList(ShownPartition + 1);
    DisableActions();
}

void tBearbDialog::CmCorrect() {
    if (CardList.Count() == 0) {
        return;
    }
    const std::vector<int> lines = CardList.GetSelIndexes();
    const std::vector<tVokabel*> cards = document_->CardsOnLines(ShownPartition + 1, lines);
    if (cards.empty()) {
        return;
    }
    platform::DialogResult result = platform::DialogResult::Cancel;
    {
        const Document::Step step(*document_, StepName::CorrectCard);
        result = EditCard(*this, *document_, *texts_, cards.front());
    }
    if (result == platform::DialogResult::Ok) {
        Refill();
    }
}

void tBearbDialog::CmMove() {
    const int target = ChooseTarget(*this, document_->Box());
    const int shown = ShownPartition + 1;
    if (target == 0 || target == shown) {
        return;
    }
    const std::vector<int> lines = CardList.GetSelIndexes();
    if (lines.empty()) {
        return;
    }
    {
        const Document::Step step(*document_, StepName::MoveCards);
        document_->MoveLines(shown, lines, target);
    }
    Refill();
}

void tBearbDialog::CmDelete() {
    char question[80];
    LoadString(ids::kStrReallyDelete, question);
    if (MessageBox(question, "", platform::MessageButtons::YesNo) != platform::DialogResult::Yes) {
        return;
    }
    const std::vector<int> lines = CardList.GetSelIndexes();
    if (lines.empty()) {
        return;
    }
    {
        const Document::Step step(*document_, StepName::DeleteCards);
        document_->RemoveLines(ShownPartition + 1, lines);
    }
    Refill();
}

void tBearbDialog::Refill() {
    historyMoved_ = false;
    FillCardList(ShownPartition + 1);
    DisableActions();
}

// The Cards window over the partition shown here; whatever it changed is listed anew after.
void tBearbDialog::CmFindCards() {
    const bool moved = ShowCards(*this, *document_, *texts_, ShownPartition + 1);
    Refill();
    historyMoved_ = moved;
}

void tBearbDialog::CmHelp() {
    ShowHelpContext(*this, ids::kOverviewDialog);
}

bool ShowPartitionOverview(platform::Window& parent, Document& document, CardInputTexts& texts) {
    tBearbDialog dialog(parent, document, texts);
    // The overview has Close alone: every change it makes is made while it is open.
    static_cast<void>(dialog.Execute());
    return dialog.LastChangeMovedHistory();
}

}  // namespace tallyfold
