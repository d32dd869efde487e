// What a user meets through the real main window (Qt, offscreen), each figure in a fresh
// process: the start until the first card is on view, the partition overview on the input
// stack, on partition 7 and on a small partition, select all and To another, an import and a
// save; the Cards window's opening, a search typed key by key, a sort, and deleting and moving
// half of the box's cards with their undo; beside them the start without a file and the
// reading of the file's bytes.
//   tallyfold_window_bench [--sizes 10000,100000,1000000] [--repeats 3] [--folder DIR]
//   tallyfold_window_bench child <what> <file>     (one measurement; prints "<ms> <rss bytes>")

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/tallyfold_app.h"
#include "bench/bench_data.h"
#include "bench/report.h"
#include "document/document.h"
#include "files/vok_file.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_line_list.h"
#include "platform/qt/qt_main_frame.h"
#include "platform/qt/qt_table.h"
#include "resources/resource_ids.h"

extern char** environ;

namespace tallyfold::bench {
namespace {

using Clock = std::chrono::steady_clock;

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Lets the window system draw what is pending.
void Settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

// Runs `act` once the modal dialog of class `Widget` is up (another than `over`, the one it
// opens over), from inside its event loop.
template <typename Widget>
void WhenModal(std::function<void(Widget&)> act, const QWidget* over = nullptr) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, act, over] {
        auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget());
        if (widget != nullptr && widget != over) {
            timer->stop();
            timer->deleteLater();
            act(*widget);
        }
    });
    timer->start(0);
}

void Report(double ms, long rss) {
    std::printf("%.3f %ld\n", ms, rss);
    std::fflush(stdout);
}

// Chooses line `entry` of the overview's partition box, as a click on it does.
void ChoosePartition(QDialog& dialog, int entry) {
    if (auto* combo = dialog.findChild<QComboBox*>()) {
        combo->setCurrentIndex(entry);
        emit combo->activated(entry);
    }
}

double Elapsed(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Clicks the button whose text holds `text`.
void ClickButton(QDialog& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text().contains(text)) {
            button->click();
            return;
        }
    }
}

// Presses the dialog's own key `keys`, as the window system hands it to the shortcut.
void PressShortcut(QDialog& dialog, const QKeySequence& keys) {
    for (QShortcut* shortcut : dialog.findChildren<QShortcut*>()) {
        if (shortcut->key() == keys) {
            emit shortcut->activated();
            return;
        }
    }
}

