#include "box/card_box.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace tallyfold {

namespace {

// Counters come from files too; a card answered once more than INT32_MAX times stays there.
void CountOnce(std::int32_t& counter) {
    if (counter < INT32_MAX) {
        ++counter;
    }
}

}  // namespace

tCardBox::tCardBox() {
    capacity_[0] = 10;
    for (std::size_t i = 1; i < capacity_.size(); ++i) {
        capacity_[i] = 2 * capacity_[i - 1];
    }
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
        CountOnce(ring.MoveHeadTo(Ring(current_))->knownCount);
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
    CountOnce(card->unknownCount);
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
    if (number == 0) {
        for (int i = 0; i < partitionCount_; ++i) {
            Ring(i).Shuffle();
        }
    } else if (IsPartition(number)) {
        Ring(number - 1).Shuffle();
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

const tVokabel* tCardBox::FindSameQuestionOrAnswer(const tVokabel& card) const {
    for (int i = 0; i <= partitionCount_; ++i) {
        if (const tVokabel* found = Ring(i).FindSameQuestionOrAnswer(card)) {
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
tVokabel* tCardBox::FindSameQuestionOrAnswer(const tVokabel& card) {
    return const_cast<tVokabel*>(std::as_const(*this).FindSameQuestionOrAnswer(card));
}

tVokabel* tCardBox::FindSameCard(const tVokabel& card) {
    return const_cast<tVokabel*>(std::as_const(*this).FindSameCard(card));
}

}  // namespace tallyfold
