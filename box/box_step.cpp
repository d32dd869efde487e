#include "box/box_step.h"

#include <algorithm>
#include <utility>

namespace tallyfold {

BoxStep::BoxStep(BoxStep&& other) noexcept
    : changes_(std::move(other.changes_)),
      orders_(std::move(other.orders_)),
      texts_(std::move(other.texts_)),
      currentBefore_(other.currentBefore_),
      currentAfter_(other.currentAfter_),
      done_(other.done_) {
    other.changes_.clear();
    other.orders_.clear();
    other.texts_.clear();
}

BoxStep& BoxStep::operator=(BoxStep&& other) noexcept {
    if (this != &other) {
        Discard(done_);
        changes_ = std::move(other.changes_);
        orders_ = std::move(other.orders_);
        texts_ = std::move(other.texts_);
        currentBefore_ = other.currentBefore_;
        currentAfter_ = other.currentAfter_;
        done_ = other.done_;
        other.changes_.clear();
        other.orders_.clear();
        other.texts_.clear();
    }
    return *this;
}

BoxStep::~BoxStep() {
    Discard(done_);
}

std::size_t BoxStep::Bytes() const {
    std::size_t bytes = changes_.capacity() * sizeof(Change) + texts_.capacity() * sizeof(Texts);
    for (const std::vector<Node*>& order : orders_) {
        bytes += order.capacity() * sizeof(Node*);
    }
    return bytes;
}

void BoxStep::FreeChain(Node* first, std::int32_t count) {
    Node* node = first;
    for (std::int32_t i = 0; i < count; ++i) {
        Node* next = node->next;
        tVokListe::DeleteNode(node);
        node = next;
    }
}

void BoxStep::Discard(bool done) {
    for (const Change& change : changes_) {
        if (done && change.kind == Kind::Remove) {
            tVokListe::DeleteNode(change.node);
        } else if (done && change.kind == Kind::Detach) {
            FreeChain(change.first, change.count);
        } else if (!done && change.kind == Kind::AppendRun) {
            FreeChain(change.first, change.count);
        }
    }
    changes_.clear();
    orders_.clear();
    texts_.clear();
    currentAfter_ = currentBefore_;
}

void BoxStep::Moved(std::uint8_t from, std::uint8_t to, Node* targetTail) {
    Change change;
    change.kind = Kind::MoveHead;
    change.ring = from;
    change.target = to;
    change.node = targetTail;
    Add(change);
}

void BoxStep::Appended(std::uint8_t ring, Node* previous, Node* node) {
    // Cards appended one after another to one ring make one record, so that an import of a
    // million cards costs one.
    if (!changes_.empty()) {
        Change& last = changes_.back();
        if (last.kind == Kind::AppendRun && last.ring == ring && last.node == previous &&
            previous != nullptr) {
            last.node = node;
            ++last.count;
            return;
        }
    }
    Change change;
    change.kind = Kind::AppendRun;
    change.ring = ring;
    change.previous = previous;
    change.first = node;
    change.node = node;
    change.count = 1;
    Add(change);
}

void BoxStep::Removed(std::uint8_t ring, Node* previous, Node* node, bool wasHead, bool wasTail) {
    Change change;
    change.kind = Kind::Remove;
    change.ring = ring;
    change.previous = previous;
    change.node = node;
    change.wasHead = wasHead;
    change.wasTail = wasTail;
    Add(change);
}

void BoxStep::Reordered(std::uint8_t ring, const std::vector<Node*>& order) {
    Change change;
    change.kind = Kind::Order;
    change.ring = ring;
    change.index = orders_.size();
    orders_.push_back(order);
    Add(change);
}

void BoxStep::Spliced(std::uint8_t from, std::uint8_t to, Node* targetTail, std::int32_t count) {
    Change change;
    change.kind = Kind::Splice;
    change.ring = from;
    change.target = to;
    change.previous = targetTail;
    change.count = count;
    Add(change);
}

void BoxStep::Detached(std::uint8_t ring, Node* first, Node* last, std::int32_t count) {
    Change change;
    change.kind = Kind::Detach;
    change.ring = ring;
    change.first = first;
    change.node = last;
    change.count = count;
    Add(change);
}

void BoxStep::Counted(tVokabel& card, bool known, std::int32_t before) {
    Change change;
    change.kind = Kind::Count;
    change.card = &card;
    change.known = known;
    change.before = before;
    change.after = known ? card.knownCount : card.unknownCount;
    Add(change);
}

void BoxStep::TextsChanged(tVokabel& card) {
    Change change;
    change.kind = Kind::Texts;
    change.card = &card;
    change.index = texts_.size();
    Texts texts;
    std::copy(std::begin(card.question), std::end(card.question), texts.question);
    std::copy(std::begin(card.answer), std::end(card.answer), texts.answer);
    texts_.push_back(texts);
    Add(change);
}

}  // namespace tallyfold
