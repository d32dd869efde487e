// The Card and Partition menus of the main window.

#include "app/main_window.h"
#include "dialogs/card_input_dialog.h"
#include "dialogs/partition_overview_dialog.h"
#include "dialogs/target_dialog.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

void tHauptFenster::CmCardNew() {
    EditCard(*this, *box_, nullptr);
    changed_ = true;
    Refresh();
}

void tHauptFenster::CmCardChange() {
    if (currentCard_ == nullptr) {
        return;
    }
    if (EditCard(*this, *box_, currentCard_) != 0) {
        changed_ = true;
        ShowCard();
    }
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
    if (MessageBox(question, " ", platform::kMbYesNo) != platform::kIdYes) {
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
    if (MessageBox(question, " ", platform::kMbOkCancel | platform::kMbIconQuestion) !=
        platform::kIdOk) {
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
