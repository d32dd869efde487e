#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "box/box_step.h"
#include "box/card_box.h"
#include "document/day_history.h"

namespace tallyfold {

/// What a step of the history is called in the Edit menu ("Undo Known"). The values are
/// written into journals: never renumber them.
enum class StepName : std::uint8_t {
    /// Changes no command made on purpose: the refill and compaction when a card is chosen
    /// after a command that changed nothing. They go with the step before them.
    Follow = 0,
    Known,
    Unknown,
    NewCard,
    ChangeCard,
    DeleteCard,
    AllToInput,
    CorrectCard,
    MoveCards,
    DeleteCards,
    DeleteLast,
    MixAll,
    MixThis,
    Import,
    New,
    ResetCounters,
};
inline constexpr StepName kLastStepName = StepName::ResetCounters;

/// The string id of a step's name.
int StepNameId(StepName name);

/// What the Edit menu calls a step: its name, with the number of cards for the steps that work
/// on cards chosen in a list ("Delete 12 cards"), when it knows that number.
std::string StepTitle(StepName name, std::int64_t cards);

/// One step of a history: the changes it made, what it is called, and when it was made (steps
/// are numbered as they begin).
struct HistoryStep {
    BoxStep changes;
    StepName name = StepName::Follow;
    std::uint64_t serial = 0;
    /// The cards chosen for the step, as its title names them; 0 when it names none.
    std::int64_t cards = 0;
    /// What the step counted in the day history, and the whole history it replaced (New).
    std::vector<DayTally> days;
    std::optional<DayHistory> daysBefore;
    bool Empty() const { return changes.Empty() && days.empty() && !daysBefore; }
};

/// The steps done and undone on one box, for Undo and Redo, and where among them the box was
/// last saved.
///
/// A step is open from `Begin` to `End`: every change of the box between them is recorded into
/// it; a `Begin` inside an open step joins that step. Steps are undone and redone strictly in
/// the order of the history (the box's steps hold links between its nodes, which are only
/// valid in that order): a step done after an undo drops every undone step.
class UndoHistory {
  public:
    /// The steps kept for undo, at most; and the memory they may hold beyond the cards.
    static constexpr std::size_t kStepLimit = 1000;
    static constexpr std::size_t kHistoryBytes = 256U << 20;

    /// `box` and `days` are owned by the caller and outlive the history. Undo and Redo take
    /// back and make again what a step counted in `days`.
    UndoHistory(tCardBox& box, DayHistory& days) : box_(&box), days_(&days) {}
    /// Frees what the steps keep, as when the history is cleared.
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    /// Opens a step named `name`, or joins the open one; true when this opened a new step.
    bool Begin(StepName name);
    /// Closes the step opened by the matching `Begin`; the outermost `End` keeps it (when it
    /// changed anything) and returns true.
    bool End();
    bool StepOpen() const { return depth_ > 0; }
    /// The open step's name and the changes it recorded so far; only while a step is open.
    StepName OpenName() const;
    const BoxStep& OpenChanges() const;
    /// Counts `cards` more cards chosen for the open step, for its title.
    void CountCards(std::int64_t cards);
    /// Adds `tally` to the day history as a part of the open step.
    void CountDay(const DayTally& tally);
    /// Replaces the whole day history as a part of the open step (a new box has none).
    void ReplaceDays(DayHistory days);
    /// The serial the next step will get.
    std::uint64_t NextSerial() const { return nextSerial_; }

    bool CanUndo() const;
    bool CanRedo() const { return !undone_.empty(); }
    /// The name of the step Undo (Redo) would take back (make again).
    StepName UndoName() const;
    StepName RedoName() const;
    /// The cards the step Undo (Redo) would take back (make again) was chosen for.
    std::int64_t UndoCards() const;
    std::int64_t RedoCards() const;
    /// Takes back the last named step, with the steps that followed it on their own; returns
    /// the lowest serial among the steps taken back, or nothing when there is none (or a step
    /// is open).
    std::optional<std::uint64_t> Undo();
    /// Makes the last undone step again, with the steps that followed it; returns the lowest
    /// serial among them, or nothing when there is none (or a step is open).
    std::optional<std::uint64_t> Redo();

    /// The box is saved now; `AtSavePoint` holds until the history moves away from here.
    void MarkSaved() { savedPosition_ = position_; }
    /// No undo or redo reaches a saved state any more (the box was replaced as a whole).
    void ForgetSavePoint() { savedPosition_.reset(); }
    bool AtSavePoint() const { return savedPosition_ && *savedPosition_ == position_; }

    /// Drops every step (what they keep is freed); the present state counts as saved.
    void Clear();
    /// Memory the steps hold beyond the cards, in bytes.
    std::size_t Bytes() const { return bytes_; }

  private:
    void UndoOne();
    void RedoOne();
    void DropUndone();
    void Trim();

    tCardBox* box_;
    DayHistory* days_;
    std::deque<HistoryStep> done_;
    std::deque<HistoryStep> undone_;
    std::optional<HistoryStep> open_;
    int depth_ = 0;
    std::uint64_t nextSerial_ = 1;
    std::size_t bytes_ = 0;
    // Steps done, counted without the following ones, and the same count at the last save
    // (none when the history no longer reaches that point).
    std::int64_t position_ = 0;
    std::optional<std::int64_t> savedPosition_ = 0;
};

}  // namespace tallyfold
