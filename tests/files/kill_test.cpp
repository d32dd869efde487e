// A save killed at any moment leaves a vocabulary file that loads and holds exactly the old cards
// or exactly the new ones.

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/vok_file.h"
#include "tests/support/cards.h"
#include "tests/support/files.h"
#include "tests/support/test_child.h"

namespace tallyfold {
namespace {

constexpr int kCards = 100000;

void FillBox(tCardBox& box, const std::string& prefix) {
    for (int i = 0; i < kCards; ++i) {
        box.AddToPartition(testing::Card(prefix + std::to_string(i), "answer " + std::to_string(i)),
                           1 + i % tCardBox::kInputStack);
    }
}

// "old" or "new" when the file holds exactly one of the two boxes, else what went wrong.
std::string Contents(const FilePath& path) {
    tCardBox loaded;
    const LoadResult result = LoadVokFile(path, loaded);
    if (!result.opened) {
        return "unreadable";
    }
    if (loaded.TotalCards() != kCards) {
        return "holds " + std::to_string(loaded.TotalCards()) + " cards";
    }
    tVokabel card;
    loaded.FirstCard(card);
    const std::string prefix = std::string(card.Question()).substr(0, 3);
    int count = 0;
    for (int number = loaded.FirstCard(card); number != 0; number = loaded.NextCard(card)) {
        if (std::string(card.Question()).substr(0, 3) != prefix) {
            return "mixed";
        }
        ++count;
    }
    return count == kCards ? prefix : "short";
}

// The old box saved in "words.vok", the new one ready, and how long a save of it takes,
// which bounds the moments at which a save is killed.
class KilledSave : public ::testing::Test {
  protected:
    void SetUp() override {
        FillBox(oldBox, "old");
        FillBox(newBox, "new");
        ASSERT_TRUE(SaveVokFile(path, oldBox));
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(SaveVokFile(dir.File("timing.vok"), newBox));
        saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
    }

    // What the killed saves left behind goes with the next save.
    void ExpectLeftoversGoWithTheNextSave() {
        ASSERT_TRUE(SaveVokFile(path, oldBox));
        EXPECT_EQ(dir.Entries(),
                  (std::vector<std::string>{"timing.kas", "timing.vok", "words.kas", "words.vok"}));
    }

    testing::TempDir dir;
    const FilePath path = dir.File("words.vok");
    tCardBox oldBox;
    tCardBox newBox;
    std::chrono::microseconds saveTime{};
};

#if defined(_WIN32)

// Windows has no fork: the killed save runs in a second run of this program, which runs the
// test below alone. It marks the moment its save begins by creating a file.
constexpr const char* kChildPath = "TALLYFOLD_KILLED_SAVE_PATH";
constexpr const char* kChildBox = "TALLYFOLD_KILLED_SAVE_BOX";

TEST(KilledSaveChild, DISABLED_Save) {
    const char* path = std::getenv(kChildPath);
    const char* which = std::getenv(kChildBox);
    ASSERT_NE(path, nullptr);
    ASSERT_NE(which, nullptr);
    tCardBox box;
    FillBox(box, which);
    testing::WriteBytes(FilePath(std::string(path) + ".started"), "");
    ASSERT_TRUE(SaveVokFile(FilePath(path), box));
}

TEST_F(KilledSave, LeavesTheOldOrTheNewFileWhenTheProcessIsTerminated) {
    const FilePath marker = dir.File("words.vok.started");
    std::mt19937 random(20261209);
    std::uniform_int_distribution<long long> delay(0, saveTime.count() * 12 / 10);
    int oldSeen = 0;
    for (int run = 0; run < 12; ++run) {
        ASSERT_TRUE(SaveVokFile(path, run % 2 == 0 ? oldBox : newBox));
        const std::string before = Contents(path);
        RemoveFile(marker);
        testing::SetEnvironment(kChildPath, path.Bytes());
        testing::SetEnvironment(kChildBox, run % 2 == 0 ? "new" : "old");
        testing::TestChild child("KilledSaveChild.DISABLED_Save");
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(testing::WaitForFile(marker)) << "run " << run;
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        child.Kill();
        const std::string after = Contents(path);
        ASSERT_TRUE(after == "old" || after == "new") << "run " << run << ": " << after;
        oldSeen += after == before ? 1 : 0;
    }
    RecordProperty("kept_old", oldSeen);
    RemoveFile(marker);
    ExpectLeftoversGoWithTheNextSave();
}

#else

TEST_F(KilledSave, LeavesTheOldOrTheNewFile) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<long> delay(0, saveTime.count() * 12 / 10);
    int oldSeen = 0;
    int newSeen = 0;
    for (int run = 0; run < 50; ++run) {
        ASSERT_TRUE(SaveVokFile(path, run % 2 == 0 ? oldBox : newBox));
        const std::string before = Contents(path);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::_exit(SaveVokFile(path, run % 2 == 0 ? newBox : oldBox) ? 0 : 1);
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string after = Contents(path);
        ASSERT_TRUE(after == "old" || after == "new") << "run " << run << ": " << after;
        (after == before ? oldSeen : newSeen) += 1;
    }
    // The kills fell both before and after the moment the new file took the old one's place.
    RecordProperty("kept_old", oldSeen);
    RecordProperty("got_new", newSeen);
    EXPECT_GT(oldSeen, 0);
    ExpectLeftoversGoWithTheNextSave();
}

#endif

}  // namespace
}  // namespace tallyfold
