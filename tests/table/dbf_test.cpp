#include "table/dbf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "table/create_dbf.h"
#include "table/native_path.h"
#include "tests/support/dbf_image.h"
#include "tests/support/faults.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::FieldLayout;
using testing::HeaderImage;
using testing::ReadBytes;
using testing::RecordImage;
using testing::ScopedFault;
using testing::TableImage;
using testing::TempDir;
using testing::WriteBytes;

const std::vector<FieldLayout> kWords = {{"WORD", 'C', 8}, {"COUNT", 'N', 4}};

// Keeps every reported code, not only the last.
class RecordingTable : public tDBF {
  public:
    std::vector<DbfError> codes;

  protected:
    void OnError(DbfError code) override { codes.push_back(code); }
};

class TableTest : public ::testing::Test {
  protected:
    FilePath MakeTable(const std::vector<std::string>& records,
                       const std::vector<FieldLayout>& fields = kWords) {
        const FilePath path = dir.File("words.dbf");
        WriteBytes(path, TableImage(fields, records));
        return path;
    }

    TempDir dir;
};

TEST_F(TableTest, OpensANewTableWithItsFields) {
    const FilePath path = dir.File("new.dbf");
    tCreateDBF builder;
    ASSERT_TRUE(builder.AddField("WORD", 'C', 8, 0));
    ASSERT_TRUE(builder.AddField("COUNT", 'N', 4, 0));
    ASSERT_TRUE(builder.Create(path));
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.RecordCount(), 0u);
    EXPECT_EQ(table.HeaderLength(), 97);
    EXPECT_EQ(table.RecordLength(), 13);
    EXPECT_EQ(table.FieldName(1), "COUNT");
    EXPECT_EQ(table.FieldType(1), 'N');
    EXPECT_EQ(table.FieldLength(0), 8);
    EXPECT_EQ(table.FieldDecimals(0), 0);
    EXPECT_TRUE(table.GoTo(0));
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.LastError(), DbfError::None);
}

TEST_F(TableTest, AppendBlankWritesRecordMarkerAndCount) {
    const FilePath path = MakeTable({});
    const std::string before = ReadBytes(path);
    {
        tDBF table;
        ASSERT_TRUE(table.Open(path));
        ASSERT_TRUE(table.AppendBlank());
        EXPECT_EQ(table.RecNo(), 0u);
        EXPECT_EQ(table.RecordCount(), 1u);
        EXPECT_FALSE(table.Eof());
        // Already on disk, before the table closes.
        const std::string bytes = ReadBytes(path);
        EXPECT_EQ(bytes, HeaderImage(kWords, 1) + std::string(13, ' ') + "\x1A");
    }
    const std::string after = ReadBytes(path);
    EXPECT_EQ(after.substr(0, 4), before.substr(0, 4));  // version and date unchanged
    EXPECT_EQ(after.substr(4, 4), std::string("\x01\x00\x00\x00", 4));
}

TEST_F(TableTest, StoredFieldsReachTheFileOnlyWithTheNextMove) {
    const FilePath path = MakeTable({});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.AppendBlank());
    EXPECT_EQ(table.PutField(0, "Haus"), 8);
    EXPECT_EQ(ReadBytes(path).substr(97 + 1, 8), std::string(8, ' '));
    table.Flush();
    EXPECT_EQ(ReadBytes(path).substr(97 + 1, 8), "Haus    ");
    table.PutField(0, "Baum");
    ASSERT_TRUE(table.AppendBlank());
    EXPECT_EQ(ReadBytes(path).substr(97 + 1, 8), "Baum    ");
    table.PutField(0, "Zaun");
    table.Close();
    EXPECT_EQ(ReadBytes(path),
              TableImage(kWords, {RecordImage(kWords, {"Baum"}), RecordImage(kWords, {"Zaun"})}));
}

TEST_F(TableTest, PutFieldCutsAndPads) {
    const FilePath path = MakeTable({RecordImage(kWords, {"old", "1"})});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(0));
    table.PutField(0, "Donaudampfschiff");
    table.PutField(1, "7");
    table.Close();
    EXPECT_EQ(ReadBytes(path), TableImage(kWords, {RecordImage(kWords, {"Donaudam", "7"})}));
}

