#pragma once

#include <string>
#include <string_view>

#include "box/card.h"
#include "document/card_input_texts.h"
#include "document/document.h"

namespace tallyfold {

/// What a learning session shows; the main window draws it.
class LearningView {
  public:
    virtual ~LearningView() = default;
    virtual void ShowQuestion(std::string_view text) = 0;
    virtual void ShowAnswer(std::string_view text) = 0;
    virtual void ShowPartition(std::string_view text) = 0;
    /// Look is enabled while the answer is hidden, Known and Unknown while it shows.
    virtual void EnableVerdicts(bool answerShown) = 0;
    /// The counters of the card on view, and the card counts of its partition and the box.
    virtual void ShowCounters(std::string_view text) = 0;
    virtual void ShowCounts(std::string_view text) = 0;
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

    void Look();
    void LookOrKnown();
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

    bool AnswerShown() const { return answerShown_; }
    tVokabel* CurrentCard() const { return currentCard_; }
    int CurrentPartition() const { return currentPartition_; }
    /// The texts the input dialogs of this session share.
    CardInputTexts& InputTexts() { return inputTexts_; }

  private:
    std::string AskedSide(const tVokabel& card) const;
    std::string OtherSide(const tVokabel& card) const;
    void ShowStatus();

    Document* document_;
    LearningView* view_;
    tVokabel* currentCard_ = nullptr;
    int currentPartition_ = 0;
    bool answerShown_ = false;
    bool switched_ = false;
    bool emptyToEnd_ = false;
    CardInputTexts inputTexts_;
};

}  // namespace tallyfold
