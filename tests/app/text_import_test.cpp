#include "document/text_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "table/block_writer.h"
#include "tests/support/app_fixture.h"
#include "tests/support/faults.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using testing::AppTest;
using testing::Card;
using testing::Questions;
using Names = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr int kInput = tCardBox::kInputStack;

Pairs CardsOf(tCardBox& box) {
    Pairs pairs;
    tVokabel card;
    for (int number = box.FirstCard(card); number != 0; number = box.NextCard(card)) {
        pairs.emplace_back(card.Question(), card.Answer());
    }
    return pairs;
}

struct Parsed {
    int code;
    std::string left;
};

Parsed Parse(tCardBox& box, std::string line) {
    ImportTarget target(box);
    const int code = ParseImportLine(line, target);
    return {code, line};
}

int ParseSeparated(tCardBox& box, std::string line, char separator, bool quoted) {
    ImportTarget target(box);
    return ParseSeparatedLine(line, separator, quoted, target);
}

TEST(ParseSeparatedLine, TabsAndQuotedValuesAsOtherTrainersWriteThem) {
    tCardBox box;
    EXPECT_EQ(ParseSeparated(box, "Haus\thouse\tnoun", '\t', false), kImportAccepted);
    EXPECT_EQ(ParseSeparated(box, "gehen;to go", '\t', false), kImportSeparatorMissing);
    EXPECT_EQ(ParseSeparated(box, "\"a;b\";c", ';', true), kImportAccepted);
    EXPECT_EQ(ParseSeparated(box, "\"say \"\"hi\"\"\",\"x, y\"", ',', true), kImportAccepted);
    EXPECT_EQ(ParseSeparated(box, "back\\slash,\"\"", ',', true), kImportAnswerMissing);
    EXPECT_EQ(ParseSeparated(box, "\"only;inside\"", ';', true), kImportSeparatorMissing);
    EXPECT_EQ(ParseSeparated(box, "\"open;", ';', true), kImportSeparatorMissing);
    EXPECT_EQ(ParseSeparated(box, "  ;blank question", ';', true), kImportQuestionMissing);
    EXPECT_EQ(ParseSeparated(box, "q;" + std::string(64, 'a'), ';', true), kImportTextTooLong);
    // A card holds no control character: a tab is the separator of a tab-separated file, and
    // in any other it is refused.
    EXPECT_EQ(ParseSeparated(box, "tab\tin text;x", ';', true), kImportControlCharacter);
    EXPECT_EQ(ParseSeparated(box, "\"line\u2028break\";x", ';', true), kImportControlCharacter);
    EXPECT_EQ(CardsOf(box), (Pairs{{"Haus", "house"}, {"a;b", "c"}, {"say \"hi\"", "x, y"}}));
}

TEST(ParseSeparatedLine, ACsvFilesFirstLineTellsItsSeparator) {
    EXPECT_EQ(CsvSeparatorOf("Haus;house"), ';');
    EXPECT_EQ(CsvSeparatorOf("Haus,house"), ',');
    EXPECT_EQ(CsvSeparatorOf("\"a,b\";c"), ';');
    EXPECT_EQ(CsvSeparatorOf("nothing"), ',');
    EXPECT_EQ(ImportFormatOf(FilePath("a/Words.CSV")), ImportFormat::Csv);
    EXPECT_EQ(ImportFormatOf(FilePath("w.tsv")), ImportFormat::TabSeparated);
    EXPECT_EQ(ImportFormatOf(FilePath("w.tab")), ImportFormat::TabSeparated);
    EXPECT_EQ(ImportFormatOf(FilePath("w.txt")), ImportFormat::CardLines);
    EXPECT_EQ(ImportFormatOf(FilePath("csv")), ImportFormat::CardLines);
}

TEST(ParseImportLine, QuestionAndAnswerAroundTheFirstSeparator) {
    tCardBox box;
    EXPECT_EQ(Parse(box, "Haus;house").code, kImportAccepted);
    EXPECT_EQ(Parse(box, "gehen;to go; to walk").code, kImportAccepted);
    EXPECT_EQ(Parse(box, "  Baum   ;   tree  ").code, kImportAccepted);
    EXPECT_EQ(CardsOf(box),
              (Pairs{{"Haus", "house"}, {"gehen", "to go; to walk"}, {"  Baum", "   tree"}}));
    tVokabel card;
    box.FirstInPartition(kInput, card);
    EXPECT_EQ(card.knownCount, 0);
    EXPECT_EQ(card.unknownCount, 0);
}

TEST(ParseImportLine, RefusalsLeaveWhatTheUserShouldSee) {
    tCardBox box;
    const Parsed spaces = Parse(box, "     ");
    EXPECT_EQ(spaces.code, kImportSeparatorMissing);
    EXPECT_EQ(spaces.left, "     ");
    const Parsed noQuestion = Parse(box, "   ;answer");
    EXPECT_EQ(noQuestion.code, kImportQuestionMissing);
    EXPECT_EQ(noQuestion.left, "");
    const Parsed noAnswer = Parse(box, "question  ;   ");
    EXPECT_EQ(noAnswer.code, kImportAnswerMissing);
    EXPECT_EQ(noAnswer.left, "question");
    EXPECT_EQ(Parse(box, "question;").code, kImportAnswerMissing);
    const std::string longLine = "q;" + std::string(5000, 'a');
    const Parsed tooLong = Parse(box, longLine);
    EXPECT_EQ(tooLong.code, kImportTextTooLong);
    EXPECT_EQ(tooLong.left, longLine);
    EXPECT_EQ(Parse(box, std::string(64, 'q') + ";a").code, kImportTextTooLong);
    EXPECT_EQ(box.TotalCards(), 0);
}

