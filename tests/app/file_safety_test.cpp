// What keeps a learner's file safe around the commands: backups before a save replaces it, the
// question when another program changed it, the mark of a file open in another window, and
// Cancel in the save prompt.

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "files/backups.h"
#include "files/file_lock.h"
#include "files/user_folders.h"
#include "tests/support/app_fixture.h"
#include "tests/support/box_state.h"
#include "tests/support/test_child.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using testing::AppTest;
using testing::Card;
using testing::Fill;

class FileSafetyTest : public AppTest {
  protected:
    void StartOnFile(int cards = 5) {
        tCardBox saved;
        Fill(saved, 1, cards, "w");
        path = SaveBox(saved);
        Start(path);
    }
    static std::string BytesOf(const FilePath& file) {
        std::string bytes;
        std::FILE* stream = std::fopen(file.CString(), "rb");
        if (stream == nullptr) {
            return bytes;
        }
        char block[4096];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, stream)) > 0;) {
            bytes.append(block, got);
        }
        std::fclose(stream);
        return bytes;
    }
    FilePath path;
};

TEST_F(FileSafetyTest, EverySaveKeepsTheFileItReplaces) {
    StartOnFile();
    std::vector<std::string> versions{BytesOf(path)};
    for (int i = 0; i < 12; ++i) {
        frame->PressEnter();
        frame->PressEnter();
        ASSERT_TRUE(view->SaveFile());
        versions.push_back(BytesOf(path));
    }
    const std::vector<FilePath> backups = BackupsOf(path);
    ASSERT_EQ(backups.size(), kBackupsKept);
    // The newest backup is the file before the last save, the oldest kept the one ten saves
    // back; each opens as a vocabulary file.
    for (std::size_t i = 0; i < backups.size(); ++i) {
        EXPECT_EQ(BytesOf(backups[i]), versions[versions.size() - 1 - kBackupsKept + i]) << i;
    }
    tCardBox old;
    EXPECT_EQ(LoadVokFile(backups.front(), old).loaded, 5);
    // Backups live in the user's data folder, not beside the file.
    EXPECT_EQ(backups.front().Folder(), DataFolder().Child("backups"));
    EXPECT_NE(std::string(backups.front().FileName()).find("words-"), std::string::npos);
}

TEST_F(FileSafetyTest, BackupsOfFilesOfOneNameInTwoFoldersStayApart) {
    std::filesystem::create_directories(dir.File("a").Bytes());
    std::filesystem::create_directories(dir.File("b").Bytes());
    tCardBox cards;
    Fill(cards, 1, 2);
    for (const char* folder : {"a", "b"}) {
        const FilePath file = dir.File(std::string(folder) + "/words.vok");
        ASSERT_TRUE(SaveVokFile(file, cards));
        Document opened(cards);
        ASSERT_TRUE(opened.Open(file).opened);
        ASSERT_TRUE(opened.Save());
        opened.Close();
    }
    EXPECT_EQ(BackupsOf(dir.File("a/words.vok")).size(), 1u);
    EXPECT_EQ(BackupsOf(dir.File("b/words.vok")).size(), 1u);
}

// Only files named exactly as the program names its backups are backups: a file of the user's
// that begins like one, and a link under a backup's name, are never counted nor deleted.
TEST_F(FileSafetyTest, NothingButTheProgramsOwnBackupsIsCountedOrPruned) {
    StartOnFile();
    ASSERT_TRUE(view->SaveFile());
    ASSERT_EQ(BackupsOf(path).size(), 1u);
    const FilePath folder = BackupsOf(path).front().Folder();
    const std::string prefix = std::string(BackupsOf(path).front().FileName()).substr(0, 15);
    ASSERT_EQ(prefix.substr(0, 6), "words-");
    const FilePath notes = folder.Child(prefix + "0-my-notes.vok");
    const FilePath late = folder.Child(prefix + "99999999-999999999Z-x.vok");
    const FilePath huge =
        folder.Child(prefix + "20260101-000000000Z-" + std::string(25, '9') + ".vok");
    testing::WriteBytes(notes, "mine");
    testing::WriteBytes(late, "mine too");
    testing::WriteBytes(huge, "a number no counter reaches");
#ifndef _WIN32
    const FilePath victim = dir.File("victim.vok");
    testing::WriteBytes(victim, "keep me");
    const FilePath link = folder.Child(prefix + "20000101-000000000Z-1.vok");
    std::filesystem::create_symlink(victim.Bytes(), link.Bytes());
#endif
    for (int i = 0; i < 12; ++i) {
        frame->PressEnter();
        ASSERT_TRUE(view->SaveFile());
    }
    EXPECT_EQ(BackupsOf(path).size(), kBackupsKept);
    EXPECT_EQ(BytesOf(notes), "mine");
    EXPECT_EQ(BytesOf(late), "mine too");
    EXPECT_EQ(BytesOf(huge), "a number no counter reaches");
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_symlink(link.Bytes()));
    EXPECT_EQ(BytesOf(victim), "keep me");
