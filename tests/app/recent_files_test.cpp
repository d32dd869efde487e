// The File menu's recent files: the list itself, and the menu places through the window.

#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/file_identity.h"
#include "tests/support/app_fixture.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using testing::AppTest;
using testing::Card;
using testing::Fill;

std::vector<std::string> Names(const RecentFiles& recent) {
    std::vector<std::string> names;
    for (const FilePath& path : recent.Files()) {
        names.push_back(path.Bytes());
    }
    return names;
}

TEST(RecentFiles, TheNewestFirstEachOnceAtMostEight) {
    RecentFiles recent;
    for (int i = 1; i <= 10; ++i) {
        recent.Add(FilePath("/f" + std::to_string(i) + ".vok"));
    }
    recent.Add(FilePath("/f5.vok"));
    EXPECT_EQ(Names(recent),
              (std::vector<std::string>{"/f5.vok", "/f10.vok", "/f9.vok", "/f8.vok", "/f7.vok",
                                        "/f6.vok", "/f4.vok", "/f3.vok"}));
    recent.Add(FilePath());
    recent.Add(FilePath("/two\nlines.vok"));
    EXPECT_EQ(recent.Files().size(), 8u);
    recent.Remove(FilePath("/f10.vok"));
    EXPECT_EQ(Names(RecentFiles::Parse(recent.Serialized())), Names(recent));
    // What another version or a hand wrote: empty lines and doubles go, the rest is cut.
    EXPECT_EQ(Names(RecentFiles::Parse("/a\n\n/b\n/a\n/c")),
              (std::vector<std::string>{"/a", "/b", "/c"}));
    EXPECT_EQ(RecentFiles::Parse("1\n2\n3\n4\n5\n6\n7\n8\n9\n").Files().size(), 8u);
}

class RecentFilesTest : public AppTest {
  protected:
    FilePath Saved(const std::string& name, int cards) {
        tCardBox saved;
        Fill(saved, 1, cards, name);
        return SaveBox(saved, name + ".vok");
    }
    platform::CommandState Place(int place) { return frame->MenuState(ids::kCmRecentFile + place); }
};

TEST_F(RecentFilesTest, OpenedAndSavedFilesAreListedAndOpenedAgain) {
    const FilePath first = Saved("first", 2);
    const FilePath second = Saved("second", 3);
    Start(first);
    EXPECT_TRUE(Place(0).visible);
    EXPECT_EQ(Place(0).text, "&1 ");
    EXPECT_EQ(Place(0).file.Bytes(), CanonicalName(first));
    EXPECT_FALSE(Place(1).visible);
    backend.AnswerFileDialog(second);
    frame->ChooseMenu(ids::kCmFileOpen);
    EXPECT_EQ(Place(0).file.Bytes(), CanonicalName(second));
    EXPECT_EQ(Place(1).file.Bytes(), CanonicalName(first));

    // The list outlives the window: the next run shows it, and a place opens its file.
    ASSERT_TRUE(view->CanClose());
    Start();
    EXPECT_EQ(Place(1).file.Bytes(), CanonicalName(first));
    frame->ChooseMenu(ids::kCmRecentFile + 1);
    EXPECT_EQ(box.TotalCards(), 2);
    EXPECT_EQ(Place(0).file.Bytes(), CanonicalName(first));

    // Save as puts the new name first; a file that is gone leaves the list when chosen.
    const FilePath copy = dir.File("copy.vok");
    backend.AnswerFileDialog(copy);
    frame->ChooseMenu(ids::kCmFileSaveAs);
    EXPECT_EQ(Place(0).file.Bytes(), CanonicalName(copy));
    std::filesystem::remove(second.Bytes());
    backend.AnswerMessageBox(DialogResult::Ok);
    frame->ChooseMenu(ids::kCmRecentFile + 2);
    EXPECT_FALSE(backend.MessageBoxes().empty());  // it could not be read
    EXPECT_EQ(box.TotalCards(), 2);
    EXPECT_FALSE(Place(2).visible);
}

TEST_F(RecentFilesTest, UnsavedChangesAreAskedForFirst) {
    const FilePath first = Saved("first", 2);
    const FilePath second = Saved("second", 3);
    Start(second);
    Start(first);
    ChangeTheBox();
    backend.AnswerMessageBox(DialogResult::Cancel);
    frame->ChooseMenu(ids::kCmRecentFile + 1);
    EXPECT_EQ(box.TotalCards(), 2);
    backend.AnswerMessageBox(DialogResult::No);
    frame->ChooseMenu(ids::kCmRecentFile + 1);
    EXPECT_EQ(box.TotalCards(), 3);
}

}  // namespace
}  // namespace tallyfold