// A card keeps its texts up to a zero byte, so a side that is empty as stored is missing,
// whether the zero byte stands in the line or comes from the "\0" escape.
TEST(ParseImportLine, ASideThatIsEmptyAsStoredIsMissing) {
    tCardBox box;
    EXPECT_EQ(Parse(box, std::string("x;\0y", 4)).code, kImportAnswerMissing);
    EXPECT_EQ(Parse(box, std::string("q;\0", 3)).code, kImportAnswerMissing);
    const Parsed zeroQuestion = Parse(box, std::string("\0q;a", 4));
    EXPECT_EQ(zeroQuestion.code, kImportQuestionMissing);
    EXPECT_EQ(zeroQuestion.left, "");
    const Parsed escaped = Parse(box, "kept;\\0gone");
    EXPECT_EQ(escaped.code, kImportAnswerMissing);
    EXPECT_EQ(escaped.left, "kept");
    EXPECT_EQ(Parse(box, "\\0;answer").code, kImportQuestionMissing);
    EXPECT_EQ(box.TotalCards(), 0);
    // A zero byte behind some text ends it there; the card is made of what is before.
    EXPECT_EQ(Parse(box, std::string("ab\0cd;ef", 8)).code, kImportAccepted);
    EXPECT_EQ(CardsOf(box), (Pairs{{"ab", "ef"}}));
}

TEST(ParseImportLine, ControlCharactersAreRefusedAndOnlyBlanksAreTrimmed) {
    tCardBox box;
    EXPECT_EQ(Parse(box, "a\t;b").code, kImportControlCharacter);
    EXPECT_EQ(Parse(box, "a;b\x1B").code, kImportControlCharacter);
    EXPECT_EQ(Parse(box, "a;b\u0085").code, kImportControlCharacter);
    EXPECT_EQ(Parse(box, "a  ;b\u00A0 ").code, kImportAccepted);
    EXPECT_EQ(CardsOf(box), (Pairs{{"a", "b\u00A0"}}));
}

TEST(ParseImportLine, SidesAreNormalisedAndCountedAsAPersonCounts) {
    tCardBox box;
    // "é" as one code point and as "e" and a combining accent is one card.
    EXPECT_EQ(Parse(box, "caf\u00E9;coffee").code, kImportAccepted);
    EXPECT_EQ(Parse(box, "cafe\u0301;coffee").code, kImportAccepted);
    EXPECT_EQ(CardsOf(box), (Pairs{{"caf\u00E9", "coffee"}}));
    // 63 characters of three bytes, and 63 emoji of eight, against one more and against the
    // bytes a side holds.
    std::string chinese;
    std::string emoji;
    for (int i = 0; i < 63; ++i) {
        chinese += "\u4E2D";
        emoji += "\U0001F44D\U0001F3FD";
    }
    EXPECT_EQ(Parse(box, chinese + ";zh").code, kImportAccepted);
    EXPECT_EQ(Parse(box, chinese + "\u4E2D;zh").code, kImportTextTooLong);
    EXPECT_EQ(Parse(box, "thumbs;" + emoji.substr(0, 31 * 8)).code, kImportAccepted);
    EXPECT_EQ(Parse(box, "thumbs;" + emoji).code, kImportTextTooLong);
    EXPECT_EQ(box.TotalCards(), 3);
}

TEST(ParseImportLine, EscapesAreExpandedBeforeTheChecks) {
    tCardBox box;
    EXPECT_EQ(Parse(box, "M\\\"adchen;girl").code, kImportAccepted);
    std::string escaped;
    for (int i = 0; i < 40; ++i) {
        escaped += "\\\"u";  // 120 bytes, 40 characters
    }
    EXPECT_EQ(Parse(box, escaped + ";many").code, kImportAccepted);
    std::string umlauts;
    for (int i = 0; i < 40; ++i) {
        umlauts += "\u00FC";
    }
    EXPECT_EQ(CardsOf(box), (Pairs{{"M\u00E4dchen", "girl"}, {umlauts, "many"}}));
    // An escaped text equals the same text typed directly: no second card.
    EXPECT_EQ(Parse(box, "M\u00E4dchen;girl").code, kImportAccepted);
    EXPECT_EQ(box.TotalCards(), 2);
}

TEST(ParseImportLine, ExactDuplicatesAreAddedOnce) {
    tCardBox box;
    box.AddToPartition(Card("Haus", "house"), 4);
    EXPECT_EQ(Parse(box, "Haus;house").code, kImportAccepted);
    EXPECT_EQ(Parse(box, "Haus;home").code, kImportAccepted);
    ImportTarget target(box);
    std::string line = "Baum;tree";
    EXPECT_EQ(ParseImportLine(line, target), kImportAccepted);
    line = "Baum;tree";
    EXPECT_EQ(ParseImportLine(line, target), kImportAccepted);
    // Cards go in a few lines late, or when the target is flushed.
    target.Flush();
    target.Flush();  // nothing is left for a second one
    EXPECT_EQ(target.Added(), 1);
    EXPECT_EQ(Questions(box, kInput), (Names{"Haus", "Baum"}));
    EXPECT_EQ(box.CardsIn(4), 1);
}

TEST(ImportTarget, AddsEachCardOnceAsItGrows) {
    // Texts from a small alphabet, so many cards repeat an earlier one or one of the box's,
    // and many share a question or an answer without being equal.
    tCardBox box;
    box.AddToPartition(Card("ab", "ba"), 2);
    box.AddToPartition(Card("a", "b"), kInput);
    std::set<std::pair<std::string, std::string>> seen = {{"ab", "ba"}, {"a", "b"}};
    Pairs expected;
    std::mt19937 random(3);
    const auto text = [&random] {
        std::string result(1 + random() % 3, 'a');
        for (char& c : result) {
            c = static_cast<char>('a' + random() % 3);
        }
        return result;
    };
    {
        ImportTarget target(box);  // no room reserved: the index grows as cards come
        for (int i = 0; i < 3000; ++i) {
            const tVokabel card = Card(text(), text());
            if (seen.emplace(card.Question(), card.Answer()).second) {
                expected.emplace_back(card.Question(), card.Answer());
            }
            target.Add(card);
        }
        target.Flush();
        EXPECT_EQ(target.Added(), static_cast<int>(expected.size()));
    }
    expected.insert(expected.begin(), {"a", "b"});
    Pairs input;
    tVokabel card;
    for (const tVokabel* stored = box.FirstInPartition(kInput, card); stored != nullptr;
         stored = box.NextInPartition(kInput, card)) {
        input.emplace_back(stored->Question(), stored->Answer());
    }
    EXPECT_EQ(input, expected);
    EXPECT_EQ(box.CardsIn(2), 1);
}