#endif
}

#ifndef _WIN32
// Backups are named and ordered in UTC with a number: a save after a flight from UTC+14 to
// UTC-11 (or in the hour that autumn repeats) keeps the newest backup, and prunes the oldest.
TEST_F(FileSafetyTest, ATimeZoneChangeKeepsTheNewestBackup) {
    const char* before = std::getenv("TZ");
    const std::string saved = before != nullptr ? before : "";
    auto setZone = [](const char* zone) {
        ::setenv("TZ", zone, 1);
        ::tzset();
    };
    StartOnFile();
    setZone("<+14>-14");
    std::vector<std::string> versions;
    for (int i = 0; i < 10; ++i) {
        frame->PressEnter();
        frame->PressEnter();
        versions.push_back(BytesOf(path));
        ASSERT_TRUE(view->SaveFile());
    }
    setZone("<-11>11");
    frame->PressEnter();
    frame->PressEnter();
    versions.push_back(BytesOf(path));
    ASSERT_TRUE(view->SaveFile());
    if (before != nullptr) {
        setZone(saved.c_str());
    } else {
        ::unsetenv("TZ");
        ::tzset();
    }
    const std::vector<FilePath> backups = BackupsOf(path);
    ASSERT_EQ(backups.size(), kBackupsKept);
    EXPECT_EQ(BytesOf(backups.back()), versions.back()) << "the newest is kept, and last";
    EXPECT_EQ(BytesOf(backups.front()), versions[1]) << "the oldest went";
}
#endif

// A save killed after the old file got its backup's name and before the new one took its place
// leaves the file with two names. The next save mends it: the file is renamed over as ever, and
// no backup follows the live file.
TEST_F(FileSafetyTest, AFileLeftLinkedToItsBackupIsMendedByTheNextSave) {
    StartOnFile();
    const FilePath stray = NewBackupPath(path);
    if (!LinkFile(path, stray)) {
        GTEST_SKIP() << "no hard links on this file system";
    }
    ASSERT_EQ(LinkCount(path), 2u);
    const std::string old = BytesOf(path);
    frame->PressEnter();
    frame->PressEnter();
    ASSERT_TRUE(view->SaveFile());
    EXPECT_EQ(LinkCount(path), 1u);
    const std::vector<FilePath> backups = BackupsOf(path);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(BytesOf(backups.front()), old);
    EXPECT_NE(BytesOf(path), old);
}

TEST_F(FileSafetyTest, AFileChangedOnDiskIsNotOverwrittenUnasked) {
    StartOnFile();
    frame->PressEnter();
    frame->PressEnter();
    // Another program writes the file meanwhile.
    tCardBox theirs;
    Fill(theirs, 4, 9, "theirs");
    ASSERT_TRUE(SaveVokFile(path, theirs));
    const std::string before = BytesOf(path);
    backend.AnswerMessageBox(DialogResult::No);
    EXPECT_FALSE(view->SaveFile());
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              "words.vok was changed by another program since it was opened here. Replace it "
              "anyway?");
    EXPECT_EQ(BytesOf(path), before);
    EXPECT_TRUE(view->Changed());
    backend.AnswerMessageBox(DialogResult::Yes);
    EXPECT_TRUE(view->SaveFile());
    tCardBox saved;
    EXPECT_EQ(LoadVokFile(path, saved).loaded, 5);
    // Saved by this window, the file is its own again: the next save asks nothing.
    frame->PressEnter();
    frame->PressEnter();
    EXPECT_TRUE(view->SaveFile());
    EXPECT_EQ(MessageTexts().size(), 2u);
}

