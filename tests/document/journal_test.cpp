#include "document/journal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class JournalTest : public ::testing::Test {
  protected:
    JournalTest() {
        base.file = "/home/a/words.vok";
        base.identity.exists = true;
        base.identity.size = 226;
        base.identity.modified = 1234567890123456789;
        base.identity.sample = 0xFEDCBA9876543210ULL;
        base.owner.pid = 4242;
        base.owner.start = 99;
        base.created = 1765270000;
    }

    /// A journal of `entries`, closed.
    void Write(const std::vector<std::string>& entries) {
        JournalWriter writer;
        ASSERT_TRUE(writer.Create(path, base));
        for (const std::string& entry : entries) {
            writer.Add(entry);
        }
        writer.Close();
    }

    TempDir dir;
    FilePath path = dir.File("words.journal");
    JournalBase base;
};

TEST_F(JournalTest, TheBaseAndTheEntriesReadBackAsWritten) {
    const std::vector<std::string> entries = {"\x04", std::string("\x07\0\0\0\0", 5),
                                              std::string(70000, 'x')};
    Write(entries);
    JournalContents contents;
    ASSERT_TRUE(ReadJournal(path, contents));
    EXPECT_EQ(contents.base.file, base.file);
    EXPECT_EQ(contents.base.identity, base.identity);
    EXPECT_EQ(contents.base.owner, base.owner);
    EXPECT_EQ(contents.base.created, base.created);
    EXPECT_EQ(contents.entries, entries);
    EXPECT_EQ(contents.validBytes, ReadBytes(path).size());
}

TEST_F(JournalTest, AnEntryWhoseChecksumFailsEndsTheJournalThere) {
    Write({"first", "second", "third"});
    std::string bytes = ReadBytes(path);
    const std::size_t second = bytes.find("second");
    ASSERT_NE(second, std::string::npos);
    bytes[second] = 'S';
    JournalContents contents;
    ASSERT_TRUE(ParseJournal(bytes, contents));
    EXPECT_EQ(contents.entries, std::vector<std::string>{"first"});
    // Length and checksum, eight bytes, stand before each entry.
    EXPECT_EQ(contents.validBytes, second - 8);
}

TEST_F(JournalTest, WhatIsNoJournalIsRefused) {
    JournalContents contents;
    EXPECT_FALSE(ParseJournal("", contents));
    EXPECT_FALSE(ParseJournal("TFJOURNAL1\n", contents)) << "no base";
    EXPECT_FALSE(ParseJournal("a text file\nwith lines\n", contents));
    EXPECT_FALSE(ReadJournal(dir.File("missing.journal"), contents));
}

// A run that goes on in a recovered journal cuts off its torn end and writes after what holds.
TEST_F(JournalTest, ContinuingCutsATornEndAndAppends) {
    Write({"first", "second"});
    const std::string whole = ReadBytes(path);
    WriteBytes(path, whole.substr(0, whole.size() - 3));
    JournalContents torn;
    ASSERT_TRUE(ReadJournal(path, torn));
    ASSERT_EQ(torn.entries, std::vector<std::string>{"first"});
    {
        JournalWriter writer;
        ASSERT_TRUE(writer.Continue(path, torn.validBytes));
        writer.Add("third");
        writer.Close();
    }
    JournalContents contents;
    ASSERT_TRUE(ReadJournal(path, contents));
    EXPECT_EQ(contents.entries, (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(contents.validBytes, ReadBytes(path).size());
}

TEST_F(JournalTest, RemoveDeletesTheFile) {
    JournalWriter writer;
    ASSERT_TRUE(writer.Create(path, base));
    writer.Add("x");
    writer.Write();
    writer.Remove();
    EXPECT_TRUE(dir.Entries().empty());
}

#ifndef _WIN32
// A symbolic link planted under the journal's name never leads the journal into its target.
TEST_F(JournalTest, APlantedLinkIsNotFollowed) {
    const FilePath victim = dir.File("victim.txt");
    WriteBytes(victim, "keep me");
    std::filesystem::create_symlink(victim.Bytes(), path.Bytes());
    Write({"first"});
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path.Bytes())));
    JournalContents contents;
    ASSERT_TRUE(ReadJournal(path, contents));
    EXPECT_EQ(contents.entries, std::vector<std::string>{"first"});
}
#endif

TEST(Crc32Test, TheChecksumOfZipAndPng) {
    EXPECT_EQ(Crc32(""), 0U);
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926U);
    EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339U);
}

}  // namespace
}  // namespace tallyfold
