#include <gtest/gtest.h>

#include "tests/support/qt_main.h"
#include "tests/support/table_dialog.h"

#include <sys/stat.h>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/frame_window.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_line_list.h"
#include "platform/qt/qt_main_frame.h"
#include "platform/qt/qt_marked_text.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_text.h"
#include "resources/dialog_templates.h"
#include "resources/help_pages.h"
#include "resources/resource_ids.h"

namespace tallyfold::platform::qt {
namespace {

class Root : public Window {
  public:
    explicit Root(Backend& backend) : Window(backend) {}
};

// Records the commands that reach it; command 1 and 2 end it as usual.
class RecordingDialog : public Dialog {
  public:
    RecordingDialog(Window& parent, const DialogTemplate& dialogTemplate)
        : Dialog(parent, dialogTemplate) {
        OnCommand(303, &RecordingDialog::Help);
    }
    std::vector<int> commands;

  private:
    void Help() { commands.push_back(303); }
};

class QtBackendTest : public ::testing::Test {
  protected:
    QtBackend backend;
    Root root{backend};
};

void ExpectKind(QWidget* widget, ControlKind kind, int id) {
    ASSERT_NE(widget, nullptr) << id;
    switch (kind) {
        case ControlKind::Static:
            EXPECT_NE(qobject_cast<QLabel*>(widget), nullptr) << id;
            break;
        case ControlKind::Button:
            EXPECT_NE(qobject_cast<QPushButton*>(widget), nullptr) << id;
            break;
        case ControlKind::Edit:
            EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr) << id;
            break;
        case ControlKind::ListBox:
            EXPECT_NE(qobject_cast<LineListView*>(widget), nullptr) << id;
            break;
        case ControlKind::ComboBox:
            EXPECT_NE(qobject_cast<QComboBox*>(widget), nullptr) << id;
            break;
        case ControlKind::Table:
            EXPECT_NE(qobject_cast<TableView*>(widget), nullptr) << id;
            break;
        case ControlKind::CheckBox:
            EXPECT_NE(qobject_cast<QCheckBox*>(widget), nullptr) << id;
            break;
        case ControlKind::MarkedText:
            EXPECT_NE(qobject_cast<MarkedTextView*>(widget), nullptr) << id;
            break;
        case ControlKind::Picture:
            EXPECT_NE(qobject_cast<PictureView*>(widget), nullptr) << id;
            break;
    }
}

TEST_F(QtBackendTest, EveryTemplateBuildsAtItsConvertedRectangles) {
    for (const DialogTemplate* dialogTemplate :
         {&DoublesTemplate(), &InputTemplate(), &TargetTemplate(), &OverviewTemplate(),
          &StatisticsTemplate()}) {
        RecordingDialog dialog(root, *dialogTemplate);
        std::unique_ptr<WindowPeer> created = backend.CreateDialogPeer(dialog);
        auto* peer = dynamic_cast<QtDialogPeer*>(created.get());
        ASSERT_NE(peer, nullptr);
        TemplateDialog& widget = peer->DialogWidget();
        const DialogBaseUnits base = widget.BaseUnits();
        EXPECT_GT(base.width, 3);
        EXPECT_GT(base.height, 8);
        EXPECT_EQ(widget.windowTitle(), FromUtf8(dialogTemplate->caption));
        EXPECT_EQ(widget.size(), ToPixels(dialogTemplate->rect, base).size());
        bool sawDefault = false;
        for (const ControlTemplate& control : dialogTemplate->controls) {
            if (control.id == kNoControlId) {
                continue;
            }
            QWidget* child = peer->Widget(control.id);
            ExpectKind(child, control.kind, control.id);
            const QRect expected = ToPixels(control.rect, base);
            if (control.kind == ControlKind::ComboBox) {
                // Closed, a combo box is as high as it needs; the template height is its list's.
                EXPECT_EQ(child->geometry().topLeft(), expected.topLeft()) << control.id;
                EXPECT_EQ(child->width(), expected.width()) << control.id;
                EXPECT_LE(child->height(), expected.height()) << control.id;
            } else {
                EXPECT_EQ(child->geometry(), expected) << control.id;
            }
            EXPECT_EQ(peer->Text(control.id),
                      control.kind == ControlKind::ListBox || control.kind == ControlKind::ComboBox
                          ? std::string()
                          : control.text)
                << control.id;
            if (auto* button = qobject_cast<QPushButton*>(child); button && button->isDefault()) {
                sawDefault = true;
                // The template's default, or button 1 where the template names none.
                EXPECT_TRUE((control.style & style::kDefaultButton) != 0 ||
                            control.id == kOkCommand);
            }
        }
        EXPECT_TRUE(sawDefault) << dialogTemplate->id;
    }
}

TEST_F(QtBackendTest, EveryFieldIsNamedByItsLabel) {
    const auto names = [this](const DialogTemplate& dialogTemplate) {
        RecordingDialog dialog(root, dialogTemplate);
        std::unique_ptr<WindowPeer> created = backend.CreateDialogPeer(dialog);
        auto& peer = dynamic_cast<QtWindowPeer&>(*created);
        std::map<int, std::string> named;
        for (const ControlTemplate& control : dialogTemplate.controls) {
            if (control.kind == ControlKind::Edit || control.kind == ControlKind::ListBox ||
                control.kind == ControlKind::ComboBox) {
                named[control.id] = peer.Widget(control.id)->accessibleName().toStdString();
            }
        }
        for (const QLabel* label : peer.Container().findChildren<QLabel*>()) {
            if (label->buddy() != nullptr) {
                EXPECT_EQ(label->buddy()->accessibleName(), label->text().remove('&'));
            }
        }
        return named;
    };
    EXPECT_EQ(names(InputTemplate()), (std::map<int, std::string>{{ids::kInputQuestion, "Question"},
                                                                  {ids::kInputAnswer, "Answer"}}));
    EXPECT_EQ(names(TargetTemplate()), (std::map<int, std::string>{{ids::kTargetList, "Target"}}));
    EXPECT_EQ(names(OverviewTemplate()),
              (std::map<int, std::string>{{ids::kOverviewCards, "Partition overview"},
                                          {ids::kOverviewPartition, "Partition"}}));
}

TEST_F(QtBackendTest, DialogUnitsFollowTheFontMetrics) {
    const DialogBaseUnits base{6, 13};
    EXPECT_EQ(ToPixels({4, 8, 40, 16}, base), QRect(6, 13, 60, 26));
    EXPECT_EQ(ToPixels({1, 1, 2, 3}, base), QRect(2, 2, 3, 5));  // rounded, not cut
}

TEST_F(QtBackendTest, AModalDialogEndsWithTheButtonClicked) {
    RecordingDialog dialog(root, InputTemplate());
    QTimer::singleShot(0, [] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("&Help")) {
                button->click();
            }
        }
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("&Close")) {
                button->click();
            }
        }
    });
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    EXPECT_EQ(dialog.commands, std::vector<int>{303});
}

