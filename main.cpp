// Tallyfold: the program entry. The first argument that is no option names the vocabulary
// file to open.

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

#include "app/tallyfold_app.h"
#include "box/card_box.h"
#include "document/document.h"
#include "files/user_folders.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_command_line.h"

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
    using tallyfold::platform::qt::CommandLine;
    const CommandLine line =
        tallyfold::platform::qt::ReadCommandLine(argc, argv, QStringLiteral(TALLYFOLD_VERSION));
    switch (line.action) {
        case CommandLine::Action::ShowHelp:
        case CommandLine::Action::ShowVersion:
            std::fputs(line.text.toLocal8Bit().constData(), stdout);
            return 0;
        case CommandLine::Action::Refuse:
            std::fputs(line.text.toLocal8Bit().constData(), stderr);
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    const tallyfold::FilePath fileName(line.file);
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "tallyfold: no display to open a window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set).\nStart Tallyfold on a desktop, or under a virtual "
                     "display with: xvfb-run tallyfold %s%s\n",
                     fileName.Bytes().starts_with('-') ? "-- " : "", fileName.CString());
        return 2;
    }
    // The one box of the run and its document: they outlive the application and every window.
    // The file is read while the window is made.
    tallyfold::tCardBox box;
    tallyfold::Document document(box);
    document.SetJournalFolder(tallyfold::JournalFolder());
    if (!fileName.IsEmpty()) {
        document.ReadAhead(fileName);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyfold"));
    QApplication::setApplicationVersion(QStringLiteral(TALLYFOLD_VERSION));
    // The desktop ties the windows to the launcher by these names; the icon is the launcher's.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tallyfold.Tallyfold"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/org.tallyfold.Tallyfold-%1.png").arg(size));
    }
    QApplication::setWindowIcon(icon);
    tallyfold::platform::qt::QtBackend backend;
    tallyfold::TMyApp tallyfoldApp(backend, document, fileName);
    return tallyfoldApp.Run();
}
