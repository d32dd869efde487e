// The learner is told when a part of the safety net cannot be kept: the journal, the mark of
// the open file, the backups. One message for each part a session, saying which and why; the
// status bar shows the parts that are off while they are.

#include <gtest/gtest.h>

#if defined(__linux__)
#include <sys/mount.h>
#endif
#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/backups.h"
#include "files/file_lock.h"
#include "files/user_folders.h"
#include "resources/resource_ids.h"
#include "tests/support/app_fixture.h"

namespace tallyfold {
namespace {

using testing::Fill;

class SafetyNetTest : public testing::AppTest {
  protected:
    FilePath StartOnFile() {
        tCardBox saved;
        Fill(saved, 1, 5, "w");
        path = SaveBox(saved);
        Start(path);
        return path;
    }
    void Verdict() {
        frame->PressEnter();
        frame->PressEnter();
    }
    std::string NetStatus() const { return frame->StatusText(ids::kSafetyGadget); }
    /// Puts a file where the folder `folder` should be.
    static void Block(const FilePath& folder) {
        std::filesystem::remove_all(folder.Bytes());
        testing::WriteBytes(folder, "not a folder");
    }
    FilePath path;
};

TEST_F(SafetyNetTest, AJournalThatCannotBeWrittenIsToldOnceAndShownWhileItLasts) {
    Block(journals);
    StartOnFile();
    EXPECT_TRUE(MessageTexts().empty()) << "nothing is lost before the first change";
    EXPECT_EQ(NetStatus(), "");
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    Verdict();
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "Crash protection is off (" + journals.Bytes() +
                                     " is not a folder): a crash would lose what was not saved.");
    EXPECT_EQ(NetStatus(), "No crash protection");
    Verdict();
    ASSERT_TRUE(view->SaveFile());
    EXPECT_EQ(NetStatus(), "") << "the save holds every change";
    Verdict();
    EXPECT_EQ(NetStatus(), "No crash protection");
    EXPECT_EQ(MessageTexts().size(), 1u) << "once a session";

    // The folder comes back: so does the journal, at the next save's fresh start.
    std::filesystem::remove(journals.Bytes());
    std::filesystem::create_directories(journals.Bytes());
    ASSERT_TRUE(view->SaveFile());
    Verdict();
    EXPECT_EQ(NetStatus(), "");
    EXPECT_FALSE(std::filesystem::is_empty(journals.Bytes()));
}

TEST_F(SafetyNetTest, AMarkAndBackupsThatCannotBeKeptAreToldAndTheSaveGoesThrough) {
    Block(FileLock::Folder());
    Block(DataFolder().Child("backups"));
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    StartOnFile();
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "The file cannot be marked as open here (" +
                                     FileLock::Folder().Bytes() +
                                     " is not a folder): other windows won't know.");
    EXPECT_EQ(NetStatus(), "Not marked open");
    Verdict();
    ASSERT_TRUE(view->SaveFile());
    ASSERT_EQ(MessageTexts().size(), 2u);
    EXPECT_EQ(MessageTexts()[1], "The file was saved, but no backup of the old one was kept (" +
                                     DataFolder().Child("backups").Bytes() + " is not a folder).");
    EXPECT_EQ(NetStatus(), "Not marked open, No backups");
    EXPECT_FALSE(view->Changed());
}

// A file with a second name is saved in place, through the data folder: when that cannot be
// written, the message names it, not the vocabulary file's own folder.
TEST_F(SafetyNetTest, AFailedSaveNamesTheFolderThatKeptIt) {
    StartOnFile();
    if (!LinkFile(path, dir.File("second-name.vok"))) {
        GTEST_SKIP() << "no hard links on this file system";
    }
    Block(DataFolder().Child("saving"));
    Verdict();
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    EXPECT_FALSE(view->SaveFile());
    ASSERT_FALSE(MessageTexts().empty());
    EXPECT_EQ(MessageTexts().back(), "The vocabulary file could not be saved (" +
                                         DataFolder().Child("saving").Bytes() +
                                         " is not a folder):\n" + path.Bytes());
    EXPECT_TRUE(view->Changed());
}

#if !defined(_WIN32)
// A read-only folder, as a user whom the permissions bind (root's writes pass them by): the
// test's own folders are opened to that user, and the program runs in a child as that user.
TEST_F(SafetyNetTest, AReadOnlyJournalFolderIsToldAsSuch) {
    StartOnFile();
    const bool root = ::geteuid() == 0;
    if (root) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path())) {
            ::chmod(entry.path().c_str(), entry.is_directory() ? 0777 : 0666);
        }
        ::chmod(dir.Path().c_str(), 0777);
    }
    ::chmod(journals.CString(), 0555);
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            std::_Exit(3);
        }
        backend.AnswerMessageBox(platform::DialogResult::Ok);
        Verdict();
        const std::vector<std::string> texts = MessageTexts();
        std::_Exit(texts.size() == 1 &&
                           texts[0] == "Crash protection is off (the folder " + journals.Bytes() +
                                           " is read-only): a crash would lose what was not "
                                           "saved." &&
                           NetStatus() == "No crash protection"
                       ? 0
                       : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(journals.CString(), 0755);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

#if defined(__linux__)
// A file system of its own, 64 KiB, mounted for one test (root only) and filled to the last
// byte: a full disk, not the permissions' refusal.
class FullDisk {
  public:
    explicit FullDisk(const FilePath& where) : where_(where) {
        std::filesystem::create_directories(where.Bytes());
        mounted_ =
            ::geteuid() == 0 && ::mount("tmpfs", where.CString(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDisk() {
        if (mounted_) {
            ::umount2(where_.CString(), MNT_DETACH);
        }
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    bool Mounted() const { return mounted_; }
    void Fill() const {
        std::ofstream filler(where_.Child("filler").Bytes(), std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }

  private:
    FilePath where_;
    bool mounted_ = false;
};

TEST_F(SafetyNetTest, AFullDiskIsToldAsSuchForTheJournalAndTheSave) {
    const FullDisk disk(dir.File("disk"));
    if (!disk.Mounted()) {
        GTEST_SKIP() << "mounting a small file system takes root, and a system that lets it";
    }
    const FilePath full = dir.File("disk/journals");
    std::filesystem::create_directories(full.Bytes());
    tCardBox saved;
    Fill(saved, 1, 5, "w");
    path = SaveBox(saved, "disk/words.vok");
    disk.Fill();
    document.SetJournalFolder(full);
    Start(path);
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    Verdict();
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "Crash protection is off (the disk of " + full.Bytes() +
                                     " is full): a crash would lose what was not saved.");
    backend.AnswerMessageBox(platform::DialogResult::Ok);
    EXPECT_FALSE(view->SaveFile());
    ASSERT_EQ(MessageTexts().size(), 2u);
    EXPECT_EQ(MessageTexts()[1], "The vocabulary file could not be saved (the disk of " +
                                     dir.File("disk").Bytes() + " is full):\n" + path.Bytes());
    EXPECT_TRUE(view->Changed());
}
#endif

}  // namespace
}  // namespace tallyfold
