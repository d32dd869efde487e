// Renders the main window and each dialog of Tallyfold, filled as a user would see them, to PNG
// files (offscreen; no display needed). Used for the README and to look at how things render.
//   screenshots <sample.vok> <output folder>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include "app/main_window.h"
#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "dialogs/card_input_dialog.h"
#include "dialogs/cards_dialog.h"
#include "dialogs/partition_overview_dialog.h"
#include "dialogs/statistics_dialog.h"
#include "dialogs/target_dialog.h"
#include "files/vok_file.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_line_list.h"
#include "platform/qt/qt_main_frame.h"
#include "platform/qt/qt_table.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window_peer.h"
#include "resources/resource_ids.h"
#include "tools/learned_box.h"
#include "tools/russian_japanese_box.h"

namespace {

QString outputFolder;
int written = 0;

void Save(QWidget& widget, const char* name) {
    const QString path =
        outputFolder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    if (widget.grab().save(path)) {
        std::printf("%s\n", path.toLocal8Bit().constData());
        ++written;
    }
}

// When the next modal dialog is up: `prepare` fills it, it is saved as `name`, then closed.
void WhenOpen(const char* name, std::function<void(QWidget&)> prepare) {
    QTimer::singleShot(0, [name, prepare] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) {
            return;
        }
        prepare(*dialog);
        QApplication::processEvents();
        Save(*dialog, name);
        if (auto* modal = qobject_cast<QDialog*>(dialog)) {
            modal->reject();
        }
    });
}

void Type(QWidget& dialog, int field, const char* text) {
    const auto edits = dialog.findChildren<QLineEdit*>();
    if (field < edits.size()) {
        edits[field]->setText(tallyfold::platform::qt::FromUtf8(text));
    }
}

// Writes the Russian and Japanese box into `folder`; its path, or an empty one.
tallyfold::FilePath WriteRussianJapaneseBox(const QString& folder) {
    tallyfold::tCardBox box;
    tallyfold::tools::FillRussianJapaneseBox(box);
    const tallyfold::FilePath path(
        (folder + QStringLiteral("/russian-japanese.vok")).toLocal8Bit().toStdString());
    return tallyfold::SaveVokFile(path, box) ? path : tallyfold::FilePath();
}

// Writes a box of one card to type the answer of into `folder`; its path, or an empty one.
tallyfold::FilePath WriteTypingBox(const QString& folder) {
    tallyfold::tCardBox box;
    tallyfold::tVokabel card;
    card.SetTexts("die Br\u00FCcke", "the bridge");
    box.AddToPartition(card, 1);
    const tallyfold::FilePath path(
        (folder + QStringLiteral("/typing.vok")).toLocal8Bit().toStdString());
    return tallyfold::SaveVokFile(path, box) ? path : tallyfold::FilePath();
}

// Learning by typing: `typed` checked against the card's answer.
void CheckTyped(tallyfold::tHauptFenster& view, const QString& typed) {
    auto& client = dynamic_cast<tallyfold::platform::qt::QtWindowPeer&>(*view.Peer());
    if (auto* edit = qobject_cast<QLineEdit*>(client.Widget(tallyfold::ids::kTypedAnswerEdit))) {
        edit->setText(typed);
    }
    view.CmLook();
    QApplication::processEvents();
}

