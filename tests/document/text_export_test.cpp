#include <gtest/gtest.h>

#include <string>

#include "document/text_import.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class TextExportTest : public ::testing::Test {
  protected:
    TextExportTest() {
        // "é" is 0xE9 in Windows-1252, C3 A9 in UTF-8.
        box.AddToPartition(Card("caf\u00E9", "coffee"), 1);
        box.AddToPartition(Card("a;b", "say \"hi\""), 3);
        box.AddToPartition(Card(" lead", "tab\there"), 7);
        box.AddToPartition(Card("neu", "new"), tCardBox::kInputStack);
    }

    std::string Exported(ImportFormat format) {
        const FilePath path = dir.File("out");
        EXPECT_TRUE(ExportText(path, box, format));
        return ReadBytes(path);
    }

    TempDir dir;
    tCardBox box;
};

TEST_F(TextExportTest, CardLinesInWindows1252PartitionOneFirstInputStackLast) {
    EXPECT_EQ(Exported(ImportFormat::CardLines),
              "caf\xE9;coffee\r\n"
              "a;b;say \"hi\"\r\n"
              " lead;tab\there\r\n"
              "neu;new\r\n");
}

TEST_F(TextExportTest, TabSeparatedInUtf8WithTabsInTextsAsBlanks) {
    EXPECT_EQ(Exported(ImportFormat::TabSeparated),
              "caf\xC3\xA9\tcoffee\r\n"
              "a;b\tsay \"hi\"\r\n"
              " lead\ttab here\r\n"
              "neu\tnew\r\n");
}

TEST_F(TextExportTest, CsvInUtf8AfterAByteOrderMarkQuotedWhereATextNeedsItWithoutTabs) {
    EXPECT_EQ(Exported(ImportFormat::Csv),
              "\xEF\xBB\xBF"
              "caf\xC3\xA9,coffee\r\n"
              "\"a;b\",\"say \"\"hi\"\"\"\r\n"
              "\" lead\",tab here\r\n"
              "neu,new\r\n");
}

TEST_F(TextExportTest, AnEmptyBoxGivesAnEmptyFile) {
    const tCardBox empty;
    const FilePath path = dir.File("empty.txt");
    ASSERT_TRUE(ExportText(path, empty));
    EXPECT_EQ(ReadBytes(path), "");
    ASSERT_TRUE(ExportText(path, empty, ImportFormat::Csv));
    EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF");
}

// More than the block that is written while the next one fills: every line, in order.
TEST_F(TextExportTest, ALargeBoxIsWrittenWholeAndInOrder) {
    tCardBox large;
    std::string expected;
    for (int i = 0; i < 40000; ++i) {
        const std::string question = "question number " + std::to_string(i);
        large.AddToPartition(Card(question, "the answer to it"), 1 + i % 8);
    }
    large.ForEachCard([&expected](const tVokabel& card, int) {
        expected += std::string(card.Question()) + ";" + std::string(card.Answer()) + "\r\n";
        return true;
    });
    ASSERT_GT(expected.size(), 1024U * 1024U);
    const FilePath path = dir.File("large.txt");
    ASSERT_TRUE(ExportText(path, large));
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(TextExportTest, AFileIsReplacedOnlyByACompleteOne) {
    const FilePath path = dir.File("words.txt");
    WriteBytes(path, "old;file\r\n");
    EXPECT_FALSE(ExportText(dir.File("missing/words.txt"), box));
    EXPECT_EQ(ReadBytes(path), "old;file\r\n");
    ASSERT_TRUE(ExportText(path, box));
    EXPECT_EQ(ReadBytes(path).substr(0, 11), "caf\xE9;coffee");
}

TEST_F(TextExportTest, CardLinesOfABoxBeyondTheClassicFileAreUtf8) {
    box.AddToInput(Card("g\u0119\u015B", "\u0433\u0443\u0441\u044C"));
    EXPECT_EQ(Exported(ImportFormat::CardLines),
              "\xEF\xBB\xBF"
              "caf\xC3\xA9;coffee\r\n"
              "a;b;say \"hi\"\r\n"
              " lead;tab\there\r\n"
              "neu;new\r\n"
              "g\u0119\u015B;\u0433\u0443\u0441\u044C\r\n");
}

}  // namespace
}  // namespace tallyfold
