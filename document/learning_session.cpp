#include "document/learning_session.h"

#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

LearningSession::LearningSession(Document& document, LearningView& view)
    : document_(&document), view_(&view) {}

std::string LearningSession::AskedSide(const tVokabel& card) const {
    return std::string(switched_ ? card.Answer() : card.Question());
}

std::string LearningSession::OtherSide(const tVokabel& card) const {
    return std::string(switched_ ? card.Question() : card.Answer());
}

void LearningSession::Refresh() {
    currentCard_ = document_->ChooseNext(emptyToEnd_, currentPartition_);
    view_->ShowAnswer(" ");
    answerShown_ = false;
    ShowCard();
    ShowStatus();
}

void LearningSession::ShowRestored() {
    currentPartition_ = document_->Box().CurrentPartition();
    currentCard_ = document_->HeadOf(currentPartition_);
    view_->ShowAnswer(" ");
    answerShown_ = false;
    ShowCard();
    ShowStatus();
}

void LearningSession::ShowStatus() {
    if (currentCard_ != nullptr) {
        view_->ShowCounters(FormatString(ids::kStrCardCounters,
                                         {currentCard_->knownCount, currentCard_->unknownCount}));
    } else {
        view_->ShowCounters(StringResource(ids::kStrNoCard));
    }
    const tCardBox& box = document_->Box();
    view_->ShowCounts(
        FormatString(ids::kStrPartitionCounts, {box.CardsIn(currentPartition_), box.TotalCards()}));
}

void LearningSession::ShowCard() {
    view_->EnableVerdicts(answerShown_);
    if (currentCard_ != nullptr) {
        view_->ShowQuestion(AskedSide(*currentCard_));
        if (answerShown_) {
            view_->ShowAnswer(OtherSide(*currentCard_));
        }
        view_->ShowPartition(std::to_string(currentPartition_));
    } else {
        view_->ShowQuestion(NoCardText());
        view_->ShowPartition(" ");
    }
}

std::string_view LearningSession::NoCardText() const {
    // An empty box says how to fill it, where its question would stand.
    return document_->Box().TotalCards() == 0 ? StringResource(ids::kStrEmptyBox)
                                              : std::string_view(" ");
}

void LearningSession::LookOrKnown() {
    if (answerShown_) {
        Known();
    } else {
        Look();
    }
}

void LearningSession::Look() {
    if (currentCard_ != nullptr) {
        view_->ShowAnswer(OtherSide(*currentCard_));
    }
    view_->EnableVerdicts(true);
    answerShown_ = true;
}

void LearningSession::Known() {
    {
        const Document::Step step(*document_, StepName::Known);
        document_->Known();
        Refresh();
    }
    answerShown_ = false;
}

void LearningSession::Unknown() {
    if (answerShown_) {
        const Document::Step step(*document_, StepName::Unknown);
        document_->Unknown();
        Refresh();
        answerShown_ = false;
    }
}

void LearningSession::DeleteCard() {
    if (currentCard_ == nullptr) {
        return;
    }
    const Document::Step step(*document_, StepName::DeleteCard);
    document_->DeleteCurrent(currentPartition_);
    Refresh();
}

void LearningSession::ToggleSwitched() {
    switched_ = !switched_;
    Refresh();
}

}  // namespace tallyfold
