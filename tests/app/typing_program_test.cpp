// Learning by typing in the real program on the Qt backend (offscreen), with real key events:
// letters that are commands elsewhere go into the answer, an input method's confirming Enter is
// not taken as the check, and the marked difference is drawn.

#include <gtest/gtest.h>

#include "tests/support/qt_main.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <set>

#include "app/main_window.h"
#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "files/vok_file.h"
#include "platform/qt/qt_main_frame.h"
#include "platform/qt/qt_window_peer.h"
#include "resources/resource_ids.h"
#include "tests/support/cards.h"
#include "tests/support/qt_program.h"

namespace tallyfold {
namespace {

using testing::Card;
using testing::UserFolders;
using Running = testing::RunningProgram;

QAction* MenuAction(QWidget& frame, const QString& text) {
    for (QAction* action : frame.findChildren<QAction*>()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

// The colours of a widget as drawn: one for an empty one.
std::set<QRgb> ColoursOf(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours;
}

TEST(TypingProgram, AnswersAreTypedCheckedAndMarked) {
    const UserFolders user;
    tCardBox saved;
    saved.AddToPartition(Card("Kuh", "kuku"), 2);
    saved.AddToPartition(Card("Haus", "house"), 3);
    const FilePath path = user.dir.File("words.vok");
    ASSERT_TRUE(SaveVokFile(path, saved));
    Running running(path);
    platform::qt::MainFrame* frame = running.backend.Frame();
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    tHauptFenster& view = *running.program.Client();
    auto& client = dynamic_cast<platform::qt::QtWindowPeer&>(frame->Client());
    QAction* typing = MenuAction(*frame, QStringLiteral("&Type the answer"));
    ASSERT_NE(typing, nullptr);
    typing->trigger();
    EXPECT_TRUE(view.Typing());

    auto* edit = qobject_cast<QLineEdit*>(client.Widget(ids::kTypedAnswerEdit));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_FALSE(client.Widget(ids::kAnswerStatic)->isVisible());

    // "k" and "u" are Look and Unknown elsewhere; here they are letters of the answer.
    QTest::keyClicks(QApplication::focusWidget(), "kuk");
    EXPECT_EQ(edit->text(), QStringLiteral("kuk"));
    EXPECT_FALSE(view.Changed());

    // An input method composing the last letter: the Enter that confirms it is its own.
    QInputMethodEvent composing(QStringLiteral("u"), {});
    QApplication::sendEvent(edit, &composing);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(edit->isVisible()) << "the confirming Enter was taken as the check";
    QInputMethodEvent confirmed;
    confirmed.setCommitString(QStringLiteral("u"));
    QApplication::sendEvent(edit, &confirmed);
    EXPECT_EQ(edit->text(), QStringLiteral("kuku"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(view.ControlText(ids::kVerdictStatic), "Right");
    EXPECT_EQ(view.ControlText(ids::kAnswerStatic), "kuku");
    QWidget* marks = client.Widget(ids::kTypedMarks);
    ASSERT_NE(marks, nullptr);
    EXPECT_TRUE(marks->isVisible());
    EXPECT_EQ(marks->accessibleName(), QStringLiteral("typed: kuku, expected: kuku, Right"));
    EXPECT_GT(ColoursOf(*marks).size(), 2u) << "the typed answer is drawn";
    EXPECT_EQ(QApplication::focusWidget(), client.Widget(ids::kKnownButton));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(running.box.CardsIn(3), 2);

    // The next card, answered wrong: Unknown is proposed, "k" overrules it.
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::keyClicks(edit, "hose");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(view.ControlText(ids::kVerdictStatic), "Not right");
    EXPECT_EQ(marks->accessibleName(),
              QStringLiteral("typed: hose, expected: house, 1 letter missing"));
    EXPECT_EQ(QApplication::focusWidget(), client.Widget(ids::kUnknownButton));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_K);
    EXPECT_EQ(running.box.CardsIn(4), 1);
    EXPECT_TRUE(view.Changed());

    typing->trigger();
    EXPECT_FALSE(edit->isVisible());
    EXPECT_TRUE(client.Widget(ids::kAnswerStatic)->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), client.Widget(ids::kLookButton));
}

}  // namespace
}  // namespace tallyfold

int main(int argc, char** argv) {
    return tallyfold::testing::RunQtTests(argc, argv);
}
