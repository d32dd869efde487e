#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "box/box_step.h"
#include "box/card.h"
#include "box/card_ring.h"

namespace tallyfold {

/// The card box: seven partitions, the input stack and the learning rules.
///
/// Every caller numbers the partitions 1 to N (N = `PartitionCount`, always 7) and uses N + 1
/// for the input stack. Operations given a number outside their range change nothing and
/// return false, nullptr or 0.
///
/// The box owns every card through its rings, and its cards never move in memory: learning
/// steps, refills, shuffles and moves between partitions relink the ring nodes (see
/// `tVokListe`). A card pointer the box hands out therefore stays valid until that card is
/// deleted (`DeleteCurrent`, `RemoveFromPartition`, `RemoveAllFromPartition`, `ClearPartition`,
/// `ClearAll`), however the box changes otherwise; the import's index of stored cards relies on
/// it. Const members hand out only const cards.
class tCardBox {
  public:
    static constexpr int kRingCount = 25;
    static constexpr int kPartitions = 7;
    static constexpr int kInputStack = kPartitions + 1;

    tCardBox();
    tCardBox(const tCardBox&) = delete;
    tCardBox& operator=(const tCardBox&) = delete;

    /// Appends a copy of `card` to the input stack; returns the stored card.
    tVokabel* AddToInput(const tVokabel& card);
    /// Appends a copy of `card` to partition `number` (1 to N + 1); false for other numbers.
    bool AddToPartition(const tVokabel& card, int number);

    /// Refills partition 1 from the input stack when it is empty, chooses the current
    /// partition (the lowest overfull one, else the lowest non-empty one) and returns its head
    /// card, or nullptr. `number` receives the current partition's number, also without a card.
    tVokabel* ChooseNext(int& number);
    /// Moves the head card of the current partition up one partition (counting it as known);
    /// in the last partition it only moves to the back.
    void Known();
    /// Counts the head card of the current partition as unknown and sends it back: to the
    /// back of partition 1 when it is there, else to the input stack or, with the option off,
    /// to the end of partition 1.
    void Unknown();
    /// Deletes the head card of partition `*number` (the card shown) and chooses the next card.
    /// `*number` receives the current partition. A null `number` changes nothing.
    tVokabel* DeleteCurrent(int* number);

    /// Deletes the card stored at exactly `card` from partition `number` (1 to N + 1).
    bool RemoveFromPartition(const tVokabel* card, int number);
    /// Deletes the cards stored at these addresses from partition `number` (1 to N + 1), in one
    /// pass. Returns the number deleted.
    int RemoveAllFromPartition(std::span<const tVokabel* const> cards, int number);
    /// Deletes the cards at these places of partition `number` (1 to N + 1), counted from its
    /// head, ascending. Returns the number deleted.
    int RemovePlaces(std::span<const int> places, int number);
    /// Moves every card of partition `number` to the end of partition `target` (both 1 to
    /// N + 1), in order, without copying.
    void MoveAll(int number, int target);
    /// Moves every card of `other` into the same partition of this box, after the cards there,
    /// without copying; `other` is left empty. Options and the current partition stay.
    void TakeCardsFrom(tCardBox& other);
    /// Starts a walk over partition `number` (1 to N + 1); a found card is also copied to `out`.
    tVokabel* FirstInPartition(int number, tVokabel& out);
    tVokabel* NextInPartition(int number, tVokabel& out);
    /// Walks all cards: partitions 1 to N, then the input stack, each from its head. Copies the
    /// card to `out` and returns the number of its ring, or 0 after the last card. The walk
    /// must not be interleaved with changes to the box.
    int FirstCard(tVokabel& out);
    int NextCard(tVokabel& out);
    /// Calls `visit(card, number)` for every card in the order of `FirstCard`, without copying,
    /// until `visit` returns false; returns false then. The box must not change meanwhile.
    template <typename Visit>
    bool ForEachCard(Visit&& visit) const {
        for (int number = 1; number <= partitionCount_ + 1; ++number) {
            const bool completed = Ring(number - 1).ForEach([&visit, number](const tVokabel& card) {
                return visit(card, number);
            });
            if (!completed) {
                return false;
            }
        }
        return true;
    }

    /// Calls `visit(card)` for every card of partition `number` (1 to N + 1) from its head,
    /// without copying, until `visit` returns false. The box must not change meanwhile.
    template <typename Visit>
    bool ForEachCardIn(int number, Visit&& visit) const {
        return !IsPartitionOrInput(number) || Ring(number - 1).ForEach(visit);
    }

