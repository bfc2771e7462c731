// Sub Main: start Qt and the web engine, compose the application with the Qt
// platform, show the main window and run until the last window has closed.
#include <QApplication>

#include "app/Application.h"
#include "mainwin/frmMain.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtWebEngineSetup.h"

int main(int argc, char* argv[]) {
    using namespace corvano;
    qt::prepareWebEngine();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Corvano");
    QApplication::setQuitOnLastWindowClosed(false);
    qt::initWebEngine();
    int rc = 0;
    {
        qt::QtPlatform platform;
        Application app(platform, qt::applicationFolder());
        qt::setCommandBarModel(&app.bars);
        Sub_Main(app);
        rc = QApplication::exec();
    }
    // The web profile goes after every page and before the application object.
    qt::setCommandBarModel(nullptr);
    qt::shutdownWebEngine();
    return rc;
}
