#include "dialogs/target_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/support/headless.h"

namespace tallyfold {
namespace {

using platform::headless::HeadlessDialog;

class TargetDialogTest : public testing::HeadlessTest {
  protected:
    int Choose(platform::headless::HeadlessBackend::DialogScript script) {
        backend.ExpectDialog(ids::kTargetDialog, std::move(script));
        return ChooseTarget(owner, box);
    }
    tCardBox box;
    testing::OwnerWindow owner{backend};
};

TEST_F(TargetDialogTest, SevenPartitionsAndTheInputStackWithTheFirstChosen) {
    EXPECT_EQ(Choose([](HeadlessDialog& dialog) {
                  EXPECT_EQ(dialog.Caption(), "Put into...");
                  EXPECT_EQ(dialog.Lines(ids::kTargetList),
                            (std::vector<std::string>{"- 1 -", "- 2 -", "- 3 -", "- 4 -", "- 5 -",
                                                      "- 6 -", "- 7 -", "Input"}));
                  EXPECT_EQ(dialog.SelectedLines(ids::kTargetList), std::vector<int>{0});
                  dialog.Click(ids::kIdOk);
              }),
              1);
}

TEST_F(TargetDialogTest, InputIsEight) {
    EXPECT_EQ(Choose([](HeadlessDialog& dialog) {
                  dialog.Select(ids::kTargetList, 7);
                  dialog.PressEnter();
              }),
              8);
}

TEST_F(TargetDialogTest, DoubleClickChoosesAtOnce) {
    EXPECT_EQ(Choose([](HeadlessDialog& dialog) {
                  dialog.DoubleClick(ids::kTargetList, 2);
                  EXPECT_TRUE(dialog.Ended());
              }),
              3);
}

TEST_F(TargetDialogTest, CancelChoosesNothing) {
    EXPECT_EQ(Choose([](HeadlessDialog& dialog) {
                  dialog.Select(ids::kTargetList, 4);
                  dialog.Click(ids::kIdCancel);
              }),
              0);
    EXPECT_EQ(Choose([](HeadlessDialog& dialog) { dialog.PressEscape(); }), 0);
}

TEST_F(TargetDialogTest, NoEntrySelected) {
    EXPECT_EQ(Choose([](HeadlessDialog& dialog) {
                  dialog.Window().SelectLine(ids::kTargetList, -1);
                  dialog.Click(ids::kIdOk);
              }),
              0);
}

}  // namespace
}  // namespace tallyfold
