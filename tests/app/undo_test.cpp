#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/app_fixture.h"
#include "tests/support/box_state.h"

namespace tallyfold {
namespace {

using platform::DialogResult;
using platform::headless::HeadlessDialog;
using testing::AppTest;
using testing::BoxState;
using testing::Card;
using testing::Fill;
using testing::StateOf;

constexpr int kInput = tCardBox::kInputStack;

// What the user sees of the card on view, besides the box itself.
struct Shown {
    std::string question;
    std::string partition;
    std::string counts;
    friend bool operator==(const Shown&, const Shown&) = default;
    friend void PrintTo(const Shown& shown, std::ostream* out) {
        *out << shown.question << " / " << shown.partition << " / " << shown.counts;
    }
};

class UndoTest : public AppTest {
  protected:
    void StartOnBox() {
        Fill(box, 1, 4, "a");
        Fill(box, 2, 25, "b");
        Fill(box, 4, 3, "d");
        Fill(box, 7, 5, "g");
        Fill(box, kInput, 30, "i");
        path = SaveBox(box);
        box.ClearAll();
        Start(path);
    }

    Shown OnView() const { return {Question(), PartitionNumber(), Counts()}; }
    std::string MenuText(int command) { return frame->MenuState(command).text; }

    // Runs `command` and checks that Undo gives back the box and the card on view exactly,
    // that Redo gives back what the command made, and that the menu names the step.
    void ExpectUndoable(const std::string& name, const std::function<void()>& command) {
        SCOPED_TRACE(name);
        const BoxState before = StateOf(box);
        const Shown shownBefore = OnView();
        const bool changedBefore = view->Changed();
        command();
        const BoxState after = StateOf(box);
        const Shown shownAfter = OnView();
        ASSERT_TRUE(frame->MenuState(ids::kCmEditUndo).enabled);
        EXPECT_EQ(MenuText(ids::kCmEditUndo), "&Undo " + name);
        ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));
        EXPECT_EQ(StateOf(box), before);
        EXPECT_EQ(OnView(), shownBefore);
        EXPECT_EQ(view->Changed(), changedBefore);
        EXPECT_EQ(MenuText(ids::kCmEditRedo), "&Redo " + name);
        ASSERT_TRUE(frame->PressShortcut("Ctrl+Shift+Z"));
        EXPECT_EQ(StateOf(box), after);
        EXPECT_EQ(OnView(), shownAfter);
        EXPECT_TRUE(view->Changed());
        ASSERT_TRUE(frame->ChooseMenu(ids::kCmEditUndo));
        ASSERT_TRUE(frame->PressShortcut("Ctrl+Y"));
        EXPECT_EQ(StateOf(box), after);
    }

    FilePath path;
};

TEST_F(UndoTest, NothingToUndoAtStart) {
    StartOnBox();
    EXPECT_FALSE(frame->MenuState(ids::kCmEditUndo).enabled);
    EXPECT_FALSE(frame->MenuState(ids::kCmEditRedo).enabled);
    EXPECT_EQ(MenuText(ids::kCmEditUndo), "&Undo");
    EXPECT_EQ(MenuText(ids::kCmEditRedo), "&Redo");
    // The refill of partition 1 at the start is no step of the user's.
    EXPECT_FALSE(frame->PressShortcut("Ctrl+Z"));
    EXPECT_FALSE(view->Changed());
}

TEST_F(UndoTest, EveryCommandThatChangesTheBox) {
    StartOnBox();
    ExpectUndoable("Known", [this] {
        frame->PressEnter();
        frame->PressEnter();
    });
    ExpectUndoable("Unknown", [this] {
        frame->PressEnter();
        frame->PressEscape();
    });
    ExpectUndoable("New card", [this] {
        backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
            input.Type(ids::kInputQuestion, "neu");
            input.Type(ids::kInputAnswer, "new");
            input.PressEnter();
            input.Type(ids::kInputQuestion, "alt");
            input.Type(ids::kInputAnswer, "old");
            input.PressEnter();
            input.PressEscape();
        });
        frame->ChooseMenu(ids::kCmCardNew);
    });
    ExpectUndoable("Change card", [this] {
        backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
            input.Type(ids::kInputAnswer, "corrected");
            input.Click(ids::kIdOk);
        });
        frame->ChooseMenu(ids::kCmCardChange);
    });
    ExpectUndoable("Delete card", [this] { frame->ChooseMenu(ids::kCmCardDelete); });
    ExpectUndoable("Delete last", [this] {
        backend.AnswerMessageBox(DialogResult::Ok);
        frame->ChooseMenu(ids::kCmDeleteLast);
    });
    ExpectUndoable("Mix all", [this] { frame->ChooseMenu(ids::kCmMixAll); });
    ExpectUndoable("Mix this", [this] {
        backend.ExpectDialog(ids::kTargetDialog, [](HeadlessDialog& target) {
            target.DoubleClick(ids::kTargetList, 1);
        });
        frame->ChooseMenu(ids::kCmMixThis);
    });
    ExpectUndoable("All to input stack", [this] {
        backend.AnswerMessageBox(DialogResult::Yes);
        frame->ChooseMenu(ids::kCmAllToInput);
    });
    ExpectUndoable("New", [this] {
        backend.AnswerMessageBox(DialogResult::Ok);
        frame->ChooseMenu(ids::kCmFileNew);
    });
    ExpectUndoable("Import", [this] {
        const FilePath text = dir.File("more.txt");
        testing::WriteBytes(text, "eins;one\nb3;b3\nzwei;two\n");
        backend.AnswerFileDialog(text);
        backend.AnswerMessageBox(DialogResult::Ok);  // its summary
        frame->ChooseMenu(ids::kCmFileImport);
    });
}

