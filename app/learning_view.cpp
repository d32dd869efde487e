// The learning view of the main window: which side is asked, Look, Known and Unknown.

#include <string>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

std::string tHauptFenster::AskedSide(const tVokabel& card) const {
    return std::string(switched_ ? card.Answer() : card.Question());
}

std::string tHauptFenster::OtherSide(const tVokabel& card) const {
    return std::string(switched_ ? card.Question() : card.Answer());
}

void tHauptFenster::Refresh() {
    if (emptyToEnd_) {
        box_->Compact();
    }
    currentCard_ = box_->ChooseNext(currentPartition_);
    AnswerStatic.SetText(" ");
    answerShown_ = false;
    ShowCard();

    if (currentCard_ != nullptr) {
        CountsGadget.SetText(FormatString(ids::kStrCardCounters,
                                          {currentCard_->knownCount, currentCard_->unknownCount}));
    } else {
        CountsGadget.SetText(StringResource(ids::kStrNoCard));
    }
    MessageArea.SetText(FormatString(ids::kStrPartitionCounts,
                                     {box_->CardsIn(currentPartition_), box_->TotalCards()}));
}

void tHauptFenster::ShowCard() {
    KnownButton.Enable(answerShown_);
    UnknownButton.Enable(answerShown_);
    LookButton.Enable(!answerShown_);
    if (currentCard_ != nullptr) {
        QuestionStatic.SetText(AskedSide(*currentCard_));
        if (answerShown_) {
            AnswerStatic.SetText(OtherSide(*currentCard_));
        }
        PartitionStatic.SetText(std::to_string(currentPartition_));
    } else {
        QuestionStatic.SetText(" ");
        PartitionStatic.SetText(" ");
    }
}

void tHauptFenster::CmLookOrKnown() {
    if (answerShown_) {
        CmKnown();
    } else {
        CmLook();
    }
}

void tHauptFenster::CmLook() {
    if (currentCard_ != nullptr) {
        AnswerStatic.SetText(OtherSide(*currentCard_));
    }
    LookButton.Disable();
    KnownButton.Enable();
    UnknownButton.Enable();
    answerShown_ = true;
}

void tHauptFenster::CmKnown() {
    changed_ = true;
    box_->Known();
    Refresh();
    answerShown_ = false;
}

void tHauptFenster::CmUnknown() {
    changed_ = true;
    if (answerShown_) {
        box_->Unknown();
        Refresh();
        answerShown_ = false;
    }
}

}  // namespace tallyfold
