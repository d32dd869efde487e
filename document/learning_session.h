#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "box/card.h"
#include "document/card_input_texts.h"
#include "document/document.h"
#include "text/answer_comparison.h"

namespace tallyfold {

enum class Verdict { Known, Unknown };

/// Where the learner is with a card while answers are typed (`LearningSession::SetTyping`).
enum class TypingStep {
    Off,      ///< the answer is looked at, not typed (or no card is asked)
    Asking,   ///< the field for the answer is open
    Checked,  ///< what was typed was checked; the comparison shows with the answer
};

/// What a learning session shows; the main window draws it.
class LearningView {
  public:
    virtual ~LearningView() = default;
    virtual void ShowQuestion(std::string_view text) = 0;
    virtual void ShowAnswer(std::string_view text) = 0;
    virtual void ShowPartition(std::string_view text) = 0;
    /// Look is enabled while the answer is hidden, Known and Unknown while it shows; then the
    /// `proposed` verdict is the one the next Enter gives.
    virtual void EnableVerdicts(bool answerShown, Verdict proposed) = 0;
    /// The counters of the card on view, and the card counts of its partition and the box.
    virtual void ShowCounters(std::string_view text) = 0;
    virtual void ShowCounts(std::string_view text) = 0;
    /// Today's verdicts and the days in a row with verdicts, from the day history.
    virtual void ShowToday(std::string_view text) = 0;
    /// Shows the fields of a typing step; the field for the answer takes the keys while asking.
    virtual void ShowTypingStep(TypingStep step) = 0;
    /// What the learner typed as the answer, and its emptying for the next card.
    virtual std::string TypedAnswer() const = 0;
    virtual void ClearTypedAnswer() = 0;
    /// The checked answer: what was typed, marked character by character, and the verdict.
    virtual void ShowComparison(const AnswerComparison& comparison) = 0;
};

/// Learning with the document's box: which card is asked and from which partition, whether its
/// answer shows, which side is asked, and the verdicts. Every command that changes the box ends
/// with `Refresh`, which chooses the card anew; the current card points into the box and is
/// valid until then.
class LearningSession {
  public:
    LearningSession(Document& document, LearningView& view);

    /// Chooses the next card and shows it, with both status texts.
    void Refresh();
    /// Shows the card on view again: texts and buttons, and whether its other side shows.
    void ShowCard();
    /// After an undo or redo: shows the card the box's current partition offers, without
    /// choosing anew, so that the same card is asked as before the step.
    void ShowRestored();
    /// What the question field shows while no card is asked: how to fill the box when it is
    /// empty.
    std::string_view NoCardText() const;

    /// Shows the answer; while answers are typed, checks what was typed against it.
    void Look();
    /// Look, or once the answer shows, Known.
    void LookOrKnown();
    /// Look, or once the answer shows, the verdict proposed: Known, unless a typed answer was
    /// checked and found not right.
    void LookOrProposed();
    /// Counts the card as known and asks the next.
    void Known();
    /// Counts the card as not known, once its answer shows, and asks the next.
    void Unknown();
    /// Deletes the card on view.
    void DeleteCard();

    bool Switched() const { return switched_; }
    void ToggleSwitched();
    bool EmptyToEnd() const { return emptyToEnd_; }
    void ToggleEmptyToEnd() { emptyToEnd_ = !emptyToEnd_; }

    /// Answers are typed and checked rather than looked at. Asks the card on view anew.
    void SetTyping(bool typing);
    bool Typing() const { return typing_; }
    void SetTolerances(const AnswerTolerances& tolerances);
    const AnswerTolerances& Tolerances() const { return tolerances_; }
    /// The check of the answer typed for the card on view, once it was checked.
    const std::optional<AnswerComparison>& Comparison() const { return comparison_; }
    Verdict Proposed() const;

    bool AnswerShown() const { return answerShown_; }
    tVokabel* CurrentCard() const { return currentCard_; }
    int CurrentPartition() const { return currentPartition_; }
    /// The texts the input dialogs of this session share.
    CardInputTexts& InputTexts() { return inputTexts_; }

  private:
    std::string AskedSide(const tVokabel& card) const;
    std::string OtherSide(const tVokabel& card) const;
    void ShowStatus();
    /// A new card is asked: nothing shown of its answer, nothing typed.
    void AskAnew();
    void Check();

    Document* document_;
    LearningView* view_;
    tVokabel* currentCard_ = nullptr;
    int currentPartition_ = 0;
    bool answerShown_ = false;
    bool switched_ = false;
    bool emptyToEnd_ = false;
    bool typing_ = false;
    AnswerTolerances tolerances_;
    // What was typed for the card on view and its check, once checked.
    std::string typed_;
    std::optional<AnswerComparison> comparison_;
    CardInputTexts inputTexts_;
};

}  // namespace tallyfold
