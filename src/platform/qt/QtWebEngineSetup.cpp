#include "platform/qt/QtWebEngineSetup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QIcon>
#include <cstdio>

namespace corvano::qt {

void prepareWebEngine() {
    // Chromium refuses its sandbox as root; only then is it turned off.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        std::fputs("corvano: running as root, the web engine's sandbox is turned off\n", stderr);
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void initWebEngine() {
    QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << "/usr/share/icons");
    QIcon::setThemeName("oxygen");
}

void shutdownWebEngine() {}

}  // namespace corvano::qt
