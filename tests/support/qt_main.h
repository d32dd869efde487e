#pragma once

// The main of a test program that needs a QApplication: the offscreen platform (unless one is
// chosen), a private runtime folder and settings folder, then every test. A modal window that a
// failed test left open is ended at once, so the failure shows instead of a hang until the time
// limit.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

namespace tallyfold::testing {

/// Ends every open modal dialog, the innermost first; each one's modal run then returns.
inline void CloseModalWidgets() {
    for (int nested = 0; nested < 32; ++nested) {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        dialog->done(QDialog::Rejected);
    }
}

/// An assertion that fails inside a timer returns from the timer alone: the dialog it was to
/// close stays open. Ending the modal windows at every failure lets the test go on and fail.
class CloseModalsOnFailure : public ::testing::EmptyTestEventListener {
  public:
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (result.failed()) {
            CloseModalWidgets();
        }
    }
};

/// A modal window that stays open for `limitSeconds` without any failure (a script that never
/// closes it) fails the running test, which then ends it.
class ModalWatchdog {
  public:
    explicit ModalWatchdog(int limitSeconds) : limit_(limitSeconds) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
        timer_.start(1000);
    }

  private:
    void Check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != seen_) {
            seen_ = modal;
            seconds_ = 0;
            return;
        }
        if (modal != nullptr && ++seconds_ >= limit_) {
            seconds_ = 0;
            ADD_FAILURE() << "a modal window stayed open for " << limit_ << " seconds";
        }
    }

    QTimer timer_;
    QPointer<QWidget> seen_;
    int seconds_ = 0;
    int limit_;
};

inline int RunQtTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    // What the program remembers between runs (the window's place) stays with the test run.
    QTemporaryDir config;
    if (config.isValid()) {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // The listener list owns what it is given.
    ::testing::UnitTest::GetInstance()->listeners().Append(new CloseModalsOnFailure);
    const ModalWatchdog watchdog(20);
    return RUN_ALL_TESTS();
}

}  // namespace tallyfold::testing