TEST_F(TableTest, GetFieldDropsTrailingBlanksOnly) {
    const FilePath path =
        MakeTable({RecordImage(kWords, {"Haus", "  17"}), RecordImage(kWords, {"", ""}),
                   RecordImage(kWords, {"  lead"})});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    char text[9];
    ASSERT_TRUE(table.GoTo(0));
    EXPECT_EQ(table.GetField(0, text), 4);
    EXPECT_STREQ(text, "Haus");
    EXPECT_EQ(table.GetField(1, text), 4);
    EXPECT_STREQ(text, "  17");
    ASSERT_TRUE(table.GoTo(1));
    EXPECT_EQ(table.GetField(0, text), 0);
    EXPECT_STREQ(text, "");
    ASSERT_TRUE(table.GoTo(2));
    EXPECT_EQ(table.GetField(0, text), 6);
    EXPECT_STREQ(text, "  lead");
    char small[3];
    EXPECT_EQ(table.GetField(0, small), 2);  // a short buffer gets the field cut
    EXPECT_STREQ(small, "  ");
}

TEST_F(TableTest, GoToBeyondTheEndReportsFive) {
    const FilePath path = MakeTable({RecordImage(kWords, {"a"})});
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_TRUE(table.GoTo(1));
    EXPECT_TRUE(table.Eof());
    EXPECT_TRUE(table.codes.empty());
    EXPECT_FALSE(table.GoTo(2));
    EXPECT_EQ(table.RecNo(), 2u);
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::RecordOutOfRange});
}

TEST_F(TableTest, NoCurrentRecordGivesSevenAndStoresNothing) {
    const FilePath path = MakeTable({RecordImage(kWords, {"a"})});
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(1));
    char text[9] = "x";
    EXPECT_EQ(table.GetField(0, text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(table.PutField(0, "b"), 0);
    ASSERT_TRUE(table.GoTo(0));
    EXPECT_EQ(table.GetField(5, text), 0);
    EXPECT_EQ(table.PutField(-1, "b"), 0);
    EXPECT_EQ(table.codes,
              (std::vector<DbfError>{DbfError::NoCurrentField, DbfError::NoCurrentField}));
    table.Close();
    EXPECT_EQ(ReadBytes(path), TableImage(kWords, {RecordImage(kWords, {"a"})}));
}

TEST_F(TableTest, FieldIndexFindsTheLaterOfTwoNames) {
    const std::vector<FieldLayout> fields = {{"NAME", 'C', 2}, {"NAME", 'C', 3}, {"OTHER", 'N', 2}};
    const FilePath path = MakeTable({}, fields);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.FieldIndex("NAME"), 1);
    EXPECT_EQ(table.FieldIndex("OTHER"), 2);
    EXPECT_EQ(table.FieldIndex("OTHE"), -1);
}

TEST_F(TableTest, MissingFieldReportsSixOnlyWhileTheLastErrorIsZero) {
    const FilePath path = MakeTable({});
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.FieldIndex("word"), -1);  // names are case-sensitive
    EXPECT_EQ(table.FieldIndex("ABSENT"), -1);
    EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::NoSuchField});
    EXPECT_EQ(table.LastError(), DbfError::NoSuchField);
}

