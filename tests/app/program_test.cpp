// The real program on the Qt backend (offscreen): started on the sample box, it shows a card,
// and two presses of Return count it as known and ask the next one.

#include <gtest/gtest.h>

#include "tests/support/qt_main.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "app/main_window.h"
#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_main_frame.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_text.h"
#include "resources/resource_ids.h"
#include "tests/support/files.h"
#include "tests/support/qt_program.h"

namespace tallyfold {
namespace {

std::string SampleBox() {
    return std::string(TALLYFOLD_SOURCE_DIR) + "/examples/sample.vok";
}

using testing::UserFolders;
using Running = testing::RunningProgram;

TEST(Program, LearnsOnTheSampleBox) {
    const UserFolders user;
    const FilePath path = user.dir.File("sample.vok");
    ASSERT_TRUE(std::filesystem::copy_file(SampleBox(), path.Bytes()));
    Running running(path);
    tCardBox& box = running.box;
    TMyApp& program = running.program;
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tallyfold"));
    tHauptFenster& view = *program.Client();
    const std::string first = view.ControlText(ids::kQuestionStatic);
    EXPECT_NE(first, " ");
    EXPECT_EQ(view.ControlText(ids::kPartitionStatic), "1");
    EXPECT_EQ(frame->StatusText(0), "Partition: 8 Box: 150");
    EXPECT_EQ(frame->StatusText(ids::kCountsGadget), "known: 0 unknown: 0");

    QWidget* look =
        dynamic_cast<platform::qt::QtWindowPeer&>(frame->Client()).Widget(ids::kLookButton);
    QTest::keyClick(look, Qt::Key_Return);
    EXPECT_NE(view.ControlText(ids::kAnswerStatic), " ");
    QTest::keyClick(frame->centralWidget(), Qt::Key_Return);
    EXPECT_NE(view.ControlText(ids::kQuestionStatic), first);
    EXPECT_EQ(view.ControlText(ids::kAnswerStatic), " ");
    EXPECT_EQ(frame->StatusText(0), "Partition: 7 Box: 150");
    EXPECT_EQ(box.CardsIn(2), 16);
    EXPECT_TRUE(view.Changed());

    // Ctrl+Z takes the verdict back and asks the first card again; Ctrl+Y makes it again.
    // Shortcuts reach the active window only.
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view.ControlText(ids::kQuestionStatic), first);
    EXPECT_EQ(box.CardsIn(2), 15);
    EXPECT_FALSE(view.Changed());
    QTest::keyClick(frame, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(box.CardsIn(2), 16);
    EXPECT_TRUE(view.Changed());

    // The menus show the desktop's keys; Ctrl+S saves.
    QStringList shown;
    for (QAction* menu : frame->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (!item->shortcut().isEmpty()) {
                shown << item->shortcut().toString(QKeySequence::PortableText);
            }
        }
    }
    for (const char* key : {"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+Q", "F1", "Ctrl+Z",
                            "Ctrl+Shift+Z", "Ctrl+Shift+N"}) {
        EXPECT_TRUE(shown.contains(QString::fromLatin1(key))) << key;
    }
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(view.Changed());

    // The File menu lists the file among the recent ones, and hides the free places.
    QMenu* file = frame->menuBar()->actions().front()->menu();
    emit file->aboutToShow();
    std::map<int, QAction*> items;
    for (QAction* item : file->actions()) {
        items[item->data().toInt()] = item;
    }
    ASSERT_TRUE(items.count(ids::kCmRecentFile) == 1 && items.count(ids::kCmRecentFile + 1) == 1);
    EXPECT_TRUE(items[ids::kCmRecentFile]->isVisible());
    EXPECT_TRUE(items[ids::kCmRecentFile]->text().startsWith(QStringLiteral("&1 /")));
    EXPECT_TRUE(items[ids::kCmRecentFile]->text().endsWith(QStringLiteral("sample.vok")));
    EXPECT_FALSE(items[ids::kCmRecentFile + 1]->isVisible());
    emit file->aboutToHide();
}

// Whether `widget` as drawn now holds a pixel of the palette's highlight colour.
bool ShowsHighlight(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    const QRgb highlight = widget.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == highlight) {
                return true;
            }
        }
    }
    return false;
}

