// How long does "SCREENSHOT" take, from the click to the picture written?
// Runs Corvano's real start-up in-process against the application folder it
// sits in (copy it beside a prepared Data/ folder), waits until the first
// browser window is on the screen, then takes the screenshots one after
// another through the main bar's own command and times each from the click
// to the moment the confirmation would show (the file is complete then).
// The confirmation is noted instead of shown, so no box waits for a user.
// Prints the figures, then ends Corvano the ordinary way.
//
// Usage: screenshot_probe [--shots N] [--bound-ms MS]
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/Application.h"
#include "platform/CommandBars.h"
#include "mainwin/frmMain.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtWebEngineSetup.h"

namespace {

// Notes when the confirmation comes and what it says.
class NotedDialogs : public corvano::Dialogs {
public:
    void message(const std::string& text, const std::string&, Done done) override {
        at = clock ? clock->nsecsElapsed() : 0;
        last = text;
        if (done) done();
    }
    // A failed screenshot is told as a warning and is not timed.
    void warning(const std::string& text, const std::string&, Done done) override {
        last = "failed: " + text;
        if (done) done();
    }
    const QElapsedTimer* clock = nullptr;
    qint64 at = 0;
    std::string last;
};

class ProbePlatform : public corvano::qt::QtPlatform {
public:
    corvano::Dialogs& dialogs() override { return noted; }
    NotedDialogs noted;
};

}  // namespace

int main(int argc, char* argv[]) {
    using namespace corvano;
    int shots = 10, boundMs = 30000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--shots")) shots = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--bound-ms")) boundMs = std::atoi(argv[i + 1]);
    }

    qt::prepareWebEngine();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Corvano");
    QApplication::setQuitOnLastWindowClosed(false);
    qt::initWebEngine();

    std::vector<double> times;
    std::string lastMessage;
    QElapsedTimer clock;
    clock.start();
    {
        ProbePlatform platform;
        platform.noted.clock = &clock;
        Application app(platform, qt::applicationFolder());
        qt::setCommandBarModel(&app.bars);
        frmMain& main = Sub_Main(app);

        // The first browser window on the screen and painted once.
        while (clock.elapsed() < boundMs) {
            bool shown = false;
            for (Form* f : app.openWindows()) shown |= f->role() == WindowRole::Browser && f->window().visible();
            if (shown) break;
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        const qint64 settle = clock.elapsed() + 1500;
        while (clock.elapsed() < settle) QApplication::processEvents(QEventLoop::AllEvents, 20);

        for (int i = 0; i < shots; ++i) {
            platform.noted.at = 0;
            const qint64 start = clock.nsecsElapsed();
            main.cmdBar_Click(3, app.bars.at("SCREENSHOT"));
            if (platform.noted.at) times.push_back((platform.noted.at - start) / 1e6);
            lastMessage = platform.noted.last;
            QApplication::processEvents();
        }
        main.GO_MainExit();
        const qint64 end = clock.elapsed() + 5000;
        while (!app.openWindows().empty() && clock.elapsed() < end) QApplication::processEvents(QEventLoop::AllEvents, 20);
        qt::setCommandBarModel(nullptr);
    }
    qt::shutdownWebEngine();

    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().size() : QSize();
    std::sort(times.begin(), times.end());
    const double median = times.empty() ? -1 : times[times.size() / 2];
    const double slowest = times.empty() ? -1 : times.back();
    std::printf("screenshot_probe: %zu of %d screenshots at %dx%d; last message: %s\n", times.size(), shots,
                screen.width(), screen.height(), lastMessage.c_str());
    std::printf("screenshot_probe: click -> file written: median %.1f ms, slowest %.1f ms "
                "(a capture through Print Screen and the clipboard waits 3100 ms)\n",
                median, slowest);
    std::printf("RESULT shot_median_ms=%.1f shot_max_ms=%.1f shots=%zu\n", median, slowest, times.size());
    return times.size() == static_cast<size_t>(shots) ? 0 : 2;
}
