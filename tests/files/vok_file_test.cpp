#include "files/vok_file.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "files/kas_file.h"
#include "files/user_folders.h"
#include "table/charset.h"
#include "table/create_dbf.h"
#include "table/file_io.h"
#include "table/native_path.h"
#include "tests/support/cards.h"
#include "tests/support/dbf_image.h"
#include "tests/support/faults.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

#if defined(_WIN32)
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

using testing::Ansi;
using testing::Card;
using testing::Counts;
using testing::FieldLayout;
using testing::Fill;
using testing::Questions;
using testing::ReadBytes;
using testing::RecordImage;
using testing::ScopedFault;
using testing::TableImage;
using testing::TempDir;
using testing::WriteBytes;
using Names = std::vector<std::string>;

constexpr int kInput = tCardBox::kInputStack;

const std::vector<FieldLayout> kVokFields = {{"DEUTSCH", 'C', 64}, {"UEBERSETZT", 'C', 64},
                                             {"KASTEN", 'C', 1},   {"ALTER", 'N', 4},
                                             {"GEWUSST", 'N', 5},  {"UNBEKANNT", 'N', 5}};
const std::vector<FieldLayout> kKasFields = {
    {"BEZ", 'C', 1}, {"ANZAHL", 'N', 6}, {"NAME", 'C', 10}, {"MAX", 'N', 6}, {"MAXALTER", 'N', 6}};

// A saved file carries the day it was written; the image is compared with that day's.
std::string WithDateOf(const std::string& bytes, const std::string& image) {
    std::string dated = image;
    if (bytes.size() >= 4 && dated.size() >= 4) {
        dated.replace(1, 3, bytes.substr(1, 3));
    }
    return dated;
}

bool IsToday(const std::string& bytes) {
    const TableDate today = LocalToday();
    return bytes.size() >= 4 && bytes[1] == static_cast<char>(today.year - 1900) &&
           bytes[2] == today.month && bytes[3] == today.day;
}

std::string VokRecord(const std::string& question, const std::string& answer, const char* letter,
                      const char* position, const char* known, const char* unknown,
                      char flag = ' ') {
    return RecordImage(kVokFields, {question, answer, letter, position, known, unknown}, flag);
}

std::string KasRows(const std::vector<int>& counts) {
    std::vector<std::string> rows;
    const char* capacities[] = {"    10", "    20", "    40", "    80",
                                "   160", "   320", "   640"};
    for (std::size_t i = 0; i < 7; ++i) {
        char count[8];
        std::snprintf(count, sizeof count, "%6d", counts[i]);
        rows.push_back(
            RecordImage(kKasFields, {std::string(1, static_cast<char>('A' + i)), count,
                                     std::to_string(i + 1) + ". Fach", capacities[i], count}));
    }
    rows.push_back(RecordImage(kKasFields, {"Z", "", "Ablage", "999999", ""}));
    rows.push_back(RecordImage(kKasFields, {"X", "", "Eingabe", "999999", ""}));
    return TableImage(kKasFields, rows);
}

class VokFileTest : public ::testing::Test {
  protected:
    FilePath Path(const std::string& name = "words.vok") const { return dir.File(name); }

    // Saves `box`, loads the file into a fresh box, and returns that box's result.
    LoadResult RoundTrip(tCardBox& box, tCardBox& loaded) {
        EXPECT_TRUE(SaveVokFile(Path(), box));
        return LoadVokFile(Path(), loaded);
    }

    TempDir dir;
};

// A vocabulary table whose two text fields are `width` bytes wide.
FilePath MakeVokTable(const FilePath& path, int width) {
    tCreateDBF builder;
    const bool listed =
        builder.AddField("DEUTSCH", 'C', width, 0) &&
        builder.AddField("UEBERSETZT", 'C', width, 0) && builder.AddField("KASTEN", 'C', 1, 0) &&
        builder.AddField("ALTER", 'N', 4, 0) && builder.AddField("GEWUSST", 'N', 5, 0) &&
        builder.AddField("UNBEKANNT", 'N', 5, 0);
    EXPECT_TRUE(listed && builder.Create(path));
    return path;
}

