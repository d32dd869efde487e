#include "table/create_dbf.h"

#include <gtest/gtest.h>

#include <string>

#include "table/dbf.h"
#include "tests/support/dbf_image.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::FieldSpec;
using testing::ReadBytes;
using testing::TableImage;
using testing::TempDir;

TEST(CreateTable, ExactBytesOfASmallTable) {
    TempDir dir;
    tCreateDBF builder;
    builder.AddField("A", 'C', 3, 0);
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
    words.AddField("DEUTSCH", 'C', 64, 0);
    words.AddField("UEBERSETZT", 'C', 64, 0);
    words.AddField("KASTEN", 'C', 1, 0);
    words.AddField("ALTER", 'N', 4, 0);
    words.AddField("GEWUSST", 'N', 5, 0);
    words.AddField("UNBEKANNT", 'N', 5, 0);
    ASSERT_TRUE(words.Create(dir.File("w.vok")));
    const std::string bytes = ReadBytes(dir.File("w.vok"));
    EXPECT_EQ(bytes.size(), 226u);
    EXPECT_EQ(bytes.substr(224), "\x0D\x1A");
    tDBF table(dir.File("w.vok"));
    EXPECT_EQ(table.HeaderLength(), 225);
    EXPECT_EQ(table.RecordLength(), 144);
    EXPECT_EQ(table.RecordCount(), 0u);

    tCreateDBF none;
    ASSERT_TRUE(none.Create(dir.File("none.dbf")));
    EXPECT_EQ(ReadBytes(dir.File("none.dbf")).size(), 34u);
    tDBF empty(dir.File("none.dbf"));
    EXPECT_EQ(empty.HeaderLength(), 33);
    EXPECT_EQ(empty.RecordLength(), 1);
    EXPECT_EQ(empty.FieldCount(), 0);
}

TEST(CreateTable, NamesAndTypesInUpperCaseAndReadBack) {
    TempDir dir;
    tCreateDBF builder;
    builder.AddField("bez", 'c', 1, 0);
    builder.AddField("anzahl", 'n', 6, 0);
    builder.AddField("a_very_long_name", 'N', 12, 2);
    ASSERT_TRUE(builder.Create(dir.File("b.dbf"), TableDate{2026, 12, 8}));
    EXPECT_EQ(ReadBytes(dir.File("b.dbf")),
              TableImage({{"BEZ", 'C', 1}, {"ANZAHL", 'N', 6}, {"A_VERY_LON", 'N', 12, 2}}, {}));
    tDBF table(dir.File("b.dbf"));
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
    EXPECT_FALSE(tCreateDBF().Create(dir.Path()));
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

}  // namespace
}  // namespace tallyfold