TEST(ImportTarget, AnyLineCountIsSafeToReserveFor) {
    // A file of many empty lines, or a binary file, counts lines that bring no card.
    tCardBox box;
    ImportTarget target(box, std::numeric_limits<std::size_t>::max());
    target.Add(Card("Haus", "house"));
    target.Add(Card("Haus", "house"));
    target.Flush();
    EXPECT_EQ(target.Added(), 1);
}

TEST(ImportTarget, TheLastCardGoesInWhenTheTargetGoesAway) {
    tCardBox box;
    {
        ImportTarget target(box);
        target.Add(Card("Haus", "house"));
        EXPECT_EQ(box.TotalCards(), 0);
    }
    EXPECT_EQ(Questions(box, kInput), Names{"Haus"});
}

std::vector<std::pair<std::string, bool>> LinesOf(std::string bytes, bool* utf8 = nullptr) {
    ImportFile file;
    file.Assign(std::move(bytes));
    if (utf8 != nullptr) {
        *utf8 = file.IsUtf8();
    }
    std::vector<std::pair<std::string, bool>> lines;
    std::string line;
    int problem = kImportAccepted;
    while (file.NextLine(line, problem)) {
        lines.emplace_back(line, problem == kImportAccepted);
    }
    return lines;
}

TEST(ImportFile, LineEndsOfEveryKind) {
    using Lines = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ(LinesOf("a;b\r\nc;d\r\n"), (Lines{{"a;b", true}, {"c;d", true}}));
    EXPECT_EQ(LinesOf("a;b\nc;d"), (Lines{{"a;b", true}, {"c;d", true}}));
    // A lone carriage return ends a line too, as classic Mac files ("CSV (Macintosh)") have it.
    EXPECT_EQ(LinesOf("a;b\r\n\r\n\nx\ry;z"),
              (Lines{{"a;b", true}, {"", true}, {"", true}, {"x", true}, {"y;z", true}}));
    EXPECT_EQ(LinesOf("a;b\rc;d\re;f\r"), (Lines{{"a;b", true}, {"c;d", true}, {"e;f", true}}));
    EXPECT_EQ(LinesOf("a\r\r\nb"), (Lines{{"a", true}, {"", true}, {"b", true}}));
    EXPECT_TRUE(LinesOf("").empty());
    const std::string longLine(5000, 'x');
    EXPECT_EQ(LinesOf(longLine + "\n"), (Lines{{longLine, true}}));  // one line, whole
}

TEST(ImportFile, ALineBeyondTheLimitIsKeptOnlyInPart) {
    ImportFile file;
    const std::string huge(ImportFile::kLineLimit + 1, 'h');
    file.Assign("first;1\n" + huge + "\nlast;2");
    EXPECT_EQ(file.LineCount(), 3u);
    std::string line;
    int problem = kImportAccepted;
    ASSERT_TRUE(file.NextLine(line, problem));
    EXPECT_FALSE(file.LineTooLong());
    ASSERT_TRUE(file.NextLine(line, problem));
    EXPECT_TRUE(file.LineTooLong());
    EXPECT_EQ(line, huge.substr(0, ImportFile::kLineKept));
    ASSERT_TRUE(file.NextLine(line, problem));
    EXPECT_FALSE(file.LineTooLong());
    EXPECT_EQ(line, "last;2");
    // At the limit a line is whole.
    file.Assign(std::string(ImportFile::kLineLimit, 'x'));
    ASSERT_TRUE(file.NextLine(line, problem));
    EXPECT_FALSE(file.LineTooLong());
    EXPECT_EQ(line.size(), ImportFile::kLineLimit);
}

struct ReadFile {
    bool opened = false;
    std::size_t count = 0;
    bool utf8 = false;
    std::vector<std::pair<std::string, bool>> lines;
};

ReadFile ReadAll(ImportFile& file, bool opened) {
    ReadFile result{opened, file.LineCount(), file.IsUtf8(), {}};
    std::string line;
    int problem = kImportAccepted;
    while (file.NextLine(line, problem)) {
        result.lines.emplace_back(line, problem == kImportAccepted);
    }
    return result;
}

// A file on disk is read in pieces of a megabyte; what it gives must not depend on where the
// pieces end.
TEST(ImportFile, AFileReadInPiecesGivesWhatItsWholeContentGives) {
    std::mt19937 random(5);
    std::string plain;
    while (plain.size() < 3'500'000) {
        plain += std::string(random() % 300, static_cast<char>('a' + random() % 26));
        const char* const ends[] = {"\r\n", "\n", "\r"};
        plain += ends[random() % 3];
        if (plain.size() > 1'500'000 && plain.size() < 1'500'400) {
            plain += std::string(2'500'000, 'L') + ";long\n";  // longer than a piece
        }
    }
    const std::string windows = plain + "\xE4rger;anger";     // ends without a line feed
    const std::string utf8 = plain + "\xC3\x84rger;anger\n";  // the one character of two bytes
    const std::string invalid = plain + "\xC3\x84rger;\xC0\xAF\n";  // an overlong form
    const std::string marked = "\xEF\xBB\xBF" + plain;
    testing::TempDir dir;
    for (const std::string* content : {&windows, &utf8, &invalid, &marked}) {
        const FilePath path = dir.File("lines.txt");
        testing::WriteBytes(path, *content);
        ImportFile fromDisk;
        const bool opened = fromDisk.Open(path);
        const ReadFile read = ReadAll(fromDisk, opened);
        ImportFile inMemory;
        inMemory.Assign(*content);
        const ReadFile whole = ReadAll(inMemory, true);
        EXPECT_TRUE(read.opened);
        EXPECT_EQ(read.count, whole.count);
        EXPECT_EQ(read.count, read.lines.size());
        EXPECT_EQ(read.utf8, whole.utf8);
        EXPECT_TRUE(read.lines == whole.lines);
    }
    ImportFile file;
    file.Assign(utf8);
    EXPECT_TRUE(file.IsUtf8());
    file.Assign(invalid);
    EXPECT_FALSE(file.IsUtf8());
    file.Assign(marked);
    EXPECT_TRUE(file.IsUtf8());
    std::string first;
    int problem = kImportAccepted;
    ASSERT_TRUE(file.NextLine(first, problem));
    EXPECT_EQ(first, plain.substr(0, first.size()));  // the mark is not part of the first line
    file.Assign("");
    EXPECT_FALSE(file.IsUtf8());  // nothing is left of the file before
    EXPECT_FALSE(file.Open(dir.File("missing.txt")));
}

