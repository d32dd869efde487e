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
    Add({.kind = Kind::MoveHead, .ring = from, .target = to, .node = targetTail});
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
    Add({.kind = Kind::AppendRun,
         .ring = ring,
         .count = 1,
         .first = node,
         .node = node,
         .previous = previous});
}

void BoxStep::Removed(std::uint8_t ring, Node* previous, Node* node, bool wasHead, bool wasTail) {
    Add({.kind = Kind::Remove,
         .ring = ring,
         .wasHead = wasHead,
         .wasTail = wasTail,
         .node = node,
         .previous = previous});
}

void BoxStep::Reordered(std::uint8_t ring, const std::vector<Node*>& order) {
    Add({.kind = Kind::Order, .ring = ring, .index = orders_.size()});
    orders_.push_back(order);
}

void BoxStep::Spliced(std::uint8_t from, std::uint8_t to, Node* targetTail, std::int32_t count) {
    Add({.kind = Kind::Splice, .ring = from, .target = to, .count = count, .previous = targetTail});
}

void BoxStep::Detached(std::uint8_t ring, Node* first, Node* last, std::int32_t count) {
    Add({.kind = Kind::Detach, .ring = ring, .count = count, .first = first, .node = last});
}

void BoxStep::Counted(tVokabel& card, bool known, std::int32_t before) {
    Add({.kind = Kind::Count,
         .known = known,
         .before = before,
         .after = known ? card.knownCount : card.unknownCount,
         .card = &card});
}

void BoxStep::TextsChanged(tVokabel& card) {
    Add({.kind = Kind::Texts, .card = &card, .index = texts_.size()});
    texts_.push_back({card.question, card.answer});
}

}  // namespace tallyfold
