#include "document/journal_ops.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/box_state.h"
#include "tests/support/cards.h"

namespace tallyfold {
namespace {

constexpr JournalTexts kUtf8 = JournalTexts::Utf8;

using testing::Card;
using testing::StateOf;

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

std::string Encode(const JournalOp& op) {
    return std::visit([](const auto& change) { return EncodeJournalOp(change).Bytes(); }, op);
}

// One operation of every kind, with fields that are not their defaults, and the bytes each
// is written as. The bytes are what journals on disk hold: a change to them breaks the journals
// that earlier runs left.
struct Sample {
    std::string name;
    JournalOp op;
    std::string hex;
    friend void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.name; }
};

std::vector<Sample> Samples() {
    static const std::string kCards(
        "\x01\x00\x00\x00x\x01\x00\x00\x00y\x00\x00\x00\x00\x00\x00\x00\x00", 18);
    return {
        {"Begin", journal_op::Begin{StepName::Import}, "010d"},
        {"End", journal_op::End{}, "02"},
        {"Choose", journal_op::Choose{true}, "0301"},
        {"Known", journal_op::Known{}, "04"},
        {"Unknown", journal_op::Unknown{true}, "0501"},
        {"DeleteCurrent", journal_op::DeleteCurrent{3}, "0603000000"},
        {"AddCard", journal_op::AddCard{"Hund", "dog", 2, -1},
         "070400000048756e6403000000646f6702000000ffffffff"},
        {"SetTexts", journal_op::SetTexts{8, 260, "a", ""}, "080800000004010000010000006100000000"},
        {"RemoveLines", journal_op::RemoveLines{2, {0, 5}}, "0902000000020000000000000005000000"},
        {"MoveLines", journal_op::MoveLines{1, 8, {7}}, "0a01000000080000000100000007000000"},
        {"AllToInput", journal_op::AllToInput{}, "0b"},
        {"ClearPartition", journal_op::ClearPartition{7}, "0c07000000"},
        {"ClearAll", journal_op::ClearAll{}, "0d"},
        {"Mix", journal_op::Mix{0, 0x0102030405060708ULL}, "0e000000000807060504030201"},
        {"Undo", journal_op::Undo{}, "0f"},
        {"Redo", journal_op::Redo{}, "10"},
        {"Snapshot", journal_op::Snapshot{2, {1, 0, 0, 0, 0, 0, 0, 0}, kCards},
         "11020000000100000000000000000000000000000000000000000000000000000000000000"
         "010000007801000000790000000000000000"},
        {"ResetCounters", journal_op::ResetCounters{3, {1, 4}},
         "1203000000020000000100000004000000"},
        {"Tally", journal_op::Tally{20798, 1, 2, 3, 4},
         "133e51000001000000020000000300000004000000"},
        {"Days", journal_op::Days{"Tallyfold day history 1\n"},
         "1454616c6c79666f6c642064617920686973746f727920310a"},
    };
}

TEST(JournalOpsTest, EveryOperationHasASample) {
    std::set<std::size_t> kinds;
    for (const Sample& sample : Samples()) {
        kinds.insert(sample.op.index());
    }
    EXPECT_EQ(kinds.size(), std::variant_size_v<JournalOp>);
}

// Each operation a named row: "JournalOp/Known" and so on.
class JournalOpTest : public ::testing::TestWithParam<Sample> {};

TEST_P(JournalOpTest, IsWrittenAsJournalsOnDiskHoldIt) {
    EXPECT_EQ(Hex(Encode(GetParam().op)), GetParam().hex);
}

TEST_P(JournalOpTest, ReadsBackAsWritten) {
    const std::string bytes = Encode(GetParam().op);
    const std::optional<JournalOp> read = DecodeJournalOp(bytes, kUtf8);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->index(), GetParam().op.index());
    EXPECT_EQ(Hex(Encode(*read)), GetParam().hex);
}

TEST_P(JournalOpTest, IsRefusedWhenCutAtAnyByte) {
    const std::string bytes = Encode(GetParam().op);
    // A snapshot's cards and a day history are the rest of their entries: their cut shows when
    // they are read.
    const std::size_t whole =
        std::holds_alternative<journal_op::Snapshot>(GetParam().op) ? 1 + 4 * 9
        : std::holds_alternative<journal_op::Days>(GetParam().op)   ? 1
                                                                    : bytes.size();
    for (std::size_t cut = 0; cut < whole; ++cut) {
        EXPECT_FALSE(DecodeJournalOp(bytes.substr(0, cut), kUtf8).has_value()) << "cut at " << cut;
    }
}

TEST_P(JournalOpTest, IsRefusedWithBytesAfterIt) {
    const std::string longer = Encode(GetParam().op) + '\0';
    const std::optional<JournalOp> read = DecodeJournalOp(longer, kUtf8);
    if (const auto* snapshot = read ? std::get_if<journal_op::Snapshot>(&*read) : nullptr) {
        // A snapshot's cards are the rest of its entry: the stray byte shows when they are read.
        tCardBox box;
        EXPECT_FALSE(ReadSnapshot(*snapshot, kUtf8, box));
        return;
    }
    if (const auto* days = read ? std::get_if<journal_op::Days>(&*read) : nullptr) {
        EXPECT_FALSE(DayHistory::FromText(days->text).has_value());
        return;
    }
    EXPECT_FALSE(read.has_value());
}