// What ends the dialogs that a failed test leaves open: nested ones too, innermost first.
TEST_F(QtBackendTest, DialogsLeftOpenAreEndedFromOutside) {
    class Nesting : public Dialog {
      public:
        explicit Nesting(Window& parent) : Dialog(parent, DoublesTemplate()) {}
        std::optional<DialogResult> inner;

        void SetupWindow() override {
            QTimer::singleShot(0, [this] {
                RecordingDialog nested(*this, InputTemplate());
                QTimer::singleShot(0, [] { testing::CloseModalWidgets(); });
                inner = nested.Execute();
            });
        }
    };
    Nesting dialog(root);
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    EXPECT_EQ(dialog.inner, DialogResult::Cancel);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtBackendTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
    RecordingDialog first(root, InputTemplate());
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        QTest::keyClick(modal->findChildren<QLineEdit*>().front(), Qt::Key_Return);
    });
    EXPECT_EQ(first.Execute(), DialogResult::Ok);
    RecordingDialog second(root, DoublesTemplate());
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    EXPECT_EQ(second.Execute(), DialogResult::Cancel);
}

TEST_F(QtBackendTest, ListsNotifyOnlyForTheUser) {
    class ListDialog : public Dialog {
      public:
        explicit ListDialog(Window& parent) : Dialog(parent, OverviewTemplate()) {
            OnNotify(501, Notification::SelectionChanged, &ListDialog::Changed);
            OnNotify(501, Notification::DoubleClicked, &ListDialog::Double);
        }
        int changes = 0;
        int doubles = 0;

      private:
        void Changed() { ++changes; }
        void Double() { ++doubles; }
    };
    ListDialog dialog(root);
    std::unique_ptr<WindowPeer> peer = backend.CreateDialogPeer(dialog);
    dialog.AttachPeer(peer.get());
    dialog.AddLine(501, "a");
    dialog.AddLine(501, "b\u00E4");
    dialog.SelectLine(501, 1);
    EXPECT_EQ(dialog.changes, 0);
    EXPECT_EQ(dialog.LineText(501, 1), "b\u00E4");
    auto* list = qobject_cast<LineListView*>(dynamic_cast<QtWindowPeer*>(peer.get())->Widget(501));
    ASSERT_NE(list, nullptr);
    list->resize(200, 100);
    list->window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    // As a user's Ctrl+click would.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->LineRect(0).center());
    EXPECT_EQ(dialog.changes, 1);
    EXPECT_EQ(dialog.SelectedLines(501), (std::vector<int>{0, 1}));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                       list->LineRect(0).center());
    EXPECT_EQ(dialog.doubles, 1);
    EXPECT_EQ(dialog.SelectedLines(501), (std::vector<int>{0}));

    // Lines given by their owner: asked for as they are read or drawn, never all at once.
    int asked = 0;
    dialog.SetLines(501, 1000000, [&asked](int line) {
        ++asked;
        return "line " + std::to_string(line);
    });
    EXPECT_EQ(dialog.LineCount(501), 1000000);
    EXPECT_TRUE(dialog.SelectedLines(501).empty());
    EXPECT_EQ(dialog.LineText(501, 765432), "line 765432");
    list->viewport()->repaint();
    EXPECT_LT(asked, 1000);
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(dialog.SelectedLines(501).size(), 1000000u);
    EXPECT_EQ(dialog.SelectedLines(501).back(), 999999);
    dialog.AttachPeer(nullptr);
}