TEST(ImportFile, CountsItsLines) {
    ImportFile file;
    file.Assign("a;b\r\nc;d\r\n");
    EXPECT_EQ(file.LineCount(), 2u);
    file.Assign("a;b\nlast");
    EXPECT_EQ(file.LineCount(), 2u);
    file.Assign("");
    EXPECT_EQ(file.LineCount(), 0u);
}

// UTF-16 as spreadsheet programs write "Unicode text": a byte-order mark, then code units.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(ImportFile, Utf16WithAByteOrderMarkIsReadAsText) {
    using Lines = std::vector<std::pair<std::string, bool>>;
    const std::u16string text = u"\u00C4pfel;apples\r\n\u201EHaus\u201C;house\r\n\u4E2D;x\n";
    const Lines expected = {
        {"\u00C4pfel;apples", true}, {"\u201EHaus\u201C;house", true}, {"\u4E2D;x", true}};
    for (const bool bigEndian : {false, true}) {
        bool utf8 = false;
        EXPECT_EQ(LinesOf(Utf16(text, bigEndian), &utf8), expected) << bigEndian;
        EXPECT_TRUE(utf8);
    }
    // A surrogate pair is one character; a lone one, or an odd last byte, is refused with its
    // line (which shows U+FFFD in its place), never turned into other characters.
    EXPECT_EQ(LinesOf(Utf16(u"a\U0001F600;b\n\xD800;c\nok;d", false) + "x"),
              (Lines{{"a\U0001F600;b", true}, {"\uFFFD;c", false}, {"ok;d\uFFFD", false}}));
}

TEST(ImportFile, Utf16ReadInPiecesGivesWhatItsWholeContentGives) {
    testing::TempDir dir;
    std::u16string text;
    for (int i = 0; i < 60000; ++i) {
        text += u"Stra\u00DFe " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                u";\U0001F600" + u"\r\n";
    }
    const std::string bytes = Utf16(text, false);
    const FilePath path = dir.File("utf16.txt");
    testing::WriteBytes(path, bytes);
    ImportFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.IsText());
    EXPECT_EQ(file.LineCount(), 60000u);
    std::vector<std::pair<std::string, bool>> read;
    std::string line;
    int problem = kImportAccepted;
    while (file.NextLine(line, problem)) {
        read.emplace_back(line, problem == kImportAccepted);
    }
    EXPECT_EQ(read, LinesOf(bytes));
}

TEST(ImportFile, AFileWithZeroBytesNearItsStartIsNoText) {
    ImportFile file;
    file.Assign(std::string("\x03\x7E\x0C\x08\x00\x00\x00\x00\xE1\x00", 10) + "Haus;house\n");
    EXPECT_FALSE(file.IsText());
    file.Assign("Haus;house\n");
    EXPECT_TRUE(file.IsText());
    // A zero byte far into a text is a line's business, not the file's.
    file.Assign(std::string(9000, 'x') + "\n" + std::string("a;\0b\n", 5));
    EXPECT_TRUE(file.IsText());
}

TEST(ImportFile, EncodingsAreRecognised) {
    using Lines = std::vector<std::pair<std::string, bool>>;
    bool utf8 = false;
    // Windows-1252, and UTF-8: the same line.
    EXPECT_EQ(LinesOf("\xC4pfel;apples\n", &utf8), (Lines{{"\u00C4pfel;apples", true}}));
    EXPECT_FALSE(utf8);
    EXPECT_EQ(LinesOf("\xC3\x84pfel;apples\n", &utf8), (Lines{{"\u00C4pfel;apples", true}}));
    EXPECT_TRUE(utf8);
    EXPECT_EQ(LinesOf("\xEF\xBB\xBFplain;ascii\n", &utf8), (Lines{{"plain;ascii", true}}));
    EXPECT_TRUE(utf8);
    EXPECT_EQ(LinesOf("plain;ascii\n", &utf8), (Lines{{"plain;ascii", true}}));
    EXPECT_FALSE(utf8);
    EXPECT_EQ(LinesOf("\xE4\xB8\xAD;middle\n\xE2\x82\xAC;euro\n", &utf8),
              (Lines{{"\u4E2D;middle", true}, {"\u20AC;euro", true}}));
    // Bytes that are no UTF-8 in a file that is (by its mark): that line only is refused. A
    // byte Windows-1252 leaves undefined, in a file of that set, likewise.
    EXPECT_EQ(LinesOf("\xEF\xBB\xBFgood;line\nbad\xE4;line\n", &utf8),
              (Lines{{"good;line", true}, {"bad\uFFFD;line", false}}));
    EXPECT_EQ(LinesOf("\xE4;one\n\x81;two\n", &utf8),
              (Lines{{"\u00E4;one", true}, {"\uFFFD;two", false}}));
}

class ImportCommandTest : public AppTest {
  protected:
    // Every import ends with its summary, which asks nothing.
    ImportCommandTest() { backend.AcknowledgeReports(true); }

