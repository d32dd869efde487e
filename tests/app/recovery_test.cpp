#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/journal.h"
#include "document/journal_ops.h"
#include "files/vok_file.h"
#include "tests/support/app_fixture.h"
#include "tests/support/box_state.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"
#include "tests/support/journals.h"
#include "tests/support/random_steps.h"
#include "tests/support/test_child.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using testing::BoxState;
using testing::Card;
using testing::Fill;
using testing::RandomStep;
using testing::StateOf;
using testing::TempDir;

constexpr int kInput = tCardBox::kInputStack;

std::vector<std::string> FilesIn(const FilePath& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder.Bytes(), error), end;
         !error && entry != end; entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    return names;
}

class RecoveryTest : public ::testing::Test {
  protected:
    RecoveryTest() {
        testing::UseUserFoldersIn(FilePath(dir.Path()));
        std::filesystem::create_directories(journals.Bytes());
        tCardBox cards;
        Fill(cards, 1, 8, "a");
        Fill(cards, 2, 30, "b");
        Fill(cards, 5, 6, "e");
        Fill(cards, kInput, 40, "i");
        EXPECT_TRUE(SaveVokFile(path, cards));
    }

    // A document on the file with the journal on, as the program makes it.
    std::unique_ptr<Document> OpenDocument(tCardBox& box) {
        auto document = std::make_unique<Document>(box);
        document->SetJournalFolder(journals);
        EXPECT_TRUE(document->Open(path).opened);
        int number = 0;
        static_cast<void>(document->ChooseNext(false, number));
        return document;
    }

    TempDir dir;
    FilePath journals = dir.File("journals");
    FilePath path = dir.File("words.vok");
};

TEST_F(RecoveryTest, ARunThatEndsWithoutClosingLeavesEveryChange) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        BoxState expected;
        {
            tCardBox live;
            auto document = OpenDocument(live);
            std::mt19937 random(seed);
            for (int i = 0; i < 80; ++i) {
                RandomStep(*document, random);
                // A save in the middle: the journal starts again from the saved file, and
                // undo goes on past the save.
                if (i == 40 && seed % 2 == 0) {
                    ASSERT_TRUE(document->Save());
                }
            }
            expected = StateOf(live);
        }
        // As the program starts: the file, its first card, then the question.
        tCardBox restored;
        auto started = OpenDocument(restored);
        Document& document = *started;
        const std::optional<Recovery> recovery = document.FindRecovery(path);
        ASSERT_TRUE(recovery.has_value());
        EXPECT_TRUE(document.Restore(*recovery));
        EXPECT_EQ(StateOf(restored), expected);
        EXPECT_TRUE(document.Changed());
        // A normal end removes the journal; the next start offers nothing.
        document.Close();
        EXPECT_TRUE(FilesIn(journals).empty());
    }
}

