#include "box/card_ring.h"

#include "box/box_step.h"
#include "box/node_pool.h"

#include <algorithm>
#include <cassert>
#include <ctime>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tallyfold {

namespace {

// SplitMix64: small, fast, and the same on every platform, so a seed always gives the same
// permutation. Draws are unbiased (rejection sampling), not "value modulo range".
class ShuffleRandom {
  public:
    explicit ShuffleRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t NextValue() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    /// A uniform draw from 0 to bound - 1; bound must be at least 1.
    std::uint64_t Below(std::uint64_t bound) {
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
        std::uint64_t value = NextValue();
        while (value >= limit) {
            value = NextValue();
        }
        return value % bound;
    }

  private:
    std::uint64_t state_;
};

}  // namespace

// One pool for the nodes of every ring, so nodes move between rings freely. It is never
// destroyed: rings in objects that live until the program ends may free nodes into it last.
NodePool& RingNodes(std::size_t nodeSize) {
    static NodePool& pool = *new NodePool(nodeSize);
    return pool;
}

tVokListe::Node* tVokListe::NewNode(const tVokabel& card) {
    return new (RingNodes(sizeof(Node)).Allocate()) Node{nullptr, card};
}

NodePool::Lane tVokListe::TakeNodeLane(std::size_t cards) {
    return RingNodes(sizeof(Node)).TakeLane(cards);
}

void tVokListe::ReturnNodeLane(NodePool::Lane&& lane) {
    RingNodes(sizeof(Node)).Return(std::move(lane));
}

void tVokListe::DeleteNode(Node* node) {
    if (node != nullptr) {
        node->~Node();
        RingNodes(sizeof(Node)).Free(node);
    }
}

tVokListe::~tVokListe() {
    Clear();
}

void tVokListe::LinkAtEnd(Node* node) {
    AttachChain(node, node, 1);
}

tVokListe::Node* tVokListe::UnlinkHead() {
    Node* node = head_;
    if (node == nullptr) {
        return nullptr;
    }
    if (--count_ == 0) {
        head_ = nullptr;
        tail_ = nullptr;
    } else {
        head_ = node->next;
        tail_->next = head_;
    }
    node->next = nullptr;
    return node;
}

tVokabel* tVokListe::Append(const tVokabel& card) {
    Node* node = NewNode(card);
    if (step_ != nullptr) {
        step_->Appended(number_, tail_, node);
    }
    LinkAtEnd(node);
    return &node->card;
}

tVokabel* tVokListe::Head() {
    return head_ != nullptr ? &head_->card : nullptr;
}

const tVokabel* tVokListe::Head() const {
    return head_ != nullptr ? &head_->card : nullptr;
}

void tVokListe::DropHead() {
    if (head_ != nullptr) {
        DeleteAfter(tail_);
    }
}

tVokabel* tVokListe::Rotate() {
    if (head_ == nullptr) {
        return nullptr;
    }
    if (step_ != nullptr) {
        step_->Moved(number_, number_, tail_);
    }
    tail_ = head_;
    head_ = head_->next;
    return &head_->card;
}

void tVokListe::DeleteAfter(Node* previous) {
    Node* node = previous->next;
    if (step_ != nullptr) {
        step_->Removed(number_, previous, node, node == head_, node == tail_);
        UnlinkAfter(previous);
        return;
    }
    UnlinkAfter(previous);
    DeleteNode(node);
}

void tVokListe::UnlinkAfter(Node* previous) {
    Node* node = previous->next;
    previous->next = node->next;
    if (node == head_) {
        head_ = node->next;
    }
    if (node == tail_) {
        tail_ = previous;
    }
    node->next = nullptr;
    if (--count_ == 0) {
        head_ = nullptr;
        tail_ = nullptr;
    }
    ForgetCursor();
}

void tVokListe::InsertAfter(Node* previous, Node* node, bool asHead, bool asTail) {
    if (count_ == 0) {
        head_ = node;
        tail_ = node;
        node->next = node;
    } else {
        node->next = previous->next;
        previous->next = node;
        if (asHead) {
            head_ = node;
        }
        if (asTail) {
            tail_ = node;
        }
    }
    ++count_;
    ForgetCursor();
}

void tVokListe::PushHead(Node* node) {
    if (head_ == nullptr) {
        tail_ = node;
        node->next = node;
    } else {
        node->next = head_;
        tail_->next = node;
    }
    head_ = node;
    ++count_;
    ForgetCursor();
}

