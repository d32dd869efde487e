#pragma once

// The changes a journal records, one struct per operation. Each lists its fields once, in
// `Fields`, and both the writing (`EncodeJournalOp`) and the reading (`DecodeJournalOp`) of an
// entry go through that list, so an operation is written and read back by the same lines. A new
// operation is a new struct at the end of `JournalOp` with its code, and its case in the replay.
//
// An entry is the operation's code (one byte) and then its fields: numbers little endian, texts
// with their length before them, a list of lines with its count before it. The codes and the
// layout are on disk in the journals of runs that ended abnormally: never change them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "box/card_box.h"
#include "document/journal.h"
#include "document/undo_history.h"

namespace tallyfold::journal_op {

/// The base of the operations that carry nothing but their code.
struct NoFields {
    template <class Op, class Io>
    static void Fields(Op& /*op*/, Io& /*io*/) {}
};

/// A step of the history begins; `name` is what Undo calls it.
struct Begin {
    static constexpr std::uint8_t kCode = 1;
    StepName name = StepName::Follow;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.name);
    }
};
/// The step ends.
struct End : NoFields {
    static constexpr std::uint8_t kCode = 2;
};
/// A card was chosen in a way that changed the box (a refill, a compaction).
struct Choose {
    static constexpr std::uint8_t kCode = 3;
    bool compact = false;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.compact);
    }
};
struct Known : NoFields {
    static constexpr std::uint8_t kCode = 4;
};
/// Not known, with the option that says where the card goes.
struct Unknown {
    static constexpr std::uint8_t kCode = 5;
    bool toInput = false;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.toInput);
    }
};
/// The head card of partition `number` was deleted.
struct DeleteCurrent {
    static constexpr std::uint8_t kCode = 6;
    std::int32_t number = 0;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.number);
    }
};
/// A card was added to the input stack.
struct AddCard {
    static constexpr std::uint8_t kCode = 7;
    std::string_view question;
    std::string_view answer;
    std::int32_t known = 0;
    std::int32_t unknown = 0;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.question);
        io(op.answer);
        io(op.known);
        io(op.unknown);
    }
};
/// The card on `line` of partition `number` got new texts.
struct SetTexts {
    static constexpr std::uint8_t kCode = 8;
    std::int32_t number = 0;
    std::int32_t line = 0;
    std::string_view question;
    std::string_view answer;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.number);
        io(op.line);
        io(op.question);
        io(op.answer);
    }
};
/// The cards on these lines of partition `number` were deleted.
struct RemoveLines {
    static constexpr std::uint8_t kCode = 9;
    std::int32_t number = 0;
    std::vector<std::int32_t> lines;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.number);
        io(op.lines);
    }
};
/// The cards on these lines of partition `number` went to the end of `target`.
struct MoveLines {
    static constexpr std::uint8_t kCode = 10;
    std::int32_t number = 0;
    std::int32_t target = 0;
    std::vector<std::int32_t> lines;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.number);
        io(op.target);
        io(op.lines);
    }
};
struct AllToInput : NoFields {
    static constexpr std::uint8_t kCode = 11;
};
struct ClearPartition {
    static constexpr std::uint8_t kCode = 12;
    std::int32_t number = 0;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.number);
    }
};
struct ClearAll : NoFields {
    static constexpr std::uint8_t kCode = 13;
};
/// Partition `number` (0: all) was shuffled with `seed`.
struct Mix {
    static constexpr std::uint8_t kCode = 14;
    std::int32_t number = 0;
    std::uint64_t seed = 0;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.number);
        io(op.seed);
    }
};
/// The user's Undo and Redo.
struct Undo : NoFields {
    static constexpr std::uint8_t kCode = 15;
};
struct Redo : NoFields {
    static constexpr std::uint8_t kCode = 16;
};
/// The known and unknown counts of the cards on these lines of partition `number` went to 0.
struct ResetCounters {
    static constexpr std::uint8_t kCode = 18;
    std::int32_t number = 0;
    std::vector<std::int32_t> lines;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.number);
        io(op.lines);
    }
};
/// The whole box, for an undo back past the journal's start: the current partition, the
/// card count of each ring, then the cards ring by ring (`EncodeSnapshot`, `ReadSnapshot`).
struct Snapshot {
    static constexpr std::uint8_t kCode = 17;
    std::int32_t current = 0;
    std::array<std::int32_t, tCardBox::kInputStack> counts{};
    /// The cards' records, as `ReadSnapshot` reads them.
    std::string_view cards;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.current);
        for (auto& count : op.counts) {
            io(count);
        }
        io.Rest(op.cards);
    }
};

