#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "box/card.h"
#include "box/card_ring.h"

namespace tallyfold {

/// What one step of the user did to a box, change by change, in a form that takes the step
/// back (`tCardBox::UndoStep`) and makes it again (`tCardBox::RedoStep`) exactly: every ring's
/// order, every counter and text, the current partition.
///
/// A step holds links between ring nodes, not copies of cards: moving a card costs a record of
/// a few words, whatever the box's size, and a step that moves whole rings (All to input stack,
/// an import, New) costs a record per ring. Only a shuffle keeps the former order of its ring,
/// one pointer per card.
///
/// Cards a step deleted are kept by the step while it is done, so that undoing it brings back
/// the very same cards; cards it added are kept by it while it is undone. A step is therefore
/// told which of the two it is when it is dropped from the history (`Discard`), and frees what
/// it kept. Steps must be undone and redone strictly in the order of the history.
class BoxStep {
  public:
    BoxStep() = default;
    BoxStep(BoxStep&& other) noexcept;
    BoxStep& operator=(BoxStep&& other) noexcept;
    BoxStep(const BoxStep&) = delete;
    BoxStep& operator=(const BoxStep&) = delete;
    /// A step that was neither discarded nor is empty keeps its cards alive: dropping it
    /// without `Discard` would leak them, so the destructor discards it as done.
    ~BoxStep();

    /// True when the step changed nothing.
    bool Empty() const { return changes_.empty() && currentBefore_ == currentAfter_; }
    /// The number of changes recorded so far.
    std::size_t Size() const { return changes_.size(); }
    /// The memory the step holds beyond the cards themselves, in bytes.
    std::size_t Bytes() const;
    /// Frees the cards the step keeps: those it deleted when it is done (`done`), those it
    /// added when it is undone. The step is empty afterwards.
    void Discard(bool done);
    /// Whether the step is applied to its box (true after recording and after a redo).
    bool Done() const { return done_; }

  private:
    friend class tCardBox;
    friend class tVokListe;
    using Node = tVokListe::Node;

    enum class Kind : std::uint8_t {
        MoveHead,   ///< the head of `ring` went to the end of `target` (`node`: target's tail)
        Count,      ///< a counter of `card` went from `before` to `after`
        AppendRun,  ///< `count` new cards `first`..`node` were appended after `previous`
        Remove,     ///< `node` was unlinked after `previous`
        Detach,     ///< the whole ring `first`..`node` of `count` cards was taken out
        Splice,     ///< the whole of `ring` was appended to `target` after `previous`
        Order,      ///< `ring` was reordered; `orders_[index]` holds the other order
        Texts,      ///< the texts of `card` changed; `texts_[index]` holds the other texts
    };
    struct Change {
        Kind kind = Kind::MoveHead;
        std::uint8_t ring = 0;
        std::uint8_t target = 0;
        bool wasHead = false;
        bool wasTail = false;
        bool known = false;
        std::int32_t count = 0;
        std::int32_t before = 0;
        std::int32_t after = 0;
        Node* first = nullptr;
        Node* node = nullptr;
        Node* previous = nullptr;
        tVokabel* card = nullptr;
        std::size_t index = 0;
    };
    struct Texts {
        CardText question;
        CardText answer;
    };

    void Add(const Change& change) { changes_.push_back(change); }
    // What the rings tell while the step records.
    void Moved(std::uint8_t from, std::uint8_t to, Node* targetTail);
    void Appended(std::uint8_t ring, Node* previous, Node* node);
    void Removed(std::uint8_t ring, Node* previous, Node* node, bool wasHead, bool wasTail);
    void Reordered(std::uint8_t ring, const std::vector<Node*>& order);
    void Spliced(std::uint8_t from, std::uint8_t to, Node* targetTail, std::int32_t count);
    void Detached(std::uint8_t ring, Node* first, Node* last, std::int32_t count);
    // What the box tells.
    void Counted(tVokabel& card, bool known, std::int32_t before);
    void TextsChanged(tVokabel& card);
    static void FreeChain(Node* first, std::int32_t count);

    std::vector<Change> changes_;
    std::vector<std::vector<Node*>> orders_;
    std::vector<Texts> texts_;
    int currentBefore_ = 0;
    int currentAfter_ = 0;
    bool done_ = true;
};

}  // namespace tallyfold