TEST_F(FileSafetyTest, CancelInTheSavePromptKeepsTheWindowOpen) {
    StartOnFile();
    frame->PressEnter();
    frame->PressEnter();
    backend.AnswerMessageBox(DialogResult::Cancel);
    EXPECT_FALSE(view->CanClose());
    EXPECT_EQ(backend.MessageBoxes().back().request.buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_TRUE(view->Changed());
    // The journal stays while the window does.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(journals.Bytes()),
                            std::filesystem::directory_iterator()),
              1);
    backend.AnswerMessageBox(DialogResult::No);
    EXPECT_TRUE(view->CanClose());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(journals.Bytes()),
                            std::filesystem::directory_iterator()),
              0);
}

#if defined(_WIN32)

constexpr const char* kMarkedFile = "TALLYFOLD_MARKED_FILE";

// The other window: this program once more, holding the mark until it is ended.
TEST(OtherWindow, DISABLED_HoldsTheMark) {
    const char* file = std::getenv(kMarkedFile);
    ASSERT_NE(file, nullptr);
    FileLock lock;
    ASSERT_TRUE(lock.Take(FilePath(file)));
    testing::WriteBytes(FilePath(std::string(file) + ".marked"), "");
    ::Sleep(INFINITE);
}

// A process that holds the mark of `file` until it is stopped.
class MarkHolder {
  public:
    explicit MarkHolder(const FilePath& file) {
        testing::SetEnvironment(kMarkedFile, file.Bytes());
        child_ = std::make_unique<testing::TestChild>("OtherWindow.DISABLED_HoldsTheMark");
        const FilePath marker = file.WithSuffix(".marked");
        holds_ = child_->Started() && testing::WaitForFile(marker);
        RemoveFile(marker);
    }
    bool Holds() const { return holds_; }
    void Stop() { child_->Kill(); }

  private:
    std::unique_ptr<testing::TestChild> child_;
    bool holds_ = false;
};

#else

// A process that holds the mark of `file` until it is stopped.
class MarkHolder {
  public:
    explicit MarkHolder(const FilePath& file) {
        int ready[2];
        if (::pipe(ready) != 0) {
            return;
        }
        child_ = ::fork();
        if (child_ == 0) {
            FileLock lock;
            const char taken = lock.Take(file) ? 1 : 0;
            if (::write(ready[1], &taken, 1) != 1) {
                ::_exit(1);
            }
            for (;;) {
                ::pause();
            }
        }
        char taken = 0;
        if (::read(ready[0], &taken, 1) != 1) {
            taken = 0;
        }
        ::close(ready[0]);
        ::close(ready[1]);
        holds_ = child_ > 0 && taken != 0;
    }
    ~MarkHolder() { Stop(); }
    MarkHolder(const MarkHolder&) = delete;
    MarkHolder& operator=(const MarkHolder&) = delete;

    bool Holds() const { return holds_; }
    void Stop() {
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            int status = 0;
            ::waitpid(child_, &status, 0);
            child_ = -1;
        }
    }

  private:
    pid_t child_ = -1;
    bool holds_ = false;
};

#endif

// The file named at start is read while the window is made; the window shows the file as it
// is when it opens it, whatever happened to it since the read began.
TEST_F(FileSafetyTest, AFileReadAheadIsTheFileAsTheWindowOpensIt) {
    tCardBox saved;
    Fill(saved, 1, 5, "w");
    path = SaveBox(saved);
    document.ReadAhead(path);
    Start(path);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(box.TotalCards(), 5);
    // Its identity is the file's: a save asks nothing.
    view->CmLookOrKnown();
    frame->ChooseMenu(ids::kCmFileSave);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    tCardBox reread;
    ASSERT_TRUE(LoadVokFile(path, reread).opened);
    EXPECT_EQ(reread.TotalCards(), 5);
}