TEST_F(RecoveryTest, AJournalCutAtAnyByteGivesItsWholeEntries) {
    std::vector<BoxState> states;
    std::vector<std::uint64_t> ends;
    std::string bytes;
    {
        tCardBox live;
        auto document = OpenDocument(live);
        std::mt19937 random(7);
        for (int i = 0; i < 25; ++i) {
            RandomStep(*document, random);
            states.push_back(StateOf(live));
            const std::vector<std::string> names = FilesIn(journals);
            ends.push_back(names.empty()
                               ? 0
                               : std::filesystem::file_size(journals.Child(names.front()).Bytes()));
        }
        const std::vector<std::string> names = FilesIn(journals);
        ASSERT_EQ(names.size(), 1u);
        std::FILE* file = std::fopen(journals.Child(names.front()).CString(), "rb");
        ASSERT_NE(file, nullptr);
        char block[4096];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) {
            bytes.append(block, got);
        }
        std::fclose(file);
    }
    JournalReader reader;
    ASSERT_TRUE(reader.OpenBytes(bytes));
    const std::vector<std::string> whole = testing::EntriesOf(reader);
    ASSERT_EQ(reader.ValidBytes(), bytes.size());
    // The first cut that reads: the end of the header and the base.
    std::optional<std::size_t> baseEnd;
    const FilePath cutJournal = dir.File("cut.journal");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        testing::WriteBytes(cutJournal, bytes.substr(0, cut));
        const std::optional<Recovery> recovery = ReadRecovery(cutJournal);
        if (!recovery) {
            // Only a cut within the header and the base loses the journal.
            ASSERT_FALSE(baseEnd.has_value()) << "a cut at " << cut << " after " << *baseEnd;
            continue;
        }
        if (!baseEnd) {
            baseEnd = cut;
        }
        ASSERT_TRUE(reader.Open(cutJournal));
        const std::vector<std::string> entries = testing::EntriesOf(reader);
        ASSERT_LE(reader.ValidBytes(), cut);
        reader = JournalReader();
        ASSERT_LE(entries.size(), whole.size());
        ASSERT_TRUE(std::equal(entries.begin(), entries.end(), whole.begin()));
        EXPECT_TRUE(recovery->count.whole) << "cut at " << cut;
        tCardBox box;
        Document document(box);
        ASSERT_TRUE(document.Open(path).opened);
        int number = 0;
        static_cast<void>(document.ChooseNext(false, number));
        EXPECT_TRUE(document.Restore(*recovery)) << "cut at " << cut;
        for (std::size_t step = 0; step < ends.size(); ++step) {
            if (ends[step] == cut) {
                EXPECT_EQ(StateOf(box), states[step]) << "cut after step " << step;
            }
        }
    }
    // The base lies before the first step's entries.
    const auto firstStep =
        std::find_if(ends.begin(), ends.end(), [](std::uint64_t end) { return end > 0; });
    ASSERT_NE(firstStep, ends.end());
    ASSERT_TRUE(baseEnd.has_value());
    EXPECT_LT(*baseEnd, *firstStep);
}

TEST_F(RecoveryTest, OnlyForTheVersionOfTheFileItWasMadeOn) {
    {
        tCardBox live;
        auto document = OpenDocument(live);
        const Document::Step step(*document, StepName::NewCard);
        document->AddCard(Card("unsaved"));
    }
    // Another program saves the file meanwhile: the journal's changes no longer fit it.
    tCardBox other;
    Fill(other, 3, 2, "x");
    ASSERT_TRUE(SaveVokFile(path, other));
    tCardBox box;
    Document document(box);
    document.SetJournalFolder(journals);
    EXPECT_FALSE(document.FindRecovery(path).has_value());
    EXPECT_TRUE(FilesIn(journals).empty());
}

#if defined(_WIN32)
// The other window: this program once more, waiting until it is ended.
TEST(OtherWindow, DISABLED_Waits) {
    ::Sleep(INFINITE);
}
#endif

TEST_F(RecoveryTest, NotWhileTheWindowThatWritesItRuns) {
    {
        tCardBox live;
        auto document = OpenDocument(live);
        const Document::Step step(*document, StepName::NewCard);
        document->AddCard(Card("unsaved"));
    }
    // The journal now carries the name of a process that runs: this one's parent, or on
    // Windows a child made for it.
    const std::vector<std::string> names = FilesIn(journals);
    ASSERT_EQ(names.size(), 1u);
#if defined(_WIN32)
    testing::TestChild other("OtherWindow.DISABLED_Waits");
    ASSERT_TRUE(other.Started());
    const long parent = other.Pid();
#else
    const long parent = static_cast<long>(::getppid());
#endif
    const std::string key = names.front().substr(0, names.front().find('-'));
    const FilePath theirs =
        journals.Child(key + "-" + std::to_string(parent) + "-" +
                       std::to_string(StartTimeOf(parent).value_or(0)) + "-1.journal");
    ASSERT_TRUE(RenameFile(journals.Child(names.front()), theirs));
    tCardBox box;
    Document document(box);
    document.SetJournalFolder(journals);
    EXPECT_FALSE(document.FindRecovery(path).has_value());
    EXPECT_EQ(FilesIn(journals).size(), 1u);
}