TEST_F(TableTest, QueriesOnInvalidIndexesAndClosedTables) {
    const FilePath path = MakeTable({});
    RecordingTable table;
    EXPECT_EQ(table.FieldIndex("WORD"), -1);
    EXPECT_FALSE(table.GoTo(0));
    EXPECT_FALSE(table.AppendBlank());
    char text[4] = "x";
    EXPECT_EQ(table.GetField(0, text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_TRUE(table.codes.empty());
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.FieldName(2), "");
    EXPECT_EQ(table.FieldType(-1), 'U');
    EXPECT_EQ(table.FieldLength(9), 0);
    EXPECT_EQ(table.FieldDecimals(2), 0);
    table.Close();
    EXPECT_TRUE(table.Path().IsEmpty());
    EXPECT_EQ(table.RecordCount(), 0u);
    EXPECT_EQ(table.FieldCount(), 0);
}

TEST_F(TableTest, AnyFlagOtherThanBlankIsDeleted) {
    const FilePath path =
        MakeTable({RecordImage(kWords, {"live"}), RecordImage(kWords, {"star"}, '*'),
                   RecordImage(kWords, {"odd"}, 'x')});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(0));
    EXPECT_FALSE(table.Deleted());
    ASSERT_TRUE(table.GoTo(1));
    EXPECT_TRUE(table.Deleted());
    ASSERT_TRUE(table.GoTo(2));
    EXPECT_TRUE(table.Deleted());
    table.Recall();
    EXPECT_FALSE(table.Deleted());
    ASSERT_TRUE(table.GoTo(0));
    table.Delete();
    EXPECT_TRUE(table.Deleted());
    ASSERT_TRUE(table.GoTo(3));
    EXPECT_FALSE(table.Deleted());
    table.Close();
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes[97], '*');
    EXPECT_EQ(bytes[97 + 2 * 13], ' ');
}

TEST_F(TableTest, PackOfAPathEndingInAnUnderscore) {
    const FilePath path = dir.File("words_");
    WriteBytes(path, TableImage(kWords, {RecordImage(kWords, {"gone"}, '*'),
                                         RecordImage(kWords, {"kept"})}));
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.Pack());
    EXPECT_EQ(table.RecordCount(), 1u);
    EXPECT_EQ(ReadBytes(path), TableImage(kWords, {RecordImage(kWords, {"kept"})}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"words_"});
}

TEST_F(TableTest, PackKeepsLiveRecordsInOrder) {
    const FilePath path =
        MakeTable({RecordImage(kWords, {"zero"}, '*'), RecordImage(kWords, {"one", "1"}),
                   RecordImage(kWords, {"two"}, '*'), RecordImage(kWords, {"three", "3"})});
    const std::string header = ReadBytes(path).substr(0, 97);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.Pack());
    EXPECT_EQ(table.RecordCount(), 2u);
    char text[9];
    ASSERT_TRUE(table.GoTo(1));
    table.GetField(0, text);
    EXPECT_STREQ(text, "three");
    table.Close();
    EXPECT_EQ(ReadBytes(path), TableImage(kWords, {RecordImage(kWords, {"one", "1"}),
                                                   RecordImage(kWords, {"three", "3"})}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"words.dbf"});
}

TEST_F(TableTest, PackUsesTheUnderscoreNameBesideTheTable) {
    const FilePath path = dir.File("box.vok");
    WriteBytes(path, TableImage(kWords, {RecordImage(kWords, {"a"}, '*')}));
    std::filesystem::create_directory(dir.File("box.vo_").Bytes());  // blocks the temporary file
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_FALSE(table.Pack());
    EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::CannotOpen});
    EXPECT_TRUE(table.IsOpen());
    EXPECT_EQ(table.RecordCount(), 1u);
}

TEST_F(TableTest, PackThatCannotRenameLeavesTheOldTable) {
    const FilePath path = MakeTable({RecordImage(kWords, {"a"}, '*'), RecordImage(kWords, {"b"})});
    const std::string before = ReadBytes(path);
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    {
        ScopedFault fault(FileOperation::Rename, 1);
        EXPECT_FALSE(table.Pack());
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"words.dbf"});
    EXPECT_TRUE(table.IsOpen());
    EXPECT_EQ(table.RecordCount(), 2u);
}

TEST_F(TableTest, ErrorsAreRecordedBeforeTheHookHearsThem) {
    class Checking : public tDBF {
      public:
        std::vector<DbfError> seen;

      protected:
        void OnError(DbfError code) override {
            EXPECT_EQ(LastError(), code);
            seen.push_back(code);
        }
    };
    Checking table;
    EXPECT_FALSE(table.Open(dir.File("absent.dbf")));
    EXPECT_EQ(table.seen, std::vector<DbfError>{DbfError::CannotOpen});
    EXPECT_FALSE(table.WriteFailed());
}