// Space presses the focused button, as on every desktop: the focus sits on Known once the
// answer shows and on Look after a verdict, and it shows plainly.
TEST(Program, SpaceSpaceIsLookKnown) {
    const UserFolders user;
    const FilePath path = user.dir.File("sample.vok");
    ASSERT_TRUE(std::filesystem::copy_file(SampleBox(), path.Bytes()));
    Running running(path);
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    auto& client = dynamic_cast<platform::qt::QtWindowPeer&>(frame->Client());
    QWidget* look = client.Widget(ids::kLookButton);
    QWidget* known = client.Widget(ids::kKnownButton);
    ASSERT_TRUE(look != nullptr && known != nullptr);
    EXPECT_EQ(QApplication::focusWidget(), look);
    EXPECT_FALSE(ShowsHighlight(*known));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_NE(running.program.Client()->ControlText(ids::kAnswerStatic), " ");
    EXPECT_EQ(QApplication::focusWidget(), known);
    EXPECT_TRUE(ShowsHighlight(*known)) << "the focus is marked in the highlight colour";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(running.box.CardsIn(2), 16) << "counted as known";
    EXPECT_EQ(QApplication::focusWidget(), look);
}

// In the real window the card's text is large, grows as the window grows, and is read out by
// its name.
TEST(Program, TheCardTextIsLargeAndGrowsWithTheWindow) {
    const UserFolders user;
    const FilePath path = user.dir.File("sample.vok");
    ASSERT_TRUE(std::filesystem::copy_file(SampleBox(), path.Bytes()));
    Running running(path);
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    auto& client = dynamic_cast<platform::qt::QtWindowPeer&>(frame->Client());
    QWidget* question = client.Widget(ids::kQuestionStatic);
    ASSERT_NE(question, nullptr);
    const double menuSize = frame->menuBar()->font().pointSizeF();
    const double first = question->font().pointSizeF();
    EXPECT_GE(first, 1.5 * menuSize);
    frame->resize(1000, 600);
    QApplication::processEvents();
    EXPECT_GE(question->font().pointSizeF(), 2 * first);
    EXPECT_EQ(question->accessibleName(),
              "Question: " + QString::fromStdString(
                                 running.program.Client()->ControlText(ids::kQuestionStatic)));
    EXPECT_EQ(client.Widget(ids::kAnswerStatic)->accessibleName(),
              QStringLiteral("Answer: hidden"));
    EXPECT_EQ(client.Widget(ids::kPartitionStatic)->accessibleName(),
              QStringLiteral("Partition 1"));
}

