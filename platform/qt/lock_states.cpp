#include <QGuiApplication>
#include <optional>

#include "platform/qt/qt_main_frame.h"

#if TALLYFOLD_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace tallyfold::platform::qt {

std::optional<LockStates> ReadLockStates() {
#if TALLYFOLD_HAVE_X11
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return std::nullopt;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return std::nullopt;
    }
    // Indicators are looked up by name: their positions differ between keyboard maps.
    auto lit = [display](const char* name) {
        Bool on = False;
        const Atom atom = XInternAtom(display, name, False);
        return XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
    };
    return LockStates{lit("Caps Lock"), lit("Num Lock")};
#else
    return std::nullopt;
#endif
}

}  // namespace tallyfold::platform::qt