// The load's one-pass read of a record against the plain path it stands for: each field read
// through its accessor, the texts set into a card.
TEST_F(VokFileTest, ReadCardReadsAsTheAccessorsOnAnyBytes) {
    const std::string likely = std::string("a \0\x80\x84\xFF\x7F 7-*", 11);
    std::mt19937 random(11);
    for (int round = 0; round < 30; ++round) {
        const int width = 1 + static_cast<int>(random() % 100);
        const FilePath path = MakeVokTable(Path("agree.vok"), width);
        {
            tDBF raw;
            ASSERT_TRUE(raw.Open(path));
            for (int r = 0; r < 300; ++r) {
                const std::span<char> record = raw.AppendBlankRecord();
                ASSERT_FALSE(record.empty());
                // Runs of blanks and zeros at the field ends are what real files hold.
                const bool tail = random() % 3 == 0;
                for (std::size_t i = 1; i < record.size(); ++i) {
                    const char any = random() % 2 == 0 ? likely[random() % likely.size()]
                                                       : static_cast<char>(random() % 256);
                    record[i] = tail && random() % 4 != 0 ? ' ' : any;
                }
            }
            ASSERT_TRUE(raw.Sync());
        }
        tVokDB table;
        ASSERT_TRUE(table.Open(path));
        for (std::uint32_t index = 0; table.GoTo(index) && !table.Eof(); ++index) {
            tVokabel fast;
            char letter = 'j';
            table.ReadCard(table.RecordBytes(), fast, letter);
            // The accessors give the field's text in Windows-1252, uncut.
            const auto cardText = [](std::string_view text) {
                return Ansi(text.substr(0, std::min<std::size_t>(text.find('\0'), 63)));
            };
            tVokabel plain;
            const std::string question(table.Deutsch.Text());
            plain.SetTexts(cardText(question), cardText(table.Uebersetzt.Text()));
            const std::string kasten(table.Kasten.Text());
            SCOPED_TRACE("width " + std::to_string(width) + ", record " + std::to_string(index));
            ASSERT_EQ(fast.Question(), plain.Question());
            ASSERT_EQ(fast.Answer(), plain.Answer());
            ASSERT_EQ(fast.knownCount, table.Gewusst.Value());
            ASSERT_EQ(fast.unknownCount, table.Unbekannt.Value());
            ASSERT_EQ(letter, kasten.empty() ? '\0' : kasten[0]);
        }
    }
}

// The save's one-pass record against storing each field through its accessor.
TEST_F(VokFileTest, AppendCardStoresAsTheAccessorsDo) {
    const std::string letters = std::string("ab \\;\xE4\x80\x9F\xFF\xA0~", 11);
    std::mt19937 random(17);
    for (const int width : {1, 10, 63, 64, 100}) {
        const FilePath fastPath = MakeVokTable(Path("fast.vok"), width);
        const FilePath plainPath = MakeVokTable(Path("plain.vok"), width);
        tVokDB fast;
        tVokDB plain;
        ASSERT_TRUE(fast.Open(fastPath));
        ASSERT_TRUE(plain.Open(plainPath));
        for (int r = 0; r < 300; ++r) {
            std::string texts[2];
            for (std::string& text : texts) {
                text.resize(random() % 64);
                for (char& c : text) {
                    c = letters[random() % letters.size()];
                }
            }
            tVokabel card;
            card.SetTexts(Ansi(texts[0]), Ansi(texts[1]));
            card.knownCount = static_cast<std::int32_t>(random() % 200000) - 1000;
            card.unknownCount = static_cast<std::int32_t>(random() % 100);
            const char letter = "ABCDEFZX"[random() % 8];
            const int position = static_cast<int>(random() % 12000);
            ASSERT_TRUE(fast.AppendCard(card, letter, position));
            ASSERT_TRUE(plain.AppendBlank());
            plain.Deutsch.AssignLiteral(texts[0]);
            plain.Uebersetzt.AssignLiteral(texts[1]);
            plain.Kasten.AssignLiteral(std::string(1, letter));
            plain.Alter.Assign(position);
            // A counter beyond five digits is stored as the nearest that fits.
            plain.Gewusst.Assign(std::clamp(card.knownCount, -9999, 99999));
            plain.Unbekannt.Assign(std::clamp(card.unknownCount, -9999, 99999));
        }
        ASSERT_TRUE(fast.Sync());
        ASSERT_TRUE(plain.Sync());
        fast.Close();
        plain.Close();
        const std::string fastBytes = ReadBytes(fastPath);
        const std::string plainBytes = ReadBytes(plainPath);
        ASSERT_EQ(fastBytes.size(), plainBytes.size()) << "width " << width;
        EXPECT_TRUE(fastBytes == plainBytes) << "width " << width;
    }
}