// A list of many lines in a window of its own, as a user meets it.
struct ShownList {
    explicit ShownList(bool several) : list(nullptr, several) {
        list.resize(200, 10 * (list.fontMetrics().height() + 2) + 4);
        list.SetSource(1000, [](int line) { return "line " + std::to_string(line); });
        list.SetOnSelectionChanged([this] { ++changes; });
        list.show();
        static_cast<void>(QTest::qWaitForWindowExposed(&list));
    }
    void Click(int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, list.LineRect(line).center());
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&list, static_cast<Qt::Key>(key), modifiers);
    }
    LineListView list;
    int changes = 0;
};

TEST_F(QtBackendTest, AListOfSeveralLinesSelectsWithClicksAndKeys) {
    ShownList shown(true);
    shown.Click(2);
    shown.Click(5, Qt::ShiftModifier);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{2, 3, 4, 5}));
    shown.Click(3, Qt::ControlModifier);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{2, 4, 5}));
    shown.Click(7, Qt::ControlModifier | Qt::ShiftModifier);  // from the anchor, 3, added
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(shown.changes, 4);

    shown.Key(Qt::Key_Down);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{8}));
    shown.Key(Qt::Key_Down, Qt::ShiftModifier);
    shown.Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{8, 9, 10}));
    // Ctrl moves without selecting; Ctrl+Space then adds the line.
    shown.Key(Qt::Key_Down, Qt::ControlModifier);
    shown.Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(shown.list.CurrentLine(), 12);
    shown.Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{8, 9, 10, 12}));
    // The current line stays on view.
    shown.Key(Qt::Key_End);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{999}));
    EXPECT_TRUE(shown.list.viewport()->rect().contains(shown.list.LineRect(999)));
    shown.Key(Qt::Key_PageUp);
    EXPECT_LT(shown.list.CurrentLine(), 999);
    EXPECT_GT(shown.list.CurrentLine(), 985);
    const int before = shown.list.CurrentLine();
    shown.Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(shown.list.CurrentLine(), 0);
    EXPECT_EQ(shown.list.SelectedLines().size(), static_cast<std::size_t>(before) + 1);
    shown.Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(shown.list.SelectedLines().size(), 1000u);

    // What the program selects is not told as the user's doing.
    const int heard = shown.changes;
    shown.list.SelectOnly(500);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{500}));
    EXPECT_TRUE(shown.list.viewport()->rect().contains(shown.list.LineRect(500)));
    EXPECT_EQ(shown.changes, heard);
}

// A table of a million rows, driven with the mouse and the keys through Qt's real widgets; a
// screen reader reads its cells.
TEST_F(QtBackendTest, ATableTellsWhatTheUserDoesAndIsReadOut) {
    testing::TableDialog dialog(root, 1000000, [](int row, int column) {
        return column == 0 ? "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0 " + std::to_string(row)
                           : std::to_string(row % 7);
    });
    std::vector<int> selected;
    QString cellRead;
    QTimer::singleShot(0, [&dialog, &selected, &cellRead] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        auto* table = modal->findChild<TableView*>();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->model()->rowCount(), 1000000);
        QHeaderView* header = table->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionPosition(1) + 5, header->height() / 2));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
        selected = dialog.table.SelectedRows();
        QTest::keyClick(table, Qt::Key_Return);
        auto* search = modal->findChild<QLineEdit*>();
        ASSERT_NE(search, nullptr);
        search->clear();  // by the program: not told
        QTest::keyClicks(search, "kn");
        auto* strict = modal->findChild<QCheckBox*>();
        ASSERT_NE(strict, nullptr);
        strict->click();
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(table);
        ASSERT_NE(access, nullptr);
        if (QAccessibleTableInterface* cells = access->tableInterface()) {
            if (QAccessibleInterface* cell = cells->cellAt(3, 0)) {
                cellRead = cell->text(QAccessible::Name);
            }
        }
        dialog.table.SetSortIndicator(1, true);
        EXPECT_EQ(header->sortIndicatorSection(), 1);
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
        EXPECT_EQ(dialog.table.ColumnWidths().at(0), 120);
        modal->reject();
    });
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    EXPECT_EQ(selected, (std::vector<int>{0, 1}));
    EXPECT_EQ(cellRead, QStringLiteral("\u043A\u043D\u0438\u0433\u0430 3"));
    ASSERT_GE(dialog.events.size(), 5u);
    EXPECT_EQ(dialog.events.front(), "column 1");
    EXPECT_EQ(std::count(dialog.events.begin(), dialog.events.end(), "activated 0"), 1);
    EXPECT_NE(std::find(dialog.events.begin(), dialog.events.end(), "search kn"),
              dialog.events.end());
    EXPECT_EQ(std::count(dialog.events.begin(), dialog.events.end(), "search "), 0);
    EXPECT_EQ(dialog.events.back(), "strict on");
}