    /// The cards of partition `number` (1 to N + 1) by their place; an empty reader for other
    /// numbers. The box must not change while it is used.
    tVokListe::Places PlacesIn(int number) const {
        return tVokListe::Places(Ring(IsPartitionOrInput(number) ? number - 1 : kRingCount - 1));
    }

    /// Moves every partition's cards, partition 1 first, to the end of the input stack.
    void AllToInput();
    /// Deletes every card of partition `number` (1 to N); the input stack cannot be cleared.
    void ClearPartition(int number);
    /// Deletes every card of all rings; the option and the other fields keep their values.
    void ClearAll();
    /// Shuffles partition `number` (1 to N), or every partition for 0; never the input stack.
    void Mix(int number);
    /// `Mix` with a given seed for every ring it shuffles.
    void Mix(int number, std::uint64_t seed);
    /// Gives a stored card new texts, each cut at its first zero byte and at 63 bytes.
    void SetTexts(tVokabel& card, std::string_view question, std::string_view answer);
    /// Sets a stored card's known and unknown counts to 0.
    void ResetCounters(tVokabel& card);

    /// Starts recording every change of the box into `step`, until `EndStep`. Changes made
    /// outside a step are not recorded (loading a file). Steps do not nest.
    void BeginStep(BoxStep& step);
    void EndStep();
    bool Recording() const { return step_ != nullptr; }
    /// Takes back a done step, which must be the last change of the box or the last step done
    /// before the steps undone since. O(changes), and O(cards) for a shuffled ring.
    void UndoStep(BoxStep& step);
    /// Makes an undone step again: the box is then exactly as after its recording.
    void RedoStep(BoxStep& step);
    /// Fills the partitions from the first empty one on up to their capacity with the head cards
    /// of the partitions above, so empty partitions collect at the top. True if a card moved.
    bool Compact();

    int PartitionCount() const { return partitionCount_; }
    /// Number of cards in partition `number` (1 to N + 1), else 0. O(1).
    int CardsIn(int number) const;
    /// Number of cards in partitions 1 to N and the input stack. O(1).
    int TotalCards() const;
    /// Capacity of partition `number` (1 to 25), else 0: 10 for partition 1, doubling upwards.
    std::int32_t Capacity(int number) const;
    /// Number of the current partition, as last chosen.
    int CurrentPartition() const { return current_ + 1; }
    /// Sets the current partition (1 to N) as a saved state gives it; other numbers are ignored.
    void SetCurrentPartition(int number) {
        if (IsPartition(number)) {
            current_ = number - 1;
        }
    }

    /// The first card, in ring order from partition 1 to the input stack, with the same
    /// question or the same answer as `card` (or both, for `FindSameCard`); nullptr if none.
    /// `besides` is passed over: a card being changed is no double of itself.
    tVokabel* FindSameQuestionOrAnswer(const tVokabel& card, const tVokabel* besides = nullptr);
    const tVokabel* FindSameQuestionOrAnswer(const tVokabel& card,
                                             const tVokabel* besides = nullptr) const;
    tVokabel* FindSameCard(const tVokabel& card);
    const tVokabel* FindSameCard(const tVokabel& card) const;

    /// The option "Unknown to input stack": on at construction, read only by `Unknown`.
    bool UnknownToInput() const { return unknownToInput_; }
    void SetUnknownToInput(bool on) { unknownToInput_ = on; }

  private:
    bool IsPartitionOrInput(int number) const {
        return number >= 1 && number <= partitionCount_ + 1;
    }
    bool IsPartition(int number) const { return number >= 1 && number <= partitionCount_; }
    tVokListe& Ring(int index) { return rings_[static_cast<std::size_t>(index)]; }
    const tVokListe& Ring(int index) const { return rings_[static_cast<std::size_t>(index)]; }
    tVokListe& InputStack() { return Ring(partitionCount_); }
    int WalkFrom(tVokabel* card, tVokabel& out);
    void CountOnce(tVokabel& card, bool known);
    void SetRingsStep(BoxStep* step);

    bool unknownToInput_ = true;
    std::array<tVokListe, kRingCount> rings_;
    std::array<std::int32_t, kRingCount> capacity_{};
    int current_ = 0;
    int partitionCount_ = kPartitions;
    int walkRing_ = 0;
    BoxStep* step_ = nullptr;
};

}  // namespace tallyfold