TEST_F(VokFileTest, EmptyBoxSavesTheBareTableAndNineBoxRows) {
    tCardBox box;
    ASSERT_TRUE(SaveVokFile(Path(), box));
    const std::string vok = ReadBytes(Path());
    EXPECT_EQ(vok.size(), 226u);
    EXPECT_TRUE(IsToday(vok));
    EXPECT_EQ(vok, WithDateOf(vok, TableImage(kVokFields, {})));
    const std::string kas = ReadBytes(Path("words.kas"));
    EXPECT_EQ(kas, WithDateOf(kas, KasRows({0, 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ(kas.size(), 194u + 9u * 30u);

    tCardBox loaded;
    const LoadResult result = LoadVokFile(Path(), loaded);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.loaded, 0);
    EXPECT_EQ(loaded.TotalCards(), 0);
    EXPECT_EQ(dir.Entries(), (Names{"words.kas", "words.vok"}));
}

TEST_F(VokFileTest, RecordsAreGroupedByPartitionWithPositions) {
    tCardBox box;
    box.AddToPartition(Card("Haus", "house", 1, 0), 2);
    box.AddToPartition(Card("Baum", "tree", 12, 3), 2);
    box.AddToPartition(Card(Ansi("Gr\xFC\xDF"
                                 "e"),
                            "greetings", 99999, 7),
                       7);
    box.AddToPartition(Card("neu", "new"), kInput);
    box.AddToPartition(Card("Maus", "mouse"), 2);
    box.AddToPartition(Card("eins", "one"), 1);
    box.AddToPartition(Card("sechs", "six"), 6);
    ASSERT_TRUE(SaveVokFile(Path(), box));
    const std::string vok = ReadBytes(Path());
    const std::string expected =
        TableImage(kVokFields, {VokRecord("eins", "one", "A", "   1", "    0", "    0"),
                                VokRecord("Haus", "house", "B", "   1", "    1", "    0"),
                                VokRecord("Baum", "tree", "B", "   2", "   12", "    3"),
                                VokRecord("Maus", "mouse", "B", "   3", "    0", "    0"),
                                VokRecord("sechs", "six", "F", "   1", "    0", "    0"),
                                VokRecord("Gr\x81\xE1"
                                          "e",
                                          "greetings", "Z", "   1", "99999", "    7"),
                                VokRecord("neu", "new", "X", "   1", "    0", "    0")});
    EXPECT_EQ(vok, WithDateOf(vok, expected));
    const std::string kas = ReadBytes(Path("words.kas"));
    EXPECT_EQ(kas, WithDateOf(kas, KasRows({1, 3, 0, 0, 0, 1, 1})));
}

TEST_F(VokFileTest, RoundTripKeepsPartitionsOrderAndCounters) {
    tCardBox box;
    for (int number = 1; number <= kInput; ++number) {
        for (int i = 0; i < 3; ++i) {
            const std::string name = std::to_string(number) + "-" + std::to_string(i);
            box.AddToPartition(Card(name, "answer " + name, number * 10 + i, i), number);
        }
    }
    tCardBox loaded;
    const LoadResult result = RoundTrip(box, loaded);
    EXPECT_EQ(result.loaded, 24);
    EXPECT_EQ(result.misplaced, 0);
    for (int number = 1; number <= kInput; ++number) {
        EXPECT_EQ(Questions(loaded, number), Questions(box, number)) << number;
    }
    tVokabel original;
    tVokabel copy;
    for (int n = box.FirstCard(original), m = loaded.FirstCard(copy); n != 0;
         n = box.NextCard(original), m = loaded.NextCard(copy)) {
        EXPECT_EQ(n, m);
        EXPECT_EQ(copy.Answer(), original.Answer());
        EXPECT_EQ(copy.knownCount, original.knownCount);
        EXPECT_EQ(copy.unknownCount, original.unknownCount);
    }
}

TEST_F(VokFileTest, TextsSurviveAnyNumberOfRoundTrips) {
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"C:\\Programme\\", "back\\\\slash \\\"a \\0 end"},
        {"  leading blanks", Ansi("\xC4pfel und \xD6l, \xDF")},
        {"\\", "\\\\\\"},
        {std::string(63, '\\'), Ansi("\xE9t\xE9 \xC5 \xF1 \xBF \xBE \xA3")},
        {"x\\0y", Ansi("Stra\xDF"
                       "e")}};
    tCardBox box;
    for (const auto& [question, answer] : texts) {
        box.AddToInput(Card(question, answer));
    }
    for (int trip = 0; trip < 3; ++trip) {
        ASSERT_TRUE(SaveVokFile(Path(), box));
        box.ClearAll();
        ASSERT_TRUE(LoadVokFile(Path(), box).opened);
        tVokabel card;
        std::size_t i = 0;
        for (int number = box.FirstCard(card); number != 0; number = box.NextCard(card), ++i) {
            ASSERT_LT(i, texts.size());
            EXPECT_EQ(card.Question(), texts[i].first) << "trip " << trip;
            EXPECT_EQ(card.Answer(), texts[i].second) << "trip " << trip;
        }
        EXPECT_EQ(i, texts.size());
    }
}

// Every character a card can hold, each between two letters, through a real save and load:
// the ones the character table lacks (quotes, dashes, the euro, the no-break space) included.
TEST_F(VokFileTest, EveryCharacterSurvivesASaveAndALoad) {
    tCardBox box;
    std::vector<std::string> questions;
    for (int c = 1; c < 256; ++c) {
        if (!IsDefinedAnsi(static_cast<unsigned char>(c))) {
            continue;
        }
        const std::string character = Ansi(std::string(1, static_cast<char>(c)));
        questions.push_back("a" + character + "b");
        box.AddToInput(Card(questions.back(), "x" + character + "y"));
    }
    box.AddToInput(Card(Ansi("\x84Haus\x93 \x96 5 \x80"), Ansi("\x9Cuvre aujourd\x92hui\xA0!")));
    ASSERT_TRUE(SaveVokFile(Path(), box));
    tCardBox loaded;
    ASSERT_EQ(LoadVokFile(Path(), loaded).loaded, box.TotalCards());
    tVokabel card;
    std::size_t i = 0;
    for (int number = loaded.FirstCard(card); number != 0 && i < questions.size();
         number = loaded.NextCard(card), ++i) {
        EXPECT_EQ(card.Question(), questions[i]);
        EXPECT_EQ(card.Answer(), "x" + questions[i].substr(1, questions[i].size() - 2) + "y");
    }
    EXPECT_EQ(Questions(loaded, kInput).back(), Ansi("\x84Haus\x93 \x96 5 \x80"));
}

TEST_F(VokFileTest, TrailingBlanksAreNotStored) {
    tCardBox box;
    box.AddToInput(Card("word   ", "  answer  "));
    tCardBox loaded;
    RoundTrip(box, loaded);
    tVokabel card;
    loaded.FirstCard(card);
    EXPECT_EQ(card.Question(), "word");
    EXPECT_EQ(card.Answer(), "  answer");
}

TEST_F(VokFileTest, CountersBeyondTheirFieldAreStoredAsTheNearestThatFits) {
    tCardBox box;
    box.AddToInput(Card("big", "big", 99999, 100000));
    box.AddToInput(Card("huge", "small", INT32_MAX, -20000));
    tCardBox loaded;
    RoundTrip(box, loaded);
    tVokabel card;
    loaded.FirstCard(card);
    EXPECT_EQ(card.knownCount, 99999);
    EXPECT_EQ(card.unknownCount, 99999);
    loaded.NextCard(card);
    EXPECT_EQ(card.knownCount, 99999);
    EXPECT_EQ(card.unknownCount, -9999);
    // The box itself keeps counting.
    box.FirstCard(card);
    EXPECT_EQ(card.unknownCount, 100000);
}

TEST_F(VokFileTest, ForeignLettersDeletedRecordsAndWideTexts) {
    const std::string wide(64, 'w');
    WriteBytes(
        Path(),
        TableImage(
            kVokFields,
            {VokRecord("g", "g", "G", "", "", ""), VokRecord("h", "h", "H", "", "", ""),
             VokRecord("q", "q", "Q", "", "", ""), VokRecord("lower", "lower", "a", "", "", ""),
             VokRecord("blank", "blank", "", "", "", ""),
             VokRecord("deleted", "d", "A", "", "", "", '*'),
             VokRecord(wide, std::string(62, 'v') + " x", "X", "", "**", "-3"),
             VokRecord("digit", "digit", "1", "", "", "")}));
    tCardBox box;
    box.AddToInput(Card("already", "there"));
    const LoadResult result = LoadVokFile(Path(), box);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.loaded, 8);
    EXPECT_EQ(result.misplaced, 4);
    EXPECT_EQ(Questions(box, 7), (Names{"g"}));
    EXPECT_EQ(Questions(box, 1), (Names{"deleted"}));
    EXPECT_EQ(Questions(box, kInput),
              (Names{"already", "h", std::string(63, 'w'), "q", "lower", "blank", "digit"}));
    tVokabel card;
    box.FirstInPartition(kInput, card);
    box.NextInPartition(kInput, card);
    box.NextInPartition(kInput, card);
    // The field's trailing blanks go, then the cut to 63 keeps the blank before the "x".
    EXPECT_EQ(card.Answer(), std::string(62, 'v') + " ");
    EXPECT_EQ(card.knownCount, 0);
    EXPECT_EQ(card.unknownCount, -3);
}