// A screen reader finds every line as an item of the list, with its text and selection.
TEST_F(QtBackendTest, AListsLinesAreItemsForScreenReaders) {
    ShownList shown(true);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&shown.list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->childCount(), 1000);
    QAccessibleInterface* line = list->child(5);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line, list->child(5));  // one item per line, kept
    EXPECT_EQ(line->role(), QAccessible::ListItem);
    EXPECT_EQ(line->text(QAccessible::Name), QStringLiteral("line 5"));
    EXPECT_EQ(list->indexOfChild(line), 5);
    EXPECT_EQ(line->parent(), list);
    EXPECT_FALSE(line->state().selected);
    shown.Click(5);
    EXPECT_TRUE(line->state().selected);
    EXPECT_EQ(list->focusChild(), line);
    EXPECT_EQ(list->childAt(line->rect().center().x(), line->rect().center().y()), line);
    EXPECT_EQ(list->child(1000), nullptr);
    EXPECT_TRUE(list->child(999)->state().invisible);
}

TEST_F(QtBackendTest, AListOfOneLineIgnoresTheModifiersAndDragsAlong) {
    ShownList shown(false);
    shown.Click(1);
    shown.Click(4, Qt::ShiftModifier);
    shown.Click(6, Qt::ControlModifier);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{6}));
    shown.Key(Qt::Key_A, Qt::ControlModifier);
    shown.Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(shown.list.SelectedLines(), (std::vector<int>{7}));
    EXPECT_EQ(shown.list.FirstSelected(), 7);
    // Enter is left to the dialog.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&shown.list, &enter);
    EXPECT_FALSE(enter.isAccepted());

    ShownList several(true);
    QTest::mousePress(several.list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      several.list.LineRect(2).center());
    QMouseEvent move(QEvent::MouseMove, several.list.LineRect(5).center(),
                     several.list.viewport()->mapToGlobal(several.list.LineRect(5).center()),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(several.list.viewport(), &move);
    QTest::mouseRelease(several.list.viewport(), Qt::LeftButton, Qt::NoModifier,
                        several.list.LineRect(5).center());
    EXPECT_EQ(several.list.SelectedLines(), (std::vector<int>{2, 3, 4, 5}));
}

// A client with one button; its accelerators and menu are the test's.
class Client : public Window {
  public:
    explicit Client(Backend& backend) : Window(backend) {
        AddControl({30, ControlKind::Button, "Go", {10, 10, 60, 24}, style::kDefaultButton});
        AddControl({31, ControlKind::Static, " ", {10, 40, 60, 20}, style::kCenter});
        AddControl({32, ControlKind::Static, "1", {10, 70, 60, 20}, style::kTextBackground});
        OnCommand(30, &Client::Button);
        OnCommand(500, &Client::Accelerated);
        OnCommand(501, &Client::Menu);
        OnEnable(501, &Client::MenuState);
    }
    void EvSize(int width, int height) override { sizes.emplace_back(width, height); }
    void EvShown() override {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* main = dynamic_cast<MainFrame*>(widget)) {
                exposedWhenShown =
                    main->windowHandle() != nullptr && main->windowHandle()->isExposed();
            }
        }
    }

    std::vector<std::string> events;
    std::vector<std::pair<int, int>> sizes;
    bool checked = true;
    // Whether the window was on screen when the client was told so.
    bool exposedWhenShown = false;

  private:
    void Button() { events.push_back("button"); }
    void Accelerated() { events.push_back("accelerator"); }
    void Menu() { events.push_back("menu"); }
    void MenuState(CommandState& state) { state.checked = checked; }
};

class QtFrameTest : public QtBackendTest {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<Client>(backend);
        client = owned.get();
        frame = std::make_unique<FrameWindow>(backend, "Frame \u00E4", std::move(owned));
        frame->SetAccelerators({1, {{Key::Virtual(kVkReturn), 500}, {Key::Character('k'), 500}}});
        frame->SetMenu({100, {MenuItem::Popup("&Test", {MenuItem::Command("&Run", 501)})}});
        frame->AddStatusArea({90, 30});
        frame->SetModeIndicators(kIndicatorCapsLock | kIndicatorNumLock);
        frame->SetInitialSize(600, 250);
        frame->Create();
        frame->Show();
        main = backend.Frame();
        main->activateWindow();
    }
    QWidget* Widget(int id) { return dynamic_cast<QtWindowPeer&>(main->Client()).Widget(id); }

    Client* client = nullptr;
    std::unique_ptr<FrameWindow> frame;
    MainFrame* main = nullptr;
};

// The window's size and place go to the settings when it closes, through the backend as on
// Windows, and the next window of the program opens with them.
TEST_F(QtFrameTest, TheWindowsSizeIsKeptForTheNextRun) {
    main->resize(640, 300);
    ASSERT_TRUE(frame->Close());
    EXPECT_FALSE(backend.ReadSetting("window/geometry").empty());

    FrameWindow next(backend, "Next", std::make_unique<Client>(backend));
    next.SetInitialSize(200, 100);
    next.Create();
    next.Show();
    EXPECT_EQ(backend.Frame()->size(), QSize(640, 300));
    // The tests after this one in the same run start from no kept place.
    backend.WriteSetting("window/geometry", "");
}

