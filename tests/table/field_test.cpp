#include "table/field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/dbf_image.h"
#include "tests/support/files.h"
#include "tests/support/open_table.h"

namespace tallyfold {
namespace {

using testing::FieldLayout;
using testing::ReadBytes;
using testing::RecordImage;
using testing::TableImage;
using testing::TempDir;
using testing::WriteBytes;

std::string Formatted(std::int64_t value, int width, bool* fits = nullptr) {
    char out[256];
    const bool result = FormatInt(value, width, out);
    if (fits != nullptr) {
        *fits = result;
    }
    return out;
}

TEST(FormatInt, RightAlignsWithBlanks) {
    EXPECT_EQ(Formatted(42, 4), "  42");
    EXPECT_EQ(Formatted(0, 4), "   0");
    EXPECT_EQ(Formatted(-7, 3), " -7");
    EXPECT_EQ(Formatted(5, 1), "5");
}

TEST(FormatInt, ExactFitAndOverflow) {
    bool fits = false;
    EXPECT_EQ(Formatted(999999, 6, &fits), "999999");
    EXPECT_TRUE(fits);
    EXPECT_EQ(Formatted(12345, 4, &fits), "****");
    EXPECT_FALSE(fits);
    EXPECT_EQ(Formatted(-123, 3, &fits), "***");  // the sign finds no room
    EXPECT_FALSE(fits);
    EXPECT_EQ(Formatted(-99, 3, &fits), "-99");
    EXPECT_TRUE(fits);
}

TEST(FormatInt, ExtremeValues) {
    EXPECT_EQ(Formatted(INT64_MIN, 20), "-9223372036854775808");
    EXPECT_EQ(Formatted(INT64_MAX, 25), "      9223372036854775807");
    EXPECT_EQ(Formatted(INT64_MIN, 19), std::string(19, '*'));
}

const std::vector<FieldLayout> kFields = {
    {"NUM", 'N', 5}, {"TEXT", 'C', 64}, {"LETTER", 'C', 1}, {"WIDE", 'N', 30}};

class FieldTest : public ::testing::Test {
  protected:
    FilePath Make(const std::vector<std::string>& records) {
        const FilePath path = dir.File("fields.dbf");
        WriteBytes(path, TableImage(kFields, records));
        return path;
    }
    TempDir dir;
};

TEST_F(FieldTest, NumbersReadWithBlanksSignsAndAsterisks) {
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"   17", 17}, {"", 0},     {"*****", 0}, {"   -5", -5}, {"  +12", 12},
        {"12abc", 12}, {" - 3", 0}, {"  4 5", 4}, {"0042", 42}};
    std::vector<std::string> records;
    for (const auto& [text, value] : cases) {
        records.push_back(RecordImage(kFields, {text}));
    }
    testing::OpenTable table(Make(records));
    tNumField number(table, "NUM");
    for (std::uint32_t i = 0; i < cases.size(); ++i) {
        ASSERT_TRUE(table.GoTo(i));
        EXPECT_EQ(number.Value(), cases[i].second) << "'" << cases[i].first << "'";
    }
}

// The rule as stated, one byte after the other: the reference for the parser's own ways.
std::int32_t NumberAsStated(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{1} << 31);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

TEST(ParseFieldNumber, AgreesWithTheRuleForEveryShortText) {
    // Every text of up to five of these bytes, then longer ones at random: blanks and digits
    // in every order, the neighbours of '0' and '9', signs, other white space, high bytes.
    const std::string alphabet = std::string(" 0179-+\t/:x\xB9\xF0", 13);
    std::vector<std::string> texts = {""};
    for (std::size_t start = 0, length = 1; length <= 5; ++length) {
        const std::size_t end = texts.size();
        for (std::size_t i = start; i < end; ++i) {
            for (const char c : alphabet) {
                texts.push_back(texts[i] + c);
            }
        }
        start = end;
    }
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        std::string text(6 + random() % 6, ' ');
        for (char& c : text) {
            c = random() % 3 == 0 ? ' ' : static_cast<char>('0' + random() % 10);
        }
        texts.push_back(text);
    }
    for (const std::string text : {"99999999", "00000000", "        ", " 1234567", "123456789",
                                   "       9", "9       ", "2147483647", "2147483648"}) {
        texts.emplace_back(text);
    }
    for (const std::string& text : texts) {
        ASSERT_EQ(ParseFieldNumber(text), NumberAsStated(text)) << "'" << text << "'";
    }
}

TEST_F(FieldTest, HugeNumbersStopAtTheThirtyTwoBitLimits) {
    testing::OpenTable table(Make({RecordImage(kFields, {"", "", "", std::string(30, '9')}),
                                   RecordImage(kFields, {"", "", "", "-" + std::string(29, '9')}),
                                   RecordImage(kFields, {"", "", "", "-2147483648"})}));
    tNumField wide(table, "WIDE");
    ASSERT_TRUE(table.GoTo(0));
    EXPECT_EQ(wide.Value(), INT32_MAX);
    ASSERT_TRUE(table.GoTo(1));
    EXPECT_EQ(wide.Value(), INT32_MIN);
    ASSERT_TRUE(table.GoTo(2));
    EXPECT_EQ(wide.Value(), INT32_MIN);
}

TEST_F(FieldTest, NumbersAreStoredRightAlignedOrAsAsterisks) {
    const FilePath path = Make({RecordImage(kFields, {}), RecordImage(kFields, {})});
    {
        tDBF table;
        ASSERT_TRUE(table.Open(path));
        tNumField number(table, "NUM");
        ASSERT_TRUE(table.GoTo(0));
        number.Assign(-42);
        ASSERT_TRUE(table.GoTo(1));
        number.Assign(123456);
        EXPECT_EQ(number.Value(), 0);
    }
    EXPECT_EQ(ReadBytes(path), TableImage(kFields, {RecordImage(kFields, {"  -42"}),
                                                    RecordImage(kFields, {"*****"})}));
}

