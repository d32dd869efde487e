#include "box/card_box.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <ctime>
#include <iterator>
#include <utility>

namespace tallyfold {

tCardBox::tCardBox() {
    capacity_[0] = 10;
    for (std::size_t i = 1; i < capacity_.size(); ++i) {
        capacity_[i] = 2 * capacity_[i - 1];
    }
    for (std::size_t i = 0; i < rings_.size(); ++i) {
        rings_[i].number_ = static_cast<std::uint8_t>(i);
    }
}

// Counters come from files too; a card answered once more than INT32_MAX times stays there.
void tCardBox::CountOnce(tVokabel& card, bool known) {
    std::int32_t& counter = known ? card.knownCount : card.unknownCount;
    if (counter == INT32_MAX) {
        return;
    }
    const std::int32_t before = counter;
    ++counter;
    if (step_ != nullptr) {
        step_->Counted(card, known, before);
    }
}

void tCardBox::SetTexts(tVokabel& card, std::string_view question, std::string_view answer) {
    if (step_ != nullptr) {
        step_->TextsChanged(card);
    }
    card.SetTexts(question, answer);
}

void tCardBox::ResetCounters(tVokabel& card) {
    const std::int32_t known = card.knownCount;
    const std::int32_t unknown = card.unknownCount;
    card.knownCount = 0;
    card.unknownCount = 0;
    if (step_ != nullptr) {
        step_->Counted(card, true, known);
        step_->Counted(card, false, unknown);
    }
}

void tCardBox::SetRingsStep(BoxStep* step) {
    for (tVokListe& ring : rings_) {
        ring.step_ = step;
    }
}

void tCardBox::BeginStep(BoxStep& step) {
    step_ = &step;
    step.done_ = true;
    step.currentBefore_ = current_;
    step.currentAfter_ = current_;
    SetRingsStep(&step);
}

void tCardBox::EndStep() {
    if (step_ != nullptr) {
        step_->currentAfter_ = current_;
    }
    step_ = nullptr;
    SetRingsStep(nullptr);
}

void tCardBox::UndoStep(BoxStep& step) {
    assert(step.Done() && "tCardBox::UndoStep: the step is undone already");
    using Kind = BoxStep::Kind;
    for (auto change = step.changes_.rbegin(); change != step.changes_.rend(); ++change) {
        tVokListe& ring = Ring(change->ring);
        switch (change->kind) {
            case Kind::MoveHead:
                if (change->ring == change->target) {
                    ring.Unrotate(change->node);
                } else {
                    ring.PushHead(Ring(change->target).PopTail(change->node));
                }
                break;
            case Kind::Count:
                (change->known ? change->card->knownCount : change->card->unknownCount) =
                    change->before;
                break;
            case Kind::AppendRun:
                ring.DetachTail(change->previous, change->count);
                break;
            case Kind::Remove:
                ring.InsertAfter(change->previous, change->node, change->wasHead, change->wasTail);
                break;
            case Kind::Detach:
                ring.AttachChain(change->first, change->node, change->count);
                break;
            case Kind::Splice: {
                tVokListe& target = Ring(change->target);
                BoxStep::Node* last = target.tail_;
                BoxStep::Node* first = target.DetachTail(change->previous, change->count);
                ring.AttachChain(first, last, change->count);
                break;
            }
            case Kind::Order: {
                std::vector<BoxStep::Node*>& other = step.orders_[change->index];
                std::vector<BoxStep::Node*> now = ring.NodeOrder();
                ring.Relink(other);
                other = std::move(now);
                break;
            }
            case Kind::Texts:
                std::swap(change->card->question, step.texts_[change->index].question);
                std::swap(change->card->answer, step.texts_[change->index].answer);
                break;
        }
    }
    current_ = step.currentBefore_;
    step.done_ = false;
}

void tCardBox::RedoStep(BoxStep& step) {
    assert(!step.Done() && "tCardBox::RedoStep: the step is done already");
    using Kind = BoxStep::Kind;
    for (BoxStep::Change& change : step.changes_) {
        tVokListe& ring = Ring(change.ring);
        switch (change.kind) {
            case Kind::MoveHead:
                ring.MoveHeadTo(Ring(change.target));
                break;
            case Kind::Count:
                (change.known ? change.card->knownCount : change.card->unknownCount) = change.after;
                break;
            case Kind::AppendRun:
                ring.AttachChain(change.first, change.node, change.count);
                break;
            case Kind::Remove:
                ring.UnlinkAfter(change.previous);
                break;
            case Kind::Detach:
                ring.ForgetAll();
                break;
            case Kind::Splice:
                ring.MoveAllTo(Ring(change.target));
                break;
            case Kind::Order: {
                std::vector<BoxStep::Node*>& other = step.orders_[change.index];
                std::vector<BoxStep::Node*> now = ring.NodeOrder();
                ring.Relink(other);
                other = std::move(now);
                break;
            }
            case Kind::Texts:
                std::swap(change.card->question, step.texts_[change.index].question);
                std::swap(change.card->answer, step.texts_[change.index].answer);
                break;
        }
    }
    current_ = step.currentAfter_;
    step.done_ = true;
}

tVokabel* tCardBox::AddToInput(const tVokabel& card) {
    return InputStack().Append(card);
}

bool tCardBox::AddToPartition(const tVokabel& card, int number) {
    if (!IsPartitionOrInput(number)) {
        return false;
    }
    Ring(number - 1).Append(card);
    return true;
}

tVokabel* tCardBox::ChooseNext(int& number) {
    tVokListe& first = Ring(0);
    if (first.Count() == 0) {
        const std::int32_t refill = std::min(InputStack().Count(), capacity_[0]);
        for (std::int32_t i = 0; i < refill; ++i) {
            InputStack().MoveHeadTo(first);
        }
    }
    current_ = 0;
    bool chosen = false;
    for (int i = 0; i < partitionCount_ - 1 && !chosen; ++i) {
        if (Ring(i).Count() > capacity_[static_cast<std::size_t>(i)]) {
            current_ = i;
            chosen = true;
        }
    }
    for (int i = 0; i < partitionCount_ && !chosen; ++i) {
        if (Ring(i).Count() > 0) {
            current_ = i;
            chosen = true;
        }
    }
    number = current_ + 1;
    return Ring(current_).Head();
}

void tCardBox::Known() {
    tVokListe& ring = Ring(current_);
    if (ring.Head() == nullptr) {
        return;
    }
    if (current_ < partitionCount_ - 1) {
        ++current_;
        CountOnce(*ring.MoveHeadTo(Ring(current_)), true);
    } else {
        ring.Rotate();
    }
}

void tCardBox::Unknown() {
    tVokListe& ring = Ring(current_);
    tVokabel* card = ring.Head();
    if (card == nullptr) {
        return;
    }
    CountOnce(*card, false);
    if (current_ == 0) {
        ring.Rotate();
    } else {
        ring.MoveHeadTo(unknownToInput_ ? InputStack() : Ring(0));
    }
}

tVokabel* tCardBox::DeleteCurrent(int* number) {
    if (number == nullptr) {
        return nullptr;
    }
    if (IsPartitionOrInput(*number)) {
        Ring(*number - 1).DropHead();
        return ChooseNext(*number);
    }
    *number = current_ + 1;
    return Ring(current_).Head();
}

bool tCardBox::RemoveFromPartition(const tVokabel* card, int number) {
    return IsPartitionOrInput(number) && Ring(number - 1).Remove(card);
}

int tCardBox::RemoveAllFromPartition(std::span<const tVokabel* const> cards, int number) {
    return IsPartitionOrInput(number) ? Ring(number - 1).RemoveAll(cards) : 0;
}

int tCardBox::RemovePlaces(std::span<const int> places, int number) {
    return IsPartitionOrInput(number) ? Ring(number - 1).RemovePlaces(places) : 0;
}

void tCardBox::MoveAll(int number, int target) {
    if (IsPartitionOrInput(number) && IsPartitionOrInput(target)) {
        Ring(number - 1).MoveAllTo(Ring(target - 1));
    }
}

void tCardBox::TakeCardsFrom(tCardBox& other) {
    for (std::size_t i = 0; i < rings_.size(); ++i) {
        other.rings_[i].MoveAllTo(rings_[i]);
    }
}

tVokabel* tCardBox::FirstInPartition(int number, tVokabel& out) {
    if (!IsPartitionOrInput(number)) {
        return nullptr;
    }
    tVokabel* card = Ring(number - 1).First();
    if (card != nullptr) {
        out = *card;
    }
    return card;
}

tVokabel* tCardBox::NextInPartition(int number, tVokabel& out) {
    if (!IsPartitionOrInput(number)) {
        return nullptr;
    }
    tVokabel* card = Ring(number - 1).Next();
    if (card != nullptr) {
        out = *card;
    }
    return card;
}

int tCardBox::WalkFrom(tVokabel* card, tVokabel& out) {
    while (card == nullptr && walkRing_ < partitionCount_) {
        ++walkRing_;
        card = Ring(walkRing_).First();
    }
    if (card == nullptr) {
        return 0;
    }
    out = *card;
    return walkRing_ + 1;
}

int tCardBox::FirstCard(tVokabel& out) {
    walkRing_ = 0;
    return WalkFrom(Ring(0).First(), out);
}

int tCardBox::NextCard(tVokabel& out) {
    return WalkFrom(Ring(walkRing_).Next(), out);
}

void tCardBox::AllToInput() {
    for (int i = 0; i < partitionCount_; ++i) {
        Ring(i).MoveAllTo(InputStack());
    }
    current_ = 0;
}

void tCardBox::ClearPartition(int number) {
    if (IsPartition(number)) {
        Ring(number - 1).Clear();
    }
}

void tCardBox::ClearAll() {
    for (tVokListe& ring : rings_) {
        ring.Clear();
    }
}

void tCardBox::Mix(int number) {
    Mix(number, static_cast<std::uint64_t>(std::time(nullptr)));
}

void tCardBox::Mix(int number, std::uint64_t seed) {
    if (number == 0) {
        for (int i = 0; i < partitionCount_; ++i) {
            Ring(i).ShuffleWithSeed(seed);
        }
    } else if (IsPartition(number)) {
        Ring(number - 1).ShuffleWithSeed(seed);
    }
}

bool tCardBox::Compact() {
    const int last = partitionCount_ - 1;
    int i = 0;
    while (i < last && Ring(i).Count() > 0) {
        ++i;
    }
    if (i == last) {
        return false;
    }
    int j = i;
    while (j <= last && Ring(j).Count() == 0) {
        ++j;
    }
    bool moved = false;
    while (j <= last) {
        while (Ring(i).Count() < capacity_[static_cast<std::size_t>(i)]) {
            while (j <= last && Ring(j).Count() == 0) {
                ++j;
            }
            if (j > last) {
                return moved;
            }
            Ring(j).MoveHeadTo(Ring(i));
            moved = true;
        }
        ++i;
        if (i >= j) {
            ++j;
        }
    }
    return moved;
}

int tCardBox::CardsIn(int number) const {
    return IsPartitionOrInput(number) ? Ring(number - 1).Count() : 0;
}

int tCardBox::TotalCards() const {
    int total = 0;
    for (int number = 1; number <= partitionCount_ + 1; ++number) {
        total += CardsIn(number);
    }
    return total;
}

std::int32_t tCardBox::Capacity(int number) const {
    return number >= 1 && number <= kRingCount ? capacity_[static_cast<std::size_t>(number - 1)]
                                               : 0;
}

const tVokabel* tCardBox::FindSameQuestionOrAnswer(const tVokabel& card,
                                                   const tVokabel* besides) const {
    for (int i = 0; i <= partitionCount_; ++i) {
        if (const tVokabel* found = Ring(i).FindSameQuestionOrAnswer(card, besides)) {
            return found;
        }
    }
    return nullptr;
}

const tVokabel* tCardBox::FindSameCard(const tVokabel& card) const {
    for (int i = 0; i <= partitionCount_; ++i) {
        if (const tVokabel* found = Ring(i).FindSameCard(card)) {
            return found;
        }
    }
    return nullptr;
}

// A non-const box may hand out its own cards writable.
tVokabel* tCardBox::FindSameQuestionOrAnswer(const tVokabel& card, const tVokabel* besides) {
    return const_cast<tVokabel*>(std::as_const(*this).FindSameQuestionOrAnswer(card, besides));
}

tVokabel* tCardBox::FindSameCard(const tVokabel& card) {
    return const_cast<tVokabel*>(std::as_const(*this).FindSameCard(card));
}

}  // namespace tallyfold