// Writes a box without cards into `folder`; its path, or an empty one.
tallyfold::FilePath WriteEmptyBox(const QString& folder) {
    tallyfold::tCardBox box;
    const tallyfold::FilePath path(
        (folder + QStringLiteral("/new-words.vok")).toLocal8Bit().toStdString());
    return tallyfold::SaveVokFile(path, box) ? path : tallyfold::FilePath();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots <sample.vok> <output folder>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    outputFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outputFolder);

    tallyfold::platform::qt::QtBackend backend;
    tallyfold::tCardBox box;
    tallyfold::Document document(box);
    tallyfold::TMyApp program(backend, document, tallyfold::FilePath(argv[1]));
    program.Start();
    tallyfold::platform::qt::MainFrame& frame = *backend.Frame();
    tallyfold::tHauptFenster& view = *program.Client();
    QApplication::processEvents();
    view.CmLook();
    tallyfold::CardInputTexts texts;
    QApplication::processEvents();
    Save(frame, "main-window");

    WhenOpen("input-dialog", [](QWidget& dialog) {
        Type(dialog, 0, "die Br\u00FCcke");
        Type(dialog, 1, "the bridge");
    });
    // Each dialog is closed once its picture is taken; how does not matter here.
    static_cast<void>(tallyfold::EditCard(view, document, texts, nullptr));

    tallyfold::tVokabel found;
    found.SetTexts("das Haus", "the house");
    WhenOpen("doubles-dialog", [](QWidget&) {});
    static_cast<void>(tallyfold::ShowDoubles(view, document, texts, found));

    WhenOpen("target-dialog", [](QWidget& dialog) {
        if (auto* list = dialog.findChild<tallyfold::platform::qt::LineListView*>()) {
            list->Click(3, Qt::NoModifier);
        }
    });
    static_cast<void>(tallyfold::ChooseTarget(view, document.Box()));

    WhenOpen("partition-overview", [](QWidget& dialog) {
        if (auto* list = dialog.findChild<tallyfold::platform::qt::LineListView*>()) {
            for (const int row : {1, 3}) {
                list->Click(row, Qt::ControlModifier);
            }
        }
    });
    tallyfold::ShowPartitionOverview(view, document, texts);

    WhenOpen("cards-window", [](QWidget& dialog) {
        Type(dialog, 0, "the");
        if (auto* search = dialog.findChild<QLineEdit*>()) {
            emit search->textEdited(search->text());  // as typed
        }
        if (auto* table = dialog.findChild<tallyfold::platform::qt::TableView*>()) {
            table->selectRow(2);
        }
    });
    tallyfold::ShowCards(view, document, texts);

    // Every script: a Russian and Japanese box, and an Arabic card typed.
    QTemporaryDir scratch;
    const tallyfold::FilePath unicodeBox = WriteRussianJapaneseBox(scratch.path());
    if (!unicodeBox.IsEmpty()) {
        view.EvDropFile(unicodeBox);  // as a file dropped on the window opens
        QApplication::processEvents();
        view.CmLook();
        QApplication::processEvents();
        Save(frame, "main-window-russian-japanese");
    }
    WhenOpen("input-dialog-arabic", [](QWidget& dialog) {
        Type(dialog, 0,
             "\u0627\u0644\u0643\u062A\u0627\u0628 \u0627\u0644\u0623\u062D\u0645\u0631");  // the
                                                                                            // red
                                                                                            // book
        Type(dialog, 1, "\u8D64\u3044\u672C");
    });
    static_cast<void>(tallyfold::EditCard(view, document, texts, nullptr));

    // A larger window on a dark desktop: the card text grows, the strip follows the palette.
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    QApplication::setPalette(dark);
    frame.resize(900, 420);
    QApplication::processEvents();
    Save(frame, "main-window-dark-large");

    // An answer typed and checked, its slips marked, on the dark palette and on the light one.
    // Typing is turned off again afterwards: it is kept between runs.
    const tallyfold::FilePath typingBox = WriteTypingBox(scratch.path());
    if (!typingBox.IsEmpty()) {
        view.EvDropFile(typingBox);
        view.Dispatch(tallyfold::ids::kCmTypeAnswer);
        CheckTyped(view, QStringLiteral("the bribge"));
        Save(frame, "main-window-typed-answer-dark");
        QApplication::setPalette(QApplication::style()->standardPalette());
        frame.resize(600, 300);
        // Off and on again: the card is asked anew.
        view.Dispatch(tallyfold::ids::kCmTypeAnswer);
        view.Dispatch(tallyfold::ids::kCmTypeAnswer);
        CheckTyped(view, QStringLiteral("teh bride"));
        Save(frame, "main-window-typed-answer");
        view.Dispatch(tallyfold::ids::kCmTypeAnswer);
    }

    // The Statistics window on the sample box learned on for six weeks.
    const tallyfold::FilePath learnedBox(
        (scratch.path() + QStringLiteral("/learned.vok")).toLocal8Bit().toStdString());
    if (QFile::copy(QString::fromLocal8Bit(argv[1]),
                    scratch.path() + QStringLiteral("/learned.vok")) &&
        tallyfold::tools::LearnForSixWeeks(learnedBox)) {
        view.EvDropFile(learnedBox);
        QApplication::processEvents();
        WhenOpen("statistics-window", [](QWidget&) {});
        static_cast<void>(tallyfold::ShowStatistics(view, document));
    }

    // The first start: an empty box shows how to begin.
    QApplication::setPalette(QApplication::style()->standardPalette());
    frame.resize(600, 250);
    const tallyfold::FilePath emptyBox = WriteEmptyBox(scratch.path());
    if (!emptyBox.IsEmpty()) {
        view.EvDropFile(emptyBox);
        QApplication::processEvents();
        Save(frame, "main-window-empty-box");
    }
    return written == 13 ? 0 : 1;
}
