// Sub Main: start Qt and the web engine, compose the application with the Qt
// platform, show the main window and run until the last window has closed.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "about/VersionReport.h"
#include "app/AppFolder.h"
#include "app/Application.h"
#include "app/ControlConf.h"
#include "app/ControlCtl.h"
#include "app/ControlToken.h"
#include "app/TextFile.h"
#include "mainwin/WallControl.h"
#include "mainwin/frmMain.h"
#include "platform/net/HttpClient.h"
#include "platform/net/HttpControlServer.h"
#include "platform/net/MosquittoLink.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtDesktopSession.h"
#include "platform/qt/QtEndRequests.h"
#include "platform/qt/QtEngineVersions.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtWebEngineSetup.h"

namespace {

// The application folder by Corvano's own rules, before Qt starts.
corvano::AppFolders foldersWithoutQt() {
    using namespace corvano;
    std::error_code ec;
    const std::string exeDir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    auto env = [](const char* name) { const char* v = std::getenv(name); return std::string(v ? v : ""); };
    return chooseAppFolders(exeDir, userDataHome(env("XDG_DATA_HOME"), env("HOME")));
}

// `corvano --version`: no display, no window, no lock on the folder.
int printVersion() {
    using namespace corvano;
    const AppFolders folders = foldersWithoutQt();
    const StringTable texts = startupTexts(folders.appPath, folders.shippedPath);
    std::fputs(versionReport(texts, qt::engineVersions()).c_str(), stdout);
    return 0;
}

// `corvano ctl ...`: asks the running Corvano of the same folder over its
// control interface. 0 done; 1 refused; 2 wrong arguments; 3 not reached.
int runCtl(int argc, char* argv[]) {
    using namespace corvano;
    const CtlCall call = readCtlArgs(std::vector<std::string>(argv + 2, argv + argc));
    if (!call.problem.empty()) {
        std::fprintf(stderr, "corvano ctl: %s\n%s", call.problem.c_str(), ctlUsage().c_str());
        return 2;
    }
    const AppFolders folders = foldersWithoutQt();
    const std::string confPath = folders.appPath + "/Data/Control.conf";
    const ControlConf conf = readControlConf(textfile::readAll(confPath, 64 * 1024).value_or(defaultControlConfText()));
    const std::string host = ctlHost(conf.host);
    const std::string url = "http://" + (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" +
                            std::to_string(conf.port);
    if (call.method.empty()) {
        std::printf("%s\n", url.c_str());
        return 0;
    }
    if (!conf.listen) {
        std::fprintf(stderr, "corvano ctl: the control interface is off (listen=off in %s)\n", confPath.c_str());
        return 3;
    }
    const auto token = controlToken(folders.appPath + "/Data/Control.key", false);
    if (!token) {
        std::fprintf(stderr, "corvano ctl: no token in %s/Data/Control.key: has Corvano run here?\n",
                     folders.appPath.c_str());
        return 3;
    }
    const net::HttpReply reply = net::httpCall(host, conf.port, call.method, call.path, *token, call.body, 40);
    if (!reply.reached) {
        std::fprintf(stderr, "corvano ctl: Corvano does not answer at %s (%s): is it running?\n", url.c_str(),
                     reply.error.c_str());
        return 3;
    }
    if (reply.status != 200) {
        if (call.json) std::fputs(ctlText(call, reply.body).c_str(), stdout);
        std::fprintf(stderr, "corvano ctl: %s\n", ctlRefusalLine(reply.status, reply.body).c_str());
        return 1;
    }
    if (!call.outFile.empty()) {
        if (!textfile::writeAtomic(call.outFile, reply.body, false)) {
            std::fprintf(stderr, "corvano ctl: %s could not be written\n", call.outFile.c_str());
            return 1;
        }
        return 0;
    }
    std::fputs(ctlText(call, reply.body).c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace corvano;
    if (argc == 2 && std::string_view(argv[1]) == "--version") return printVersion();
    if (argc >= 2 && std::string_view(argv[1]) == "ctl") return runCtl(argc, argv);
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
        // Driven from outside: HTTP on its own threads, answered here.
        WallControl control(app);
        auto toUi = [](std::function<void()> task) {
            QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
        };
        control.start(std::make_unique<net::HttpControlServer>(toUi), std::make_unique<net::MosquittoLink>(toUi));
        rc = QApplication::exec();
        control.stop();
        instance.onComeForward = nullptr;
    }
    // The web profile goes after every page and before the application object.
    qt::setCommandBarModel(nullptr);
    qt::shutdownWebEngine();
    return rc;
}
