#include "document/journal_ops.h"

#include <string>
#include <utility>

#include "table/windows1252.h"
#include "text/utf8.h"

namespace tallyfold {

namespace {

// Every alternative's code is its place in the variant plus one, so that decoding can find
// the operation of a code by its index.
template <std::size_t... I>
constexpr bool CodesInOrder(std::index_sequence<I...> /*indices*/) {
    return ((std::variant_alternative_t<I, JournalOp>::kCode == I + 1) && ...);
}
static_assert(CodesInOrder(std::make_index_sequence<std::variant_size_v<JournalOp>>()),
              "JournalOp lists the operations in the order of their codes");

template <class Op>
std::optional<JournalOp> DecodeAs(JournalEntryReader& reader, JournalTexts texts) {
    Op op;
    journal_codec::Reader fields(reader, texts);
    Op::Fields(op, fields);
    if (!reader.Ok() || !reader.AtEnd()) {
        return std::nullopt;
    }
    return JournalOp(std::move(op));
}

template <std::size_t... I>
std::optional<JournalOp> DecodeAt(std::size_t index, JournalEntryReader& reader, JournalTexts texts,
                                  std::index_sequence<I...> /*indices*/) {
    std::optional<JournalOp> op;
    static_cast<void>((
        (I == index ? (op = DecodeAs<std::variant_alternative_t<I, JournalOp>>(reader, texts), true)
                    : false) ||
        ...));
    return op;
}

// A snapshot's card is written as an added card is, without the code.
constexpr std::size_t kSmallestCardRecord = 4 + 4 + 4 + 4;

}  // namespace

namespace journal_codec {

void Writer::operator()(const std::vector<std::int32_t>& lines) {
    entry_->I32(static_cast<std::int32_t>(lines.size()));
    for (const std::int32_t line : lines) {
        entry_->I32(line);
    }
}

void Reader::operator()(std::string_view& text) {
    text = reader_->Text();
    // What the replay makes a card of is checked here, before any change is made of it.
    if (texts_ == JournalTexts::Utf8 &&
        (text.size() > CardText::kMaxBytes || text.find('\0') != std::string_view::npos ||
         !unicode::IsValidUtf8(text))) {
        reader_->Fail();
    }
}

void Reader::operator()(StepName& name) {
    const std::uint8_t value = reader_->U8();
    if (value > static_cast<std::uint8_t>(kLastStepName)) {
        reader_->Fail();
        return;
    }
    name = static_cast<StepName>(value);
}

void Reader::operator()(std::vector<std::int32_t>& lines) {
    const std::int32_t count = reader_->I32();
    // A count the entry cannot hold is refused before anything is reserved for it.
    if (!reader_->Ok() || count < 0 ||
        static_cast<std::size_t>(count) > reader_->Rest().size() / 4) {
        reader_->Fail();
        return;
    }
    lines.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        lines.push_back(reader_->I32());
    }
}

}  // namespace journal_codec

std::optional<JournalOp> DecodeJournalOp(std::string_view entry, JournalTexts texts) {
    JournalEntryReader reader(entry);
    const std::uint8_t code = reader.U8();
    if (!reader.Ok() || code == 0 || code > std::variant_size_v<JournalOp>) {
        return std::nullopt;
    }
    return DecodeAt(code - 1U, reader, texts,
                    std::make_index_sequence<std::variant_size_v<JournalOp>>());
}

std::string CardTextOfJournal(std::string_view text, JournalTexts texts) {
    return texts == JournalTexts::Utf8 ? std::string(text) : Windows1252ToUtf8(text);
}

bool ChangesTheBox(const JournalOp& op) {
    return !std::holds_alternative<journal_op::Begin>(op) &&
           !std::holds_alternative<journal_op::End>(op) &&
           !std::holds_alternative<journal_op::Undo>(op) &&
           !std::holds_alternative<journal_op::Redo>(op) &&
           !std::holds_alternative<journal_op::Snapshot>(op) &&
           !std::holds_alternative<journal_op::Days>(op);
}

JournalEntry EncodeSnapshot(const tCardBox& box) {
    journal_op::Snapshot snapshot;
    snapshot.current = box.CurrentPartition();
    for (int number = 1; number <= tCardBox::kInputStack; ++number) {
        snapshot.counts[static_cast<std::size_t>(number - 1)] = box.CardsIn(number);
    }
    JournalEntry entry = EncodeJournalOp(snapshot);
    journal_codec::Writer writer(entry);
    box.ForEachCard([&writer](const tVokabel& card, int) {
        journal_op::AddCard record{card.Question(), card.Answer(), card.knownCount,
                                   card.unknownCount};
        journal_op::AddCard::Fields(record, writer);
        return true;
    });
    return entry;
}

std::size_t MostCardsIn(const journal_op::Snapshot& snapshot) {
    return snapshot.cards.size() / kSmallestCardRecord;
}

bool ReadSnapshot(const journal_op::Snapshot& snapshot, JournalTexts texts, tCardBox& box) {
    JournalEntryReader reader(snapshot.cards);
    journal_codec::Reader fields(reader, texts);
    for (int number = 1; number <= tCardBox::kInputStack; ++number) {
        const std::int32_t count = snapshot.counts[static_cast<std::size_t>(number - 1)];
        if (count < 0 ||
            static_cast<std::size_t>(count) > reader.Rest().size() / kSmallestCardRecord) {
            return false;
        }
        for (std::int32_t i = 0; i < count; ++i) {
            journal_op::AddCard record;
            journal_op::AddCard::Fields(record, fields);
            if (!reader.Ok()) {
                return false;
            }
            tVokabel card;
            card.SetTexts(CardTextOfJournal(record.question, texts),
                          CardTextOfJournal(record.answer, texts));
            card.knownCount = record.known;
            card.unknownCount = record.unknown;
            box.AddToPartition(card, number);
        }
    }
    return reader.AtEnd();
}

}  // namespace tallyfold