tVokListe::Node* tVokListe::PopTail(Node* previous) {
    Node* node = tail_;
    if (previous == nullptr) {
        head_ = nullptr;
        tail_ = nullptr;
    } else {
        previous->next = head_;
        tail_ = previous;
    }
    node->next = nullptr;
    --count_;
    ForgetCursor();
    return node;
}

void tVokListe::Unrotate(Node* oldTail) {
    head_ = tail_;
    tail_ = oldTail;
    ForgetCursor();
}

void tVokListe::AttachChain(Node* first, Node* last, std::int32_t count) {
    if (head_ == nullptr) {
        head_ = first;
    } else {
        tail_->next = first;
    }
    tail_ = last;
    last->next = head_;
    count_ += count;
}

tVokListe::Node* tVokListe::DetachTail(Node* previous, std::int32_t count) {
    Node* first = previous != nullptr ? previous->next : head_;
    if (previous == nullptr) {
        head_ = nullptr;
        tail_ = nullptr;
    } else {
        previous->next = head_;
        tail_ = previous;
    }
    count_ -= count;
    ForgetCursor();
    return first;
}

std::vector<tVokListe::Node*> tVokListe::NodeOrder() const {
    std::vector<Node*> nodes;
    nodes.reserve(static_cast<std::size_t>(count_));
    Node* node = head_;
    for (std::int32_t i = 0; i < count_; ++i, node = node->next) {
        nodes.push_back(node);
    }
    return nodes;
}

void tVokListe::Relink(const std::vector<Node*>& order) {
    // The nodes lie anywhere in memory: fetching a few ahead lets the misses overlap.
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        if (i + kAhead < order.size()) {
            __builtin_prefetch(order[i + kAhead], 1);
        }
        order[i]->next = order[i + 1];
    }
    if (!order.empty()) {
        head_ = order.front();
        tail_ = order.back();
        tail_->next = head_;
    }
    ForgetCursor();
}

void tVokListe::ForgetAll() {
    head_ = nullptr;
    tail_ = nullptr;
    count_ = 0;
    ForgetCursor();
}

void tVokListe::ForgetCursor() {
    cursor_ = nullptr;
    cursorIndex_ = 0;
}

bool tVokListe::Remove(const tVokabel* card) {
    if (head_ == nullptr) {
        return false;
    }
    // Examine each node through its predecessor: the head's successor first, the head last.
    Node* previous = head_;
    for (std::int32_t i = 0; i < count_; ++i) {
        Node* node = previous->next;
        if (&node->card == card) {
            DeleteAfter(previous);
            return true;
        }
        previous = node;
    }
    return false;
}

tVokabel* tVokListe::First() {
    cursor_ = head_;
    cursorIndex_ = head_ != nullptr ? 1 : 0;
    return Head();
}

tVokabel* tVokListe::Next() {
    if (cursor_ == nullptr || cursorIndex_ >= count_) {
        return nullptr;
    }
    cursor_ = cursor_->next;
    ++cursorIndex_;
    return &cursor_->card;
}

int tVokListe::RemoveAll(std::span<const tVokabel* const> cards) {
    if (head_ == nullptr || cards.empty()) {
        return 0;
    }
    const std::unordered_set<const tVokabel*> doomed(cards.begin(), cards.end());
    int removed = 0;
    Node* previous = tail_;
    const std::int32_t total = count_;
    for (std::int32_t i = 0; i < total; ++i) {
        Node* node = previous->next;
        if (doomed.count(&node->card) == 0) {
            previous = node;
            continue;
        }
        DeleteAfter(previous);
        ++removed;
        if (count_ == 0) {
            break;
        }
    }
    cursor_ = nullptr;
    cursorIndex_ = 0;
    return removed;
}

int tVokListe::RemovePlaces(std::span<const int> places) {
    if (head_ == nullptr || places.empty()) {
        return 0;
    }
    if (static_cast<std::int32_t>(places.size()) == count_ && places.front() == 0 &&
        places.back() == count_ - 1) {
        const int all = count_;
        Clear();
        return all;
    }
    int removed = 0;
    Node* previous = tail_;
    auto place = places.begin();
    const std::int32_t total = count_;
    for (std::int32_t i = 0; i < total && place != places.end(); ++i) {
        while (place != places.end() && *place < i) {
            ++place;
        }
        if (place == places.end()) {
            break;
        }
        if (*place != i) {
            previous = previous->next;
            continue;
        }
        DeleteAfter(previous);
        ++removed;
        ++place;
    }
    ForgetCursor();
    return removed;
}