    void Import(const std::string& bytes, const std::string& name = "import.txt") {
        const FilePath path = dir.File(name);
        testing::WriteBytes(path, bytes);
        backend.AnswerFileDialog(path);
        frame->ChooseMenu(ids::kCmFileImport);
    }
    /// The messages of the imports, their summaries aside.
    std::vector<std::pair<std::string, std::string>> Messages() const {
        std::vector<std::pair<std::string, std::string>> messages;
        for (const auto& record : backend.MessageBoxes()) {
            if (record.request.caption != "Import") {
                messages.emplace_back(record.request.caption, record.request.text);
            }
        }
        return messages;
    }
    /// The summaries the imports ended with.
    std::vector<std::string> Summaries() const {
        std::vector<std::string> summaries;
        for (const auto& record : backend.MessageBoxes()) {
            if (record.request.caption == "Import") {
                summaries.push_back(record.request.text);
            }
        }
        return summaries;
    }
};

TEST_F(ImportCommandTest, TheDialogAndAnEmptyFile) {
    Start();
    Import("");
    const auto& dialog = backend.FileDialogs().at(0);
    EXPECT_EQ(dialog.data.title, "Import");
    EXPECT_EQ(dialog.data.filter,
              "All (*.*)|*.*|Text Files (*.txt)|*.txt|Tab-separated "
              "(*.tsv)|*.tsv|CSV (*.csv)|*.csv|");
    EXPECT_EQ(dialog.data.flags, platform::kOfnPathMustExist | platform::kOfnFileMustExist);
    EXPECT_EQ(box.TotalCards(), 0);
    EXPECT_EQ(Counts(), "Partition: 0 Box: 0");  // refreshed
    EXPECT_FALSE(view->Changed());
}

TEST_F(ImportCommandTest, CancelledDialogDoesNothing) {
    Start();
    backend.AnswerFileDialog(FilePath());
    frame->ChooseMenu(ids::kCmFileImport);
    EXPECT_EQ(Counts(), "");
}

TEST_F(ImportCommandTest, LinesAreSkippedReportedAndAdded) {
    box.AddToPartition(Card("Haus", "house"), 3);
    Start();
    for (int i = 0; i < 4; ++i) {
        backend.AnswerMessageBox(DialogResult::Ok);
    }
    Import(
        "Haus;house\r\n"
        "\r\n"
        "\tindented;skipped\r\n"
        "just words\r\n"
        "more words\r\n"  // refused like the line before: not asked again
        "   ;no question\r\n"
        "no answer;   \r\n"
        "\xC4rger;anger\r\n"
        "Baum;tree\r\n"
        "Baum;tree\r\n"
        "Baum;wood\r\n"
        "q;" +
        std::string(5000, 'a') +
        "\r\n"
        "last;line without end");
    EXPECT_EQ(Messages(),
              (std::vector<std::pair<std::string, std::string>>{
                  {"Seperator missing", "Seperator missing\nLine 4: just words"},
                  {"Question is missing", "Question is missing\nLine 6: "},
                  {"Answer is missing", "Answer is missing\nLine 7: no answer"},
                  {"Text too long", "Text too long\nLine 12: q;" + std::string(58, 'a') + "..."}}));
    EXPECT_EQ(backend.MessageBoxes()[0].request.buttons, platform::MessageButtons::OkCancel);
    // The summary counts every line, the ones not asked about too.
    EXPECT_EQ(Summaries(), std::vector<std::string>{
                               "import.txt: 4 cards added, 2 already in the box, 5 refused.\n"
                               "Refused lines: 4, 5, 6, 7, 12."});
    EXPECT_EQ(Questions(box, kInput), Names{});  // refilled into partition 1
    EXPECT_EQ(Questions(box, 1), (Names{"\u00C4rger", "Baum", "Baum", "last"}));
    EXPECT_TRUE(view->Changed());
    EXPECT_EQ(Question(), "\u00C4rger");
}

// Lists as other trainers export them: UTF-8 with a byte-order mark, CRLF, quotes and
// separators inside texts; a .txt file keeps the program's own rules.
TEST_F(ImportCommandTest, TabSeparatedAndCsvFilesByTheirExtension) {
    Start();
    Import("\xEF\xBB\xBF\xC3\x84pfel\tapples\r\nHaus\thouse\tnoun\r\n", "list.tsv");
    Import(
        "\"Stra\xC3\x9F"
        "e; Weg\";\"street, road\"\r\n\"say \"\"hi\"\"\";x\r\n",
        "list.csv");
    EXPECT_TRUE(Messages().empty());
    // Outside a tab-separated file a tab is a control character, which no card holds.
    backend.AnswerMessageBox(DialogResult::Ok);
    Import("x\ty;z\n", "list.txt");
    EXPECT_EQ(
        Messages(),
        (std::vector<std::pair<std::string, std::string>>{
            {"Control character in the text", "Control character in the text\nLine 1: x\ty;z"}}));
    EXPECT_EQ(CardsOf(box), (Pairs{{"\u00C4pfel", "apples"},
                                   {"Haus", "house"},
                                   {"Stra\u00DFe; Weg", "street, road"},
                                   {"say \"hi\"", "x"}}));
}

// A spreadsheet cell of several lines: the record goes on in the next line, the break becomes a
// blank, and the lines after it are read as before. A quote left open takes the lines up to the
// limit of one line, and is refused as too long.
TEST_F(ImportCommandTest, AQuotedLineBreakInACsvFileIsABlank) {
    Start();
    Import("\"der\r\nTisch\",\"the table\"\r\nHaus,\"the\n\"\"house\"\"\"\r\nBaum,tree\n",
           "list.csv");
    EXPECT_TRUE(Messages().empty()) << Messages().front().first;
    EXPECT_EQ(CardsOf(box),
              (Pairs{{"der Tisch", "the table"}, {"Haus", "the \"house\""}, {"Baum", "tree"}}));

    backend.AnswerMessageBox(DialogResult::Ok);
    Import("a,b\n\"open,x\n" + std::string(70000, 'y') + "\nc,d\ne,f\n", "open.csv");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].second.substr(0, 21), "Text too long\nLine 3:");
    EXPECT_EQ(box.TotalCards(), 6) << "the two lines after the refused record came in";
}

