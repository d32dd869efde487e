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

void LearningSession::AskAnew() {
    view_->ShowAnswer(" ");
    answerShown_ = false;
    typed_.clear();
    comparison_.reset();
    if (typing_) {
        view_->ClearTypedAnswer();
    }
}

void LearningSession::Refresh() {
    currentCard_ = document_->ChooseNext(emptyToEnd_, currentPartition_);
    AskAnew();
    ShowCard();
    ShowStatus();
}

void LearningSession::ShowRestored() {
    currentPartition_ = document_->Box().CurrentPartition();
    currentCard_ = document_->HeadOf(currentPartition_);
    AskAnew();
    ShowCard();
    ShowStatus();
}

void LearningSession::SetTyping(bool typing) {
    if (typing == typing_) {
        return;
    }
    typing_ = typing;
    AskAnew();
    ShowCard();
}

void LearningSession::SetTolerances(const AnswerTolerances& tolerances) {
    tolerances_ = tolerances;
    // An answer checked already is judged again by the new measure.
    if (comparison_) {
        ShowCard();
    }
}

Verdict LearningSession::Proposed() const {
    return comparison_ && !comparison_->right ? Verdict::Unknown : Verdict::Known;
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
    const DayNumber today = document_->Today();
    const DayHistory& days = document_->Days();
    view_->ShowToday(
        FormatString(ids::kStrTodayStrip, {days.On(today).Verdicts(), days.CurrentStreak(today)}));
}

void LearningSession::ShowCard() {
    // A checked answer is checked again: the card may have been changed since.
    if (comparison_ && currentCard_ != nullptr) {
        comparison_ = CompareAnswer(typed_, OtherSide(*currentCard_), tolerances_);
    }
    view_->EnableVerdicts(answerShown_, Proposed());
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
    if (!typing_ || currentCard_ == nullptr) {
        view_->ShowTypingStep(TypingStep::Off);
    } else if (comparison_) {
        view_->ShowComparison(*comparison_);
        view_->ShowTypingStep(TypingStep::Checked);
    } else {
        view_->ShowTypingStep(answerShown_ ? TypingStep::Off : TypingStep::Asking);
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

void LearningSession::LookOrProposed() {
    if (answerShown_ && Proposed() == Verdict::Unknown) {
        Unknown();
    } else {
        LookOrKnown();
    }
}

void LearningSession::Look() {
    if (typing_ && currentCard_ != nullptr && !answerShown_) {
        Check();
        return;
    }
    if (currentCard_ != nullptr) {
        view_->ShowAnswer(OtherSide(*currentCard_));
    }
    view_->EnableVerdicts(true, Verdict::Known);
    answerShown_ = true;
}

void LearningSession::Check() {
    typed_ = view_->TypedAnswer();
    comparison_ = CompareAnswer(typed_, OtherSide(*currentCard_), tolerances_);
    answerShown_ = true;
    ShowCard();
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