/// A step counted these in the day history: on `day`, verdicts known and not known, new cards
/// that entered partition 1, cards that reached the last partition.
struct Tally {
    static constexpr std::uint8_t kCode = 19;
    std::int32_t day = 0;
    std::int32_t known = 0;
    std::int32_t unknown = 0;
    std::int32_t entered = 0;
    std::int32_t learnt = 0;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io(op.day);
        io(op.known);
        io(op.unknown);
        io(op.entered);
        io(op.learnt);
    }
};
/// The whole day history, after a `Snapshot`, in the form of its file (`DayHistory::Text`).
struct Days {
    static constexpr std::uint8_t kCode = 20;
    std::string_view text;
    template <class Op, class Io>
    static void Fields(Op& op, Io& io) {
        io.Rest(op.text);
    }
};

}  // namespace tallyfold::journal_op

namespace tallyfold {

/// Any one operation of a journal. The order is that of the codes: alternative i has code i + 1.
using JournalOp =
    std::variant<journal_op::Begin, journal_op::End, journal_op::Choose, journal_op::Known,
                 journal_op::Unknown, journal_op::DeleteCurrent, journal_op::AddCard,
                 journal_op::SetTexts, journal_op::RemoveLines, journal_op::MoveLines,
                 journal_op::AllToInput, journal_op::ClearPartition, journal_op::ClearAll,
                 journal_op::Mix, journal_op::Undo, journal_op::Redo, journal_op::Snapshot,
                 journal_op::ResetCounters, journal_op::Tally, journal_op::Days>;

namespace journal_codec {

/// Writes the fields of an operation into an entry.
class Writer {
  public:
    explicit Writer(JournalEntry& entry) : entry_(&entry) {}
    void operator()(bool value) { entry_->U8(value ? 1 : 0); }
    void operator()(StepName name) { entry_->U8(static_cast<std::uint8_t>(name)); }
    void operator()(std::int32_t value) { entry_->I32(value); }
    void operator()(std::uint64_t value) { entry_->U64(value); }
    void operator()(std::string_view text) { entry_->Text(text); }
    void operator()(const std::vector<std::int32_t>& lines);
    void Rest(std::string_view bytes) { entry_->Raw(bytes); }

  private:
    JournalEntry* entry_;
};

/// Reads the fields of an operation back; every value is checked against the entry's end, and
/// a value that means nothing (a step name past the last, a count the entry cannot hold) makes
/// the reader fail.
class Reader {
  public:
    /// Texts in UTF-8 must be UTF-8 a card can hold; other texts are taken as they are.
    Reader(JournalEntryReader& reader, JournalTexts texts) : reader_(&reader), texts_(texts) {}
    void operator()(bool& value) { value = reader_->U8() != 0; }
    void operator()(StepName& name);
    void operator()(std::int32_t& value) { value = reader_->I32(); }
    void operator()(std::uint64_t& value) { value = reader_->U64(); }
    void operator()(std::string_view& text);
    void operator()(std::vector<std::int32_t>& lines);
    void Rest(std::string_view& bytes) { bytes = reader_->TakeRest(); }

  private:
    JournalEntryReader* reader_;
    JournalTexts texts_;
};

}  // namespace journal_codec

/// True for an operation that changes the box or counts in its day history, which the program
/// writes only inside the Begin and End of a step; false for those bounds, undo, redo and
/// snapshots, which stand between steps.
bool ChangesTheBox(const JournalOp& op);

/// The entry of an operation.
template <class Op>
JournalEntry EncodeJournalOp(const Op& op) {
    JournalEntry entry(Op::kCode);
    journal_codec::Writer writer(entry);
    Op::Fields(op, writer);
    return entry;
}

/// The operation an entry holds, or nothing when the entry is none: an unknown code, a field
/// cut short, bytes left over, a value out of range. Texts and the snapshot's cards are views
/// into `entry`, in the journal's form (`texts`): a UTF-8 text that is no UTF-8 or longer than a
/// card's is refused.
std::optional<JournalOp> DecodeJournalOp(std::string_view entry, JournalTexts texts);

/// A text of a decoded operation as UTF-8.
std::string CardTextOfJournal(std::string_view text, JournalTexts texts);

/// The most cards a snapshot's records can stand for, whatever its counts say.
std::size_t MostCardsIn(const journal_op::Snapshot& snapshot);

/// The snapshot entry of `box` as it is now.
JournalEntry EncodeSnapshot(const tCardBox& box);
/// Reads a decoded snapshot's cards into `box`, which must be empty, ring by ring; false when
/// its records do not make up exactly the counted cards.
[[nodiscard]] bool ReadSnapshot(const journal_op::Snapshot& snapshot, JournalTexts texts,
                                tCardBox& box);

}  // namespace tallyfold
