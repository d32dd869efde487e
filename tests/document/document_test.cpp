#include "document/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/journal_ops.h"
#include "files/vok_file.h"
#include "tests/support/box_state.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"
#include "tests/support/journals.h"

namespace tallyfold {
namespace {

constexpr JournalTexts kUtf8 = JournalTexts::Utf8;

using testing::Card;
using testing::Fill;
using testing::StateOf;
using testing::TempDir;

class DocumentTest : public ::testing::Test {
  protected:
    DocumentTest() {
        testing::UseUserFoldersIn(FilePath(dir.Path()));
        std::filesystem::create_directories(journals.Bytes());
        tCardBox cards;
        Fill(cards, 1, 3, "a");
        Fill(cards, tCardBox::kInputStack, 5, "i");
        EXPECT_TRUE(SaveVokFile(path, cards));
        document.SetJournalFolder(journals);
        EXPECT_TRUE(document.Open(path).opened);
    }

    /// One verdict, as the learning session gives it.
    void Known() {
        const Document::Step step(document, StepName::Known);
        int number = 0;
        static_cast<void>(document.ChooseNext(false, number));
        document.Known();
    }

    std::size_t Journals() const {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(journals.Bytes())) {
            static_cast<void>(entry);
            ++count;
        }
        return count;
    }

    TempDir dir;
    FilePath journals = dir.File("journals");
    FilePath path = dir.File("words.vok");
    tCardBox box;
    Document document{box};
};

TEST_F(DocumentTest, TheJournalComesWithTheFirstChangeAndGoesWithTheSave) {
    EXPECT_EQ(Journals(), 0U) << "opening a file changes nothing";
    Known();
    EXPECT_EQ(Journals(), 1U);
    Known();
    EXPECT_EQ(Journals(), 1U) << "one journal for the document";
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(Journals(), 0U);
    Known();
    EXPECT_EQ(Journals(), 1U);
    document.Close();
    EXPECT_EQ(Journals(), 0U);
}

TEST_F(DocumentTest, TheChangedMarkFollowsTheHistoryBackToTheSave) {
    EXPECT_FALSE(document.Changed());
    { const Document::Step nothing(document, StepName::ChangeCard); }
    EXPECT_FALSE(document.Changed()) << "a step that changed nothing";
    Known();
    EXPECT_TRUE(document.Changed());
    ASSERT_TRUE(document.Undo());
    EXPECT_FALSE(document.Changed());
    ASSERT_TRUE(document.Redo());
    EXPECT_TRUE(document.Changed());
    ASSERT_TRUE(document.Save());
    EXPECT_FALSE(document.Changed());
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.Changed());
    EXPECT_EQ(document.UndoName(), StepName::Follow) << "nothing older to undo";
}

// The journal of a run that ended after an undo past its start (here: past a save) brings
// back the box as it was, through the snapshot the undo wrote.
TEST_F(DocumentTest, AnUndoPastTheJournalsStartIsRestoredFromASnapshot) {
    Known();
    ASSERT_TRUE(document.Save());
    ASSERT_TRUE(document.Undo());
    const testing::BoxState undone = StateOf(box);

    tCardBox other;
    Document again(other);
    again.SetJournalFolder(journals);
    ASSERT_TRUE(again.Open(path).opened);
    const std::optional<Recovery> recovery = again.FindRecovery(path);
    ASSERT_TRUE(recovery.has_value());
    JournalReader reader;
    ASSERT_TRUE(reader.Open(recovery->journal));
    const std::vector<std::string> entries = testing::EntriesOf(reader);
    reader = JournalReader();
    // The box and its day history, whole.
    ASSERT_EQ(entries.size(), 2U);
    const std::optional<JournalOp> op = DecodeJournalOp(entries.front(), kUtf8);
    ASSERT_TRUE(op.has_value());
    EXPECT_TRUE(std::holds_alternative<journal_op::Snapshot>(*op));
    const std::optional<JournalOp> days = DecodeJournalOp(entries.back(), kUtf8);
    ASSERT_TRUE(days.has_value());
    EXPECT_TRUE(std::holds_alternative<journal_op::Days>(*days));
    EXPECT_TRUE(again.Restore(*recovery));
    EXPECT_EQ(StateOf(other), undone);
    EXPECT_TRUE(again.Changed());
}