TEST_F(VokFileTest, OtherFieldOrderAndMissingFields) {
    const std::vector<FieldLayout> fields = {{"KASTEN", 'C', 1},
                                             {"UEBERSETZT", 'C', 20},
                                             {"EXTRA", 'C', 3},
                                             {"GEWUSST", 'N', 3},
                                             {"DEUTSCH", 'C', 20}};
    WriteBytes(Path(), TableImage(fields, {RecordImage(fields, {"B", "tree", "xyz", " 4", "Baum"}),
                                           RecordImage(fields, {"X", "", "", "", "leer"})}));
    tCardBox box;
    const LoadResult result = LoadVokFile(Path(), box);
    EXPECT_EQ(result.loaded, 2);
    EXPECT_EQ(Questions(box, 2), (Names{"Baum"}));
    EXPECT_EQ(Questions(box, kInput), (Names{"leer"}));
    tVokabel card;
    box.FirstInPartition(2, card);
    EXPECT_EQ(card.Answer(), "tree");
    EXPECT_EQ(card.knownCount, 4);
    EXPECT_EQ(card.unknownCount, 0);
}

TEST_F(VokFileTest, WithoutAPartitionFieldEveryCardGoesToTheInputStack) {
    const std::vector<FieldLayout> fields = {{"DEUTSCH", 'C', 10}, {"UEBERSETZT", 'C', 10}};
    WriteBytes(Path(), TableImage(fields, {RecordImage(fields, {"a", "b"})}));
    tCardBox box;
    const LoadResult result = LoadVokFile(Path(), box);
    EXPECT_EQ(result.misplaced, 1);
    EXPECT_EQ(Questions(box, kInput), (Names{"a"}));
}