// A kept place that no screen can show (a damaged settings file: far beyond the screens, or a
// rectangle whose right edge lies left of its left one) is dropped: the window opens at its
// first size, in the middle of the screen, and is shown.
TEST_F(QtFrameTest, AKeptPlaceNoScreenShowsIsDropped) {
    main->resize(640, 300);
    ASSERT_TRUE(frame->Close());
    const std::string kept = backend.ReadSetting("window/geometry");
    ASSERT_GE(kept.size(), 66u);
    // The kept rectangles as QDataStream writes them: left, top, right, bottom, big endian,
    // for the frame (from byte 8), the normal geometry (24) and the geometry (50).
    auto patched = [&kept](std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
        std::string bytes = kept;
        for (const std::size_t at : {std::size_t{8}, std::size_t{24}, std::size_t{50}}) {
            const std::int32_t values[] = {left, top, right, bottom};
            for (int i = 0; i < 4; ++i) {
                const auto value = static_cast<std::uint32_t>(values[i]);
                for (int byte = 0; byte < 4; ++byte) {
                    bytes[at + static_cast<std::size_t>(i * 4 + byte)] =
                        static_cast<char>((value >> (24 - 8 * byte)) & 0xFFU);
                }
            }
        }
        return bytes;
    };
    for (const std::string& damaged : {patched(2000000000, 2000000000, 2000000640, 2000000300),
                                       patched(-2000000000, -2000000000, -1999999360, -1999999700),
                                       patched(500, 200, 100, 100)}) {
        backend.WriteSetting("window/geometry", damaged);
        FrameWindow next(backend, "Next", std::make_unique<Client>(backend));
        next.SetInitialSize(300, 200);
        next.Create();
        next.Show();
        MainFrame* shown = backend.Frame();
        const QRect screen = shown->screen()->availableGeometry();
        EXPECT_TRUE(shown->isVisible());
        EXPECT_TRUE(screen.contains(shown->geometry()))
            << shown->geometry().x() << "," << shown->geometry().y();
        EXPECT_EQ(shown->size(), QSize(300, 200));
        // In the middle, give or take the frame the window system draws around it.
        EXPECT_LE(std::abs(shown->geometry().center().x() - screen.center().x()), 8);
        EXPECT_LE(std::abs(shown->geometry().center().y() - screen.center().y()), 16);
        ASSERT_TRUE(next.Close());
    }
    backend.WriteSetting("window/geometry", "");
}

// A settings file that is no regular file (here a FIFO, whose open() would wait for a writer
// for ever) is left alone: the run keeps its settings in memory.
TEST_F(QtBackendTest, ASettingsFileThatIsNoFileIsLeftAlone) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/Tallyfold");
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::string fifo =
        QFile::encodeName(folder + QStringLiteral("/Tallyfold.conf")).toStdString();
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    {
        QtBackend fresh;
        EXPECT_EQ(fresh.ReadSetting("window/geometry"), "");
        fresh.WriteSetting("recent/1", "words.vok");
        EXPECT_EQ(fresh.ReadSetting("recent/1"), "words.vok");
    }
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    std::filesystem::remove(fifo);
}

// Counts the times a window was blocked by a modal one.
class BlockedCounter : public QObject {
  public:
    int blocked = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked) {
            ++blocked;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Help asked for from a dialog comes to the front and takes input while the dialog is open;
// the main window stays blocked.
TEST_F(QtFrameTest, TheHelpWindowTakesInputOverAModalDialog) {
    backend.Help(frame->Client(), {HelpCommand::Contents, 0, "", ""});
    HelpWindow* help = backend.HelpWindowIfOpen();
    ASSERT_NE(help, nullptr);
    BlockedCounter helpCounter;
    BlockedCounter mainCounter;
    help->installEventFilter(&helpCounter);
    main->installEventFilter(&mainCounter);
    RecordingDialog dialog(frame->Client(), InputTemplate());
    QTimer::singleShot(0, [&] {
        backend.Help(dialog, {HelpCommand::Context, 3200, "", "doubles.html"});
        EXPECT_TRUE(QTest::qWaitForWindowActive(help));
        dialog.Dispatch(kCancelCommand);
    });
    EXPECT_EQ(dialog.Execute(), DialogResult::Cancel);
    EXPECT_EQ(helpCounter.blocked, 0);
    EXPECT_GT(mainCounter.blocked, 0);
    help->close();
}

TEST_F(QtFrameTest, AcceleratorsTakeKeysBeforeButtons) {
    QWidget* button = Widget(30);
    ASSERT_NE(button, nullptr);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, 'k');
    QTest::keyClick(button, 'K');  // only the lower-case letter is an accelerator
    qobject_cast<QPushButton*>(button)->click();
    EXPECT_EQ(client->events, (std::vector<std::string>{"accelerator", "accelerator", "button"}));
}

