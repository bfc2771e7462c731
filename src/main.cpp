// Sub Main: start Qt and the web engine, compose the application with the Qt
// platform, show the main window and run until the last window has closed.
#include <QApplication>

#include "app/Application.h"
#include "mainwin/frmMain.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtEndRequests.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtWebEngineSetup.h"

int main(int argc, char* argv[]) {
    using namespace corvano;
    qt::prepareWebEngine();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Corvano");
    QApplication::setQuitOnLastWindowClosed(false);
    // One Corvano per folder: a second one would overwrite the session of the
    // first and cannot share its web profile.
    qt::QtSingleInstance instance(QString::fromStdString(qt::applicationFolder()));
    if (!instance.acquire()) {
        instance.askRunningToComeForward();
        return 0;
    }
    qt::initWebEngine();
    int rc = 0;
    {
        qt::QtPlatform platform;
        Application app(platform, qt::applicationFolder());
        qt::setCommandBarModel(&app.bars);
        instance.onComeForward = [&platform] {
            if (platform.onRaiseRequest) platform.onRaiseRequest();
        };
        qt::QtEndRequests ends([&platform] {
            if (platform.onEndRequest) platform.onEndRequest();
        });
        Sub_Main(app);
        rc = QApplication::exec();
        instance.onComeForward = nullptr;
    }
    // The web profile goes after every page and before the application object.
    qt::setCommandBarModel(nullptr);
    qt::shutdownWebEngine();
    return rc;
}