TEST_F(FieldTest, UmlautsAreStoredInCodePage850) {
    const FilePath path = Make({RecordImage(kFields, {})});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    tCharField text(table, "TEXT");
    ASSERT_TRUE(table.GoTo(0));
    text.Assign(
        "Gr\xFC\xDF"
        "e");
    table.Flush();
    EXPECT_EQ(ReadBytes(path).substr(table.HeaderLength() + 6, 64),
              "Gr\x81\xE1"
              "e" +
                  std::string(59, ' '));
    EXPECT_EQ(text.Text(),
              "Gr\xFC\xDF"
              "e");
}

TEST_F(FieldTest, EscapesAreExpandedWhenStored) {
    const FilePath path = Make({RecordImage(kFields, {})});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    tCharField text(table, "TEXT");
    ASSERT_TRUE(table.GoTo(0));
    text.Assign("\\\"a and \\\\");
    table.Flush();
    EXPECT_EQ(ReadBytes(path).substr(table.HeaderLength() + 6, 8), "\x84 and \\ ");
    EXPECT_EQ(text.Text(), "\xE4 and \\");
}

TEST_F(FieldTest, LiteralTextsKeepTheirBackslashes) {
    const FilePath path = Make({RecordImage(kFields, {})});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    tCharField text(table, "TEXT");
    tCharField letter(table, "LETTER");
    ASSERT_TRUE(table.GoTo(0));
    text.AssignLiteral("C:\\\"a \xE4");
    table.Flush();
    EXPECT_EQ(ReadBytes(path).substr(table.HeaderLength() + 6, 8), "C:\\\"a \x84 ");
    EXPECT_EQ(text.Text(), "C:\\\"a \xE4");
    letter.AssignLiteral("Zebra");
    EXPECT_EQ(letter.Text(), "Z");
    text.AssignLiteral(std::string(80, 'y'));
    EXPECT_EQ(text.Text(), std::string(64, 'y'));
}

TEST_F(FieldTest, LongTextIsConvertedBeforeItIsCut) {
    const FilePath path = Make({RecordImage(kFields, {})});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    tCharField text(table, "TEXT");
    tCharField letter(table, "LETTER");
    ASSERT_TRUE(table.GoTo(0));
    // 40 escapes of two bytes each: 120 bytes typed, 40 characters stored.
    std::string typed;
    for (int i = 0; i < 40; ++i) {
        typed += "\\\"u";
    }
    text.Assign(typed);
    EXPECT_EQ(text.Text(), std::string(40, '\xFC'));
    text.Assign(std::string(300, 'x'));
    EXPECT_EQ(text.Text(), std::string(64, 'x'));
    letter.Assign("Zebra");
    EXPECT_EQ(letter.Text(), "Z");
}

// Keeps every reported code.
class RecordingTable : public tDBF {
  public:
    explicit RecordingTable(const FilePath& path) { EXPECT_TRUE(Open(path)); }
    std::vector<DbfError> codes;

  protected:
    void OnError(DbfError code) override { codes.push_back(code); }
};

TEST_F(FieldTest, NumberIntoATextFieldReportsTwenty) {
    const FilePath path = Make({RecordImage(kFields, {"1", "keep"})});
    const std::string before = ReadBytes(path);
    {
        RecordingTable table(path);
        tNumField wrong(table, "TEXT");
        ASSERT_TRUE(table.GoTo(0));
        wrong.Assign(5);
        EXPECT_EQ(wrong.Value(), 0);
        EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::NotNumeric});
    }
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(FieldTest, MissingFieldReadsEmptyAndStoresNothing) {
    const FilePath path = Make({RecordImage(kFields, {"1", "keep"})});
    const std::string before = ReadBytes(path);
    {
        RecordingTable table(path);
        tCharField text(table, "ABSENT");
        tNumField number(table, "NOTHERE");
        // A missing name is reported only while no error is recorded: the first one is.
        EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::NoSuchField});
        EXPECT_EQ(table.LastError(), DbfError::NoSuchField);
        EXPECT_FALSE(text.HasField());
        EXPECT_EQ(text.Length(), 0);
        EXPECT_EQ(text.Type(), 'U');
        table.codes.clear();
        ASSERT_TRUE(table.GoTo(0));
        EXPECT_EQ(text.Text(), "");
        EXPECT_EQ(number.Value(), 0);
        text.Assign("x");
        number.Assign(3);
        EXPECT_EQ(table.codes,
                  (std::vector<DbfError>{DbfError::NoCurrentField, DbfError::NotNumeric}));
    }
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(FieldTest, PastTheLastRecordReadsEmpty) {
    RecordingTable table(Make({RecordImage(kFields, {"1", "a"})}));
    tCharField text(table, "TEXT");
    tNumField number(table, "NUM");
    ASSERT_TRUE(table.GoTo(1));
    EXPECT_EQ(text.Text(), "");
    EXPECT_EQ(number.Value(), 0);
    text.Assign("lost");
    EXPECT_EQ(table.codes,
              (std::vector<DbfError>{DbfError::NoCurrentField, DbfError::NoCurrentField}));
}

TEST(FieldUnbound, BehavesLikeAMissingField) {
    tCharField text;
    tNumField number;
    EXPECT_EQ(text.Text(), "");
    EXPECT_EQ(number.Value(), 0);
    text.Assign("x");
    number.Assign(1);
    EXPECT_EQ(text.Length(), 0);
    EXPECT_EQ(number.Type(), 'U');
}

}  // namespace
}  // namespace tallyfold