// The Cards window in the real program, with the keys alone: Ctrl+F opens it with the focus in
// the search, typing finds, Down and Enter open the card found, Escape closes.
TEST(Program, TheCardsWindowFindsAndOpensACardWithTheKeys) {
    const UserFolders user;
    const FilePath path = user.dir.File("sample.vok");
    ASSERT_TRUE(std::filesystem::copy_file(SampleBox(), path.Bytes()));
    Running running(path);
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    int found = -1;
    QString count;
    QString edited;
    QSize closedAt;
    QTimer::singleShot(0, [&found, &count, &edited, &closedAt] {
        QWidget* cards = QApplication::activeModalWidget();
        ASSERT_NE(cards, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(cards));
        auto* search = qobject_cast<QLineEdit*>(cards->focusWidget());
        ASSERT_NE(search, nullptr) << "the focus is in the search";
        QTest::keyClicks(search, "BLUME");
        auto* table = cards->findChild<platform::qt::TableView*>();
        ASSERT_NE(table, nullptr);
        found = table->model()->rowCount();
        for (QLabel* label : cards->findChildren<QLabel*>()) {
            if (label->text().contains(QStringLiteral(" of "))) {
                count = label->text();
            }
        }
        QTimer::singleShot(0, [&edited] {
            QWidget* input = QApplication::activeModalWidget();
            ASSERT_NE(input, nullptr);
            EXPECT_TRUE(QTest::qWaitForWindowActive(input));
            edited = input->findChild<QLineEdit*>()->text();
            QTest::keyClick(input, Qt::Key_Escape);
        });
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitForWindowActive(cards)) << "active again after the card's form";
        // Delete asks; Yes deletes the card; Ctrl+Z in the window brings it back.
        QTimer::singleShot(0, [] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(question, nullptr);
            question->button(QMessageBox::Yes)->click();
        });
        QTest::keyClick(table, Qt::Key_Delete);
        EXPECT_EQ(table->model()->rowCount(), 0);
        EXPECT_TRUE(QTest::qWaitForWindowActive(cards));
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(table->model()->rowCount(), 1);
        // In the search, Ctrl+A selects its text, and Ctrl+F goes back there from the table.
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(search->selectedText(), QStringLiteral("BLUME"));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), search);
        // The window grows, and the table with it; it is never smaller than at first.
        EXPECT_EQ(cards->minimumSize(), cards->size());
        const QSize tableBefore = table->size();
        cards->resize(cards->size() + QSize(200, 100));
        QApplication::processEvents();
        EXPECT_EQ(table->size(), tableBefore + QSize(200, 100));
        closedAt = cards->size();
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    QTest::keyClick(frame, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(count, QStringLiteral("1 of 150 cards"));
    EXPECT_EQ(edited, QStringLiteral("die Blume"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(running.backend.ReadSetting("dialogSize3600"),
              std::to_string(closedAt.width()) + " " + std::to_string(closedAt.height()))
        << "kept for the next time";
    EXPECT_FALSE(running.program.Client()->Changed());
}

// The Statistics window in the real program: Ctrl+T opens it, its pictures are drawn (not
// blank), the table lists the hardest cards, Escape closes it.
TEST(Program, TheStatisticsWindowDrawsItsPictures) {
    const UserFolders user;
    const FilePath path = user.dir.File("sample.vok");
    ASSERT_TRUE(std::filesystem::copy_file(SampleBox(), path.Bytes()));
    Running running(path);
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    // A few answers first, so that the days have bars.
    for (const auto key : {Qt::Key_K, Qt::Key_K, Qt::Key_K, Qt::Key_U}) {
        QTest::keyClick(frame->centralWidget(), key);
    }
    int drawn = 0;
    bool opened = false;
    QTimer::singleShot(0, [&drawn, &opened] {
        QWidget* statistics = QApplication::activeModalWidget();
        ASSERT_NE(statistics, nullptr);
        opened = statistics->windowTitle() == QStringLiteral("Statistics");
        for (auto* picture : statistics->findChildren<platform::qt::PictureView*>()) {
            const QImage image = picture->grab().toImage();
            std::set<QRgb> colours;
            for (int y = 0; y < image.height(); y += 2) {
                for (int x = 0; x < image.width(); x += 2) {
                    colours.insert(image.pixel(x, y));
                }
            }
            drawn += colours.size() > 2 ? 1 : 0;
        }
        QTest::keyClick(statistics, Qt::Key_Escape);
    });
    QTest::keyClick(frame, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(opened);
    EXPECT_EQ(drawn, 3) << "the box, the last 30 days and the last year";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Program, AVocabularyFileDroppedOnTheWindowOpens) {
    const UserFolders user;
    const FilePath path = user.dir.File("dropped.vok");
    ASSERT_TRUE(std::filesystem::copy_file(SampleBox(), path.Bytes()));
    Running running{FilePath()};
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->acceptDrops());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.Bytes()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    EXPECT_EQ(running.box.TotalCards(), 150);
    EXPECT_EQ(running.program.Client()->FileName(), path);
}

// Closed by its close button or by File > Exit (Ctrl+Q), the window opens again at its size.
TEST(Program, TheWindowOpensAtTheSizeItWasClosedAt) {
    const UserFolders user;
    for (const bool byExit : {false, true}) {
        QSize closedAt;
        {
            Running first{FilePath()};
            platform::qt::MainFrame* frame = first.backend.Frame();
            ASSERT_NE(frame, nullptr);
            frame->resize(frame->width() + 137, frame->height() + (byExit ? 63 : 41));
            closedAt = frame->size();
            if (byExit) {
                first.program.Client()->Dispatch(ids::kCmFileExit);
                EXPECT_FALSE(frame->isVisible());
            } else {
                EXPECT_TRUE(frame->close());
            }
        }
        Running again{FilePath()};
        ASSERT_NE(again.backend.Frame(), nullptr);
        EXPECT_EQ(again.backend.Frame()->size(), closedAt) << (byExit ? "Exit" : "close button");
    }
}

}  // namespace
}  // namespace tallyfold

int main(int argc, char** argv) {
    return tallyfold::testing::RunQtTests(argc, argv);
}
