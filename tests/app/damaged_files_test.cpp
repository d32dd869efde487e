// What a user sees when opening a damaged vocabulary file: either the cards the file still
// holds, or a message that names the file, and the box as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/app_fixture.h"
#include "tests/support/faults.h"

namespace tallyfold {
namespace {

using testing::AppTest;
using testing::Card;
using testing::Questions;
using Names = std::vector<std::string>;

FilePath Damaged(const std::string& name) {
    return FilePath(std::string(TALLYFOLD_SOURCE_DIR) + "/tests/data/damaged/" + name);
}

class DamagedFileTest : public AppTest {
  protected:
    void SetUp() override {
        box.AddToPartition(Card("mine", "unsaved"), 2);
        Start();
    }

    void ExpectRefused(const std::string& name) {
        SCOPED_TRACE(name);
        const FilePath path = Damaged(name);
        backend.AnswerFileDialog(path);
        backend.AnswerMessageBox(platform::DialogResult::Ok);
        frame->ChooseMenu(ids::kCmFileOpen);
        ASSERT_FALSE(backend.MessageBoxes().empty());
        const std::string& text = backend.MessageBoxes().back().request.text;
        EXPECT_NE(text.find("could not be read"), std::string::npos);
        EXPECT_EQ(backend.MessageBoxes().back().request.file, path);
        EXPECT_EQ(Questions(box, 2), Names{"mine"});
        EXPECT_TRUE(view->FileName().IsEmpty());
    }

