#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/frame_window.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/headless.h"
#include "tests/support/table_dialog.h"

namespace tallyfold::platform {
namespace {

using headless::HeadlessDialog;
using testing::HeadlessTest;
using testing::kSearch;
using testing::kStrict;
using testing::kTable;
using testing::TableDialog;

constexpr int kEdit = 10;
constexpr int kList = 11;
constexpr int kAction = 12;
constexpr int kNested = 13;
constexpr int kCombo = 14;

const DialogTemplate& TestTemplate() {
    static const DialogTemplate dialog{
        900,
        "Test",
        {0, 0, 100, 100},
        "MS Sans Serif",
        8,
        false,
        {{kEdit, ControlKind::Edit, "", {1, 1, 50, 12}, style::kTabStop},
         {kList,
          ControlKind::ListBox,
          "",
          {1, 20, 50, 50},
          style::kNotify | style::kExtendedSelection},
         {kCombo, ControlKind::ComboBox, "", {60, 20, 30, 50}, style::kDropDownList},
         {kAction, ControlKind::Button, "&Action", {60, 1, 30, 14}, 0},
         {kNested, ControlKind::Button, "&Nested", {60, 40, 30, 14}, 0},
         {1, ControlKind::Button, "Ok", {60, 60, 30, 14}, style::kDefaultButton},
         {2, ControlKind::Button, "Cancel", {60, 80, 30, 14}, 0}}};
    return dialog;
}

// Records what reaches it; its nested button runs a second dialog of the same template.
class TestDialog : public Dialog {
  public:
    explicit TestDialog(Window& parent) : Dialog(parent, TestTemplate()) {
        OnCommand(kAction, &TestDialog::Action);
        OnCommand(kNested, &TestDialog::Nested);
        OnNotify(kList, Notification::SelectionChanged, &TestDialog::ListChanged);
        OnNotify(kList, Notification::DoubleClicked, &TestDialog::ListDoubleClicked);
    }
    void SetupWindow() override {
        ListBox list(*this, kList);
        for (const char* line : {"zero", "one", "two", "three"}) {
            list.AddString(line);
        }
        SetControlText(kEdit, "initial");
    }

    std::vector<std::string> events;
    std::optional<DialogResult> nestedResult;

  private:
    void Action() { events.push_back("action"); }
    void Nested() {
        TestDialog inner(static_cast<Window&>(*this));
        nestedResult = inner.Execute();
        events.push_back(nestedResult == DialogResult::Cancel ? "nested:cancel" : "nested:other");
    }
    void ListChanged() { events.push_back("changed"); }
    void ListDoubleClicked() { events.push_back("double"); }
};

class Root : public Window {
  public:
    explicit Root(Backend& backend) : Window(backend) {}
};

class FrameworkTest : public HeadlessTest {
  protected:
    Root root{backend};
};

TEST_F(FrameworkTest, ResponsesByCommandAndByNotification) {
    std::vector<std::string> events;
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) {
        dialog.Click(kAction);
        dialog.Select(kList, 2);
        dialog.DoubleClick(kList, 1);
        dialog.Click(2);
    });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"action", "changed", "changed", "double"}));
    EXPECT_EQ(backend.DialogsRun(), std::vector<int>{900});
}

TEST_F(FrameworkTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) { dialog.PressEnter(); });
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) { dialog.PressEscape(); });
    TestDialog first(root);
    EXPECT_EQ(first.Execute(), DialogResult::Ok);
    TestDialog second(root);
    EXPECT_EQ(second.Execute(), DialogResult::Cancel);
}

TEST_F(FrameworkTest, DisabledButtonsIgnoreClicks) {
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) {
        dialog.Window().EnableControl(kAction, false);
        EXPECT_FALSE(dialog.Click(kAction));
        EXPECT_FALSE(dialog.IsEnabled(kAction));
        dialog.Click(1);
    });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Ok);
    EXPECT_TRUE(dialog.events.empty());
}