TEST_F(TableTest, OpenErrorsLeaveTheTableClosed) {
    RecordingTable table;
    EXPECT_FALSE(table.Open(dir.File("absent.dbf")));
    EXPECT_FALSE(table.Open(FilePath(dir.Path())));  // a folder is not a table
    WriteBytes(dir.File("short.dbf"), std::string(10, '\x03'));
    EXPECT_FALSE(table.Open(dir.File("short.dbf")));
    EXPECT_EQ(table.codes, (std::vector<DbfError>{DbfError::CannotOpen, DbfError::CannotOpen,
                                                  DbfError::HeaderUnreadable}));
    EXPECT_FALSE(table.IsOpen());
    EXPECT_TRUE(table.Path().IsEmpty());
}

// Each header that lies about itself is refused before anything is sized by it.
TEST_F(TableTest, InconsistentHeadersAreRefusedWithNine) {
    const std::string good = TableImage(kWords, {RecordImage(kWords, {"a"})});
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::vector<Case> cases;
    auto with = [&good](std::size_t at, std::initializer_list<unsigned char> values) {
        std::string bytes = good;
        for (unsigned char value : values) {
            bytes[at++] = static_cast<char>(value);
        }
        return bytes;
    };
    cases.push_back({"header length below 33", with(8, {32, 0})});
    cases.push_back({"header length past the end", with(8, {0xFF, 0x7F})});
    cases.push_back({"record length 0", with(10, {0, 0})});
    cases.push_back({"field length 0", with(32 + 16, {0})});
    cases.push_back({"fields longer than the record", with(10, {12, 0})});
    cases.push_back({"16 bytes only", good.substr(0, 16)});
    for (const Case& c : cases) {
        WriteBytes(dir.File("bad.dbf"), c.bytes);
        RecordingTable table;
        EXPECT_FALSE(table.Open(dir.File("bad.dbf"))) << c.what;
        EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::InconsistentHeader}) << c.what;
        EXPECT_FALSE(table.IsOpen()) << c.what;
    }
}

TEST_F(TableTest, RecordLengthLongerThanTheFieldsIsAccepted) {
    // Other writers may leave room after the last field; the fields stay where they are.
    const FilePath path = dir.File("wide.dbf");
    std::string bytes = HeaderImage(kWords, 1);
    bytes[10] = 16;
    bytes += RecordImage(kWords, {"abc", "12"}) + "xyz" + "\x1A";
    WriteBytes(path, bytes);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(0));
    char text[9];
    table.GetField(1, text);
    EXPECT_STREQ(text, "12");
}

TEST_F(TableTest, PartOfARecordIsNoRecord) {
    const FilePath path = dir.File("cut.dbf");
    WriteBytes(path, HeaderImage(kWords, 2) + RecordImage(kWords, {"whole", "1"}) + " Hal");
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.RecordCount(), 1u);
    EXPECT_EQ(table.HeaderRecordCount(), 2u);
    char text[9];
    ASSERT_TRUE(table.GoTo(0));
    table.GetField(0, text);
    EXPECT_STREQ(text, "whole");
}

// What an interrupted append leaves: the records first, the count after.
TEST_F(TableTest, RecordsBeyondTheCountAreRead) {
    const FilePath path = dir.File("short.dbf");
    WriteBytes(path, HeaderImage(kWords, 0) + RecordImage(kWords, {"one"}) +
                         RecordImage(kWords, {"two"}) + RecordImage(kWords, {"three"}, '*') +
                         "\x1A");
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.RecordCount(), 3u);
    EXPECT_EQ(table.HeaderRecordCount(), 0u);
    ASSERT_TRUE(table.GoTo(2));
    EXPECT_TRUE(table.Deleted());
    // Behind the end marker nothing is a record, whatever follows it.
    WriteBytes(path, HeaderImage(kWords, 1) + RecordImage(kWords, {"one"}) + "\x1A" +
                         std::string(3 * 13, ' '));
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.RecordCount(), 1u);
}

