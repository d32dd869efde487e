// The real program on the Qt backend (offscreen) with cards in every script: typed through the
// Input dialog's edits, learned with the keyboard, saved, opened again, exported and imported
// through the file dialogs; and the main window shows Arabic right to left and Chinese with the
// desktop's fonts, no glyph missing.

#include <gtest/gtest.h>

#include "tests/support/qt_main.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "files/vok_file.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_main_frame.h"
#include "platform/qt/qt_text.h"
#include "resources/resource_ids.h"
#include "tests/support/cards.h"
#include "tests/support/every_script.h"
#include "tests/support/files.h"
#include "tests/support/qt_program.h"

namespace tallyfold {
namespace {

using Pairs = testing::CardTexts;
using testing::TextsOfCards;

using testing::UserFolders;
using Running = testing::RunningProgram;

QAction* ActionOf(platform::qt::MainFrame& frame, int command) {
    for (QAction* menu : frame.menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->data().toInt() == command) {
                return item;
            }
        }
    }
    return nullptr;
}

// Acts in the next modal window of type `Widget` once it is up.
template <class Widget>
void WhenUp(std::function<void(Widget&)> act) {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* window = qobject_cast<Widget*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*window);
        }
    });
    timer->start();
}

void Choose(platform::qt::MainFrame& frame, int command) {
    QAction* action = ActionOf(frame, command);
    ASSERT_NE(action, nullptr) << command;
    action->trigger();
}

// Answers the next file dialog with `path`, typed into its name field. The dialog lists its
// folder as it reads it, and an Open dialog may take a name only once it has seen the file: it
// is asked again until it closes.
void AnswerFileDialog(const FilePath& path) {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(10);
    auto answered = std::make_shared<std::pair<bool, QPointer<QFileDialog>>>();
    QObject::connect(timer, &QTimer::timeout, [timer, path, answered] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (answered->first && (answered->second.isNull() || dialog != answered->second)) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (dialog != nullptr) {
            *answered = {true, dialog};
            // The name typed into the dialog's field, as a user does.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(platform::qt::FromPath(path));
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    timer->start();
}

void AnswerMessageBox(QMessageBox::StandardButton button) {
    WhenUp<QMessageBox>([button](QMessageBox& box) { box.button(button)->click(); });
}

// Types `text` as a keyboard of its script would: a key event a character (a code point, with
// both halves of a surrogate pair), each carrying its text.
void TypeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length),
                            Qt::NoModifier);
        i += length - 1;
    }
}

// Every script, and Arabic among Latin.
const Pairs kTyped = [] {
    Pairs cards = testing::CardsOfEveryScript();
    cards.emplace_back("\u0643\u062A\u0627\u0628 (kitab)", "book, transcribed");
    return cards;
}();

TEST(UnicodeProgram, EveryScriptIsTypedLearnedSavedExportedAndImportedBack) {
    const UserFolders user;
    Running running{FilePath()};
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    WhenUp<QDialog>([](QDialog& window) {
        const QList<QLineEdit*> edits = window.findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        for (const auto& [question, answer] : kTyped) {
            edits[0]->setFocus();
            edits[0]->selectAll();
            TypeText(edits[0], platform::qt::FromUtf8(question));
            edits[1]->setFocus();
            edits[1]->selectAll();
            TypeText(edits[1], platform::qt::FromUtf8(answer));
            QTest::keyClick(edits[1], Qt::Key_Return);  // Save, the default button
        }
        QTest::keyClick(edits[0], Qt::Key_Escape);
    });
    Choose(*frame, ids::kCmCardNew);
    EXPECT_EQ(TextsOfCards(running.box).size(), kTyped.size());
    Pairs typed = TextsOfCards(running.box);
    std::sort(typed.begin(), typed.end());
    Pairs expected = kTyped;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(typed, expected);

    // Learn two cards with the keyboard: Return shows, Return counts as known.
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(frame->centralWidget(), Qt::Key_Return);
        QTest::keyClick(frame->centralWidget(), Qt::Key_Return);
    }
    EXPECT_EQ(running.box.CardsIn(2), 2);
    const Pairs learned = TextsOfCards(running.box);

    const FilePath path = user.dir.File("\u8A9E\u5F59.vok");
    AnswerFileDialog(path);
    Choose(*frame, ids::kCmFileSaveAs);
    ASSERT_TRUE(IsRegularFile(path));
    tCardBox saved;
    EXPECT_EQ(LoadVokFile(path, saved).layout, VokLayout::Unicode);
    AnswerFileDialog(path);
    Choose(*frame, ids::kCmFileOpen);
    EXPECT_EQ(TextsOfCards(running.box), learned);

    for (const char* name : {"out.txt", "out.tsv", "out.csv"}) {
        SCOPED_TRACE(name);
        const FilePath exported = user.dir.File(name);
        AnswerFileDialog(exported);
        Choose(*frame, ids::kCmFileExport);
        ASSERT_TRUE(IsRegularFile(exported));
        AnswerMessageBox(QMessageBox::Ok);  // "All Data will be erased!"
        Choose(*frame, ids::kCmFileNew);
        ASSERT_EQ(running.box.TotalCards(), 0);
        AnswerFileDialog(exported);
        AnswerMessageBox(QMessageBox::Ok);  // the import's summary
        Choose(*frame, ids::kCmFileImport);
        EXPECT_EQ(TextsOfCards(running.box), learned);
        // The imported box is not saved; the file opens again for the next round.
        WhenUp<QMessageBox>([path](QMessageBox& box) {
            AnswerFileDialog(path);
            box.button(QMessageBox::No)->click();
        });
        Choose(*frame, ids::kCmFileOpen);
        ASSERT_EQ(TextsOfCards(running.box), learned);
    }
}