TEST_F(RecoveryTest, SavesAndTheNormalEndLeaveNoJournal) {
    tCardBox live;
    auto document = OpenDocument(live);
    {
        const Document::Step step(*document, StepName::Known);
        document->Known();
    }
    EXPECT_EQ(FilesIn(journals).size(), 1u);
    ASSERT_TRUE(document->Save());
    EXPECT_TRUE(FilesIn(journals).empty());
    // Undo past the save is journaled as the whole box: it is restored all the same.
    ASSERT_TRUE(document->Undo());
    EXPECT_EQ(FilesIn(journals).size(), 1u);
    const BoxState expected = StateOf(live);
    document.reset();
    tCardBox restored;
    Document again(restored);
    again.SetJournalFolder(journals);
    ASSERT_TRUE(again.Open(path).opened);
    const std::optional<Recovery> recovery = again.FindRecovery(path);
    ASSERT_TRUE(recovery.has_value());
    EXPECT_EQ(recovery->count.changes, 1);
    EXPECT_TRUE(again.Restore(*recovery));
    EXPECT_EQ(StateOf(restored), expected);
    again.Close();
    EXPECT_TRUE(FilesIn(journals).empty());
}

TEST_F(RecoveryTest, ABoxWithoutAFile) {
    BoxState expected;
    {
        tCardBox live;
        Document document(live);
        document.SetJournalFolder(journals);
        const Document::Step step(document, StepName::NewCard);
        document.AddCard(Card("eins", "one"));
        document.AddCard(Card("zwei", "two"));
        expected = StateOf(live);
    }
    tCardBox box;
    Document document(box);
    document.SetJournalFolder(journals);
    EXPECT_FALSE(document.FindRecovery(path).has_value());
    const std::optional<Recovery> recovery = document.FindRecovery(FilePath());
    ASSERT_TRUE(recovery.has_value());
    EXPECT_EQ(recovery->count.changes, 1);
    EXPECT_TRUE(document.Restore(*recovery));
    EXPECT_EQ(StateOf(box), expected);
}

TEST(JournalFrames, DamagedEntriesEndTheJournal) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926U);
    JournalReader journal;
    EXPECT_FALSE(journal.OpenBytes(""));
    EXPECT_FALSE(journal.OpenBytes("not a journal at all"));
    // An entry reader never reads past its entry.
    JournalEntry entry(3);
    entry.Text("abc").I32(-5);
    JournalEntryReader reader(entry.Bytes());
    EXPECT_EQ(reader.U8(), 3);
    EXPECT_EQ(reader.Text(), "abc");
    EXPECT_EQ(reader.I32(), -5);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.U64(), 0u);
    EXPECT_FALSE(reader.Ok());
    std::string lying = JournalEntry(8).I32(1000).Bytes();
    JournalEntryReader short_reader(lying);
    short_reader.U8();
    EXPECT_EQ(short_reader.Text(), "");
    EXPECT_FALSE(short_reader.Ok());
}

// The program as the user runs it, on the headless window system.
class RecoveryPromptTest : public testing::AppTest {
  protected:
    FilePath MakeCrashedRun(const std::string& name = "words.vok") {
        tCardBox cards;
        Fill(cards, 1, 3, "a");
        const FilePath file = SaveBox(cards, name);
        tCardBox live;
        Document crashed(live);
        crashed.SetJournalFolder(journals);
        EXPECT_TRUE(crashed.Open(file).opened);
        int number = 0;
        static_cast<void>(crashed.ChooseNext(false, number));
        for (int i = 0; i < 3; ++i) {
            const Document::Step step(crashed, StepName::Known);
            crashed.Known();
            static_cast<void>(crashed.ChooseNext(false, number));
        }
        expected = StateOf(live);
        return file;
    }
    BoxState expected;
};

