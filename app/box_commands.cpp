// The Card and Partition menus of the main window.

#include "app/main_window.h"
#include "dialogs/card_input_dialog.h"
#include "dialogs/partition_overview_dialog.h"
#include "dialogs/target_dialog.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

void tHauptFenster::CmCardNew() {
    // New mode adds every card the user saves while the dialog is open, whichever way it then
    // closes; the box is marked changed either way.
    static_cast<void>(EditCard(*this, *box_, nullptr));
    changed_ = true;
    Refresh();
}

void tHauptFenster::CmCardChange() {
    if (currentCard_ == nullptr) {
        return;
    }
    // A cancelled Change marks the box as well: the program has always done so, and a save
    // prompt too many loses nothing, where one too few could.
    static_cast<void>(EditCard(*this, *box_, currentCard_));
    changed_ = true;
    ShowCard();
}

void tHauptFenster::CmCardDelete() {
    if (currentCard_ == nullptr) {
        return;
    }
    box_->DeleteCurrent(&currentPartition_);
    changed_ = true;
    Refresh();
}

void tHauptFenster::CmAllToInput() {
    char question[80];
    LoadString(ids::kStrAllToInput, question);
    if (MessageBox(question, " ", platform::MessageButtons::YesNo) != platform::DialogResult::Yes) {
        return;
    }
    box_->AllToInput();
    changed_ = true;
    Refresh();
}

void tHauptFenster::CmPartitionChange() {
    ShowPartitionOverview(*this, *box_);
    changed_ = true;
    Refresh();
}

void tHauptFenster::CmDeleteLast() {
    char question[80];
    LoadString(ids::kStrDeleteLast, question);
    if (MessageBox(question, " ", platform::MessageButtons::OkCancel,
                   platform::MessageIcon::Question) != platform::DialogResult::Ok) {
        return;
    }
    box_->ClearPartition(box_->PartitionCount());
    changed_ = true;
    Refresh();
}

void tHauptFenster::CmMixAll() {
    changed_ = true;
    box_->Mix(0);
    Refresh();
}

void tHauptFenster::CmMixThis() {
    const int number = ChooseTarget(*this, *box_);
    if (number == 0) {
        return;
    }
    box_->Mix(number);
    // The input stack is never mixed, so choosing it changes nothing.
    if (number <= box_->PartitionCount()) {
        changed_ = true;
    }
    Refresh();
}

}  // namespace tallyfold
