#include "dialogs/partition_overview_dialog.h"

#include <cstdint>
#include <string>

#include "dialogs/card_input_dialog.h"
#include "dialogs/help.h"
#include "dialogs/target_dialog.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

using platform::Notification;

tBearbDialog::tBearbDialog(platform::Window& parent, tCardBox& box)
    : Dialog(parent, OverviewTemplate()),
      box_(&box),
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
}

void tBearbDialog::SetupWindow() {
    const int partitions = box_->PartitionCount();
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
    CardList.Clear();
    lineCards_.clear();
    tVokabel copy;
    for (tVokabel* card = box_->FirstInPartition(number, copy); card != nullptr;
         card = box_->NextInPartition(number, copy)) {
        CardList.AddString(card->Question());
        lineCards_.push_back(card);
    }
    const int count = box_->CardsIn(number);
    CountLabel.SetText(std::to_string(count));
    return count;
}

void tBearbDialog::DisableActions() {
    CorrectButton.Disable();
    MoveButton.Disable();
    DeleteButton.Disable();
}

std::vector<tVokabel*> tBearbDialog::SelectedCards() const {
    std::vector<tVokabel*> cards;
    for (const int line : CardList.GetSelIndexes()) {
        if (line >= 0 && static_cast<std::size_t>(line) < lineCards_.size()) {
            cards.push_back(lineCards_[static_cast<std::size_t>(line)]);
        }
    }
    return cards;
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
    const std::vector<tVokabel*> cards = SelectedCards();
    if (cards.empty()) {
        return;
    }
    if (EditCard(*this, *box_, cards.front()) == platform::DialogResult::Ok) {
        FillCardList(ShownPartition + 1);
        DisableActions();
    }
}

void tBearbDialog::CmMove() {
    const int target = ChooseTarget(*this, *box_);
    const int shown = ShownPartition + 1;
    if (target == 0 || target == shown) {
        return;
    }
    const std::vector<tVokabel*> cards = SelectedCards();
    if (cards.empty()) {
        return;
    }
    // The copies are taken before any card is deleted; they arrive in list order.
    std::vector<tVokabel> copies;
    copies.reserve(cards.size());
    for (const tVokabel* card : cards) {
        copies.push_back(*card);
    }
    box_->RemoveAllFromPartition({cards.data(), cards.size()}, shown);
    for (const tVokabel& copy : copies) {
        box_->AddToPartition(copy, target);
    }
    FillCardList(shown);
    DisableActions();
}

void tBearbDialog::CmDelete() {
    char question[80];
    LoadString(ids::kStrReallyDelete, question);
    if (MessageBox(question, "", platform::MessageButtons::YesNo) != platform::DialogResult::Yes) {
        return;
    }
    const std::vector<tVokabel*> cards = SelectedCards();
    if (cards.empty()) {
        return;
    }
    box_->RemoveAllFromPartition({cards.data(), cards.size()}, ShownPartition + 1);
    FillCardList(ShownPartition + 1);
    DisableActions();
}

void tBearbDialog::CmHelp() {
    ShowHelpContext(*this, ids::kOverviewDialog);
}

void ShowPartitionOverview(platform::Window& parent, tCardBox& box) {
    tBearbDialog dialog(parent, box);
    // The overview has Close alone: every change it makes is made while it is open.
    static_cast<void>(dialog.Execute());
}

}  // namespace tallyfold