INSTANTIATE_TEST_SUITE_P(JournalOp, JournalOpTest, ::testing::ValuesIn(Samples()),
                         [](const ::testing::TestParamInfo<Sample>& row) {
                             return row.param.name;
                         });

TEST(JournalOpsTest, ValuesThatMeanNothingAreRefused) {
    using namespace std::string_literals;
    EXPECT_FALSE(DecodeJournalOp("\x00"s, kUtf8).has_value()) << "code 0 is the base entry's";
    EXPECT_FALSE(DecodeJournalOp("\x13"s, kUtf8).has_value()) << "no operation has code 19";
    EXPECT_FALSE(DecodeJournalOp("\xff"s, kUtf8).has_value());
    EXPECT_FALSE(DecodeJournalOp("\x01\x10"s, kUtf8).has_value()) << "a step name past the last";
    EXPECT_TRUE(DecodeJournalOp("\x01\x0f"s, kUtf8).has_value()) << "the last step name";
    // Lists whose count is negative, or larger than the entry's bytes can hold.
    EXPECT_FALSE(DecodeJournalOp("\x09\x01\x00\x00\x00\xff\xff\xff\xff"s, kUtf8).has_value());
    EXPECT_FALSE(DecodeJournalOp("\x09\x01\x00\x00\x00\xff\xff\xff\x7f"s, kUtf8).has_value());
    EXPECT_FALSE(DecodeJournalOp("\x09\x01\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00"s, kUtf8)
                     .has_value());
    // A text longer than the rest of its entry.
    EXPECT_FALSE(DecodeJournalOp("\x07\x05\x00\x00\x00"
                                 "abc"s,
                                 kUtf8)
                     .has_value());
}

class SnapshotTest : public ::testing::Test {
  protected:
    SnapshotTest() {
        box.AddToPartition(Card("eins", "one", 3, 1), 1);
        box.AddToPartition(Card("zwei", "two"), 1);
        box.AddToPartition(Card("drei", "three", 0, 4), 4);
        box.AddToPartition(Card("vier", "four", 9, 9), 7);
        box.AddToPartition(Card("neu", "new"), tCardBox::kInputStack);
        box.SetCurrentPartition(4);
    }

    tCardBox box;
};

TEST_F(SnapshotTest, ABoxReadsBackRingByRing) {
    const std::string bytes = EncodeSnapshot(box).Bytes();
    const std::optional<JournalOp> op = DecodeJournalOp(bytes, kUtf8);
    ASSERT_TRUE(op.has_value());
    const auto& snapshot = std::get<journal_op::Snapshot>(*op);
    EXPECT_EQ(snapshot.current, 4);
    tCardBox loaded;
    ASSERT_TRUE(ReadSnapshot(snapshot, kUtf8, loaded));
    loaded.SetCurrentPartition(snapshot.current);
    EXPECT_EQ(StateOf(loaded), StateOf(box));
}

TEST_F(SnapshotTest, AnEmptyBoxReadsBackEmpty) {
    const tCardBox empty;
    const std::string bytes = EncodeSnapshot(empty).Bytes();
    const std::optional<JournalOp> op = DecodeJournalOp(bytes, kUtf8);
    ASSERT_TRUE(op.has_value());
    tCardBox loaded;
    EXPECT_TRUE(ReadSnapshot(std::get<journal_op::Snapshot>(*op), kUtf8, loaded));
    EXPECT_EQ(loaded.TotalCards(), 0);
}

TEST_F(SnapshotTest, CardsCutShortOrFollowedByMoreAreRefused) {
    const std::string bytes = EncodeSnapshot(box).Bytes();
    for (std::size_t cut = 1 + 4 * 9; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        // The decoded cards are a view into the entry, which must outlive them.
        const std::string entry = bytes.substr(0, cut);
        const std::optional<JournalOp> op = DecodeJournalOp(entry, kUtf8);
        ASSERT_TRUE(op.has_value());
        tCardBox loaded;
        EXPECT_FALSE(ReadSnapshot(std::get<journal_op::Snapshot>(*op), kUtf8, loaded));
    }
    const std::string longer = bytes + "x";
    const std::optional<JournalOp> op = DecodeJournalOp(longer, kUtf8);
    ASSERT_TRUE(op.has_value());
    tCardBox loaded;
    EXPECT_FALSE(ReadSnapshot(std::get<journal_op::Snapshot>(*op), kUtf8, loaded));
}

TEST_F(SnapshotTest, CountsTheCardsCannotMakeUpAreRefused) {
    const std::string bytes = EncodeSnapshot(box).Bytes();
    const std::optional<JournalOp> op = DecodeJournalOp(bytes, kUtf8);
    ASSERT_TRUE(op.has_value());
    for (const std::int32_t count : {-1, 3, 1 << 30}) {
        auto snapshot = std::get<journal_op::Snapshot>(*op);
        snapshot.counts[0] = count;
        tCardBox loaded;
        EXPECT_FALSE(ReadSnapshot(snapshot, kUtf8, loaded)) << count;
    }
}

}  // namespace
}  // namespace tallyfold