TEST_F(FrameworkTest, NestedModalDialogsReturnTheirOwnResults) {
    backend.ExpectDialog(900, [](HeadlessDialog& outer) {
        outer.Click(kNested);
        EXPECT_FALSE(outer.Ended());
        outer.Click(1);
    });
    backend.ExpectDialog(900, [](HeadlessDialog& inner) {
        inner.Click(kAction);
        inner.Click(2);
    });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Ok);
    EXPECT_EQ(dialog.nestedResult, DialogResult::Cancel);
    EXPECT_EQ(dialog.events, std::vector<std::string>{"nested:cancel"});
    EXPECT_EQ(backend.DialogsRun(), (std::vector<int>{900, 900}));
}

TEST_F(FrameworkTest, EditTextIsReadIntoABufferOfAGivenSize) {
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) {
        EXPECT_EQ(dialog.Text(kEdit), "initial");
        dialog.Type(kEdit, "abcdefgh");
        char buffer[5];
        EXPECT_EQ(dialog.Window().GetControlText(kEdit, buffer), 4);
        EXPECT_STREQ(buffer, "abcd");
        char one[1];
        EXPECT_EQ(dialog.Window().GetControlText(kEdit, one), 0);
        EXPECT_EQ(one[0], '\0');
        dialog.Window().SelectEditText(kEdit, 0, -1);
        EXPECT_EQ(dialog.EditSelection(kEdit), (std::pair<int, int>{0, 8}));
        dialog.Click(1);
    });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Ok);
}

TEST_F(FrameworkTest, SelectedLinesInAscendingOrder) {
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) {
        dialog.SelectLines(kList, {3, 0, 2});
        ListBox list(dialog.Window(), kList);
        EXPECT_EQ(list.GetSelIndexes(), (std::vector<int>{0, 2, 3}));
        EXPECT_EQ(list.GetSelIndex(), 0);
        EXPECT_EQ(list.LineText(2), "two");
        list.Clear();
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.GetSelIndex(), -1);
        dialog.Click(1);
    });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Ok);
}

TEST_F(FrameworkTest, SingleSelectionKeepsOneLine) {
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) {
        ComboBox combo(dialog.Window(), kCombo);
        combo.AddString("a");
        combo.AddString("b");
        dialog.SelectLines(kCombo, {0, 1});
        EXPECT_EQ(combo.GetSelIndexes(), std::vector<int>{1});
        combo.SetSelIndex(-1);
        EXPECT_EQ(combo.GetSelIndex(), -1);
        dialog.Click(1);
    });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Ok);
}

TEST_F(FrameworkTest, UnscriptedModalCallsFailByName) {
    std::vector<std::string> reported;
    backend.SetFailureHandler(
        [&reported](const std::string& message) { reported.push_back(message); });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    EXPECT_EQ(root.MessageBox("Really?", "", MessageButtons::YesNo), DialogResult::Cancel);
    FileDialogData data;
    data.title = "Import";
    EXPECT_FALSE(root.RunFileDialog(FileDialogKind::Open, data));
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_NE(reported[0].find("900 \"Test\""), std::string::npos);
    EXPECT_NE(reported[1].find("Really?"), std::string::npos);
    EXPECT_NE(reported[2].find("Import"), std::string::npos);
}

TEST_F(FrameworkTest, AScriptThatLeavesItsDialogOpenFails) {
    std::vector<std::string> reported;
    backend.SetFailureHandler(
        [&reported](const std::string& message) { reported.push_back(message); });
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) { dialog.Click(kAction); });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("left it open"), std::string::npos);
}

TEST_F(FrameworkTest, MessageBoxesAndFileDialogsAreRecorded) {
    backend.AnswerMessageBox(DialogResult::Yes);
    backend.AnswerFileDialog(FilePath("/tmp/chosen.vok"));
    backend.AnswerFileDialog(FilePath());
    EXPECT_EQ(root.MessageBox("Save existing changes?", "", MessageButtons::YesNo),
              DialogResult::Yes);
    FileDialogData data;
    data.fileName = FilePath("*.vok");
    EXPECT_TRUE(root.RunFileDialog(FileDialogKind::Save, data));
    EXPECT_EQ(data.fileName, FilePath("/tmp/chosen.vok"));
    EXPECT_FALSE(root.RunFileDialog(FileDialogKind::Open, data));
    ASSERT_EQ(backend.MessageBoxes().size(), 1u);
    EXPECT_EQ(backend.MessageBoxes()[0].request.text, "Save existing changes?");
    EXPECT_EQ(backend.MessageBoxes()[0].owner, &root);
    ASSERT_EQ(backend.FileDialogs().size(), 2u);
    EXPECT_EQ(backend.FileDialogs()[0].data.fileName, FilePath("*.vok"));
    EXPECT_EQ(backend.FileDialogs()[1].kind, FileDialogKind::Open);
}