    void ExpectLoaded(const std::string& name, const Names& questions) {
        SCOPED_TRACE(name);
        backend.AnswerFileDialog(Damaged(name));
        frame->ChooseMenu(ids::kCmFileOpen);
        EXPECT_TRUE(backend.MessageBoxes().empty());
        Names all;
        tVokabel card;
        for (int number = box.FirstCard(card); number != 0; number = box.NextCard(card)) {
            all.emplace_back(card.Question());
        }
        EXPECT_EQ(all, questions);
        EXPECT_EQ(view->FileName(), Damaged(name));
    }
    // A file whose records and header disagree: the whole records it holds are loaded, and
    // the user is told what the header claimed and what was found.
    void ExpectRecovered(const std::string& name, const Names& questions, const char* counts) {
        SCOPED_TRACE(name);
        backend.AnswerFileDialog(Damaged(name));
        backend.AnswerMessageBox(platform::DialogResult::Ok);
        frame->ChooseMenu(ids::kCmFileOpen);
        EXPECT_EQ(Questions(box, 1), questions);
        EXPECT_EQ(box.TotalCards(), static_cast<int>(questions.size()));
        ASSERT_EQ(MessageTexts().size(), 1u);
        EXPECT_EQ(MessageTexts()[0], std::string("The file was damaged. Its header counts ") +
                                         counts + " found were loaded:\n" + Damaged(name).Bytes());
        EXPECT_EQ(view->FileName(), Damaged(name));
    }
};

TEST_F(DamagedFileTest, TruncatedHeadersAreRefused) {
    ExpectRefused("truncated-header.vok");
    ExpectRefused("truncated-descriptors.vok");
}

// Named on the command line, a damaged file is reported over the main window once it shows.
TEST_F(DamagedFileTest, AtStartTheRefusalComesOverTheShownWindow) {
    const FilePath path = Damaged("truncated-header.vok");
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    Start(path);
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_NE(backend.MessageBoxes()[0].request.text.find("could not be read"), std::string::npos);
    EXPECT_TRUE(backend.MessageBoxes()[0].mainWindowShown);
    EXPECT_EQ(backend.MessageBoxes()[0].owner, view);
}

TEST_F(DamagedFileTest, HeaderAndRecordLengthsThatLieAreRefused) {
    ExpectRefused("header-length-past-end.vok");
    ExpectRefused("header-length-too-small.vok");
    ExpectRefused("record-length-zero.vok");
    ExpectRefused("fields-overlap.vok");
    ExpectRefused("field-length-zero.vok");
    ExpectRefused("tiny-records.vok");  // no field a card's text could be in
}

TEST_F(DamagedFileTest, AnEmptyFileAndAFolderAreRefused) {
    ExpectRefused("empty.vok");
    const FilePath folder = dir.File("folder.vok");
    std::filesystem::create_directory(folder.Bytes());
    backend.AnswerFileDialog(folder);
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(box.TotalCards(), 1);
}

TEST_F(DamagedFileTest, AReadErrorDuringTheLoadIsReportedAndChangesNothing) {
    tCardBox cards;
    testing::Fill(cards, 3, 2000);
    const FilePath path = SaveBox(cards, "large.vok");
    backend.AnswerFileDialog(path);
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    {
        // Two reads take the file's identity; the fault strikes the load after them.
        testing::ScopedFault fault(FileOperation::Read, 7);
        frame->ChooseMenu(ids::kCmFileOpen);
        EXPECT_TRUE(fault.Failed());
    }
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              "This file could not be read as a vocabulary file:\n" + path.Bytes());
    EXPECT_EQ(Questions(box, 2), Names{"mine"});
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_TRUE(view->FileName().IsEmpty());
}

TEST_F(DamagedFileTest, AFileWithoutReadPermissionIsRefused) {
    if (testing::RunningAsRoot()) {
        GTEST_SKIP() << "permission bits do not bind root";
    }
#if defined(_WIN32)
    GTEST_SKIP() << "who may read a file is its access list on Windows, not permission bits";
#endif
    const FilePath locked = dir.File("locked.vok");
    std::filesystem::copy_file(Damaged("non-numeric-numbers.vok").Bytes(), locked.Bytes());
    std::filesystem::permissions(locked.Bytes(), std::filesystem::perms::none);
    backend.AnswerFileDialog(locked);
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(box.TotalCards(), 1);
}

TEST_F(DamagedFileTest, ATruncatedRecordIsNoCard) {
    // The third record ends inside its question: the two whole ones are the cards.
    ExpectRecovered("truncated-record.vok", Names{"eins", "zwei"}, "3 cards; the 2");
}

TEST_F(DamagedFileTest, ARecordCountThatLiesIsCutToTheRecordsThere) {
    // Three records and the end marker, which is no record.
    ExpectRecovered("record-count-lies.vok", Names{"eins", "zwei", "drei"},
                    "4294967280 cards; the 3");
}

TEST_F(DamagedFileTest, RecordsBeyondTheCountAreRecovered) {
    // An append interrupted before its count: every record in the file is a card.
    ExpectRecovered("records-beyond-count.vok", Names{"eins", "zwei", "drei"}, "0 cards; the 3");
}

TEST_F(DamagedFileTest, JunkBehindTheEndMarkerIsNoCard) {
    ExpectRecovered("junk-after-end-marker.vok", Names{"eins", "zwei", "drei"}, "40 cards; the 3");
}

TEST_F(DamagedFileTest, AHeaderPaddedWithZerosOpensAsItIs) {
    ExpectLoaded("padded-header.vok", Names{"eins", "zwei", "drei"});
}

TEST_F(DamagedFileTest, NumbersThatAreNotNumbersReadAsZero) {
    ExpectLoaded("non-numeric-numbers.vok", Names{"Haus"});
    tVokabel card;
    box.FirstInPartition(2, card);
    EXPECT_EQ(card.knownCount, 0);
    EXPECT_EQ(card.unknownCount, 0);
}

TEST_F(DamagedFileTest, ControlBytesInTextsAreKept) {
    std::string controls;
    for (char c = 1; c < 32; ++c) {
        controls += c;
    }
    ExpectLoaded("control-bytes.vok", Names{controls});
    EXPECT_EQ(Answer(), " ");
    tVokabel card;
    box.FirstInPartition(3, card);
    EXPECT_EQ(card.Answer(), "\x07\x08\x1b text");
}

}  // namespace
}  // namespace tallyfold