TEST_F(QtFrameTest, MenuCommandsAndCheckMarks) {
    QMenu* menu = main->menuBar()->actions().front()->menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QAction* run = menu->actions().front();
    EXPECT_TRUE(run->isChecked());
    client->checked = false;
    emit menu->aboutToShow();
    EXPECT_FALSE(run->isChecked());
    run->trigger();
    EXPECT_EQ(client->events, std::vector<std::string>{"menu"});
}

TEST_F(QtFrameTest, StatusBarAreasAndLockIndicators) {
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Frame \u00E4"));
    frame->SetStatusText(0, "Partition: 1 Box: 2");
    frame->SetStatusText(90, "known: 0 unknown: 0");
    EXPECT_EQ(frame->StatusText(0), "Partition: 1 Box: 2");
    EXPECT_EQ(frame->StatusText(90), "known: 0 unknown: 0");
    QStringList texts;
    for (QLabel* label : main->statusBar()->findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("CAPS")));
    EXPECT_TRUE(texts.contains(QStringLiteral("NUM")));
    // The offscreen platform tells no lock state, so both stay unlit.
    EXPECT_FALSE(main->CapsLockShown());
    EXPECT_FALSE(main->NumLockShown());
}

// What the program asks at its start (a crash's changes to restore) comes up over the window
// only once the window is on screen: before, a window manager may put it in a screen corner.
TEST_F(QtFrameTest, TheClientIsToldOfTheShowOnceTheWindowIsOnScreen) {
    EXPECT_TRUE(client->exposedWhenShown);
}

TEST_F(QtFrameTest, SizeEventsReachTheClient) {
    main->resize(500, 300);
    QApplication::processEvents();
    ASSERT_FALSE(client->sizes.empty());
    EXPECT_EQ(client->sizes.back().first, main->centralWidget()->width());
    frame->Client().MoveControl(31, {-5, -19, 100, 20});
    EXPECT_EQ(frame->Client().Peer()->Position(31), (Rect{-5, -19, 100, 20}));
}

// A card text in the font the learner chose, smaller only where it would not fit; a strip on
// the palette's colours for texts, dark in a dark palette; names for screen readers.
TEST_F(QtFrameTest, TextsTakeTheirFontTheirRoomAndThePalette) {
    Window& window = frame->Client();
    window.MoveControl(31, {10, 10, 400, 60});
    window.SetControlText(31, "Haus");
    window.SetControlFont(31, {"DejaVu Serif", 20});
    const auto* label = qobject_cast<QLabel*>(Widget(31));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(label->font().pointSizeF(), 20.0);
    const QString longText(40, QLatin1Char('W'));
    window.SetControlText(31, ToUtf8(longText));
    EXPECT_LT(label->font().pointSizeF(), 20.0);
    EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(longText),
              label->contentsRect().width());
    // A wider window gives the text its room back.
    window.SetControlText(31, "Haus");
    window.MoveControl(31, {10, 10, 400, 60});
    EXPECT_EQ(label->font().pointSizeF(), 20.0);

    window.SetControlAccessibleName(31, "Question: Haus");
    QAccessibleInterface* named = QAccessible::queryAccessibleInterface(Widget(31));
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->text(QAccessible::Name), QStringLiteral("Question: Haus"));

    QPalette dark = main->palette();
    dark.setColor(QPalette::Base, QColor(20, 20, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    main->setPalette(dark);
    QWidget* strip = Widget(32);
    EXPECT_TRUE(strip->autoFillBackground());
    EXPECT_EQ(strip->palette().color(strip->backgroundRole()), QColor(20, 20, 30));
    EXPECT_EQ(strip->palette().color(strip->foregroundRole()), QColor(230, 230, 230));
}

TEST_F(QtBackendTest, TheFontDialogGivesTheFaceAndSizeChosen) {
    QString title;
    QTimer::singleShot(0, [&title] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"), 22));
        dialog->accept();
    });
    TextFont font{"DejaVu Sans", 16};
    ASSERT_TRUE(backend.RunFontDialog(root, "Question font", font));
    EXPECT_EQ(title, QStringLiteral("Question font"));
    EXPECT_EQ(font, (TextFont{"DejaVu Serif", 22}));
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->currentFont().family(), QStringLiteral("DejaVu Serif"));
        dialog->reject();
    });
    EXPECT_FALSE(backend.RunFontDialog(root, "Question font", font));
    EXPECT_EQ(font, (TextFont{"DejaVu Serif", 22}));
}

TEST_F(QtBackendTest, FileFiltersShowTheirDescriptionAsItStands) {
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        for (int i = 0; i < types->count(); ++i) {
            shown << types->itemText(i).trimmed();
        }
        dialog->reject();
    });
    FileDialogData data;
    data.filter = "Vokabeln (*.vok) | *.vok |All (*.*)|*.*|";
    EXPECT_FALSE(backend.RunFileDialog(root, FileDialogKind::Open, data));
    EXPECT_EQ(shown,
              (QStringList{QStringLiteral("Vokabeln (*.vok)"), QStringLiteral("All (*.*)")}));
}