TEST_F(ImportCommandTest, CancelStopsTheReadingAndKeepsWhatWasAdded) {
    Start();
    backend.AnswerMessageBox(DialogResult::Cancel);
    Import("one;1\nbroken\ntwo;2\n");
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_EQ(Question(), "one");
    EXPECT_EQ(Summaries(), std::vector<std::string>{
                               "import.txt: 1 card added, 0 already in the box, 1 refused.\n"
                               "Refused lines: 2.\nStopped at line 2."});
}

// A file of many broken lines asks once and lists the first forty by number.
TEST_F(ImportCommandTest, ManyRefusedLinesAskOnceAndAreCounted) {
    Start();
    backend.AnswerMessageBox(DialogResult::Ok);
    std::string bytes;
    std::string listed;
    for (int line = 1; line <= 45; ++line) {
        bytes += "words without a separator\n";
        if (line <= 40) {
            listed += (line == 1 ? "" : ", ") + std::to_string(line);
        }
    }
    Import(bytes + "Haus;house\n");
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Summaries(), std::vector<std::string>{
                               "import.txt: 1 card added, 0 already in the box, 45 refused.\n"
                               "Refused lines: " +
                               listed + " and 5 more."});
}

TEST_F(ImportCommandTest, Utf8FilesWithAndWithoutByteOrderMark) {
    Start();
    Import(
        "\xEF\xBB\xBF\xC3\x84pfel;apples\n\xE4\xB8\xAD\xE6\x96\x87;Chinese\nStra\xC3\x9F"
        "e;street\n");
    Import(
        "M\xC3\xBC"
        "cke;midge\n\xD0\xB3\xD1\x83\xD1\x81\xD1\x8C;goose\n");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(CardsOf(box), (Pairs{{"\u00C4pfel", "apples"},
                                   {"\u4E2D\u6587", "Chinese"},
                                   {"Stra\u00DFe", "street"},
                                   {"M\u00FCcke", "midge"},
                                   {"\u0433\u0443\u0441\u044C", "goose"}}));
}

TEST_F(ImportCommandTest, LinesThatAreNoTextAreRefusedWithTheirNumber) {
    Start();
    backend.AnswerMessageBox(DialogResult::Ok);
    Import("\xEF\xBB\xBFgood;line\nbad\xC3;line\nalso;good\n");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].second, "Bytes that are no UTF-8 text\nLine 2: bad\uFFFD;line");
    EXPECT_EQ(CardsOf(box), (Pairs{{"good", "line"}, {"also", "good"}}));
}

// Lists copied from web pages bring quotes, dashes and the euro: they come in, and back from a
// save, as they were; the bytes Windows-1252 leaves undefined are refused, never changed.
TEST_F(ImportCommandTest, QuotesAndDashesSurviveASaveAndUndefinedBytesAreRefused) {
    Start();
    backend.AnswerMessageBox(DialogResult::Ok);
    Import(
        "\xE2\x80\x9EHaus\xE2\x80\x9C \xE2\x80\x93 5 \xE2\x82\xAC;house\n"
        "\xC5\x93uvre;aujourd\xE2\x80\x99hui\xC2\xA0!\n");
    Import("bad\x81;byte\nok;fine\n");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].first, "Character not supported");
    const Pairs expected = {{"\u201EHaus\u201C \u2013 5 \u20AC", "house"},
                            {"\u0153uvre", "aujourd\u2019hui\u00A0!"},
                            {"ok", "fine"}};
    EXPECT_EQ(CardsOf(box), expected);
    const FilePath saved = dir.File("saved.vok");
    ASSERT_TRUE(SaveVokFile(saved, box));
    tCardBox loaded;
    ASSERT_TRUE(LoadVokFile(saved, loaded).opened);
    EXPECT_EQ(CardsOf(loaded), expected);
}

TEST_F(ImportCommandTest, AFileThatIsNoTextIsRefusedWithOneMessage) {
    Start();
    box.AddToInput(Card("mine", "kept"));
    const FilePath vocabulary = dir.File("words.vok");
    ASSERT_TRUE(SaveVokFile(vocabulary, box));
    backend.AnswerFileDialog(vocabulary);
    frame->ChooseMenu(ids::kCmFileImport);
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"This file is no text file; nothing was imported:\n" +
                                       vocabulary.Bytes()});
    EXPECT_EQ(box.TotalCards(), 1);
    EXPECT_FALSE(view->Changed());
}

TEST_F(ImportCommandTest, AReadErrorInTheSecondPassIsReportedWithWhatCameIn) {
    std::string bytes;
    for (int i = 0; i < 300000; ++i) {
        bytes += "q" + std::to_string(i) + ";a\n";
    }
    const FilePath path = dir.File("big.txt");
    testing::WriteBytes(path, bytes);
    int reads = 0;
    {
        testing::ScopedFault counter(FileOperation::Read, 0);
        ImportFile file;
        ASSERT_TRUE(file.Open(path));
        std::string line;
        int problem = kImportAccepted;
        while (file.NextLine(line, problem)) {
        }
        reads = counter.Count(FileOperation::Read);
    }
    Start();
    backend.AnswerFileDialog(path);
    {
        // The last read but one is the second pass's last piece.
        testing::ScopedFault fault(FileOperation::Read, reads - 1);
        frame->ChooseMenu(ids::kCmFileImport);
        EXPECT_TRUE(fault.Failed());
    }
    const int cards = box.TotalCards();
    EXPECT_GT(cards, 0);
    EXPECT_LT(cards, 300000);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "This file could not be read to its end; " +
                                     std::to_string(cards) + " cards came in:\n" + path.Bytes());
    EXPECT_TRUE(view->Changed());
}

TEST_F(ImportCommandTest, AnExportOntoASymbolicLinkWritesTheFileItPointsTo) {
#if defined(_WIN32)
    GTEST_SKIP() << "symbolic links need rights on Windows that users rarely have";
#endif
    box.AddToInput(Card("Haus", "house"));
    testing::WriteBytes(dir.File("real.txt"), "old");
    std::filesystem::create_symlink("real.txt", dir.File("list.txt").Bytes());
    ASSERT_TRUE(ExportText(dir.File("list.txt"), box));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("list.txt").Bytes()));
    EXPECT_EQ(testing::ReadBytes(dir.File("real.txt")), "Haus;house\r\n");
}