TEST_F(UndoTest, EachActionOfThePartitionOverview) {
    StartOnBox();
    auto overview = [this](platform::headless::HeadlessBackend::DialogScript script) {
        backend.ExpectDialog(ids::kOverviewDialog, std::move(script));
        frame->ChooseMenu(ids::kCmPartitionChange);
    };
    ExpectUndoable("Delete 3 cards", [&] {
        overview([this](HeadlessDialog& dialog) {
            dialog.Select(ids::kOverviewPartition, 1);
            dialog.SelectLines(ids::kOverviewCards, {0, 3, 24});
            backend.AnswerMessageBox(DialogResult::Yes);
            dialog.Click(ids::kOverviewDelete);
            dialog.PressEscape();
        });
    });
    ExpectUndoable("Move 2 cards", [&] {
        overview([this](HeadlessDialog& dialog) {
            dialog.SelectLines(ids::kOverviewCards, {1, 2});
            backend.ExpectDialog(ids::kTargetDialog, [](HeadlessDialog& target) {
                target.DoubleClick(ids::kTargetList, 6);
            });
            dialog.Click(ids::kOverviewMove);
            dialog.PressEscape();
        });
    });
    ExpectUndoable("Correct card", [&] {
        overview([this](HeadlessDialog& dialog) {
            dialog.SelectLines(ids::kOverviewCards, {1});
            backend.ExpectDialog(ids::kInputDialog, [](HeadlessDialog& input) {
                input.Type(ids::kInputQuestion, "fixed");
                input.Click(ids::kIdOk);
            });
            dialog.Click(ids::kOverviewCorrect);
            dialog.PressEscape();
        });
    });
}

TEST_F(UndoTest, ManyStepsDeepBackToTheSavedState) {
    StartOnBox();
    const BoxState loaded = StateOf(box);
    std::vector<BoxState> states;
    for (int i = 0; i < 60; ++i) {
        states.push_back(StateOf(box));
        frame->PressEnter();
        if (i % 3 == 0) {
            frame->PressEscape();
        } else {
            frame->PressEnter();
        }
    }
    for (int i = 59; i >= 0; --i) {
        ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));
        ASSERT_EQ(StateOf(box), states[static_cast<std::size_t>(i)]) << "step " << i;
        EXPECT_EQ(view->Changed(), i != 0);
    }
    EXPECT_EQ(StateOf(box), loaded);
    EXPECT_FALSE(view->Changed());
    EXPECT_FALSE(frame->PressShortcut("Ctrl+Z"));
    // Exit asks nothing: the box is as saved.
    EXPECT_TRUE(view->CanClose());
}

TEST_F(UndoTest, UndoPastASaveMarksTheBoxChangedAgain) {
    StartOnBox();
    frame->PressEnter();
    frame->PressEnter();
    ASSERT_TRUE(view->SaveFile());
    EXPECT_FALSE(view->Changed());
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));
    EXPECT_TRUE(view->Changed());
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Y"));
    EXPECT_FALSE(view->Changed());
}

TEST_F(UndoTest, ANewStepAfterUndoDropsWhatCouldBeRedone) {
    StartOnBox();
    frame->PressEnter();
    frame->PressEnter();
    ASSERT_TRUE(frame->PressShortcut("Ctrl+Z"));
    EXPECT_TRUE(frame->MenuState(ids::kCmEditRedo).enabled);
    frame->PressEnter();
    frame->PressEscape();
    EXPECT_FALSE(frame->MenuState(ids::kCmEditRedo).enabled);
    EXPECT_EQ(MenuText(ids::kCmEditUndo), "&Undo Unknown");
    // A command that changes nothing is no step.
    backend.AnswerMessageBox(DialogResult::No);
    frame->ChooseMenu(ids::kCmAllToInput);
    EXPECT_EQ(MenuText(ids::kCmEditUndo), "&Undo Unknown");
}

}  // namespace
}  // namespace tallyfold