// The file type the user picks in Qt's own dialog comes back as its place in the filter,
// whatever form of it the dialog reports.
TEST_F(QtBackendTest, TheChosenFileTypeComesBack) {
    const auto choose = [this](int type, FileDialogKind kind) {
        QTimer::singleShot(0, [type] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            types->setCurrentIndex(type);
            emit types->activated(type);  // as a click in the list does
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QStringLiteral("words"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        FileDialogData data;
        data.filter =
            "Text Files (*.txt)|*.txt|Tab-separated, UTF-8 (*.tsv)|*.tsv|CSV, UTF-8 "
            "(*.csv)|*.csv|All (*.*)|*.*|";
        data.initialDir = ToPath(QDir::tempPath());
        EXPECT_TRUE(backend.RunFileDialog(root, kind, data));
        return data.filterIndex;
    };
    EXPECT_EQ(choose(1, FileDialogKind::Save), 2);
    EXPECT_EQ(choose(2, FileDialogKind::Save), 3);
    EXPECT_EQ(choose(3, FileDialogKind::Save), 4);
    EXPECT_EQ(choose(0, FileDialogKind::Save), 1);
}

TEST_F(QtBackendTest, AYesNoQuestionNeedsAButton) {
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);  // no answer: the question stays
        box->close();
        EXPECT_TRUE(box->isVisible());
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(root.MessageBox("Save existing changes?", "", MessageButtons::YesNo),
              DialogResult::Yes);
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(root.MessageBox("All Data will be erased!", "", MessageButtons::OkCancel),
              DialogResult::Cancel);
}

TEST_F(QtBackendTest, AMessageAboutAFileShowsItsNameInAnyScript) {
    const std::string greek = "/tmp/\xCE\xBB\xCE\xAD\xCE\xBE\xCE\xB5\xCE\xB9\xCF\x82.vok";
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(root.MessageBoxAbout("This file could not be opened:", FilePath(greek)),
              DialogResult::Ok);
    EXPECT_EQ(shown, QStringLiteral("This file could not be opened:\n/tmp/") +
                         QString::fromUtf8("\u03BB\u03AD\u03BE\u03B5\u03B9\u03C2.vok"));
}

TEST(QtText, TextsCrossAsUtf8) {
    // Polish, Russian, Arabic, Chinese, and an emoji outside the basic plane.
    const std::string text =
        "g\u0119\u015B \u0441\u043B\u043E\u0432\u043E \u0643\u062A\u0627\u0628 "
        "\u4E2D\u6587 \U0001F44D\U0001F3FD";
    const QString shown = FromUtf8(text);
    EXPECT_EQ(shown.size(), 22);  // the emoji and its skin tone are two UTF-16 units each
    EXPECT_EQ(shown[1], QChar(0x0119));
    EXPECT_EQ(ToUtf8(shown), text);
    // A lone surrogate has no UTF-8: it never reaches the program as such.
    EXPECT_EQ(ToUtf8(QString(QChar(0xD800))), "?");
}

TEST(QtText, EditsCountCharactersAsAPersonDoes) {
    TextLimitValidator validator(3, 12, nullptr);
    int position = 0;
    // Three characters each, of one, two and four UTF-16 units.
    QString latin = QStringLiteral("abc");
    QString marks = QString::fromUtf8("e\u0301e\u0301e\u0301");
    QString emoji = QString::fromUtf8("\U0001F44D\U0001F3FD\u4E2D");
    EXPECT_EQ(validator.validate(latin, position), QValidator::Acceptable);
    EXPECT_EQ(validator.validate(marks, position), QValidator::Acceptable);
    EXPECT_EQ(validator.validate(emoji, position), QValidator::Acceptable);
    QString fourth = QStringLiteral("abcd");
    EXPECT_EQ(validator.validate(fourth, position), QValidator::Invalid);
    // Within three characters but beyond twelve bytes.
    QString heavy = QString::fromUtf8("\U0001F44D\U0001F3FD\U0001F44D\U0001F3FD");
    EXPECT_EQ(validator.validate(heavy, position), QValidator::Invalid);
}

TEST_F(QtBackendTest, HelpOpensAtAContextAndAtTheCopyrightKeyword) {
    backend.Help(root, {HelpCommand::Context, 3300, "", "input.html"});
    HelpWindow* help = backend.HelpWindowIfOpen();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("input.html"));
    QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    backend.Help(root, {HelpCommand::Key, 0, "Copyright", ""});
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("copyright.html"));
    // Help > Info: the version and the licence.
    EXPECT_TRUE(help->PageText().contains(QStringLiteral("Version 9.8.7")));
    EXPECT_TRUE(help->PageText().contains(QStringLiteral("GNU General Public License")));
    backend.Help(root, {HelpCommand::Contents, 0, "", ""});
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("contents.html"));
    backend.Help(root, {HelpCommand::HelpOnHelp, 0, "", ""});
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("using-help.html"));
    backend.Help(root, {HelpCommand::PartialKey, 0, "", ""});
    EXPECT_EQ(help->SearchField().text(), QString());
    help->SearchField().setText(QStringLiteral("parti"));
    int visible = 0;
    for (int i = 0; i < help->Index().count(); ++i) {
        visible += help->Index().item(i)->isHidden() ? 0 : 1;
    }
    EXPECT_EQ(visible, 2);  // "Partition overview" and "Partitions"
    backend.Help(root, {HelpCommand::Quit, 0, "", ""});
    EXPECT_FALSE(help->isVisible());
    // Escape closes it as well; no label shows a stray ampersand.
    backend.Help(root, {HelpCommand::Contents, 0, "", ""});
    ASSERT_TRUE(help->isVisible());
    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(&help->SearchField(), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    backend.Help(root, {HelpCommand::Contents, 0, "", ""});
    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(&help->SearchField(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(help->isVisible());
    for (const QLabel* label : help->findChildren<QLabel*>()) {
        EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
    }
}

TEST_F(QtBackendTest, HelpGoesBackAndForwardAndSearchesEveryPage) {
    backend.Help(root, {HelpCommand::Context, 3300, "", "input.html"});
    HelpWindow* help = backend.HelpWindowIfOpen();
    ASSERT_NE(help, nullptr);
    const QString first = help->CurrentPage();
    backend.Help(root, {HelpCommand::HelpOnHelp, 0, "", ""});
    ASSERT_TRUE(help->BackButton().isEnabled());
    EXPECT_FALSE(help->ForwardButton().isEnabled());
    help->BackButton().click();
    EXPECT_EQ(help->CurrentPage(), first);
    ASSERT_TRUE(help->ForwardButton().isEnabled());
    help->ForwardButton().click();
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("using-help.html"));

    // Every word typed must be on a page; case does not matter.
    help->FindField().setText(QStringLiteral("MIX"));
    const int mixing = help->Found().count();
    EXPECT_GT(mixing, 0);
    help->FindField().setText(QStringLiteral("mix partition"));
    EXPECT_GT(help->Found().count(), 0);
    EXPECT_LE(help->Found().count(), mixing);
    help->FindField().setText(QStringLiteral("mix zqxjkv"));
    EXPECT_EQ(help->Found().count(), 0);
    help->FindField().setText(QStringLiteral("warranty"));
    ASSERT_GT(help->Found().count(), 0);
    QTest::keyClick(&help->FindField(), Qt::Key_Return);
    EXPECT_EQ(help->CurrentPage(), QStringLiteral("copyright.html"));
    help->close();
}

TEST(HelpPages, EveryIndexEntryAndContextHasItsPage) {
    EnsureHelpPages();
    QFile keywords(QStringLiteral(":/help/keywords.txt"));
    ASSERT_TRUE(keywords.open(QIODevice::ReadOnly | QIODevice::Text));
    int entries = 0;
    for (const QString& line : QString::fromUtf8(keywords.readAll()).split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QString target = line.section(QLatin1Char('\t'), 1).section(QLatin1Char('#'), 0, 0);
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + target)) << line.toStdString();
        ++entries;
    }
    EXPECT_GT(entries, 20);
    for (const unsigned long context : {3200ul, 3300ul, 3400ul, 3500ul}) {
        const std::string_view page = HelpPageOfDialog(context);
        EXPECT_FALSE(page.empty()) << context;
        EXPECT_TRUE(
            QFile::exists(QStringLiteral(":/help/") +
                          QString::fromUtf8(page.data(), static_cast<qsizetype>(page.size()))));
    }
}