// A client whose buttons and commands record what reached them.
class Client : public Window {
  public:
    explicit Client(Backend& backend) : Window(backend) {
        AddControl({30, ControlKind::Button, "Go", {1, 1, 10, 10}, style::kDefaultButton});
        OnCommand(30, &Client::Button);
        OnCommand(500, &Client::Accelerated);
        OnCommand(501, &Client::Menu);
        OnEnable(501, &Client::MenuState);
    }
    bool CanClose() override { return allowClose; }

    std::vector<std::string> events;
    bool menuEnabled = false;
    bool allowClose = false;

  private:
    void Button() { events.push_back("button"); }
    void Accelerated() { events.push_back("accelerator"); }
    void Menu() { events.push_back("menu"); }
    void MenuState(CommandState& state) {
        state.enabled = menuEnabled;
        state.checked = !menuEnabled;
    }
};

class TestApplication : public Application {
  public:
    using Application::Application;
    Client* client = nullptr;

  protected:
    void InitMainWindow() override {
        auto clientWindow = std::make_unique<Client>(GetBackend());
        client = clientWindow.get();
        auto frame = std::make_unique<FrameWindow>(GetBackend(), "Frame", std::move(clientWindow));
        frame->SetAccelerators({1,
                                {{Key::Virtual(kVkReturn), 500},
                                 {Key::Character('k'), 500},
                                 {Key::Character('m'), 501}}});
        SetMainWindow(std::move(frame));
    }
};

TEST_F(FrameworkTest, AcceleratorsComeBeforeButtons) {
    TestApplication application(backend);
    application.Start();
    headless::HeadlessFrame& frame = *backend.MainWindow();
    EXPECT_TRUE(frame.Shown());
    frame.ClientPeer().SetFocus(30);
    frame.PressEnter();
    frame.TypeChar('k');
    frame.TypeChar('K');  // characters match exactly
    frame.PressKey(Key::Virtual(kVkEscape));
    frame.Click(30);
    EXPECT_EQ(application.client->events,
              (std::vector<std::string>{"accelerator", "accelerator", "button"}));
}

TEST_F(FrameworkTest, EnablersDecideMenuStateAndChoice) {
    TestApplication application(backend);
    application.Start();
    headless::HeadlessFrame& frame = *backend.MainWindow();
    EXPECT_FALSE(frame.MenuState(501).enabled);
    EXPECT_TRUE(frame.MenuState(501).checked);
    EXPECT_FALSE(frame.ChooseMenu(501));
    application.client->menuEnabled = true;
    EXPECT_TRUE(frame.MenuState(501).enabled);
    EXPECT_TRUE(frame.ChooseMenu(501));
    EXPECT_TRUE(frame.MenuState(777).enabled);  // no enabler: always enabled
    EXPECT_EQ(application.client->events, std::vector<std::string>{"menu"});
}

TEST_F(FrameworkTest, TheKeyOfADisabledCommandDoesNothing) {
    TestApplication application(backend);
    application.Start();
    headless::HeadlessFrame& frame = *backend.MainWindow();
    frame.TypeChar('m');
    EXPECT_TRUE(application.client->events.empty());
    application.client->menuEnabled = true;
    frame.TypeChar('m');
    EXPECT_EQ(application.client->events, std::vector<std::string>{"menu"});
}

