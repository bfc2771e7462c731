// Sub Main: start Qt and the web engine, compose the application with the Qt
// platform, show the main window and run until the last window has closed.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "about/VersionReport.h"
#include "app/AppFolder.h"
#include "app/Application.h"
#include "mainwin/frmMain.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtDesktopSession.h"
#include "platform/qt/QtEndRequests.h"
#include "platform/qt/QtEngineVersions.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtWebEngineSetup.h"

namespace {

// `corvano --version`: no display, no window, no lock on the folder.
int printVersion() {
    using namespace corvano;
    std::error_code ec;
    const std::string exeDir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    auto env = [](const char* name) { const char* v = std::getenv(name); return std::string(v ? v : ""); };
    const AppFolders folders = chooseAppFolders(exeDir, userDataHome(env("XDG_DATA_HOME"), env("HOME")));
    const StringTable texts = startupTexts(folders.appPath, folders.shippedPath);
    std::fputs(versionReport(texts, qt::engineVersions()).c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace corvano;
    if (argc == 2 && std::string_view(argv[1]) == "--version") return printVersion();
    const bool choseX = qt::chooseWindowSystem(argc, argv);
    qt::prepareWebEngine();
    QApplication qapp(argc, argv);
    qt::windowSystemChosen(choseX);
    QApplication::setApplicationName("Corvano");
    // The menu entry's name: the desktop shows its icon for the windows.
    QApplication::setDesktopFileName("net.corvano.Corvano");
    QApplication::setQuitOnLastWindowClosed(false);
    // A portable folder keeps everything beside the program; an installed
    // Corvano keeps each user's files in the user's data folder.
    const AppFolders folders = chooseAppFolders(QCoreApplication::applicationDirPath().toStdString(),
                                                userDataHome(qEnvironmentVariable("XDG_DATA_HOME").toStdString(),
                                                             QDir::homePath().toStdString()));
    const QString appPath = QString::fromStdString(folders.appPath);
    QDir().mkpath(appPath + "/Data");
    // One Corvano per folder: a second one would overwrite the session of the
    // first and cannot share its web profile.
    qt::QtSingleInstance instance(appPath);
    if (!instance.acquire()) {
        instance.askRunningToComeForward();
        return 0;
    }
    if (folders.installed) {
        for (const std::string& name : seedAppFolder(folders.shippedPath, folders.appPath))
            std::fprintf(stderr, "corvano: %s/%s could not be written\n", folders.appPath.c_str(), name.c_str());
    }
    qt::setWebStorageFolder(appPath);
    qt::initWebEngine();
    int rc = 0;
    {
        qt::QtPlatform platform;
        Application app(platform, folders.appPath);
        app.App.shippedPath = folders.shippedPath;
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