// A read error in the middle of the records fails the load: no card of the file is added,
// and none of blanks stands in for a record that could not be read.
TEST_F(VokFileTest, AReadErrorFailsTheLoadAndAddsNothing) {
    tCardBox box;
    Fill(box, 2, 3000);
    ASSERT_TRUE(SaveVokFile(Path(), box));
    int reads = 0;
    {
        ScopedFault counter(FileOperation::Read, 0);
        tCardBox all;
        ASSERT_EQ(LoadVokFile(Path(), all).loaded, 3000);
        reads = counter.Count(FileOperation::Read);
    }
    ASSERT_GT(reads, 3);  // the header, then the records in several windows
    int failedLoads = 0;
    for (int failing = 1; failing <= reads; ++failing) {
        tCardBox loaded;
        loaded.AddToInput(Card("mine", "kept"));
        ScopedFault fault(FileOperation::Read, failing);
        const LoadResult result = LoadVokFile(Path(), loaded);
        // Either nothing was added, or (when the read that failed was a check that could be
        // made another way) every card; never a part of the file.
        if (result.opened) {
            EXPECT_EQ(result.loaded, 3000) << "read " << failing;
            EXPECT_EQ(loaded.TotalCards(), 3001) << "read " << failing;
        } else {
            EXPECT_EQ(result.loaded, 0) << "read " << failing;
            EXPECT_EQ(Questions(loaded, kInput), Names{"mine"}) << "read " << failing;
            ++failedLoads;
        }
    }
    EXPECT_GE(failedLoads, reads - 1);
}

// A large file is read in pieces by two threads at once; the box is the same as one read in
// order: the cards of each partition in file order, and the misplaced ones of every piece at
// the end.
TEST_F(VokFileTest, ALargeFileLoadsInFileOrderWhicheverThreadReadsACard) {
    const char letters[] = {'A', 'B', 'C', 'D', 'E', 'F', 'Z', 'X'};
    std::vector<std::string> records;
    tCardBox expected;
    expected.AddToInput(Card("already", "there"));
    std::vector<std::string> misplaced;
    for (int i = 0; i < 70001; ++i) {
        const std::string name = "c" + std::to_string(i);
        const std::string known = std::to_string(i % 997);
        if (i % 9000 == 17) {
            records.push_back(VokRecord(name, "a" + name, "q", "", known.c_str(), "1"));
            misplaced.push_back(name);
            continue;
        }
        const int number = (i * 7 / 3) % 8 + 1;
        const char letter[2] = {letters[number - 1], '\0'};
        records.push_back(VokRecord(name, "a" + name, letter, "", known.c_str(), "1"));
        expected.AddToPartition(Card(name, "a" + name, i % 997, 1), number);
    }
    for (const std::string& name : misplaced) {
        expected.AddToInput(Card(name, "a" + name));
    }
    WriteBytes(Path(), TableImage(kVokFields, records));
    tCardBox box;
    box.AddToInput(Card("already", "there"));
    const LoadResult result = LoadVokFile(Path(), box);
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.loaded, 70001);
    EXPECT_EQ(result.counted, 70001);
    EXPECT_EQ(result.misplaced, static_cast<int>(misplaced.size()));
    for (int number = 1; number <= kInput; ++number) {
        EXPECT_EQ(Questions(box, number), Questions(expected, number)) << number;
    }
    tVokabel card;
    ASSERT_NE(box.FirstInPartition(3, card), nullptr);
    for (int i = 0; i < 5000; ++i) {
        const int index = std::stoi(std::string(card.Question().substr(1)));
        ASSERT_EQ(card.knownCount, index % 997);
        ASSERT_EQ(card.Answer(), "a" + std::string(card.Question()));
        ASSERT_NE(box.NextInPartition(3, card), nullptr);
    }

    // A read that fails on either thread fails the whole load, and adds nothing.
    int reads = 0;
    {
        ScopedFault counter(FileOperation::Read, 0);
        tCardBox all;
        ASSERT_TRUE(LoadVokFile(Path(), all).opened);
        reads = counter.Count(FileOperation::Read);
    }
    // The count varies by a read or two with the pieces each thread happens to take.
    ASSERT_GT(reads, 8);
    for (const int failing : {1, reads / 4, reads / 2, reads * 3 / 4, reads - 3}) {
        tCardBox loaded;
        loaded.AddToInput(Card("mine", "kept"));
        ScopedFault fault(FileOperation::Read, failing);
        EXPECT_FALSE(LoadVokFile(Path(), loaded).opened) << "read " << failing;
        EXPECT_EQ(Questions(loaded, kInput), Names{"mine"}) << "read " << failing;
    }
}

