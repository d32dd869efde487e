// The hard way: the real program, on the Qt backend, learns with scripted keys and commands in
// a child process that is killed (SIGKILL) at a random moment. A new start on the file must
// give back the box exactly as one of the steps left it, and no step older than the last one
// the child had finished.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "app/main_window.h"
#include "app/tallyfold_app.h"
#include "document/document.h"
#include "files/vok_file.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_main_frame.h"
#include "resources/resource_ids.h"
#include "tests/support/app_fixture.h"
#include "tests/support/box_state.h"

namespace tallyfold {
namespace {

using testing::BoxState;
using testing::StateOf;

enum class Action { Known, Unknown, Undo, Redo, Delete };

std::vector<Action> Script(unsigned seed, int length) {
    std::mt19937 random(seed);
    std::vector<Action> actions;
    for (int i = 0; i < length; ++i) {
        const auto roll = random() % 20;
        actions.push_back(roll < 9    ? Action::Known
                          : roll < 15 ? Action::Unknown
                          : roll < 18 ? Action::Undo
                          : roll < 19 ? Action::Redo
                                      : Action::Delete);
    }
    return actions;
}

// The child: the program as main() builds it, driven by key presses and menu commands. After
// each step it tells the parent how many it has done; it never returns.
[[noreturn]] void RunChild(const FilePath& file, const FilePath& journals,
                           const std::vector<Action>& actions, int report) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "tallyfold";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    platform::qt::QtBackend backend;
    tCardBox box;
    Document document(box);
    document.SetJournalFolder(journals);
    TMyApp program(backend, document, file);
    program.Start();
    QWidget* window = backend.Frame()->centralWidget();
    tHauptFenster& view = *program.Client();
    for (std::size_t i = 0; i < actions.size(); ++i) {
        switch (actions[i]) {
            case Action::Known:
                QTest::keyClick(window, 'k');
                QTest::keyClick(window, 'k');
                break;
            case Action::Unknown:
                QTest::keyClick(window, 'k');
                QTest::keyClick(window, 'u');
                break;
            case Action::Undo:
                view.Dispatch(ids::kCmEditUndo);
                break;
            case Action::Redo:
                view.Dispatch(ids::kCmEditRedo);
                break;
            case Action::Delete:
                view.Dispatch(ids::kCmCardDelete);
                break;
        }
        const int done = static_cast<int>(i + 1);
        if (::write(report, &done, sizeof done) != sizeof done) {
            std::_Exit(3);
        }
    }
    for (;;) {
        ::pause();
    }
}

// What the day history counted, over all its days (a run that crosses midnight counts on two).
DayCounts CountsOf(const DayHistory& days) {
    DayCounts total;
    for (const auto& [day, counts] : days.Days()) {
        total += counts;
    }
    return total;
}

// The box and what its day history counted, after a step.
struct Learnt {
    BoxState box;
    DayCounts days;
    friend bool operator==(const Learnt&, const Learnt&) = default;
};

// The same script on the headless window system, without a journal: the box after each step.
std::vector<Learnt> ExpectedStates(const FilePath& file, const std::vector<Action>& actions) {
    platform::headless::HeadlessBackend backend;
    tCardBox box;
    Document document(box);
    TMyApp program(backend, document, file);
    program.Start();
    platform::headless::HeadlessFrame& frame = *backend.MainWindow();
    std::vector<Learnt> states{{StateOf(box), CountsOf(document.Days())}};
    for (const Action action : actions) {
        switch (action) {
            case Action::Known:
                frame.TypeChar('k');
                frame.TypeChar('k');
                break;
            case Action::Unknown:
                frame.TypeChar('k');
                frame.TypeChar('u');
                break;
            case Action::Undo:
                frame.ChooseMenu(ids::kCmEditUndo);
                break;
            case Action::Redo:
                frame.ChooseMenu(ids::kCmEditRedo);
                break;
            case Action::Delete:
                frame.ChooseMenu(ids::kCmCardDelete);
                break;
        }
        states.push_back({StateOf(box), CountsOf(document.Days())});
    }
    return states;
}

TEST(KilledProgram, ANewStartRestoresTheBoxAndItsDaysOfTheLastSteps) {
    for (unsigned round = 1; round <= 6; ++round) {
        SCOPED_TRACE(round);
        testing::TempDir dir;
        testing::UseUserFoldersIn(FilePath(dir.Path()));
        setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
        const FilePath journals = dir.File("journals");
        std::filesystem::create_directories(journals.Bytes());
        tCardBox cards;
        testing::Fill(cards, 1, 6, "a");
        testing::Fill(cards, 3, 12, "c");
        testing::Fill(cards, tCardBox::kInputStack, 60, "i");
        const FilePath file = dir.File("words.vok");
        ASSERT_TRUE(SaveVokFile(file, cards));

        const std::vector<Action> actions = Script(round, 400);
        const std::vector<Learnt> expected = ExpectedStates(file, actions);
        std::mt19937 random(round * 31);
        const int killAfter = static_cast<int>(5 + random() % 300);

        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            RunChild(file, journals, actions, pipeEnds[1]);
        }
        ::close(pipeEnds[1]);
        int done = 0;
        int reported = 0;
        while (reported < killAfter && ::read(pipeEnds[0], &done, sizeof done) == sizeof done) {
            reported = done;
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
        // Steps the child finished before it died are still in the pipe.
        while (::read(pipeEnds[0], &done, sizeof done) == sizeof done) {
            reported = done;
        }
        ::close(pipeEnds[0]);
        ASSERT_GE(reported, killAfter);

        tCardBox box;
        Document document(box);
        document.SetJournalFolder(journals);
        ASSERT_TRUE(document.Open(file).opened);
        int number = 0;
        static_cast<void>(document.ChooseNext(false, number));
        const std::optional<Recovery> recovery = document.FindRecovery(file);
        const auto last = static_cast<std::size_t>(reported);
        if (!(expected[last] == expected[0])) {
            EXPECT_TRUE(recovery.has_value()) << "no journal after " << reported << " steps";
        }
        // The box and the days the killed run had counted come back together.
        const Learnt restored = [&] {
            if (recovery) {
                EXPECT_TRUE(document.Restore(*recovery));
            }
            return Learnt{StateOf(box), CountsOf(document.Days())};
        }();
        // The last reported step, or the one the child was in when it died.
        const bool matches = restored == expected[last] ||
                             (last + 1 < expected.size() && restored == expected[last + 1]);
        EXPECT_TRUE(matches) << "killed after step " << reported;
    }
}

}  // namespace
}  // namespace tallyfold