TEST_F(FrameworkTest, ADisabledEditTakesNoTyping) {
    backend.ExpectDialog(900, [](HeadlessDialog& dialog) {
        EXPECT_TRUE(dialog.Type(kEdit, "first"));
        dialog.Window().EnableControl(kEdit, false);
        EXPECT_FALSE(dialog.Type(kEdit, "second"));
        EXPECT_EQ(dialog.Text(kEdit), "first");
        EXPECT_FALSE(dialog.Type(4242, "nowhere"));
        dialog.Click(1);
    });
    TestDialog dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Ok);
}

TEST_F(FrameworkTest, CloseQueryDecidesWhetherTheFrameCloses) {
    TestApplication application(backend);
    application.Start();
    headless::HeadlessFrame& frame = *backend.MainWindow();
    EXPECT_FALSE(frame.CloseBox());
    EXPECT_FALSE(frame.Destroyed());
    application.client->allowClose = true;
    EXPECT_TRUE(frame.CloseBox());
    EXPECT_TRUE(frame.Destroyed());
}

// A thousand rows of cards and counts.
std::string CardCell(int row, int column) {
    return column == 0 ? "card " + std::to_string(row) : std::to_string(row % 7);
}

TEST_F(FrameworkTest, ATableGivesItsOwnersCellsAndTellsWhatTheUserDoes) {
    backend.ExpectDialog(901, [](HeadlessDialog& dialog) {
        EXPECT_EQ(dialog.Peer().LineCount(kTable), 1000);
        EXPECT_EQ(dialog.Cell(kTable, 999, 0), "card 999");
        EXPECT_EQ(dialog.Lines(kTable)[8], "card 8\t1");
        EXPECT_EQ(dialog.Cell(kTable, 1000, 0), "") << "no row past the end";
        dialog.ClickColumn(kTable, 1);
        dialog.SelectLines(kTable, {3, 4, 9});
        dialog.DoubleClick(kTable, 7);
        dialog.Type(kSearch, "car");
        dialog.Toggle(kStrict);
        dialog.Toggle(kStrict);
        dialog.Peer().SetColumnWidth(kTable, 0, 200);
        dialog.PressEscape();
    });
    TableDialog dialog(root, 1000, CardCell);
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    EXPECT_EQ(dialog.events,
              (std::vector<std::string>{"column 1", "selection", "selection", "activated 7",
                                        "search car", "strict on", "strict off"}));
}

TEST_F(FrameworkTest, ATablesSelectionWidthsAndSortAreItsOwnersToSet) {
    backend.ExpectDialog(901, [](HeadlessDialog& dialog) {
        Table table(dialog.Window(), kTable);
        const std::vector<int> rows = {2, 5, 6};
        table.SelectRows(rows);
        EXPECT_EQ(table.SelectedRows(), rows);
        EXPECT_EQ(table.CurrentRow(), 2);
        table.SetSortIndicator(1, true);
        EXPECT_EQ(dialog.Peer().Find(kTable)->sortColumn, 1);
        EXPECT_TRUE(dialog.Peer().Find(kTable)->sortDescending);
        EXPECT_EQ(table.ColumnWidths(), (std::vector<int>{120, 40}));
        // New rows: nothing is selected.
        table.SetRows(3, [](int, int) { return std::string("x"); });
        EXPECT_TRUE(table.SelectedRows().empty());
        EXPECT_EQ(table.Count(), 3);
        dialog.PressEscape();
    });
    TableDialog dialog(root, 1000, CardCell);
    static_cast<void>(dialog.Execute());
    EXPECT_TRUE(dialog.events.empty()) << "what the program does is told to nobody";
}

TEST(FileFilter, DescriptionsAndPatternsKeepTheirBlanks) {
    const std::vector<FileFilter> filters = ParseFileFilter("Vokabeln (*.vok) | *.vok |");
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].description, "Vokabeln (*.vok) ");
    EXPECT_EQ(filters[0].pattern, " *.vok ");
    const std::vector<FileFilter> two = ParseFileFilter("All (*.*)|*.*|Text Files (*.txt)|*.txt|");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].description, "Text Files (*.txt)");
    EXPECT_EQ(two[1].pattern, "*.txt");
    EXPECT_EQ(ParseFileFilter("A|*.a").size(), 1u);
    EXPECT_TRUE(ParseFileFilter("").empty());
}

}  // namespace
}  // namespace tallyfold::platform
