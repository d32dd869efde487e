// The Unicode vocabulary file: a box whose texts the classic file cannot hold.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/code_page_file.h"
#include "files/kas_file.h"
#include "files/vok_file.h"
#include "table/create_dbf.h"
#include "table/dbf.h"
#include "tests/support/cards.h"
#include "tests/support/dbf_image.h"
#include "tests/support/every_script.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::FieldLayout;
using testing::ReadBytes;
using testing::RecordImage;
using testing::TableImage;
using testing::TempDir;
using testing::WriteBytes;
using Pairs = testing::CardTexts;
using testing::TextsOfCards;

constexpr int kInput = tCardBox::kInputStack;

std::string WithDateOf(const std::string& bytes, const std::string& image) {
    std::string dated = image;
    dated.replace(1, 3, bytes.substr(1, 3));
    return dated;
}

// One card of every script the learners of the list write, and a classic one.
const Pairs kEveryScript = [] {
    Pairs cards = testing::CardsOfEveryScript();
    cards.emplace_back("Stra\u00DFe", "street");
    return cards;
}();

class UnicodeVokFileTest : public ::testing::Test {
  protected:
    FilePath Path(const std::string& name = "words.vok") const { return dir.File(name); }

    TempDir dir;
};

TEST_F(UnicodeVokFileTest, EveryScriptIsSavedAndLoadedAsItWas) {
    tCardBox box;
    int number = 1;
    for (const auto& [question, answer] : kEveryScript) {
        box.AddToPartition(Card(question, answer, number, 2 * number), (number % 8) + 1);
        ++number;
    }
    ASSERT_FALSE(FitsClassicFile(box));
    ASSERT_TRUE(SaveVokFile(Path(), box));
    EXPECT_EQ(ReadBytes(CodePageFileName(Path())), "UTF-8");
    tCardBox loaded;
    const LoadResult result = LoadVokFile(Path(), loaded);
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.layout, VokLayout::Unicode);
    EXPECT_EQ(result.cut, 0);
    EXPECT_EQ(TextsOfCards(loaded), TextsOfCards(box));
    for (int partition = 1; partition <= kInput; ++partition) {
        EXPECT_EQ(loaded.CardsIn(partition), box.CardsIn(partition)) << partition;
    }
    // The box file is the same as a classic box's.
    EXPECT_TRUE(IsRegularFile(KasFileName(Path())));
}

// The layout, byte for byte: what `docs/file-formats.md` shows.
TEST_F(UnicodeVokFileTest, TheFileIsADbaseTableWithFieldsOfItsOwn) {
    tCardBox box;
    box.AddToPartition(Card("\u0441\u043B\u043E\u0432\u043E", "word", 3, 1), 2);
    box.AddToInput(Card("\u4E2D", "middle"));
    ASSERT_TRUE(SaveVokFile(Path(), box));
    const std::string bytes = ReadBytes(Path());
    // The longest question has ten bytes, the longest answer six.
    const std::vector<FieldLayout> fields = {{"FRAGE", 'C', 10},  {"ANTWORT", 'C', 6},
                                             {"KASTEN", 'C', 1},  {"ALTER", 'N', 4},
                                             {"GEWUSST", 'N', 5}, {"UNBEKANNT", 'N', 5}};
    const std::string image = TableImage(
        fields, {RecordImage(fields, {"\u0441\u043B\u043E\u0432\u043E", "word", "B", "   1",
                                      "    3", "    1"}),
                 RecordImage(fields, {"\u4E2D", "middle", "X", "   1", "    0", "    0"})});
    EXPECT_EQ(bytes, WithDateOf(bytes, image));
    EXPECT_EQ(bytes[29], '\0') << "no language driver: the layout says UTF-8";
    // A reader of the classic file finds no card fields in it.
    tDBF table;
    ASSERT_TRUE(table.Open(Path()));
    EXPECT_LT(table.FieldIndex("DEUTSCH"), 0);
    EXPECT_LT(table.FieldIndex("UEBERSETZT"), 0);
}

TEST_F(UnicodeVokFileTest, ABoxThatFitsTheClassicFileAgainIsSavedClassic) {
    tCardBox box;
    box.AddToInput(Card("\u4E2D", "middle"));
    ASSERT_TRUE(SaveVokFile(Path(), box));
    ASSERT_TRUE(IsRegularFile(CodePageFileName(Path())));
    box.ClearAll();
    box.AddToInput(Card("Stra\u00DFe \u20AC", "street"));
    ASSERT_TRUE(SaveVokFile(Path(), box));
    EXPECT_FALSE(IsRegularFile(CodePageFileName(Path())));
    tCardBox loaded;
    const LoadResult result = LoadVokFile(Path(), loaded);
    EXPECT_EQ(result.layout, VokLayout::Classic);
    EXPECT_EQ(TextsOfCards(loaded), TextsOfCards(box));
    // A code page file someone else put beside a classic file stays.
    WriteBytes(CodePageFileName(Path()), "850");
    ASSERT_TRUE(SaveVokFile(Path(), box));
    EXPECT_EQ(ReadBytes(CodePageFileName(Path())), "850");
    EXPECT_TRUE(LoadVokFile(Path(), loaded).opened) << "a classic file is read as classic";
}

