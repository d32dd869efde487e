#include "document/undo_history.h"

#include <algorithm>
#include <cassert>

#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace tallyfold {

int StepNameId(StepName name) {
    // The names that came after New have a range of their own.
    const int place = static_cast<int>(name);
    const int lastOfFirst = static_cast<int>(StepName::New);
    return place <= lastOfFirst ? ids::kStrStepFollow + place
                                : ids::kStrStepResetCounters + (place - lastOfFirst - 1);
}

std::string StepTitle(StepName name, std::int64_t cards) {
    int format = 0;
    switch (name) {
        case StepName::MoveCards:
            format = ids::kStrStepMoveCount;
            break;
        case StepName::DeleteCards:
            format = ids::kStrStepDeleteCount;
            break;
        case StepName::ResetCounters:
            format = ids::kStrStepResetCount;
            break;
        default:
            break;
    }
    if (format == 0 || cards <= 0) {
        return std::string(StringResource(StepNameId(name)));
    }
    return FormatTexts(StringResource(format), {CountOf(cards, ids::kStrOneCard, ids::kStrCards)});
}

UndoHistory::~UndoHistory() {
    Clear();
}

bool UndoHistory::Begin(StepName name) {
    if (depth_++ > 0) {
        return false;
    }
    open_.emplace();
    open_->name = name;
    open_->serial = nextSerial_++;
    box_->BeginStep(open_->changes);
    return true;
}

bool UndoHistory::End() {
    assert(depth_ > 0 && "UndoHistory::End without a Begin");
    if (depth_ == 0 || --depth_ > 0) {
        return false;
    }
    box_->EndStep();
    HistoryStep step = std::move(*open_);
    open_.reset();
    if (step.Empty()) {
        return true;
    }
    DropUndone();
    bytes_ += step.changes.Bytes();
    if (step.name != StepName::Follow) {
        ++position_;
    }
    done_.push_back(std::move(step));
    Trim();
    return true;
}

void UndoHistory::CountCards(std::int64_t cards) {
    assert(open_ && "UndoHistory::CountCards outside a step");
    if (open_) {
        open_->cards += cards;
    }
}

void UndoHistory::CountDay(const DayTally& tally) {
    assert(open_ && "UndoHistory::CountDay outside a step");
    days_->Add(tally);
    if (open_) {
        open_->days.push_back(tally);
    }
}

void UndoHistory::ReplaceDays(DayHistory days) {
    assert(open_ && "UndoHistory::ReplaceDays outside a step");
    if (open_ && !open_->daysBefore) {
        open_->daysBefore = *days_;
    }
    *days_ = std::move(days);
}

StepName UndoHistory::OpenName() const {
    assert(open_ && "UndoHistory::OpenName outside a step");
    return open_->name;
}

const BoxStep& UndoHistory::OpenChanges() const {
    assert(open_ && "UndoHistory::OpenChanges outside a step");
    return open_->changes;
}

bool UndoHistory::CanUndo() const {
    return std::any_of(done_.begin(), done_.end(),
                       [](const HistoryStep& step) { return step.name != StepName::Follow; });
}

StepName UndoHistory::UndoName() const {
    for (auto step = done_.rbegin(); step != done_.rend(); ++step) {
        if (step->name != StepName::Follow) {
            return step->name;
        }
    }
    return StepName::Follow;
}

StepName UndoHistory::RedoName() const {
    return undone_.empty() ? StepName::Follow : undone_.back().name;
}

std::int64_t UndoHistory::UndoCards() const {
    for (auto step = done_.rbegin(); step != done_.rend(); ++step) {
        if (step->name != StepName::Follow) {
            return step->cards;
        }
    }
    return 0;
}

std::int64_t UndoHistory::RedoCards() const {
    return undone_.empty() ? 0 : undone_.back().cards;
}

std::optional<std::uint64_t> UndoHistory::Undo() {
    if (StepOpen() || !CanUndo()) {
        return std::nullopt;
    }
    std::uint64_t lowest = done_.back().serial;
    while (done_.back().name == StepName::Follow) {
        UndoOne();
        lowest = std::min(lowest, done_.back().serial);
    }
    UndoOne();
    return lowest;
}

std::optional<std::uint64_t> UndoHistory::Redo() {
    if (StepOpen() || undone_.empty()) {
        return std::nullopt;
    }
    std::uint64_t lowest = undone_.back().serial;
    RedoOne();
    while (!undone_.empty() && undone_.back().name == StepName::Follow) {
        lowest = std::min(lowest, undone_.back().serial);
        RedoOne();
    }
    return lowest;
}

void UndoHistory::UndoOne() {
    HistoryStep step = std::move(done_.back());
    done_.pop_back();
    box_->UndoStep(step.changes);
    for (auto tally = step.days.rbegin(); tally != step.days.rend(); ++tally) {
        days_->Subtract(*tally);
    }
    // The history the step replaced comes back; the step keeps the one it made, for Redo.
    if (step.daysBefore) {
        std::swap(*days_, *step.daysBefore);
    }
    if (step.name != StepName::Follow) {
        --position_;
    }
    undone_.push_back(std::move(step));
}

void UndoHistory::RedoOne() {
    HistoryStep step = std::move(undone_.back());
    undone_.pop_back();
    box_->RedoStep(step.changes);
    if (step.daysBefore) {
        std::swap(*days_, *step.daysBefore);
    }
    for (const DayTally& tally : step.days) {
        days_->Add(tally);
    }
    if (step.name != StepName::Follow) {
        ++position_;
    }
    done_.push_back(std::move(step));
}

void UndoHistory::DropUndone() {
    if (undone_.empty()) {
        return;
    }
    for (HistoryStep& step : undone_) {
        bytes_ -= std::min(bytes_, step.changes.Bytes());
        step.changes.Discard(false);
    }
    undone_.clear();
    // The saved state was among the steps undone: no undo reaches it now.
    if (savedPosition_ && *savedPosition_ > position_) {
        savedPosition_.reset();
    }
}

void UndoHistory::Trim() {
    while (done_.size() > 1 && (done_.size() > kStepLimit || bytes_ > kHistoryBytes)) {
        HistoryStep& oldest = done_.front();
        bytes_ -= std::min(bytes_, oldest.changes.Bytes());
        oldest.changes.Discard(true);
        done_.pop_front();
    }
}

void UndoHistory::Clear() {
    while (!done_.empty()) {
        done_.back().changes.Discard(true);
        done_.pop_back();
    }
    DropUndone();
    bytes_ = 0;
    position_ = 0;
    savedPosition_ = 0;
}

}  // namespace tallyfold
