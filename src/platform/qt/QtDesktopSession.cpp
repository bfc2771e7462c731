#include "platform/qt/QtDesktopSession.h"

#include <QGuiApplication>
#include <QString>
#include <cstring>

namespace corvano::qt {

bool chooseWindowSystem(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return false;
    for (int i = 1; i < argc; ++i) {
        if (!argv[i]) continue;
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0 ||
            std::strncmp(argv[i], "-platform=", 10) == 0 || std::strncmp(argv[i], "--platform=", 11) == 0)
            return false;
    }
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!wayland || qEnvironmentVariableIsEmpty("DISPLAY")) return false;
    // Wayland stays the fallback should X fail to open.
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    return true;
}

void windowSystemChosen(bool chose) {
    if (chose) qunsetenv("QT_QPA_PLATFORM");
}

bool windowPlacesKnown() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace corvano::qt