TEST_F(TableTest, TheEndMarkerAndJunkAfterItAreNoRecords) {
    std::string bytes = TableImage(kWords, {RecordImage(kWords, {"one"})}) + "junk junk junk";
    bytes[4] = '\x09';  // nine records claimed
    const FilePath path = dir.File("junk.dbf");
    WriteBytes(path, bytes);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.RecordCount(), 1u);
    // Records of one byte: the end marker would make a whole record of its own.
    const std::vector<FieldLayout> none;
    std::string tiny = TableImage(none, {" ", " "});
    tiny[4] = '\x05';
    WriteBytes(path, tiny);
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.RecordCount(), 2u);
}

TEST_F(TableTest, ZeroBytesAfterTheDescriptorsAreNoFields) {
    // As other tools write it: the terminator, then the header padded with zeros.
    std::string bytes = TableImage(kWords, {RecordImage(kWords, {"pad", "7"})});
    const std::size_t end = 32 * 3;  // the terminator's place
    ASSERT_EQ(bytes[end], '\x0D');
    bytes.insert(end + 1, std::string(263, '\0'));
    bytes[8] = static_cast<char>((97 + 263) & 0xFF);  // header length 360
    bytes[9] = static_cast<char>((97 + 263) >> 8);
    const FilePath path = dir.File("padded.dbf");
    WriteBytes(path, bytes);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    EXPECT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.HeaderLength(), 360);
    ASSERT_EQ(table.RecordCount(), 1u);
    ASSERT_TRUE(table.GoTo(0));
    char text[9];
    table.GetField(0, text);
    EXPECT_STREQ(text, "pad");
}

TEST_F(TableTest, RecordCountBeyondTheFileIsCut) {
    const FilePath path = dir.File("lies.dbf");
    std::string bytes = TableImage(kWords, {RecordImage(kWords, {"one"})});
    bytes[4] = '\xFF';
    bytes[5] = '\xFF';
    bytes[6] = '\xFF';
    bytes[7] = '\x7F';
    WriteBytes(path, bytes);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    // One whole record; the end marker is none.
    EXPECT_EQ(table.RecordCount(), 1u);
    EXPECT_EQ(table.HeaderRecordCount(), 0x7FFFFFFFu);
}

TEST_F(TableTest, ReadOnlyFileIsReadButNotWritten) {
    if (testing::RunningAsRoot()) {
        GTEST_SKIP() << "permission bits do not bind root";
    }
    const FilePath path = MakeTable({RecordImage(kWords, {"a"})});
    std::filesystem::permissions(path.Bytes(), std::filesystem::perms::owner_read);
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(0));
    char text[9];
    table.GetField(0, text);
    EXPECT_STREQ(text, "a");
    EXPECT_FALSE(table.AppendBlank());
    EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::WriteFailed});
    EXPECT_EQ(table.RecordCount(), 1u);
}

TEST_F(TableTest, FailedFlushKeepsTheRecordDirty) {
    const FilePath path = MakeTable({RecordImage(kWords, {"a"})});
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(0));
    table.PutField(0, "b");
    {
        ScopedFault fault(FileOperation::Write, 1);
        table.Flush();
    }
    EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::WriteFailed});
    table.Flush();  // the record is still dirty and now reaches the file
    EXPECT_EQ(ReadBytes(path), TableImage(kWords, {RecordImage(kWords, {"b"})}));
}

TEST_F(TableTest, FailedAppendLeavesTheCount) {
    const FilePath path = MakeTable({});
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    ScopedFault fault(FileOperation::Write, 1);
    EXPECT_FALSE(table.AppendBlank());
    EXPECT_EQ(table.RecordCount(), 0u);
    EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::WriteFailed});
}

