#include "files/replacement_file.h"

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

class ReplacementFileTest : public ::testing::Test {
  protected:
    ReplacementFileTest() { testing::UseUserFoldersIn(FilePath(data.Path())); }

    /// Writes `bytes` into the reserved temporary file of `replacement`.
    static void Fill(ReplacementFile& replacement, const std::string& bytes) {
        ASSERT_TRUE(replacement.Reserve());
        File file;
        ASSERT_TRUE(file.Create(replacement.TempPath()));
        ASSERT_TRUE(file.WriteAt(0, std::span<const char>(bytes.data(), bytes.size())));
        ASSERT_TRUE(file.Close());
    }

    TempDir dir;
    TempDir data;
};

TEST_F(ReplacementFileTest, ACommitPutsTheNewFileInPlaceOfTheOld) {
    const FilePath target = dir.File("words.vok");
    WriteBytes(target, "old");
    {
        ReplacementFile replacement(target);
        Fill(replacement, "new bytes");
        EXPECT_EQ(replacement.TempPath().Folder(), target.Folder());
        EXPECT_EQ(ReadBytes(target), "old") << "nothing changes before the commit";
        ASSERT_TRUE(replacement.Commit());
        EXPECT_FALSE(replacement.InPlace());
    }
    EXPECT_EQ(ReadBytes(target), "new bytes");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"words.vok"});
}

TEST_F(ReplacementFileTest, WithoutACommitTheTargetStaysAndTheTemporaryGoes) {
    const FilePath target = dir.File("words.vok");
    WriteBytes(target, "old");
    {
        ReplacementFile replacement(target);
        Fill(replacement, "new");
    }
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"words.vok"});
}

TEST_F(ReplacementFileTest, ANewTargetIsMade) {
    const FilePath target = dir.File("new.vok");
    ReplacementFile replacement(target);
    Fill(replacement, "first");
    ASSERT_TRUE(replacement.Commit());
    EXPECT_EQ(ReadBytes(target), "first");
}

TEST_F(ReplacementFileTest, TheOldFileIsKeptAsTheBackup) {
    const FilePath target = dir.File("words.vok");
    const FilePath backup = data.File("words-backup.vok");
    WriteBytes(target, "old");
    ReplacementFile replacement(target);
    replacement.KeepOldAs(backup);
    Fill(replacement, "new");
    ASSERT_TRUE(replacement.Commit());
    EXPECT_TRUE(replacement.BackupKept());
    EXPECT_EQ(ReadBytes(backup), "old");
    EXPECT_EQ(ReadBytes(target), "new");
}

TEST_F(ReplacementFileTest, NoFolderNoReplacement) {
    ReplacementFile replacement(dir.File("missing/words.vok"));
    EXPECT_FALSE(replacement.Reserve());
}

#ifndef _WIN32
// A file with a second name is written in place, so that both names see the new bytes.
TEST_F(ReplacementFileTest, AFileWithAnotherNameIsWrittenInPlace) {
    const FilePath target = dir.File("words.vok");
    const FilePath other = dir.File("also.vok");
    WriteBytes(target, "old and longer");
    std::filesystem::create_hard_link(target.Bytes(), other.Bytes());
    {
        ReplacementFile replacement(target);
        Fill(replacement, "new");
        ASSERT_TRUE(replacement.Commit());
        EXPECT_TRUE(replacement.InPlace());
        EXPECT_TRUE(replacement.KeptCopy().IsEmpty());
    }
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(ReadBytes(other), "new");
    EXPECT_EQ(std::filesystem::hard_link_count(target.Bytes()), 2U);
}

// A link planted under the backup's name is not followed: the file it points to keeps its
// bytes, the link stays, and the save goes on without that backup.
TEST_F(ReplacementFileTest, ALinkUnderTheBackupsNameIsNotFollowed) {
    const FilePath target = dir.File("words.vok");
    const FilePath victim = dir.File("victim.txt");
    const FilePath backup = data.File("words-backup.vok");
    WriteBytes(target, "old");
    WriteBytes(victim, "keep me");
    std::filesystem::create_symlink(victim.Bytes(), backup.Bytes());
    ReplacementFile replacement(target);
    replacement.KeepOldAs(backup);
    Fill(replacement, "new");
    ASSERT_TRUE(replacement.Commit());
    EXPECT_FALSE(replacement.BackupKept());
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_TRUE(std::filesystem::is_symlink(backup.Bytes()));
    EXPECT_EQ(ReadBytes(target), "new");
}

TEST_F(ReplacementFileTest, ALinkStaysALinkAndItsFileIsReplaced) {
    const FilePath real = dir.File("real.vok");
    const FilePath link = dir.File("link.vok");
    WriteBytes(real, "old");
    std::filesystem::create_symlink("real.vok", link.Bytes());
    ReplacementFile replacement(link);
    Fill(replacement, "new");
    ASSERT_TRUE(replacement.Commit());
    EXPECT_TRUE(std::filesystem::is_symlink(link.Bytes()));
    EXPECT_EQ(ReadBytes(real), "new");
}
#endif

TEST_F(ReplacementFileTest, CopyFileBytesCutsTheTargetToTheSource) {
    const FilePath from = dir.File("from");
    const FilePath to = dir.File("to");
    WriteBytes(from, "short");
    WriteBytes(to, "a much longer old text");
    ASSERT_TRUE(CopyFileBytes(from, to));
    EXPECT_EQ(ReadBytes(to), "short");
    ASSERT_TRUE(CopyFileBytes(from, dir.File("made")));
    EXPECT_EQ(ReadBytes(dir.File("made")), "short");
    EXPECT_FALSE(CopyFileBytes(dir.File("none"), to));
    EXPECT_FALSE(CopyToNewFile(from, to)) << "a new file only";
    EXPECT_EQ(ReadBytes(to), "short");
    EXPECT_FALSE(CopyToNewFile(dir.File("none"), dir.File("never")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("never").Bytes())) << "nothing left behind";
    ASSERT_TRUE(CopyToNewFile(from, dir.File("new")));
    EXPECT_EQ(ReadBytes(dir.File("new")), "short");
}

}  // namespace
}  // namespace tallyfold