TEST_F(VokFileTest, UnreadableFilesAddNothing) {
    tCardBox box;
    EXPECT_FALSE(LoadVokFile(Path("absent.vok"), box).opened);
    EXPECT_FALSE(LoadVokFile(FilePath(dir.Path()), box).opened);
    WriteBytes(Path("empty.vok"), "");
    EXPECT_FALSE(LoadVokFile(Path("empty.vok"), box).opened);
    WriteBytes(Path("text.vok"), "Haus;house\r\nBaum;tree\r\n");
    EXPECT_FALSE(LoadVokFile(Path("text.vok"), box).opened);
    EXPECT_EQ(box.TotalCards(), 0);
}

TEST_F(VokFileTest, TheBoxFileDoesNotMatterForLoading) {
    tCardBox box;
    Fill(box, 3, 4);
    ASSERT_TRUE(SaveVokFile(Path(), box));
    WriteBytes(Path("words.kas"), "garbage");
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(Path(), loaded).loaded, 4);
    std::filesystem::remove(Path("words.kas").Bytes());
    loaded.ClearAll();
    EXPECT_EQ(LoadVokFile(Path(), loaded).loaded, 4);
    EXPECT_EQ(Counts(loaded), (std::vector<int>{0, 0, 4, 0, 0, 0, 0, 0}));
}

// The old file must come through every failed save byte for byte, with nothing left beside it.
class FailedSaveTest : public VokFileTest {
  protected:
    // Enough cards for a save to write several blocks while it composes the next ones.
    static constexpr int kChangedCards = 16000;

    void SetUp() override {
        Fill(original, 2, 5, "old");
        ASSERT_TRUE(SaveVokFile(Path(), original));
        before = ReadBytes(Path());
        kasBefore = ReadBytes(Path("words.kas"));
        Fill(changed, 1, kChangedCards, "new");
        changedCards = Questions(changed, 1);
    }

    void ExpectOldFilesKept(const std::string& what) {
        EXPECT_EQ(ReadBytes(Path()), before) << what;
        EXPECT_EQ(ReadBytes(Path("words.kas")), kasBefore) << what;
        EXPECT_EQ(dir.Entries(), (Names{"words.kas", "words.vok"})) << what;
        EXPECT_EQ(Questions(changed, 1), changedCards) << what;  // the box is untouched
    }

    tCardBox original;
    tCardBox changed;
    Names changedCards;
    std::string before;
    std::string kasBefore;
};

TEST_F(FailedSaveTest, EveryInjectedFailureOfTheVocabularyFile) {
    const FileOperation kinds[] = {FileOperation::Create, FileOperation::Open,
                                   FileOperation::Write,  FileOperation::Sync,
                                   FileOperation::Close,  FileOperation::Rename};
    for (const FileOperation kind : kinds) {
        int steps = 0;
        {
            ScopedFault counter(kind, 0);
            ASSERT_TRUE(SaveVokFile(Path("count.vok"), changed));
            steps = counter.Count(kind);
        }
        const std::string complete = ReadBytes(Path("count.vok"));
        std::filesystem::remove(Path("count.vok").Bytes());
        std::filesystem::remove(Path("count.kas").Bytes());
        RecordProperty("steps_of_kind_" + std::to_string(static_cast<int>(kind)), steps);
        for (int step = 1; step <= steps; ++step) {
            ScopedFault fault(kind, step);
            const bool saved = SaveVokFile(Path(), changed);
            const std::string what = "operation " + std::to_string(static_cast<int>(kind)) +
                                     " step " + std::to_string(step);
            if (!saved) {
                ExpectOldFilesKept(what);
                continue;
            }
            // Only a failure in the box file may leave the save reported as done, and then
            // the vocabulary file is complete.
            const std::string bytes = ReadBytes(Path());
            EXPECT_TRUE(bytes == WithDateOf(bytes, complete)) << what;
            ASSERT_TRUE(SaveVokFile(Path(), original));
            before = ReadBytes(Path());
            kasBefore = ReadBytes(Path("words.kas"));
        }
    }
}

TEST_F(FailedSaveTest, PathThatIsAFolder) {
    std::filesystem::create_directory(Path("folder.vok").Bytes());
    EXPECT_FALSE(SaveVokFile(Path("folder.vok"), changed));
    EXPECT_TRUE(std::filesystem::is_directory(Path("folder.vok").Bytes()));
    EXPECT_EQ(dir.Entries(), (Names{"folder.vok", "words.kas", "words.vok"}));
}