TEST_F(RecoveryPromptTest, YesBringsTheChangesBack) {
    const FilePath file = MakeCrashedRun();
    backend.AnswerMessageBox(DialogResult::Yes);
    Start(file);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    const std::string& question = backend.MessageBoxes()[0].request.text;
    EXPECT_EQ(question.substr(0, 36), "words.vok has unsaved changes from 2");
    EXPECT_NE(question.find("(3 changes). Restore them?"), std::string::npos);
    EXPECT_EQ(StateOf(box), expected);
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(PartitionNumber(), "2");
    // The restored steps can be undone back to the file.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(frame->PressShortcut("Ctrl+Z"));
    }
    EXPECT_FALSE(view->Changed());
}

TEST_F(RecoveryPromptTest, TheQuestionNamesTheFileAsItIsSpelt) {
    const FilePath file = MakeCrashedRun("\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.vok");
    backend.AnswerMessageBox(DialogResult::No);
    Start(file);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    const std::string& question = backend.MessageBoxes()[0].request.text;
    EXPECT_EQ(question.rfind("\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.vok has unsaved "
                             "changes from ",
                             0),
              0u)
        << question;
}

// A journal with an entry the replay refuses (a change outside a step) after the three steps:
// the steps before it come back, the user is told, the journal is kept aside, and the work
// goes on in a new journal that holds the restored box.
TEST_F(RecoveryPromptTest, ADamagedJournalGivesBackWhatCameBeforeTheDamage) {
    const FilePath file = MakeCrashedRun();
    const std::vector<std::string> names = FilesIn(journals);
    ASSERT_EQ(names.size(), 1u);
    const FilePath damaged = journals.Child(names.front());
    {
        JournalReader reader;
        ASSERT_TRUE(reader.Open(damaged));
        static_cast<void>(testing::EntriesOf(reader));
        const std::uint64_t validBytes = reader.ValidBytes();
        reader = JournalReader();
        JournalWriter writer;
        ASSERT_TRUE(writer.Continue(damaged, validBytes));
        writer.Add(EncodeJournalOp(journal_op::ClearPartition{2}).Bytes());
        writer.Add(EncodeJournalOp(journal_op::Begin{StepName::Known}).Bytes());
        writer.Add(EncodeJournalOp(journal_op::Known{}).Bytes());
        writer.Add(EncodeJournalOp(journal_op::End{}).Bytes());
        writer.Close();
    }
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerMessageBox(DialogResult::Ok);
    Start(file);
    const std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("partly damaged. Restore the first 3 changes of 4?"), std::string::npos)
        << texts[0];
    EXPECT_EQ(texts[1].substr(0, 48), "Only the changes before the damage came back. Th")
        << texts[1];
    EXPECT_NE(texts[1].find(DamagedJournalPath(damaged).Bytes()), std::string::npos) << texts[1];
    EXPECT_EQ(StateOf(box), expected);
    EXPECT_TRUE(view->Changed());

    // Kept aside, never offered again; the new journal brings the restored box back.
    EXPECT_TRUE(std::filesystem::exists(DamagedJournalPath(damaged).Bytes()));
    tCardBox again;
    Document next(again);
    next.SetJournalFolder(journals);
    ASSERT_TRUE(next.Open(file).opened);
    const std::optional<Recovery> recovery = next.FindRecovery(file);
    ASSERT_TRUE(recovery.has_value());
    EXPECT_NE(recovery->journal, damaged);
    EXPECT_TRUE(next.Restore(*recovery));
    EXPECT_EQ(StateOf(again), expected);
}

TEST_F(RecoveryPromptTest, NoThrowsThemAway) {
    const FilePath file = MakeCrashedRun();
    backend.AnswerMessageBox(DialogResult::No);
    Start(file);
    EXPECT_EQ(box.TotalCards(), 3);
    EXPECT_EQ(box.CardsIn(2), 0);
    EXPECT_FALSE(view->Changed());
    EXPECT_TRUE(FilesIn(journals).empty());
}

}  // namespace
}  // namespace tallyfold