const tVokabel* tVokListe::Places::At(std::int32_t place) {
    assert(RingUnchanged() && "tVokListe::Places: the ring changed while its places were read");
    if (place < 0 || place >= ring_->count_) {
        return nullptr;
    }
    if (node_ == nullptr || place < place_) {
        // From the nearest mark at or before the place; the head is the first mark.
        if (marks_.empty()) {
            marks_.push_back(ring_->head_);
        }
        const std::size_t mark =
            std::min(static_cast<std::size_t>(place / kStride), marks_.size() - 1);
        node_ = marks_[mark];
        place_ = static_cast<std::int32_t>(mark) * kStride;
    }
    while (place_ < place) {
        node_ = node_->next;
        ++place_;
        if (place_ % kStride == 0 && static_cast<std::size_t>(place_ / kStride) == marks_.size()) {
            marks_.push_back(node_);
        }
    }
    return &node_->card;
}

void tVokListe::Shuffle() {
    ShuffleWithSeed(static_cast<std::uint64_t>(std::time(nullptr)));
}

void tVokListe::ShuffleWithSeed(std::uint64_t seed) {
    if (count_ < 3) {
        return;
    }
    std::vector<Node*> nodes = NodeOrder();
    if (step_ != nullptr) {
        step_->Reordered(number_, nodes);
    }
    ShuffleRandom random(seed);
    for (std::size_t i = nodes.size() - 1; i > 0; --i) {
        // The draw is below i + 1, so it fits a std::size_t wherever that is 32 bits wide.
        std::swap(nodes[i], nodes[static_cast<std::size_t>(random.Below(i + 1))]);
    }
    Relink(nodes);
}

template <typename Match>
const tVokabel* tVokListe::FindFirst(Match match) const {
    const Node* node = head_;
    for (std::int32_t i = 0; i < count_; ++i, node = node->next) {
        if (match(node->card)) {
            return &node->card;
        }
    }
    return nullptr;
}

const tVokabel* tVokListe::FindSameQuestionOrAnswer(const tVokabel& card,
                                                    const tVokabel* besides) const {
    return FindFirst([&card, besides](const tVokabel& stored) {
        return &stored != besides && stored.SameQuestionOrAnswer(card);
    });
}

const tVokabel* tVokListe::FindSameCard(const tVokabel& card) const {
    return FindFirst([&card](const tVokabel& stored) { return stored.SameCard(card); });
}

// The card found belongs to this ring, which is not const here: handing it out writable is
// what the caller's access to the ring allows.
tVokabel* tVokListe::FindSameQuestionOrAnswer(const tVokabel& card, const tVokabel* besides) {
    return const_cast<tVokabel*>(std::as_const(*this).FindSameQuestionOrAnswer(card, besides));
}

tVokabel* tVokListe::FindSameCard(const tVokabel& card) {
    return const_cast<tVokabel*>(std::as_const(*this).FindSameCard(card));
}

tVokabel* tVokListe::MoveHeadTo(tVokListe& target) {
    if (&target == this) {
        return Rotate() != nullptr ? &tail_->card : nullptr;
    }
    if (head_ == nullptr) {
        return nullptr;
    }
    if (step_ != nullptr) {
        step_->Moved(number_, target.number_, target.tail_);
    }
    Node* node = UnlinkHead();
    target.LinkAtEnd(node);
    return &node->card;
}

void tVokListe::MoveAllTo(tVokListe& target) {
    if (&target == this || head_ == nullptr) {
        return;
    }
    if (step_ != nullptr) {
        step_->Spliced(number_, target.number_, target.tail_, count_);
    }
    if (target.head_ == nullptr) {
        target.head_ = head_;
    } else {
        target.tail_->next = head_;
    }
    tail_->next = target.head_;
    target.tail_ = tail_;
    target.count_ += count_;
    head_ = nullptr;
    tail_ = nullptr;
    count_ = 0;
    cursor_ = nullptr;
    cursorIndex_ = 0;
}

void tVokListe::Clear() {
    if (step_ != nullptr && head_ != nullptr) {
        step_->Detached(number_, head_, tail_, count_);
        ForgetAll();
        return;
    }
    while (head_ != nullptr) {
        DropHead();
    }
    cursor_ = nullptr;
    cursorIndex_ = 0;
}

}  // namespace tallyfold