TEST_F(FailedSaveTest, MissingOrLockedFolder) {
    EXPECT_FALSE(SaveVokFile(Path("missing/words.vok"), changed));
    // A folder's permission bits are POSIX alone; Windows says it in access lists.
    if (!testing::RunningAsRoot() && !kWindows) {
        std::filesystem::permissions(
            dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(SaveVokFile(Path(), changed));
        std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    }
    ExpectOldFilesKept("locked folder");
}

TEST_F(VokFileTest, TemporariesOfKilledSavesAreRemovedByTheNextSave) {
    tCardBox box;
    ASSERT_TRUE(SaveVokFile(Path(), box));
    // A process id far above any the system hands out: its save is long gone.
    WriteBytes(Path("words.vok.tmp-2147483600-0"), "half a file");
    WriteBytes(Path("words.vok.tmp-notes"), "not ours");
    WriteBytes(Path("other.vok.tmp-2147483600-0"), "another file's");
    ASSERT_TRUE(SaveVokFile(Path(), box));
    EXPECT_EQ(dir.Entries(), (Names{"other.vok.tmp-2147483600-0", "words.kas", "words.vok",
                                    "words.vok.tmp-notes"}));
}

#if !defined(_WIN32)
// Left out on Windows, where the test has no live process of another id at hand whose start
// time it may read (a POSIX process reads its parent's).

// A process id the system has handed out again does not keep a killed save's temporary
// alive: the start time in its name tells the two processes apart.
TEST_F(VokFileTest, ATemporaryWhoseProcessIdWasReusedIsRemoved) {
    tCardBox box;
    ASSERT_TRUE(SaveVokFile(Path(), box));
    const std::string self = std::to_string(::getppid());  // alive, and not this process
    WriteBytes(Path("words.vok.tmp-" + self + "-1-0"), "left by another process of that id");
    WriteBytes(Path("words.vok.tmp-1-1-0"), "init, started at another time");
    ASSERT_TRUE(SaveVokFile(Path(), box));
    EXPECT_EQ(dir.Entries(), (Names{"words.kas", "words.vok"}));
}
#endif

TEST_F(VokFileTest, AFileNameOfAnyLengthCanBeSaved) {
    tCardBox box;
    box.AddToInput(Card("Haus", "house"));
    const std::string name = std::string(246, 'n') + ".vok";  // 250 bytes, the longest usual
    ASSERT_TRUE(SaveVokFile(Path(name), box));
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(Path(name), loaded).loaded, 1);
    ASSERT_TRUE(SaveVokFile(Path(name), box));  // and again, over itself
    EXPECT_EQ(dir.Entries(), (Names{std::string(246, 'n') + ".kas", name}));
}

#if defined(_WIN32)

// Windows keeps no owner or permission bits for a save to carry over (a new file takes its
// folder's access list, as the old one did), and symbolic links need rights users rarely
// have. What it keeps with a file is its attributes.
TEST_F(VokFileTest, SavingKeepsTheAttributesOfTheOldFile) {
    tCardBox box;
    ASSERT_TRUE(SaveVokFile(Path(), box));
    const std::wstring wide = NativePath(Path()).wstring();
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Fill(box, 1, 2);
    ASSERT_TRUE(SaveVokFile(Path(), box));
    EXPECT_NE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(Path(), loaded).loaded, 2);
}

#else

// A vocabulary file kept in a synced folder and linked from where the user works: the save
// goes into the file the link points to, and the link stays a link.
TEST_F(VokFileTest, SavingOntoASymbolicLinkReplacesTheFileItPointsTo) {
    std::filesystem::create_directory(Path("synced").Bytes());
    tCardBox box;
    box.AddToInput(Card("Haus", "house"));
    ASSERT_TRUE(SaveVokFile(Path("synced/real.vok"), box));
    std::filesystem::create_symlink("synced/real.vok", Path("words.vok").Bytes());
    std::filesystem::create_symlink("words.vok", Path("again.vok").Bytes());  // a chain
    std::filesystem::remove(Path("synced/real.kas").Bytes());
    box.AddToInput(Card("Baum", "tree"));
    ASSERT_TRUE(SaveVokFile(Path("again.vok"), box));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("words.vok").Bytes()));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("again.vok").Bytes()));
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(Path("synced/real.vok"), loaded).loaded, 2);
    // The box file goes beside the name the user gave, not into the linked folder.
    EXPECT_TRUE(std::filesystem::is_regular_file(Path("again.kas").Bytes()));
    EXPECT_FALSE(std::filesystem::exists(Path("synced/real.kas").Bytes()));
    // No temporary is left in either folder.
    for (const auto& entry : std::filesystem::directory_iterator(Path("synced").Bytes())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
    }
}