// Steps on cards chosen in a list are titled with their number, for Undo and Redo and again
// after a restore, where the journal's steps are made anew.
TEST_F(DocumentTest, StepsOnChosenCardsNameHowMany) {
    {
        const Document::Step step(document, StepName::DeleteCards);
        const std::vector<int> lines = {0, 2, 2, 40};  // a line twice, one past the end
        document.RemoveLines(tCardBox::kInputStack, lines);
    }
    EXPECT_EQ(document.UndoTitle(), "Delete 2 cards");
    {
        const Document::Step step(document, StepName::MoveCards);
        const std::vector<int> line = {1};
        document.MoveLines(1, line, 3);
    }
    EXPECT_EQ(document.UndoTitle(), "Move 1 card");
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(document.RedoTitle(), "Move 1 card");
    EXPECT_EQ(document.UndoTitle(), "Delete 2 cards");
    Known();
    EXPECT_EQ(document.UndoTitle(), "Known");

    tCardBox other;
    Document again(other);
    again.SetJournalFolder(journals);
    ASSERT_TRUE(again.Open(path).opened);
    const std::optional<Recovery> recovery = again.FindRecovery(path);
    ASSERT_TRUE(recovery.has_value());
    ASSERT_TRUE(again.Restore(*recovery));
    ASSERT_TRUE(again.Undo());
    EXPECT_EQ(again.UndoTitle(), "Delete 2 cards");
}

// A journal that cannot be made (its folder is a file) does not keep the learner from
// learning or saving.
TEST_F(DocumentTest, ChangesGoOnWithoutAJournal) {
    const FilePath notAFolder = dir.File("not-a-folder");
    testing::WriteBytes(notAFolder, "x");
    document.SetJournalFolder(notAFolder);
    Known();
    Known();
    EXPECT_TRUE(document.Changed());
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.Save());
    EXPECT_FALSE(document.FindRecovery(path).has_value());
}

/// A journal of `entries`, as a run of a box without a file that ended left it in `dir`.
Recovery JournalOf(const TempDir& dir, const std::vector<std::string>& entries) {
    const FilePath path = dir.File("untitled.journal");
    EXPECT_TRUE(testing::WriteJournal(path, entries));
    std::optional<Recovery> recovery = ReadRecovery(path);
    EXPECT_TRUE(recovery.has_value());
    return recovery ? *recovery : Recovery();
}

template <class Op>
std::string EntryOf(const Op& op) {
    return EncodeJournalOp(op).Bytes();
}

// A journal in which a change stands outside the Begin and End of a step is none the program
// writes: the change is refused before it touches the box, so no later undo can take back a
// step whose cards it moved or freed.
TEST(DocumentRestoreTest, AChangeOutsideAStepIsRefused) {
    TempDir dir;
    tCardBox box;
    Fill(box, 1, 3, "a");
    Fill(box, tCardBox::kInputStack, 2, "i");
    Document document(box);
    const Recovery recovery =
        JournalOf(dir, {EntryOf(journal_op::Begin{StepName::DeleteCard}),
                        EntryOf(journal_op::DeleteCurrent{1}), EntryOf(journal_op::End{}),
                        EntryOf(journal_op::ClearPartition{1}), EntryOf(journal_op::Undo{})});
    EXPECT_FALSE(document.Restore(recovery));
    EXPECT_EQ(testing::Questions(box, 1), (std::vector<std::string>{"a2", "a3"}))
        << "the step before the stray change came back, the change did not";
    EXPECT_TRUE(std::filesystem::exists(DamagedJournalPath(recovery.journal).Bytes()));
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(testing::Questions(box, 1), (std::vector<std::string>{"a1", "a2", "a3"}));

    for (const std::vector<std::string>& entries :
         {std::vector<std::string>{EntryOf(journal_op::End{})},
          std::vector<std::string>{EntryOf(journal_op::Begin{StepName::Known}),
                                   EntryOf(journal_op::Begin{StepName::Known})},
          std::vector<std::string>{EntryOf(journal_op::Known{})}}) {
        tCardBox other;
        Fill(other, 1, 3, "a");
        const testing::BoxState before = StateOf(other);
        Document again(other);
        EXPECT_FALSE(again.Restore(JournalOf(dir, entries)));
        EXPECT_EQ(StateOf(other), before);
    }
}

// The offer counts what the user did and what will come back, not the entries; of a journal
// the replay refuses part of, also what it holds in all.
TEST(CountChangesTest, StepsTheUserMadeUpToWhatTheReplayRefuses) {
    TempDir dir;
    const std::string known = EntryOf(journal_op::Known{});
    const std::string begin = EntryOf(journal_op::Begin{StepName::Known});
    const std::string end = EntryOf(journal_op::End{});
    const std::string follow = EntryOf(journal_op::Begin{StepName::Follow});
    const std::string choose = EntryOf(journal_op::Choose{false});
    const std::string undo = EntryOf(journal_op::Undo{});
    const std::string redo = EntryOf(journal_op::Redo{});
    auto count = [&dir](const std::vector<std::string>& entries) {
        return JournalOf(dir, entries).count;
    };

    ChangeCount counted = count(
        {begin, known, choose, end, follow, choose, end, begin, known, end, undo, redo, undo});
    EXPECT_EQ(counted.changes, 1);
    EXPECT_EQ(counted.recorded, 1);
    EXPECT_TRUE(counted.whole);
    EXPECT_EQ(count({follow, choose, end}).changes, 0) << "the program's own refills";

    std::vector<std::string> nested(1000, begin);
    nested.push_back(known);
    counted = count(nested);
    EXPECT_EQ(counted.changes, 0);
    EXPECT_FALSE(counted.whole);
    counted = count({begin, known, end, known, begin, known, end, begin, known, end});
    EXPECT_EQ(counted.changes, 1) << "up to the change outside a step";
    EXPECT_EQ(counted.recorded, 3) << "the journal holds three";
    EXPECT_FALSE(counted.whole);
    counted = count({begin, known, end, std::string("\x7f")});
    EXPECT_EQ(counted.changes, 1);
    EXPECT_EQ(counted.recorded, 1);
    EXPECT_FALSE(counted.whole);

    // The cards a replay adds, for its memory: each added card, or a snapshot's records.
    tCardBox cards;
    Fill(cards, 2, 40, "s");
    const std::string add =
        EntryOf(journal_op::AddCard{std::string_view("q"), std::string_view("a"), 0, 0});
    counted = count({EncodeSnapshot(cards).Bytes(), begin, add, add, end});
    EXPECT_GE(counted.cards, 40U);
    EXPECT_LE(counted.cards, 40U * 3);
    EXPECT_EQ(count({begin, add, add, end, add, add}).cards, 2U) << "only what comes back";
}