// Lists written for other trainers come back as they went, through the program's own import.
TEST_F(ImportCommandTest, TabSeparatedAndCsvExportsComeBackAsTheyWent) {
    const Pairs cards = {
        {"\u00C4pfel", "apples"},   {"a;b", "c,d"},
        {"say \"hi\"", " padded "}, {"back\\slash", "\u00A7 1"},
        {"with\ttab", "x"},         {"\u0433\u0443\u0441\u044C", "\u4E2D\u6587 \U0001F44D"}};
    for (const auto& [question, answer] : cards) {
        box.AddToInput(Card(question, answer));
    }
    ASSERT_TRUE(ExportText(dir.File("out.csv"), box, ImportFormat::Csv));
    ASSERT_TRUE(ExportText(dir.File("out.tsv"), box, ImportFormat::TabSeparated));
    const std::string csv = testing::ReadBytes(dir.File("out.csv"));
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\"a;b\",\"c,d\"\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\"say \"\"hi\"\"\",\" padded \"\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\xC3\x84pfel,apples\r\n"), std::string::npos);

    for (const char* name : {"out.csv", "out.tsv"}) {
        SCOPED_TRACE(name);
        box.ClearAll();
        Start();
        Import(testing::ReadBytes(dir.File(name)), std::string("again-") + name);
        Pairs expected = cards;
        expected[2].second = " padded";  // trailing blanks go, as in every import
        // A tab in a card (which a classic file may hold) goes out as a blank: no card takes
        // a control character in.
        expected[4].first = "with tab";
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(CardsOf(box), expected);
    }
}

TEST_F(ImportCommandTest, TheFormatIsTheNamesOrTheChosenFileTypes) {
    box.AddToInput(Card("Haus", "house"));
    Start();
    backend.AnswerFileDialog(dir.File("words"));
    frame->ChooseMenu(ids::kCmFileExport);
    EXPECT_EQ(testing::ReadBytes(dir.File("words")), "Haus;house\r\n");
    backend.AnswerFileDialog(dir.File("words.TSV"));
    frame->ChooseMenu(ids::kCmFileExport);
    EXPECT_EQ(testing::ReadBytes(dir.File("words.TSV")), "Haus\thouse\r\n");
    // The CSV file type: a name without extension gets it; a name with one keeps its own.
    backend.AnswerFileDialog(dir.File("sheet"), 3);
    frame->ChooseMenu(ids::kCmFileExport);
    EXPECT_EQ(testing::ReadBytes(dir.File("sheet.csv")), "\xEF\xBB\xBFHaus,house\r\n");

    // Import: the tab-separated type reads a ".txt" file as tab-separated.
    testing::WriteBytes(dir.File("tabs.txt"), "Baum\ttree\n");
    backend.AnswerFileDialog(dir.File("tabs.txt"), 3);
    frame->ChooseMenu(ids::kCmFileImport);
    backend.AnswerFileDialog(dir.File("sheet.csv"), 2);  // Text Files: the extension decides
    frame->ChooseMenu(ids::kCmFileImport);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(CardsOf(box), (Pairs{{"Haus", "house"}, {"Baum", "tree"}}));
}

// Lists other trainers export come in as the cards they hold: Anki's "Notes in Plain Text"
// with its header lines and HTML, and Quizlet's tab-separated text with a line of column
// names, both in a ".txt".
TEST_F(ImportCommandTest, ExportsOfOtherTrainersBringTheirCards) {
    Start();
    Import(
        "#separator:tab\n#html:true\n#deck column:3\n"
        "<b>der</b> Tisch\tthe table\tGerman\n"
        "das Bett\tthe&nbsp;bed; the cot\tGerman\n"
        "die T&uuml;r<br>\tthe door\tGerman\n",
        "anki.txt");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(CardsOf(box), (Pairs{{"der Tisch", "the table"},
                                   {"das Bett", "the bed; the cot"},
                                   {"die T\u00FCr", "the door"}}));
    Import("Front\tBack\nHaus\thouse\nBaum\ttree; wood\n", "quizlet.txt");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Summaries().back(),
              "quizlet.txt: 2 cards added, 0 already in the box, 0 refused.\n"
              "Its lines hold tabs: they were read as tab-separated.");
    EXPECT_EQ(CardsOf(box).size(), 5u);
    EXPECT_EQ(CardsOf(box).back(), (std::pair<std::string, std::string>{"Baum", "tree; wood"}));
    // The program's own card lines keep their rules.
    Import("Stern;star\n#1: eins;one\n", "own.txt");
    EXPECT_EQ(CardsOf(box).size(), 7u);
    EXPECT_EQ(CardsOf(box).back(), (std::pair<std::string, std::string>{"#1: eins", "one"}));
}

// The files tests/data/make_exports.py writes as Anki and Quizlet export them.
TEST_F(ImportCommandTest, AnkisAndQuizletsExportFilesBringTheirCards) {
    const auto exported = [](const char* name) {
        return FilePath(std::string(TALLYFOLD_SOURCE_DIR) + "/tests/data/exports/" + name);
    };
    Start();
    backend.AnswerMessageBox(DialogResult::Ok);  // the empty back
    backend.AnswerFileDialog(exported("anki-notes-html.txt"));
    frame->ChooseMenu(ids::kCmFileImport);
    EXPECT_EQ(CardsOf(box), (Pairs{{"der Tisch", "the table"},
                                   {"das Bett", "the bed; the cot"},
                                   {"die T\u00FCr", "the door"},
                                   {"gehen ging, gegangen", "to go"},
                                   {"sagen: \"Hallo\"", "to say \"hello\""},
                                   {"der Apfel", "the apple the apple tree's fruit"}}));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Summaries().back(),
              "anki-notes-html.txt: 6 cards added, 1 already in the box, 1 refused.\n"
              "Refused lines: 14.");

    // Without HTML, tags and entities are text; a tab inside a quoted field is refused.
    backend.AnswerMessageBox(DialogResult::Ok);
    backend.AnswerFileDialog(exported("anki-notes-plain.txt"));
    frame->ChooseMenu(ids::kCmFileImport);
    EXPECT_EQ(Summaries().back(),
              "anki-notes-plain.txt: 0 cards added, 4 already in the box, 1 refused.\n"
              "Refused lines: 7.");

    backend.AnswerFileDialog(exported("quizlet.txt"));
    frame->ChooseMenu(ids::kCmFileImport);
    EXPECT_EQ(Summaries().back(),
              "quizlet.txt: 5 cards added, 0 already in the box, 0 refused.\n"
              "Its lines hold tabs: they were read as tab-separated.");
    const Pairs cards = CardsOf(box);
    EXPECT_EQ(Pairs(cards.end() - 2, cards.end()),
              (Pairs{{"\u00EAtre; avoir", "to be; to have"},
                     {"\u043F\u0440\u0438\u0432\u0435\u0442", "hello"}}));
}

