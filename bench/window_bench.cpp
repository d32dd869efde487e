// What a user meets through the real main window (Qt, offscreen), each figure in a fresh
// process: the start until the first card is on view, the partition overview on the input
// stack, on partition 7 and on a small partition, select all and To another, an import and a
// save; beside them the start without a file and the reading of the file's bytes.
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
#include <QPushButton>
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

// Runs `act` once the modal dialog of class `Widget` is up, from inside its event loop.
template <typename Widget>
void WhenModal(std::function<void(Widget&)> act) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget())) {
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
            double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
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
                for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                    if (button->text().contains(QStringLiteral("another"))) {
                        button->click();
                    }
                }
                Settle();
                ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            }
            Report(ms, what == "move-all" ? ResidentBytes() : rss);
            std::fprintf(stderr, "resident before the overview: %ld\n", before);
            dialog.reject();
        });
        view.Dispatch(ids::kCmPartitionChange);
        return 0;
    }
    if (what == "import") {
        WhenModal<QFileDialog>([&file](QFileDialog& dialog) {
            dialog.selectFile(QString::fromLocal8Bit(file.c_str()));
            static_cast<QDialog&>(dialog).accept();
        });
        timer.start();
        view.Dispatch(ids::kCmFileImport);
        Settle();
        Report(static_cast<double>(timer.nsecsElapsed()) / 1e6, ResidentBytes());
        return 0;
    }
    if (what == "save") {
        view.CmLookOrKnown();
        view.CmLookOrKnown();
        timer.start();
        view.Dispatch(ids::kCmFileSave);
        Report(static_cast<double>(timer.nsecsElapsed()) / 1e6, ResidentBytes());
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
        for (int round = 0; round < repeats; ++round) {
            std::string line;
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
