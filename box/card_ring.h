#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "box/card.h"
#include "box/node_pool.h"

namespace tallyfold {

class BoxStep;

/// An ordered ring of cards: a circular singly linked list whose head is the card offered next.
///
/// The ring owns its nodes, and each node holds its card by value. `Append` stores a copy; the
/// caller keeps its own record.
///
/// Nodes never move: rotating and shuffling relink them, and `MoveHeadTo` and `MoveAllTo`
/// splice them into the other ring. A card pointer handed out by a ring therefore stays valid,
/// wherever the card goes, until the card is deleted (`DropHead`, `Remove`, `RemoveAll`,
/// `Clear`, or the ring's end). Through a writable pointer callers may change the texts and
/// counters of a stored card; a const ring hands out only const cards.
///
/// One cursor serves the `First`/`Next` walk: a walk must not be interleaved with changes to the
/// same ring, and every walk starts with `First`.
///
/// While its box records a step (`tCardBox::BeginStep`), every change the ring makes is written
/// into that step, and the cards it deletes are handed to the step instead of being freed.
class tVokListe {
    struct Node;

  public:
    tVokListe() = default;
    ~tVokListe();
    tVokListe(const tVokListe&) = delete;
    tVokListe& operator=(const tVokListe&) = delete;

    /// Appends a copy of `card` after the tail and returns the stored card. O(1).
    tVokabel* Append(const tVokabel& card);
    /// The head card, or nullptr for an empty ring.
    tVokabel* Head();
    const tVokabel* Head() const;
    /// Deletes the head card; the next card becomes the head. No effect on an empty ring.
    void DropHead();
    /// Advances head and tail one node, so the former head is now the last card.
    /// Returns the new head, or nullptr for an empty ring.
    tVokabel* Rotate();
    /// Deletes the card stored at exactly this address (identity, not equal contents).
    /// Returns false, changing nothing, when this ring does not hold it. Linear.
    bool Remove(const tVokabel* card);
    /// Starts a walk: returns the head card, or nullptr for an empty ring.
    tVokabel* First();
    /// The next card of the walk, or nullptr once `Count` cards were handed out.
    tVokabel* Next();
    std::int32_t Count() const { return count_; }
    /// Calls `visit(card)` for every card from the head, in order, without copying, until
    /// `visit` returns false; returns false then. The ring must not change meanwhile.
    template <typename Visit>
    bool ForEach(Visit&& visit) const {
        const Node* node = head_;
        for (std::int32_t i = 0; i < count_; ++i, node = node->next) {
            if (!visit(static_cast<const tVokabel&>(node->card))) {
                return false;
            }
        }
        return true;
    }

    /// Reads the cards of a ring by their place from the head, as a list view draws them:
    /// each read walks on from the one before, and a read further up starts again at the
    /// nearest of the places it passed every 4096 cards. The ring must not change meanwhile.
    class Places {
      public:
        explicit Places(const tVokListe& ring)
            : ring_(&ring), head_(ring.head_), count_(ring.count_) {}
        /// The card at `place`, or nullptr past the ring's ends.
        const tVokabel* At(std::int32_t place);

      private:
        static constexpr std::int32_t kStride = 4096;
        /// Whether the ring is as it was when the reads began.
        bool RingUnchanged() const { return ring_->head_ == head_ && ring_->count_ == count_; }

        const tVokListe* ring_;
        // The ring as the reads began, to catch a change meanwhile.
        const Node* head_;
        std::int32_t count_;
        std::vector<const Node*> marks_;
        const Node* node_ = nullptr;
        std::int32_t place_ = -1;
    };

    /// Reorders the cards into a uniformly random permutation, seeded from the clock in whole
    /// seconds, so rings of equal size shuffled within one second get the same permutation.
    /// Rings of fewer than three cards stay as they are. Card pointers stay valid. Linear.
    void Shuffle();
    /// `Shuffle` with a given seed: the same seed and count always give the same permutation.
    void ShuffleWithSeed(std::uint64_t seed);

    /// Deletes every card stored at one of these addresses, in one pass; addresses this ring
    /// does not hold are ignored. Returns the number deleted. Linear in the ring's size.
    int RemoveAll(std::span<const tVokabel* const> cards);
    /// Deletes the cards at these places from the head (ascending; places past the end are
    /// ignored), in one pass. Returns the number deleted. Every place given: O(1).
    int RemovePlaces(std::span<const int> places);

    /// The first card from the head for which `SameQuestionOrAnswer` holds, or nullptr.
    tVokabel* FindSameQuestionOrAnswer(const tVokabel& card, const tVokabel* besides = nullptr);
    const tVokabel* FindSameQuestionOrAnswer(const tVokabel& card,
                                             const tVokabel* besides = nullptr) const;
    /// The first card from the head for which `SameCard` holds, or nullptr.
    tVokabel* FindSameCard(const tVokabel& card);
    const tVokabel* FindSameCard(const tVokabel& card) const;

    /// Moves the head card to the end of `target` without copying it, and returns it there.
    /// Returns nullptr when this ring is empty. Moving to the same ring is a `Rotate`. O(1).
    tVokabel* MoveHeadTo(tVokListe& target);
    /// Moves every card, in order, to the end of `target` without copying; this ring is left
    /// empty. O(1).
    void MoveAllTo(tVokListe& target);
    /// Deletes every card.
    void Clear();
    /// Memory for `cards` cards that another thread makes while this one goes on (see
    /// `NodePool::Lane`); given back once that thread ended.
    [[nodiscard]] static NodePool::Lane TakeNodeLane(std::size_t cards);
    static void ReturnNodeLane(NodePool::Lane&& lane);

  private:
    friend class tCardBox;
    friend class BoxStep;

    struct Node {
        Node* next = nullptr;
        tVokabel card;
    };

    static Node* NewNode(const tVokabel& card);
    static void DeleteNode(Node* node);
    void LinkAtEnd(Node* node);
    /// Unlinks the node after `previous` and deletes it, or hands it to the step recorded.
    void DeleteAfter(Node* previous);
    Node* UnlinkHead();
    void ForgetCursor();

    // The changes a step records, and their exact reversal; only the box's history calls
    // them, always on the state the recorded change left or found.
    void PushHead(Node* node);
    /// Unlinks the tail; `previous` is the node before it, nullptr when it is the only one.
    Node* PopTail(Node* previous);
    /// Takes back a `Rotate` whose former tail was `oldTail`.
    void Unrotate(Node* oldTail);
    /// Unlinks the node after `previous` (the node itself when it is alone) without freeing it.
    void UnlinkAfter(Node* previous);
    void InsertAfter(Node* previous, Node* node, bool asHead, bool asTail);
    /// Links the chain `first`..`last` of `count` nodes after the tail.
    void AttachChain(Node* first, Node* last, std::int32_t count);
    /// Unlinks the last `count` nodes, which follow `previous` (nullptr: all of them), and
    /// returns the first of them; they stay linked to each other.
    Node* DetachTail(Node* previous, std::int32_t count);
    std::vector<Node*> NodeOrder() const;
    void Relink(const std::vector<Node*>& order);
    /// Forgets every node without freeing one: they now belong to a step.
    void ForgetAll();

    BoxStep* step_ = nullptr;
    std::uint8_t number_ = 0;
    template <typename Match>
    const tVokabel* FindFirst(Match match) const;

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    std::int32_t count_ = 0;
    Node* cursor_ = nullptr;
    std::int32_t cursorIndex_ = 0;
};

}  // namespace tallyfold