TEST_F(TableTest, WriteBehindGivesTheSameBytesWithFewerWrites) {
    auto fill = [this](const std::string& name, bool writeBehind) {
        const FilePath path = dir.File(name);
        WriteBytes(path, TableImage(kWords, {}));
        tDBF table;
        EXPECT_TRUE(table.Open(path));
        table.SetWriteBehind(writeBehind);
        for (int i = 0; i < 3000; ++i) {
            EXPECT_TRUE(table.AppendBlank());
            table.PutField(0, "w" + std::to_string(i));
            table.PutField(1, std::to_string(i % 1000));
        }
        // Reading back in the middle of a write-behind sees the pending records.
        EXPECT_TRUE(table.GoTo(1234));
        char text[9];
        table.GetField(0, text);
        EXPECT_STREQ(text, "w1234");
        EXPECT_TRUE(table.GoTo(2999));
        table.PutField(1, "end");
        table.Close();
        return ReadBytes(path);
    };
    int writesThrough = 0;
    int writesBehind = 0;
    std::string through;
    std::string behind;
    {
        ScopedFault counter(FileOperation::Write, 0);
        through = fill("through.dbf", false);
        writesThrough = counter.Count(FileOperation::Write);
    }
    {
        ScopedFault counter(FileOperation::Write, 0);
        behind = fill("behind.dbf", true);
        writesBehind = counter.Count(FileOperation::Write);
    }
    EXPECT_EQ(behind, through);
    EXPECT_EQ(through.size(), 97u + 3000u * 13u + 1u);
    EXPECT_LT(writesBehind * 100, writesThrough);
}

TEST_F(TableTest, WriteBehindFailureIsReportedAtSync) {
    const FilePath path = MakeTable({});
    RecordingTable table;
    ASSERT_TRUE(table.Open(path));
    table.SetWriteBehind(true);
    ASSERT_TRUE(table.AppendBlank());
    table.PutField(0, "x");
    ScopedFault fault(FileOperation::Write, 1, true);
    EXPECT_FALSE(table.Sync());
    EXPECT_EQ(table.codes, std::vector<DbfError>{DbfError::WriteFailed});
}

// Records of 257 bytes: 20,000 of them fill several of the buffers that a write-behind
// hands to its block writer.
const std::vector<FieldLayout> kWide = {{"TEXT", 'C', 250}, {"COUNT", 'N', 6}};
constexpr int kWideRecords = 20000;

std::string FillWide(const FilePath& path, bool writeBehind) {
    WriteBytes(path, TableImage(kWide, {}));
    tDBF table;
    EXPECT_TRUE(table.Open(path));
    table.SetWriteBehind(writeBehind);
    for (int i = 0; i < kWideRecords; ++i) {
        EXPECT_TRUE(table.AppendBlank());
        table.PutField(
            0, "text " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 200), 'x'));
        table.PutField(1, std::to_string(i));
        if (i == 15000) {
            // Back into a part that is already written, or still being written: the read
            // sees the record as stored, and the change reaches the file.
            EXPECT_TRUE(table.GoTo(1234));
            char text[7];
            table.GetField(1, text);
            EXPECT_STREQ(text, "1234");
            table.PutField(1, "-1");
        }
    }
    table.Close();
    return ReadBytes(path);
}

TEST_F(TableTest, WriteBehindOverManyBlocksGivesTheSameBytes) {
    const std::string through = FillWide(dir.File("through.dbf"), false);
    std::string behind;
    {
        ScopedFault counter(FileOperation::Write, 0);
        behind = FillWide(dir.File("behind.dbf"), true);
        EXPECT_LT(counter.Count(FileOperation::Write), 20);
    }
    ASSERT_EQ(behind.size(), 97u + kWideRecords * 257u + 1u);
    EXPECT_TRUE(behind == through);
    // Without a thread for the block writer the table writes its blocks itself.
    BlockWriter::SetThreadsAllowed(false);
    const std::string alone = FillWide(dir.File("alone.dbf"), true);
    BlockWriter::SetThreadsAllowed(true);
    EXPECT_TRUE(alone == through);
    EXPECT_EQ(behind.substr(97 + 1234 * 257 + 251, 6), "-1    ");
}