TEST_F(VokFileTest, SavingKeepsTheOwnerAndGroupOfTheOldFile) {
    if (!testing::RunningAsRoot()) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    tCardBox box;
    ASSERT_TRUE(SaveVokFile(Path(), box));
    ASSERT_EQ(::chown(Path().CString(), 65534, 65534), 0);
    box.AddToInput(Card("Haus", "house"));
    ASSERT_TRUE(SaveVokFile(Path(), box));
    struct stat info {};
    ASSERT_EQ(::stat(Path().CString(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
}

TEST_F(VokFileTest, SavingKeepsThePermissionsOfTheOldFile) {
    tCardBox box;
    ASSERT_TRUE(SaveVokFile(Path(), box));
    std::filesystem::permissions(Path().Bytes(), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::owner_write |
                                                     std::filesystem::perms::group_read);
    Fill(box, 1, 2);
    ASSERT_TRUE(SaveVokFile(Path(), box));
    EXPECT_EQ(std::filesystem::status(Path().Bytes()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

#endif

}  // namespace
}  // namespace tallyfold

namespace tallyfold {
namespace {

// Saves into files that a rename would take away from their other names or cannot replace:
// they are written in place, with the old file kept in the user's data folder meanwhile.
class InPlaceSaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::UseUserFoldersIn(FilePath(data.Path()));
        box.AddToInput(testing::Card("Haus", "house"));
        ASSERT_TRUE(SaveVokFile(dir.File("words.vok"), box));
        old = testing::ReadBytes(dir.File("words.vok"));
        box.AddToInput(testing::Card("Baum", "tree"));
    }
    void TearDown() override { testing::UseRealUserFolders(); }
    std::vector<std::string> Saving() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(NativePath(DataFolder().Child("saving")), error)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    testing::TempDir dir;
    testing::TempDir data;
    tCardBox box;
    std::string old;
};

TEST_F(InPlaceSaveTest, AFileWithAnotherNameIsWrittenInPlace) {
    ASSERT_TRUE(LinkFile(dir.File("words.vok"), dir.File("other name.vok")));
    ASSERT_TRUE(SaveVokFile(dir.File("words.vok"), box));
    EXPECT_EQ(LinkCount(dir.File("words.vok")), 2u);
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(dir.File("other name.vok"), loaded).loaded, 2);
    EXPECT_TRUE(Saving().empty());  // neither the new file nor the copy is left
}

// Whichever write fails, the old cards are never lost: the file is as it was, or its old
// bytes are kept in the data folder; and a failure in the write over the file leaves that copy.
TEST_F(InPlaceSaveTest, AFailedWriteInPlaceKeepsTheOldCardsInTheDataFolder) {
    ASSERT_TRUE(LinkFile(dir.File("words.vok"), dir.File("other.vok")));
    int writes = 0;
    {
        testing::ScopedFault counter(FileOperation::Write, 0);
        ASSERT_TRUE(SaveVokFile(dir.File("words.vok"), box));
        writes = counter.Count(FileOperation::Write);
    }
    const auto sameCards = [](const std::string& a, const std::string& b) {
        return a.size() == b.size() && a.substr(4) == b.substr(4);  // the day aside
    };
    int keptCopies = 0;
    for (int failing = 1; failing <= writes; ++failing) {
        testing::WriteBytes(dir.File("words.vok"), old);  // in place: both names see it
        std::filesystem::remove_all(NativePath(DataFolder().Child("saving")));
        bool saved = false;
        {
            testing::ScopedFault fault(FileOperation::Write, failing);
            saved = SaveVokFile(dir.File("words.vok"), box);
        }
        if (saved) {
            continue;  // the failing write was one of the box file's
        }
        const std::string now = testing::ReadBytes(dir.File("other.vok"));
        std::vector<std::string> keep;
        for (const std::string& name : Saving()) {
            if (name.find(".keep-") != std::string::npos) {
                keep.push_back(name);
            }
        }
        if (keep.empty()) {
            EXPECT_TRUE(sameCards(now, old)) << "write " << failing;
            continue;
        }
        ASSERT_EQ(keep.size(), 1u) << "write " << failing;
        const std::string kept = testing::ReadBytes(DataFolder().Child("saving").Child(keep[0]));
        EXPECT_TRUE(sameCards(kept, old)) << "write " << failing;
        ++keptCopies;
    }
    EXPECT_GE(keptCopies, 1);
}

#if !defined(_WIN32)
// Left out on Windows: it takes a second user, made here by fork and setuid.
TEST_F(InPlaceSaveTest, AFileInAFolderThatMayNotBeWrittenIsWrittenInPlace) {
    // The folder belongs to another user (root, when the tests run as root): the saver may
    // write the file, not the folder.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            if (::chown(dir.File("words.vok").CString(), 65534, 65534) != 0 ||
                ::chmod(dir.Path().c_str(), 0755) != 0 ||
                ::chown(data.Path().c_str(), 65534, 65534) != 0 || ::setgid(65534) != 0 ||
                ::setuid(65534) != 0) {
                std::_Exit(3);
            }
        } else if (::chmod(dir.Path().c_str(), 0555) != 0) {
            std::_Exit(3);
        }
        std::_Exit(SaveVokFile(dir.File("words.vok"), box) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(dir.Path().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    tCardBox loaded;
    EXPECT_EQ(LoadVokFile(dir.File("words.vok"), loaded).loaded, 2);
}
#endif

}  // namespace
}  // namespace tallyfold