// A restored journal whose snapshot does not read whole: the box stays as it was, and the
// restore says that not everything came back.
TEST(DocumentRestoreTest, ASnapshotThatDoesNotReadWholeLeavesTheBox) {
    TempDir dir;
    tCardBox box;
    box.AddToPartition(Card("mine"), 3);
    const testing::BoxState before = StateOf(box);
    Document document(box);

    tCardBox other;
    other.AddToPartition(Card("theirs"), 1);
    EXPECT_FALSE(document.Restore(JournalOf(dir, {EncodeSnapshot(other).Bytes() + "stray"})));
    EXPECT_EQ(StateOf(box), before);

    EXPECT_TRUE(document.Restore(JournalOf(dir, {EncodeSnapshot(other).Bytes()})));
    EXPECT_EQ(StateOf(box), StateOf(other));
}

// Journals written before the program held Unicode keep their texts in Windows-1252. What they
// hold comes back as the same letters, and the journal goes on in this version's form.
TEST(DocumentRestoreTest, AJournalOfTheVersionBeforeUnicodeComesBackInItsLetters) {
    TempDir dir;
    tCardBox other;
    other.AddToPartition(Card("Haus"), 2);
    const std::string bytesOfOldVersion =
        "Gr\xFC\xDF"
        "e \x80";
    const FilePath path = dir.File("untitled.journal");
    ASSERT_TRUE(testing::WriteJournal(
        path, {EncodeSnapshot(other).Bytes(), EntryOf(journal_op::Begin{StepName::NewCard}),
               EntryOf(journal_op::AddCard{bytesOfOldVersion, "greeting", 1, 2}),
               EntryOf(journal_op::End{})}));
    {
        // The first version's header: the same but for its number.
        std::string bytes = testing::ReadBytes(path);
        ASSERT_EQ(bytes.substr(0, 11), "TFJOURNAL2\n");
        bytes[9] = '1';
        testing::WriteBytes(path, bytes);
    }
    const std::optional<Recovery> recovery = ReadRecovery(path);
    ASSERT_TRUE(recovery.has_value());
    EXPECT_EQ(recovery->count.changes, 2);  // the snapshot and the card

    tCardBox box;
    Document document(box);
    document.SetJournalFolder(FilePath(dir.Path()));
    ASSERT_TRUE(document.Restore(*recovery));
    EXPECT_EQ(testing::Questions(box, tCardBox::kInputStack),
              (std::vector<std::string>{"Gr\u00FC\u00DFe \u20AC"}));
    EXPECT_EQ(testing::Questions(box, 2), (std::vector<std::string>{"Haus"}));
    EXPECT_FALSE(std::filesystem::exists(path.Bytes())) << "the old journal was replaced";
    ASSERT_TRUE(document.Undo());
    EXPECT_EQ(box.CardsIn(tCardBox::kInputStack), 0);
}

TEST(DocumentRestoreTest, ATextThatIsNoUtf8InAJournalIsRefused) {
    for (const std::string& text : {std::string("Gr\xFC\xDF"
                                                "e"),
                                    std::string("a\0b", 3), std::string(255, 'x')}) {
        EXPECT_FALSE(DecodeJournalOp(EntryOf(journal_op::AddCard{text, "x", 0, 0}), kUtf8)) << text;
        EXPECT_TRUE(DecodeJournalOp(EntryOf(journal_op::AddCard{text, "x", 0, 0}),
                                    JournalTexts::Windows1252));
    }
    EXPECT_TRUE(DecodeJournalOp(EntryOf(journal_op::AddCard{std::string_view("\u4E2D"), "x", 0, 0}),
                                kUtf8));
    EXPECT_TRUE(
        DecodeJournalOp(EntryOf(journal_op::AddCard{std::string(254, 'x'), "x", 0, 0}), kUtf8));
}

}  // namespace
}  // namespace tallyfold