// A lost block shows as error 4, whenever the block writer finds it out.
TEST_F(TableTest, AFailedBlockOfAWriteBehindIsReported) {
    for (const int failing : {1, 2, 4}) {
        const FilePath path = dir.File("failing.dbf");
        WriteBytes(path, TableImage(kWide, {}));
        RecordingTable table;
        ASSERT_TRUE(table.Open(path));
        table.SetWriteBehind(true);
        ScopedFault fault(FileOperation::Write, failing);
        bool appended = true;
        for (int i = 0; i < kWideRecords; ++i) {
            appended = table.AppendBlank() && appended;
            table.PutField(0, "t");
        }
        const bool synced = table.Sync();
        EXPECT_TRUE(fault.Failed());
        EXPECT_FALSE(appended && synced) << "write " << failing;
        EXPECT_TRUE(table.WriteFailed());
        ASSERT_FALSE(table.codes.empty()) << "write " << failing;
        EXPECT_TRUE(std::all_of(table.codes.begin(), table.codes.end(),
                                [](DbfError code) { return code == DbfError::WriteFailed; }));
        table.Close();
    }
}

TEST_F(TableTest, SequentialReadsUseFewSystemCalls) {
    std::vector<std::string> records;
    for (int i = 0; i < 5000; ++i) {
        records.push_back(RecordImage(kWords, {"r" + std::to_string(i)}));
    }
    const FilePath path = MakeTable(records);
    ScopedFault counter(FileOperation::Read, 0);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    char text[9];
    for (std::uint32_t i = 0; table.GoTo(i) && !table.Eof(); ++i) {
        table.GetField(0, text);
        ASSERT_EQ(std::string(text), "r" + std::to_string(i));
    }
    EXPECT_LT(counter.Count(FileOperation::Read), 10);
}

TEST_F(TableTest, PeekedRecordsAreWhatGoToReadsWithoutMovingTheTable) {
    std::vector<std::string> records;
    for (int i = 0; i < 5000; ++i) {
        records.push_back(RecordImage(kWords, {"r" + std::to_string(i), std::to_string(i % 97)}));
    }
    const FilePath path = MakeTable(records);
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(7));
    {
        ScopedFault counter(FileOperation::Read, 0);
        for (std::uint32_t i = 0; i < records.size(); ++i) {
            const std::span<const char> peeked = table.PeekRecord(i);
            ASSERT_EQ(std::string(peeked.begin(), peeked.end()), records[i]) << i;
        }
        // A walk is served from the read-ahead window, as one of GoTo is.
        EXPECT_LT(counter.Count(FileOperation::Read), 10);
    }
    EXPECT_EQ(table.RecNo(), 7u);
    char text[9];
    table.GetField(0, text);
    EXPECT_EQ(std::string(text), "r7");
    EXPECT_TRUE(table.PeekRecord(5000).empty());
    EXPECT_EQ(table.LastError(), DbfError::RecordOutOfRange);
}

TEST_F(TableTest, APeekSeesAChangedRecordAndBlanksWhereTheFileWasCut) {
    const FilePath path =
        MakeTable({RecordImage(kWords, {"Haus", "1"}), RecordImage(kWords, {"Baum", "22"})});
    tDBF table;
    ASSERT_TRUE(table.Open(path));
    ASSERT_TRUE(table.GoTo(0));
    table.PutField(0, "Zaun");
    const std::span<const char> changed = table.PeekRecord(0);
    EXPECT_EQ(std::string(changed.begin(), changed.end()), RecordImage(kWords, {"Zaun", "1"}));
    // The file loses the last bytes of its last record after the table counted it.
    tDBF reader;
    ASSERT_TRUE(reader.Open(path));
    const std::uintmax_t size = std::filesystem::file_size(NativePath(path));
    std::filesystem::resize_file(NativePath(path), size - 4);
    const std::span<const char> cut = reader.PeekRecord(1);
    std::string expected = RecordImage(kWords, {"Baum", "22"});
    // The end marker and the last three bytes of the record are gone; they read as blanks.
    expected.replace(expected.size() - 3, 3, "   ");
    EXPECT_EQ(std::string(cut.begin(), cut.end()), expected);
}

}  // namespace
}  // namespace tallyfold
