#include "files/file_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/file_identity.h"
#include "files/process_stamp.h"
#include "files/user_folders.h"
#include "tests/support/files.h"

namespace tallyfold {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class FileLockTest : public ::testing::Test {
  protected:
    FileLockTest() {
        testing::UseUserFoldersIn(FilePath(dir.Path()));
        WriteBytes(words, "cards");
    }

    FilePath LockOf(const FilePath& path) const {
        return SubFolder(StateFolder(), "locks").Child(HashName(CanonicalName(path)) + ".lock");
    }

    TempDir dir;
    FilePath words = dir.File("words.vok");
};

TEST_F(FileLockTest, TheMarkNamesThisProcessUntilItIsGivenUp) {
    FileLock lock;
    ASSERT_TRUE(lock.Take(words));
    EXPECT_TRUE(lock.Held());
    const std::string mark = ReadBytes(LockOf(words));
    EXPECT_EQ(mark.substr(0, mark.find(' ')), std::to_string(ThisProcess().pid));
    EXPECT_FALSE(FileLock::HolderOf(words).has_value()) << "this process is no other one";
    lock.Release();
    EXPECT_FALSE(std::filesystem::exists(LockOf(words).Bytes()));
}

#ifndef _WIN32
// A symbolic link planted where the mark is written first never leads the write elsewhere.
TEST_F(FileLockTest, APlantedLinkIsNotFollowed) {
    const FilePath victim = dir.File("victim.txt");
    WriteBytes(victim, "keep me");
    const FilePath lock = LockOf(words);
    std::filesystem::create_directories(lock.Folder().Bytes());
    const FilePath temp = lock.WithSuffix(".new-" + std::to_string(ThisProcess().pid));
    std::filesystem::create_symlink(victim.Bytes(), temp.Bytes());
    FileLock mark;
    ASSERT_TRUE(mark.Take(words));
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(lock.Bytes())));
}
#endif

}  // namespace
}  // namespace tallyfold