// A picture is painted in the palette's colours, light or dark: a bar exactly in its role's
// colour, a text that leaves ink.
TEST(PictureView, PaintsItsShapesInThePalettesColours) {
    PictureText label;
    label.rect = {60, 10, 100, 30};
    label.text = "12 cards";
    Picture picture{200, 60, {}};
    picture.shapes.emplace_back(PictureRectangle{{10, 10, 30, 40}, PictureColour::Known});
    picture.shapes.emplace_back(label);
    for (const bool dark : {false, true}) {
        PictureView view(nullptr);
        QPalette palette = view.palette();
        palette.setColor(QPalette::Base, dark ? QColor(30, 30, 32) : QColor(255, 255, 255));
        palette.setColor(QPalette::Text, dark ? QColor(230, 230, 230) : QColor(16, 16, 16));
        view.setPalette(palette);
        view.resize(200, 60);
        view.SetPicture(picture);
        const QImage image = view.grab().toImage();
        const MarkColour base{static_cast<std::uint8_t>(dark ? 30 : 255),
                              static_cast<std::uint8_t>(dark ? 30 : 255),
                              static_cast<std::uint8_t>(dark ? 32 : 255)};
        const MarkColour known = ColourOf(PictureColour::Known, 100, {{}, base, {}});
        EXPECT_EQ(image.pixelColor(25, 30), QColor(known.red, known.green, known.blue)) << dark;
        EXPECT_EQ(image.pixelColor(190, 50), QColor(base.red, base.green, base.blue)) << dark;
        int ink = 0;
        for (int x = 60; x < 160; ++x) {
            for (int y = 10; y < 40; ++y) {
                ink += image.pixelColor(x, y) != QColor(base.red, base.green, base.blue) ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 20) << "the text is drawn";
    }
}

}  // namespace
}  // namespace tallyfold::platform::qt

int main(int argc, char** argv) {
    return tallyfold::testing::RunQtTests(argc, argv);
}