TEST_F(ImportCommandTest, AnImportThatAddsNothingLeavesTheBoxUnchanged) {
    tCardBox saved;
    saved.AddToInput(Card("a", "b"));
    Start(SaveBox(saved));
    Import("a;b\n");
    EXPECT_FALSE(view->Changed());
    EXPECT_FALSE(document.CanUndo());
}

TEST_F(ImportCommandTest, AFileThatCannotBeOpenedIsReported) {
    Start();
    backend.AnswerFileDialog(FilePath(dir.Path()));  // a folder
    frame->ChooseMenu(ids::kCmFileImport);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].second, "This file could not be opened:");
    EXPECT_EQ(backend.MessageBoxes()[0].request.file, FilePath(dir.Path()));
    EXPECT_EQ(Counts(), "Partition: 0 Box: 0");
}

TEST_F(ImportCommandTest, ExportThenImportGivesThePairsBackInOrder) {
    box.AddToPartition(Card("eins", "one", 3, 1), 2);
    box.AddToPartition(Card("\u00C4pfel", "apples"), 7);
    box.AddToPartition(Card("Baum", "tree; wood"), 1);
    box.AddToInput(Card("back\\slash", "C:\\"));
    Start();
    const FilePath path = dir.File("export.txt");
    backend.AnswerFileDialog(path);
    frame->ChooseMenu(ids::kCmFileExport);
    const auto& dialog = backend.FileDialogs().at(0);
    EXPECT_EQ(dialog.kind, platform::FileDialogKind::Save);
    EXPECT_EQ(dialog.data.title, "Export");
    EXPECT_EQ(dialog.data.filter,
              "Text Files (*.txt)|*.txt|Tab-separated, UTF-8 (*.tsv)|*.tsv|CSV, UTF-8 "
              "(*.csv)|*.csv|All (*.*)|*.*|");
    EXPECT_EQ(dialog.data.flags, 0u);
    // A box the classic vocabulary file holds is exported in Windows-1252, as it always was.
    EXPECT_EQ(testing::ReadBytes(path),
              "Baum;tree; wood\r\neins;one\r\n\xC4pfel;apples\r\nback\\slash;C:\\\r\n");
    EXPECT_FALSE(view->Changed());

    tCardBox imported;
    ImportTarget target(imported);
    ImportFile file;
    ASSERT_TRUE(file.Open(path));
    std::string line;
    int problem = kImportAccepted;
    while (file.NextLine(line, problem)) {
        EXPECT_EQ(ParseImportLine(line, target), kImportAccepted);
    }
    target.Flush();
    // Backslashes in a text file are escapes: "\s" gives "s", and a final "\" is dropped.
    EXPECT_EQ(CardsOf(imported), (Pairs{{"Baum", "tree; wood"},
                                        {"eins", "one"},
                                        {"\u00C4pfel", "apples"},
                                        {"backslash", "C:"}}));
}

TEST_F(ImportCommandTest, ExportOfAnEmptyBoxAndAFailedExport) {
    Start();
    const FilePath path = dir.File("empty.txt");
    EXPECT_TRUE(ExportText(path, box));
    EXPECT_TRUE(std::filesystem::exists(path.Bytes()));
    EXPECT_EQ(testing::ReadBytes(path), "");
    backend.AnswerFileDialog(dir.File("missing/out.txt"));
    frame->ChooseMenu(ids::kCmFileExport);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].second.find("could not be written"), std::string::npos);
}

// A large box is written in blocks while the next ones fill; the file is the same as ever,
// and a block that cannot be written fails the export and keeps the old file.
TEST(ExportText, LargeBoxesInBlocksAndTheirFailures) {
    tCardBox box;
    std::string expected;
    for (int i = 0; i < 50000; ++i) {
        const std::string question =
            "Frage " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 50), 'q');
        const std::string answer = "answer " + std::to_string(i);
        box.AddToPartition(Card(question, answer), 1 + i % 8);
    }
    tVokabel card;
    for (int number = box.FirstCard(card); number != 0; number = box.NextCard(card)) {
        expected += std::string(card.Question()) + ";" + std::string(card.Answer()) + "\r\n";
    }
    ASSERT_GT(expected.size(), 2u * 1024 * 1024);
    testing::TempDir dir;
    const FilePath path = dir.File("out.txt");
    ASSERT_TRUE(ExportText(path, box));
    EXPECT_TRUE(testing::ReadBytes(path) == expected);
    BlockWriter::SetThreadsAllowed(false);  // as when no thread can be had
    ASSERT_TRUE(ExportText(path, box));
    BlockWriter::SetThreadsAllowed(true);
    EXPECT_TRUE(testing::ReadBytes(path) == expected);

    testing::WriteBytes(path, "old");
    for (const int failing : {1, 2, 3}) {
        testing::ScopedFault fault(FileOperation::Write, failing);
        EXPECT_FALSE(ExportText(path, box)) << "write " << failing;
        EXPECT_TRUE(fault.Failed());
        EXPECT_EQ(testing::ReadBytes(path), "old");
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.txt"});
    }
}

}  // namespace
}  // namespace tallyfold