// How a text is laid out in a widget's font: whether it runs right to left, and whether every
// glyph was found (glyph 0 is the font's "missing" box).
struct Layout {
    bool rightToLeft = false;
    bool everyGlyph = true;
};

Layout LayoutOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setTextDirection(Qt::LayoutDirectionAuto);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Layout result;
    result.rightToLeft = line.cursorToX(0) > line.cursorToX(static_cast<int>(text.size()));
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (const quint32 glyph : run.glyphIndexes()) {
            result.everyGlyph = result.everyGlyph && glyph != 0;
        }
    }
    return result;
}

TEST(UnicodeProgram, TheWindowShowsArabicRightToLeftAndChineseWithEveryGlyph) {
    const UserFolders user;
    tCardBox cards;
    cards.AddToPartition(testing::Card("\u0643\u062A\u0627\u0628", "\u4E2D\u6587\u4E66"), 1);
    const FilePath path = user.dir.File("arabic.vok");
    ASSERT_TRUE(SaveVokFile(path, cards));
    Running running(path);
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    auto& client = dynamic_cast<platform::qt::QtWindowPeer&>(frame->Client());
    auto* question = qobject_cast<QLabel*>(client.Widget(ids::kQuestionStatic));
    auto* answer = qobject_cast<QLabel*>(client.Widget(ids::kAnswerStatic));
    ASSERT_NE(question, nullptr);
    ASSERT_NE(answer, nullptr);
    QTest::keyClick(frame->centralWidget(), Qt::Key_Return);  // Look
    EXPECT_EQ(question->text(), QString::fromUtf8("\u0643\u062A\u0627\u0628"));
    EXPECT_EQ(answer->text(), QString::fromUtf8("\u4E2D\u6587\u4E66"));
    const Layout arabic = LayoutOf(question->text(), question->font());
    EXPECT_TRUE(arabic.rightToLeft);
    EXPECT_TRUE(arabic.everyGlyph);
    const Layout chinese = LayoutOf(answer->text(), answer->font());
    EXPECT_FALSE(chinese.rightToLeft);
    EXPECT_TRUE(chinese.everyGlyph);
    // Arabic among Latin keeps each run in its own direction: the Latin word stays readable.
    const QString mixed = QString::fromUtf8("book \u0643\u062A\u0627\u0628 kitab");
    const Layout both = LayoutOf(mixed, question->font());
    EXPECT_FALSE(both.rightToLeft);
    EXPECT_TRUE(both.everyGlyph);
}

// An input method's commit goes into the edit as text; it never reaches the dialog as a key.
TEST(UnicodeProgram, WhatAnInputMethodCommitsGoesIntoTheEdit) {
    const UserFolders user;
    Running running{FilePath()};
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    WhenUp<QDialog>([](QDialog& window) {
        const QList<QLineEdit*> edits = window.findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        edits[0]->setFocus();
        QInputMethodEvent composing(QString::fromUtf8("zhong"), {});
        QApplication::sendEvent(edits[0], &composing);
        QInputMethodEvent committed;
        committed.setCommitString(QString::fromUtf8("\u4E2D"));
        QApplication::sendEvent(edits[0], &committed);
        EXPECT_EQ(edits[0]->text(), QString::fromUtf8("\u4E2D"));
        EXPECT_TRUE(window.isVisible()) << "no default button was pressed";
        QTest::keyClick(edits[0], Qt::Key_Escape);
    });
    Choose(*frame, ids::kCmCardNew);
    EXPECT_EQ(running.box.TotalCards(), 0);
}

}  // namespace
}  // namespace tallyfold

int main(int argc, char** argv) {
    return tallyfold::testing::RunQtTests(argc, argv);
}