TEST_F(FileSafetyTest, AFileChangedOrOtherThanTheOneReadAheadIsReadAgain) {
    tCardBox first;
    Fill(first, 1, 5, "w");
    path = SaveBox(first);
    const FilePath other = SaveBox(first, "other.vok");
    // Cards are made before the read begins: while it runs, nothing else may make any.
    tCardBox changed;
    Fill(changed, 2, 9, "n");
    document.ReadAhead(path);
    ASSERT_TRUE(SaveVokFile(path, changed));
    Start(path);
    EXPECT_EQ(box.TotalCards(), 9);
    EXPECT_EQ(box.CardsIn(2), 9);
    EXPECT_TRUE(backend.MessageBoxes().empty());

    document.ReadAhead(other);
    backend.AnswerFileDialog(path);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(box.TotalCards(), 9);
}

TEST_F(FileSafetyTest, AFileOpenInAnotherWindowIsOpenedOnlyOnTheUsersWord) {
    tCardBox saved;
    Fill(saved, 1, 3);
    path = SaveBox(saved);
    MarkHolder other(path);
    ASSERT_TRUE(other.Holds());
    EXPECT_TRUE(Document::OpenElsewhere(path));
    backend.AnswerMessageBox(DialogResult::No);
    Start(path);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "words.vok is open in another Tallyfold window. Open it anyway?");
    // Asked over the main window, once it is on screen.
    EXPECT_TRUE(backend.MessageBoxes()[0].mainWindowShown);
    EXPECT_EQ(backend.MessageBoxes()[0].owner, view);
    EXPECT_EQ(box.TotalCards(), 0);
    EXPECT_TRUE(view->FileName().IsEmpty());
    // Open anyway: the file opens, and its mark is this window's now.
    backend.AnswerFileDialog(path);
    backend.AnswerMessageBox(DialogResult::Yes);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(box.TotalCards(), 3);
    EXPECT_FALSE(Document::OpenElsewhere(path));
    other.Stop();
}

// The questions name the file as the user named it, in any script.
TEST_F(FileSafetyTest, QuestionsThatNameAFileSpellItAsItIs) {
    tCardBox saved;
    Fill(saved, 1, 3);
    path = SaveBox(saved, "w\u00F6rter-\u5358\u8A9E.vok");
    {
        MarkHolder other(path);
        ASSERT_TRUE(other.Holds());
        backend.AnswerMessageBox(DialogResult::No);
        Start(path);
        other.Stop();
    }
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0],
              "w\u00F6rter-\u5358\u8A9E.vok is open in another Tallyfold window. Open it anyway?");
    backend.AnswerFileDialog(path);
    frame->ChooseMenu(ids::kCmFileOpen);
    frame->PressEnter();
    frame->PressEnter();
    tCardBox theirs;
    Fill(theirs, 4, 2, "theirs");
    ASSERT_TRUE(SaveVokFile(path, theirs));
    backend.AnswerMessageBox(DialogResult::No);
    EXPECT_FALSE(view->SaveFile());
    EXPECT_EQ(MessageTexts().back(),
              "w\u00F6rter-\u5358\u8A9E.vok was changed by another program since it was opened "
              "here. Replace it anyway?");
    // Save as onto a file of other cards.
    const FilePath other = SaveBox(theirs, "\u0441\u043B\u043E\u0432\u0430.vok");
    backend.AnswerFileDialog(other);
    backend.AnswerMessageBox(DialogResult::No);
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(MessageTexts().back().substr(0, 14), "\u0441\u043B\u043E\u0432\u0430.vok");
}

TEST_F(FileSafetyTest, TheMarkOfAWindowThatDiedIsTakenOverSilently) {
    tCardBox saved;
    Fill(saved, 1, 3);
    path = SaveBox(saved);
    MarkHolder other(path);
    ASSERT_TRUE(other.Holds());
    other.Stop();
    EXPECT_FALSE(Document::OpenElsewhere(path));
    Start(path);
    EXPECT_TRUE(backend.MessageBoxes().empty());
    EXPECT_EQ(box.TotalCards(), 3);
    // The mark goes with the window's normal end.
    EXPECT_TRUE(view->CanClose());
    const std::filesystem::path locks = NativePath(StateFolder().Child("locks"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(locks),
                            std::filesystem::directory_iterator()),
              0);
}

}  // namespace
}  // namespace tallyfold