// The Cards window: "cards" opens it, types a search key by key and sorts by the question;
// "cards-delete" and "cards-move" select the first `half` rows (shift and a click), delete them
// or put them into the input stack, and undo that with Ctrl+Z. Each prints its times in ms.
void MeasureCards(const std::string& what, tHauptFenster& view, int half) {
    const long before = ResidentBytes();
    QElapsedTimer timer;
    WhenModal<QDialog>([&, before](QDialog& dialog) {
        Settle();
        const double open = Elapsed(timer);
        auto* table = dialog.findChild<platform::qt::TableView*>();
        auto* search = dialog.findChild<QLineEdit*>();
        if (table == nullptr || search == nullptr) {
            std::printf("-1\n");
            std::_Exit(1);
        }
        if (what == "cards") {
            const double shown = static_cast<double>(ResidentBytes()) / static_cast<double>(before);
            double slowestKey = 0;
            for (const QChar key : QStringLiteral("ab")) {
                timer.start();
                QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (key.unicode() - 'a'), Qt::NoModifier,
                                QString(key));
                QApplication::sendEvent(search, &press);
                Settle();
                slowestKey = std::max(slowestKey, Elapsed(timer));
            }
            search->clear();
            Settle();
            timer.start();
            emit table->horizontalHeader()->sectionClicked(0);
            Settle();
            const double sort = Elapsed(timer);
            std::printf("%.3f %.3f %.3f %.4f\n", open, slowestKey, sort, shown);
            std::fflush(stdout);
            std::_Exit(0);
        }
        table->selectionModel()->select(
            QItemSelection(table->model()->index(0, 0), table->model()->index(half - 1, 4)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        Settle();
        if (what == "cards-delete") {
            WhenModal<QMessageBox>(
                [](QMessageBox& question) { question.button(QMessageBox::Yes)->click(); });
        } else {
            WhenModal<QDialog>(
                [](QDialog& target) {
                    if (auto* targets = target.findChild<platform::qt::LineListView*>()) {
                        targets->Click(7, Qt::NoModifier);  // the input stack
                    }
                    target.accept();
                },
                &dialog);
        }
        timer.start();
        ClickButton(dialog,
                    what == "cards-delete" ? QStringLiteral("Delete") : QStringLiteral("ut into"));
        Settle();
        const double change = Elapsed(timer);
        timer.start();
        PressShortcut(dialog, QKeySequence(QStringLiteral("Ctrl+Z")));
        Settle();
        const double undo = Elapsed(timer);
        std::printf("%.3f %.3f %d\n", change, undo, table->model()->rowCount());
        std::fflush(stdout);
        std::_Exit(0);
    });
    timer.start();
    view.Dispatch(ids::kCmFindCards);
}

int Child(const std::string& what, const std::string& file) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "tallyfold";
    char* argv[] = {name, nullptr};
    if (what == "read") {
        const auto start = Clock::now();
        std::FILE* stream = std::fopen(file.c_str(), "rb");
        std::vector<char> block(1 << 16);
        while (stream != nullptr && std::fread(block.data(), 1, block.size(), stream) > 0) {
        }
        if (stream != nullptr) {
            std::fclose(stream);
        }
        Report(std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
               ResidentBytes());
        return 0;
    }
    // As the program starts: the file is read while the window is made.
    tCardBox box;
    Document document(box);
    const bool withFile = what != "start-empty" && what != "import";
    if (withFile) {
        document.ReadAhead(FilePath(file));
    }
    QApplication application(argc, argv);
    platform::qt::QtBackend backend;
    TMyApp program(backend, document, withFile ? FilePath(file) : FilePath());
    program.Start();
    tHauptFenster& view = *program.Client();
    // The first card is on view once the question shows and the window was drawn.
    while (withFile && view.ControlText(ids::kQuestionStatic) == " ") {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    Settle();
    if (what == "start" || what == "start-empty") {
        std::printf("ready\n");
        std::fflush(stdout);
        std::_Exit(0);
    }
    QElapsedTimer timer;
    long rss = 0;
    if (what == "overview-input" || what == "overview-7" || what == "overview-320" ||
        what == "move-all") {
        // Lines of the partition box: partitions 1 to 7, then the input stack.
        const int entry = what == "overview-320" ? 5 : what == "overview-7" ? 6 : 7;
        const long before = ResidentBytes();
        WhenModal<QDialog>([&](QDialog& dialog) {
            timer.start();
            ChoosePartition(dialog, entry);
            Settle();
            double ms = Elapsed(timer);
            rss = ResidentBytes();
            if (what == "move-all") {
                auto* list = dialog.findChild<platform::qt::LineListView*>();
                WhenModal<QDialog>([](QDialog& target) {
                    if (auto* targets = target.findChild<platform::qt::LineListView*>()) {
                        targets->Click(6, Qt::NoModifier);
                    }
                    target.accept();
                });
                timer.start();
                list->SelectAll();
                ClickButton(dialog, QStringLiteral("another"));
                Settle();
                ms = Elapsed(timer);
            }
            Report(ms, what == "move-all" ? ResidentBytes() : rss);
            std::fprintf(stderr, "resident before the overview: %ld\n", before);
            dialog.reject();
        });
        view.Dispatch(ids::kCmPartitionChange);
        return 0;
    }
    if (what == "cards" || what == "cards-delete" || what == "cards-move") {
        MeasureCards(what, view, document.Box().TotalCards() / 2);
        return 0;
    }
    if (what == "statistics") {
        // The window is open once its pictures and table are drawn.
        WhenModal<QDialog>([&timer](QDialog& dialog) {
            Settle();
            Report(Elapsed(timer), ResidentBytes());
            dialog.reject();
        });
        timer.start();
        view.Dispatch(ids::kCmStatistics);
        return 0;
    }
    if (what == "import") {
        // The import is done when its summary comes up.
        WhenModal<QFileDialog>([&file, &timer](QFileDialog& dialog) {
            dialog.selectFile(QString::fromLocal8Bit(file.c_str()));
            static_cast<QDialog&>(dialog).accept();
            WhenModal<QMessageBox>([&timer](QMessageBox&) {
                Report(Elapsed(timer), ResidentBytes());
                std::_Exit(0);
            });
        });
        timer.start();
        view.Dispatch(ids::kCmFileImport);
        return 0;
    }
    if (what == "save") {
        view.CmLookOrKnown();
        view.CmLookOrKnown();
        timer.start();
        view.Dispatch(ids::kCmFileSave);
        Report(Elapsed(timer), ResidentBytes());
        return 0;
    }
    return 2;
}

// Runs this program as a child; the wall time until it printed its first line, and that line.
double Spawn(const char* self, const std::string& what, const std::string& file,
             std::string& line) {
    int out[2];
    if (::pipe(out) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string child = "child";
    std::vector<char*> argv = {const_cast<char*>(self), child.data(),
                               const_cast<char*>(what.c_str()), const_cast<char*>(file.c_str()),
                               nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return -1;
    }
    line.clear();
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    // The rest of the child's output is not waited for.
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);
    return ms;
}

int Run(const char* self, const std::vector<int>& sizes, int repeats, const std::string& folder) {
    std::filesystem::create_directories(folder);
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    setenv("XDG_STATE_HOME", (folder + "/state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    std::map<std::string, std::map<int, double>> ms;
    std::map<int, double> overviewRss;
    std::map<int, double> beforeRss;
    std::map<int, double> cardsRss;
    std::vector<std::string> order;
    auto record = [&](const std::string& name, int size, double value) {
        if (ms.find(name) == ms.end()) {
            order.push_back(name);
        }
        ms[name][size] = value;
        std::fprintf(stderr, "  %-40s %9d cards: %10.2f ms\n", name.c_str(), size, value);
    };
    for (const int size : sizes) {
        const std::string vok = folder + "/learned-" + std::to_string(size) + ".vok";
        const std::string text = folder + "/lines-" + std::to_string(size) + ".txt";
        {
            tCardBox box;
            FillLearnedBox(box, size);
            if (!SaveVokFile(FilePath(vok), box)) {
                return 1;
            }
        }
        WriteCleanTextFile(text, size);
        std::vector<double> startEmpty, start, read, input, last, small, move, import, save;
        std::vector<double> cardsOpen, cardsKey, cardsSort, cardsDelete, cardsDeleteUndo;
        std::vector<double> cardsMove, cardsMoveUndo, statistics;
        for (int round = 0; round < repeats; ++round) {
            std::string line;
            Spawn(self, "statistics", vok, line);
            statistics.push_back(std::atof(line.c_str()));
            startEmpty.push_back(Spawn(self, "start-empty", "-", line));
            start.push_back(Spawn(self, "start", vok, line));
            Spawn(self, "read", vok, line);
            read.push_back(std::atof(line.c_str()));
            Spawn(self, "overview-input", vok, line);
            input.push_back(std::atof(line.c_str()));
            overviewRss[size] = std::atof(line.substr(line.find(' ') + 1).c_str());
            Spawn(self, "overview-7", vok, line);
            last.push_back(std::atof(line.c_str()));
            Spawn(self, "overview-320", vok, line);
            small.push_back(std::atof(line.c_str()));
            beforeRss[size] = std::atof(line.substr(line.find(' ') + 1).c_str());
            Spawn(self, "move-all", vok, line);
            move.push_back(std::atof(line.c_str()));
            Spawn(self, "import", text, line);
            import.push_back(std::atof(line.c_str()));
            const std::string copy = folder + "/save.vok";
            std::filesystem::copy_file(vok, copy,
                                       std::filesystem::copy_options::overwrite_existing);
            Spawn(self, "save", copy, line);
            save.push_back(std::atof(line.c_str()));
            Spawn(self, "cards", vok, line);
            double open = -1, key = -1, sort = -1, shown = -1;
            std::sscanf(line.c_str(), "%lf %lf %lf %lf", &open, &key, &sort, &shown);
            cardsOpen.push_back(open);
            cardsKey.push_back(key);
            cardsSort.push_back(sort);
            cardsRss[size] = shown;
            for (const std::string which : {"cards-delete", "cards-move"}) {
                Spawn(self, which, vok, line);
                double change = -1, undo = -1;
                std::sscanf(line.c_str(), "%lf %lf", &change, &undo);
                (which == "cards-delete" ? cardsDelete : cardsMove).push_back(change);
                (which == "cards-delete" ? cardsDeleteUndo : cardsMoveUndo).push_back(undo);
            }
        }
        record("start without a file", size, Median(startEmpty));
        record("start until the first card shows", size, Median(start));
        record("reading the file's bytes", size, Median(read));
        record("overview: choose the input stack", size, Median(input));
        record("overview: choose partition 7", size, Median(last));
        record("overview: choose partition 6 (320 cards)", size, Median(small));
        record("select all and To another", size, Median(move));
        record("import of as many lines", size, Median(import));
        record("save after a verdict", size, Median(save));
        record("Cards: open on every card", size, Median(cardsOpen));
        record("Cards: slowest key of a search", size, Median(cardsKey));
        record("Cards: sort by question", size, Median(cardsSort));
        record("Cards: delete half the cards", size, Median(cardsDelete));
        record("Cards: undo that delete", size, Median(cardsDeleteUndo));
        record("Cards: put half into the input stack", size, Median(cardsMove));
        record("Cards: undo that move", size, Median(cardsMoveUndo));
        record("Statistics: open", size, Median(statistics));
    }
    std::vector<Row> rows;
    for (const std::string& name : order) {
        rows.push_back({name, ms[name]});
    }
    PrintTable("through the window (median, ms)", sizes, rows);
    const int large = sizes.back();
    struct Goal {
        std::string figure;
        double value;
        double goal;
    };
    const double startRatio =
        ms["start until the first card shows"][large] / ms["start without a file"][large];
    const double small = ms["overview: choose partition 6 (320 cards)"][large];
    const double overviewRatio = ms["overview: choose the input stack"][large] / small;
    const double lastRatio = ms["overview: choose partition 7"][large] / small;
    const std::vector<Goal> goals = {
        {"start on the largest box / start without a file", startRatio, 2.5},
        {"overview of the input stack / overview of 320 cards", overviewRatio, 2},
        {"overview of partition 7 / overview of 320 cards", lastRatio, 2},
        {"resident memory, overview of the input stack / partition 6",
         overviewRss[large] / beforeRss[large], 1.1},
        {"select all and To another, ms", ms["select all and To another"][large], 100},
        {"Cards: open, ms", ms["Cards: open on every card"][large], 200},
        {"Cards: slowest key of a search, ms", ms["Cards: slowest key of a search"][large], 100},
        {"Cards: sort by question, ms", ms["Cards: sort by question"][large], 1000},
        {"resident memory, Cards window open / before", cardsRss[large], 1.3},
        {"Cards: delete half the cards, ms", ms["Cards: delete half the cards"][large], 500},
        {"Cards: undo that delete, ms", ms["Cards: undo that delete"][large], 500},
        {"Cards: put half into the input stack, ms",
         ms["Cards: put half into the input stack"][large], 500},
        {"Cards: undo that move, ms", ms["Cards: undo that move"][large], 500},
        {"Statistics: open, ms", ms["Statistics: open"][large], 200},
    };
    std::printf("\n| figure (%d cards) | measured | goal | met |\n| --- | ---: | ---: | --- |\n",
                large);
    bool met = true;
    for (const Goal& goal : goals) {
        const bool ok = goal.value >= 0 && goal.value <= goal.goal;
        met = met && ok;
        std::printf("| %s | %.3f | %g | %s |\n", goal.figure.c_str(), goal.value, goal.goal,
                    ok ? "yes" : "NO");
    }
    return met ? 0 : 3;
}

}  // namespace
}  // namespace tallyfold::bench

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "child") {
        return tallyfold::bench::Child(argv[2], argv[3]);
    }
    const tallyfold::bench::Options options =
        tallyfold::bench::ParseOptions(argc, argv, 3, "tallyfold-window-bench");
    // /proc/self/exe: the spawned children are this very program.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const int status =
        tallyfold::bench::Run(self.c_str(), options.sizes, options.repeats, options.folder);
    std::filesystem::remove_all(options.folder);
    return status;
}
