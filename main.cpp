// Tallyfold: the program entry. The first argument names the vocabulary file to open.

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/tallyfold_app.h"
#include "box/card_box.h"
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
    const std::string fileName = tallyfold::FileNameFromArguments(argc, argv);
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "tallyfold: no display to open a window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set).\nStart Tallyfold on a desktop, or under a virtual "
                     "display with: xvfb-run tallyfold %s\n",
                     fileName.c_str());
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyfold"));
    tallyfold::platform::qt::QtBackend backend;
    tallyfold::TMyApp tallyfoldApp(backend, tallyfold::ProgramBox(), fileName);
    return tallyfoldApp.Run();
}
