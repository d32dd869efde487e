// Tallyfold: the program entry. The first argument names the vocabulary file to open.

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/document.h"
#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "files/user_folders.h"
#include "platform/qt/qt_backend.h"

namespace {

bool HasDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    const tallyfold::FilePath fileName = tallyfold::FileNameFromArguments(argc, argv);
    if (fileName.Bytes() == "--help") {
        std::printf(
            "Usage: tallyfold [FILE.vok]\n"
            "Learn vocabulary with a card box.\n\n"
            "  FILE.vok   the vocabulary file to open (a new name starts a new box)\n"
            "  --help     show this text and exit\n"
            "  --version  show the version and exit\n\n"
            "In the window: Enter or k looks and counts a card as known, Escape or u as not\n"
            "known. The Help menu opens the manual.\n");
        return 0;
    }
    if (fileName.Bytes() == "--version") {
        std::printf("tallyfold %s\n", TALLYFOLD_VERSION);
        return 0;
    }
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "tallyfold: no display to open a window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set).\nStart Tallyfold on a desktop, or under a virtual "
                     "display with: xvfb-run tallyfold %s\n",
                     fileName.CString());
        return 2;
    }
    // The one box of the run and its document: they outlive the application and every window.
    // The file is read while the window is made.
    tallyfold::tCardBox box;
    tallyfold::Document document(box);
    document.SetJournalFolder(tallyfold::SubFolder(tallyfold::StateFolder(), "journals"));
    if (!fileName.IsEmpty()) {
        document.ReadAhead(fileName);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyfold"));
    tallyfold::platform::qt::QtBackend backend;
    tallyfold::TMyApp tallyfoldApp(backend, document, fileName);
    return tallyfoldApp.Run();
}
