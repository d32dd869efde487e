#include "table/create_dbf.h"

#include <gtest/gtest.h>

#include <string>

#include "table/dbf.h"
#include "tests/support/dbf_image.h"
#include "tests/support/files.h"
#include "tests/support/open_table.h"

namespace tallyfold {
namespace {

using testing::FieldLayout;
using testing::ReadBytes;
using testing::TableImage;
using testing::TempDir;

TEST(CreateTable, ExactBytesOfASmallTable) {
    TempDir dir;
    tCreateDBF builder;
    ASSERT_TRUE(builder.AddField("A", 'C', 3, 0));
    ASSERT_TRUE(builder.Create(dir.File("a.dbf"), TableDate{1995, 7, 31}));
    std::string expected(66, '\0');
    expected[0] = 3;
    expected[1] = 95;
    expected[2] = 7;
    expected[3] = 31;
    expected[8] = 65;  // header length 65
    expected[10] = 4;  // record length 4
    expected[32] = 'A';
    expected[43] = 'C';
    expected[48] = 3;
    expected[52] = 1;
    expected[64] = 0x0D;
    expected[65] = 0x1A;
    EXPECT_EQ(ReadBytes(dir.File("a.dbf")), expected);
}

TEST(CreateTable, SizesOfTheCardFileLayouts) {
    TempDir dir;
    tCreateDBF words;
    ASSERT_TRUE(words.AddField("DEUTSCH", 'C', 64, 0));
    ASSERT_TRUE(words.AddField("UEBERSETZT", 'C', 64, 0));
    ASSERT_TRUE(words.AddField("KASTEN", 'C', 1, 0));
    ASSERT_TRUE(words.AddField("ALTER", 'N', 4, 0));
    ASSERT_TRUE(words.AddField("GEWUSST", 'N', 5, 0));
    ASSERT_TRUE(words.AddField("UNBEKANNT", 'N', 5, 0));
    ASSERT_TRUE(words.Create(dir.File("w.vok")));
    const std::string bytes = ReadBytes(dir.File("w.vok"));
    EXPECT_EQ(bytes.size(), 226u);
    EXPECT_EQ(bytes.substr(224), "\x0D\x1A");
    testing::OpenTable table(dir.File("w.vok"));
    EXPECT_EQ(table.HeaderLength(), 225);
    EXPECT_EQ(table.RecordLength(), 144);
    EXPECT_EQ(table.RecordCount(), 0u);

    tCreateDBF none;
    ASSERT_TRUE(none.Create(dir.File("none.dbf")));
    EXPECT_EQ(ReadBytes(dir.File("none.dbf")).size(), 34u);
    testing::OpenTable empty(dir.File("none.dbf"));
    EXPECT_EQ(empty.HeaderLength(), 33);
    EXPECT_EQ(empty.RecordLength(), 1);
    EXPECT_EQ(empty.FieldCount(), 0);
}

TEST(CreateTable, NamesAndTypesInUpperCaseAndReadBack) {
    TempDir dir;
    tCreateDBF builder;
    ASSERT_TRUE(builder.AddField("bez", 'c', 1, 0));
    ASSERT_TRUE(builder.AddField("anzahl", 'n', 6, 0));
    ASSERT_TRUE(builder.AddField("a_very_long_name", 'N', 12, 2));
    ASSERT_TRUE(builder.Create(dir.File("b.dbf"), TableDate{2026, 12, 8}));
    EXPECT_EQ(ReadBytes(dir.File("b.dbf")),
              TableImage({{"BEZ", 'C', 1}, {"ANZAHL", 'N', 6}, {"A_VERY_LON", 'N', 12, 2}}, {}));
    testing::OpenTable table(dir.File("b.dbf"));
    ASSERT_EQ(table.FieldCount(), 3);
    EXPECT_EQ(table.FieldName(0), "BEZ");
    EXPECT_EQ(table.FieldType(1), 'N');
    EXPECT_EQ(table.FieldName(2), "A_VERY_LON");
    EXPECT_EQ(table.FieldLength(2), 12);
    EXPECT_EQ(table.FieldDecimals(2), 2);
}

TEST(CreateTable, WritesTodaysDate) {
    TempDir dir;
    const TableDate before = LocalToday();
    ASSERT_TRUE(tCreateDBF().Create(dir.File("d.dbf")));
    const TableDate after = LocalToday();
    const std::string bytes = ReadBytes(dir.File("d.dbf"));
    const bool matches = [&bytes](const TableDate& date) {
        return bytes[1] == static_cast<char>(date.year - 1900) && bytes[2] == date.month &&
               bytes[3] == date.day;
    }(before);
    EXPECT_TRUE(matches || (bytes[1] == static_cast<char>(after.year - 1900) &&
                            bytes[2] == after.month && bytes[3] == after.day));
}

TEST(CreateTable, ReplacesAnOldFileAndFailsWithoutAFolder) {
    TempDir dir;
    testing::WriteBytes(dir.File("old.dbf"), std::string(1000, 'x'));
    ASSERT_TRUE(tCreateDBF().Create(dir.File("old.dbf")));
    EXPECT_EQ(ReadBytes(dir.File("old.dbf")).size(), 34u);
    EXPECT_FALSE(tCreateDBF().Create(dir.File("missing/new.dbf")));
    EXPECT_FALSE(tCreateDBF().Create(FilePath(dir.Path())));
}

TEST(CreateTable, AtMost256Fields) {
    tCreateDBF builder;
    for (int i = 0; i < 256; ++i) {
        ASSERT_TRUE(builder.AddField("F" + std::to_string(i), 'C', 1, 0));
    }
    EXPECT_FALSE(builder.AddField("ONEMORE", 'C', 1, 0));
    builder.Clear();
    EXPECT_TRUE(builder.AddField("AGAIN", 'C', 1, 0));
}

TEST(CreateTable, WidthsAndDecimalsThatNoDescriptorHoldsAreRefused) {
    tCreateDBF builder;
    EXPECT_FALSE(builder.AddField("ZERO", 'C', 0, 0));
    EXPECT_FALSE(builder.AddField("WIDE", 'C', 256, 0));
    EXPECT_FALSE(builder.AddField("NEGATIVE", 'N', -1, 0));
    EXPECT_FALSE(builder.AddField("DEC", 'N', 5, -1));
    EXPECT_FALSE(builder.AddField("DEC", 'N', 5, 5));
    EXPECT_FALSE(builder.AddField("DEC", 'N', 5, 256));
    EXPECT_TRUE(builder.AddField("WIDEST", 'C', 255, 0));
    EXPECT_TRUE(builder.AddField("MONEY", 'N', 10, 9));
    // Only the fields that fit were listed: the table holds them and nothing wrapped around.
    TempDir dir;
    ASSERT_TRUE(builder.Create(dir.File("limits.dbf")));
    testing::OpenTable table(dir.File("limits.dbf"));
    ASSERT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.FieldLength(0), 255);
    EXPECT_EQ(table.FieldDecimals(1), 9);
    EXPECT_EQ(table.RecordLength(), 1 + 255 + 10);
}

// The language driver names the code page of the texts; a table keeps it through its writes.
TEST(CreateTable, TheLanguageDriverIsWrittenReadAndKept) {
    TempDir dir;
    tCreateDBF builder;
    ASSERT_TRUE(builder.AddField("A", 'C', 3, 0));
    builder.SetLanguageDriver(0x57);
    ASSERT_TRUE(builder.Create(dir.File("a.dbf"), TableDate{1995, 7, 31}));
    EXPECT_EQ(ReadBytes(dir.File("a.dbf"))[29], '\x57');
    {
        testing::OpenTable table(dir.File("a.dbf"));
        EXPECT_EQ(table.LanguageDriver(), 0x57);
        ASSERT_TRUE(table.AppendBlank());
        ASSERT_TRUE(table.AppendBlank());
        table.Close();
    }
    const std::string bytes = ReadBytes(dir.File("a.dbf"));
    EXPECT_EQ(bytes[4], 2) << "the record count was written";
    EXPECT_EQ(bytes[29], '\x57');

    tCreateDBF plain;
    ASSERT_TRUE(plain.AddField("A", 'C', 3, 0));
    ASSERT_TRUE(plain.Create(dir.File("b.dbf")));
    testing::OpenTable table(dir.File("b.dbf"));
    EXPECT_EQ(table.LanguageDriver(), 0);
}

}  // namespace
}  // namespace tallyfold
