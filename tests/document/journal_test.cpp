#include "document/journal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/journals.h"

namespace tallyfold {
namespace {

using testing::EntriesOf;
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
        ASSERT_TRUE(testing::WriteJournal(path, entries, base));
    }

    TempDir dir;
    FilePath path = dir.File("words.journal");
    JournalBase base;
};

TEST_F(JournalTest, TheBaseAndTheEntriesReadBackAsWritten) {
    const std::vector<std::string> entries = {"\x04", std::string("\x07\0\0\0\0", 5),
                                              std::string(70000, 'x')};
    Write(entries);
    JournalReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(reader.Base().file, base.file);
    EXPECT_EQ(reader.Base().identity, base.identity);
    EXPECT_EQ(reader.Base().owner, base.owner);
    EXPECT_EQ(reader.Base().created, base.created);
    EXPECT_EQ(EntriesOf(reader), entries);
    EXPECT_EQ(reader.ValidBytes(), ReadBytes(path).size());
    EXPECT_EQ(reader.Size(), reader.ValidBytes());
    std::string more;
    EXPECT_FALSE(reader.Next(more)) << "the end stays the end";
}

TEST_F(JournalTest, AnEntryWhoseChecksumFailsEndsTheJournalThere) {
    Write({"first", "second", "third"});
    std::string bytes = ReadBytes(path);
    const std::size_t second = bytes.find("second");
    ASSERT_NE(second, std::string::npos);
    bytes[second] = 'S';
    JournalReader reader;
    ASSERT_TRUE(reader.OpenBytes(bytes));
    EXPECT_EQ(EntriesOf(reader), std::vector<std::string>{"first"});
    // Length and checksum, eight bytes, stand before each entry.
    EXPECT_EQ(reader.ValidBytes(), second - 8);
}

TEST_F(JournalTest, WhatIsNoJournalIsRefused) {
    JournalReader reader;
    EXPECT_FALSE(reader.OpenBytes(""));
    EXPECT_FALSE(reader.OpenBytes("TFJOURNAL1\n")) << "no base";
    EXPECT_FALSE(reader.OpenBytes("a text file\nwith lines\n"));
    EXPECT_FALSE(reader.Open(dir.File("missing.journal")));
    // A frame whose length runs past the end of the file is refused before anything of that
    // size is made.
    EXPECT_FALSE(reader.OpenBytes(std::string("TFJOURNAL1\n\xff\xff\xff\x3f\0\0\0\0", 19)));
    Write({"first"});
    std::string bytes = ReadBytes(path);
    bytes += std::string("\xff\xff\xff\x3f\0\0\0\0", 8) + "short";
    ASSERT_TRUE(reader.OpenBytes(bytes));
    EXPECT_EQ(EntriesOf(reader), std::vector<std::string>{"first"});
}

// A run that goes on in a recovered journal cuts off its torn end and writes after what holds.
TEST_F(JournalTest, ContinuingCutsATornEndAndAppends) {
    Write({"first", "second"});
    const std::string whole = ReadBytes(path);
    WriteBytes(path, whole.substr(0, whole.size() - 3));
    JournalReader torn;
    ASSERT_TRUE(torn.Open(path));
    ASSERT_EQ(EntriesOf(torn), std::vector<std::string>{"first"});
    const std::uint64_t validBytes = torn.ValidBytes();
    torn = JournalReader();
    {
        JournalWriter writer;
        ASSERT_TRUE(writer.Continue(path, validBytes));
        writer.Add("third");
        writer.Close();
    }
    JournalReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(EntriesOf(reader), (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(reader.ValidBytes(), ReadBytes(path).size());
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
    JournalReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(EntriesOf(reader), std::vector<std::string>{"first"});
}
#endif

TEST(Crc32Test, TheChecksumOfZipAndPng) {
    EXPECT_EQ(Crc32(""), 0U);
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926U);
    EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339U);
}

}  // namespace
}  // namespace tallyfold