TEST_F(UnicodeVokFileTest, ACodePageFileThatNamesAnotherEncodingIsARefusal) {
    tCardBox box;
    box.AddToInput(Card("\u4E2D", "middle"));
    ASSERT_TRUE(SaveVokFile(Path(), box));
    for (const char* utf8 : {"UTF-8", "utf8", " UTF-8\r\n", "\xEF\xBB\xBFUTF-8"}) {
        WriteBytes(CodePageFileName(Path()), utf8);
        tCardBox loaded;
        EXPECT_TRUE(LoadVokFile(Path(), loaded).opened) << utf8;
    }
    // The layout is trusted first: a file copied without its code page file reads.
    ASSERT_TRUE(RemoveFile(CodePageFileName(Path())));
    tCardBox alone;
    EXPECT_TRUE(LoadVokFile(Path(), alone).opened);
    WriteBytes(CodePageFileName(Path()), "1252\n");
    tCardBox loaded;
    loaded.AddToInput(Card("mine"));
    const LoadResult result = LoadVokFile(Path(), loaded);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.refused, LoadRefusal::OtherCodePage);
    EXPECT_EQ(result.codePage, "1252");
    EXPECT_EQ(TextsOfCards(loaded), (Pairs{{"mine", "mine"}}));
}

// A Unicode file written by another tool: the program's reader checks what it makes cards of.
class ForeignUnicodeFileTest : public UnicodeVokFileTest {
  protected:
    void Write(const std::vector<std::string>& questions, int width = 254) {
        tCreateDBF builder;
        ASSERT_TRUE(builder.AddField("FRAGE", 'C', width, 0) &&
                    builder.AddField("ANTWORT", 'C', 8, 0) &&
                    builder.AddField("KASTEN", 'C', 1, 0));
        ASSERT_TRUE(builder.Create(Path()));
        tDBF table;
        ASSERT_TRUE(table.Open(Path()));
        const int question = table.FieldIndex("FRAGE");
        const int answer = table.FieldIndex("ANTWORT");
        for (const std::string& text : questions) {
            const std::span<char> record = table.AppendBlankRecord();
            ASSERT_FALSE(record.empty());
            const std::size_t at = static_cast<std::size_t>(table.FieldOffset(question));
            std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(at));
            const std::size_t answerAt = static_cast<std::size_t>(table.FieldOffset(answer));
            record[answerAt] = 'a';
            record[static_cast<std::size_t>(table.FieldOffset(table.FieldIndex("KASTEN")))] = 'X';
        }
        ASSERT_TRUE(table.Sync());
    }
};

TEST_F(ForeignUnicodeFileTest, BytesThatAreNoUtf8FailTheLoadNamingTheRecord) {
    Write({"gut", "\u00FCber",
           "Gr\xFC\xDF"
           "e",
           "\u4E2D"});
    tCardBox box;
    box.AddToInput(Card("mine"));
    const LoadResult result = LoadVokFile(Path(), box);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.refused, LoadRefusal::NotUtf8);
    EXPECT_EQ(result.badRecord, 3);
    EXPECT_EQ(TextsOfCards(box), (Pairs{{"mine", "mine"}}));
}

TEST_F(ForeignUnicodeFileTest, ABadRecordIsFoundInAFileReadOnTwoThreads) {
    std::vector<std::string> questions(70000, "\u0441\u043B\u043E\u0432\u043E");
    questions[69000] = "\xD0";
    Write(questions, 12);
    tCardBox box;
    const LoadResult result = LoadVokFile(Path(), box);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(result.badRecord, 69001);
    EXPECT_EQ(box.TotalCards(), 0);
}

TEST_F(ForeignUnicodeFileTest, ATextLongerThanASideIsCutAtTheEndOfACharacter) {
    std::string chinese;
    std::string accented;
    for (int i = 0; i < 70; ++i) {
        chinese += "\u4E2D";
    }
    for (int i = 0; i < 63; ++i) {
        accented += "e\u0301";  // 63 characters of two code points: 189 bytes, not too long
    }
    Write({chinese, accented, "  blanks inside  "});
    tCardBox box;
    const LoadResult result = LoadVokFile(Path(), box);
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.cut, 1);
    const Pairs cards = TextsOfCards(box);
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].first, chinese.substr(0, 63 * 3));
    EXPECT_EQ(cards[1].first, accented) << "texts from a file are kept as they are, not in NFC";
    EXPECT_EQ(cards[2].first, "  blanks inside");
}

}  // namespace
}  // namespace tallyfold
