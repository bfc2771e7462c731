// How long does Corvano's user-interface thread stall while it reopens its
// windows? Runs the real start-up in-process against the application folder
// it sits in (copy it beside a prepared Data/ folder) and, meanwhile, a 1 ms
// timer records the largest gap between its ticks, until the expected number
// of windows has shown a page title or the bound has passed. Prints the
// figures, then ends Corvano the ordinary way.
//
// Usage: stall_probe [--windows N] [--marker TEXT] [--bound-ms MS]
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "app/Application.h"
#include "mainwin/frmMain.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtWebEngineSetup.h"

namespace {

struct Options {
    int windows = 20;
    QString marker = "Bench page";
    int boundMs = 60000;
};

Options parse(int argc, char* argv[]) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--windows"))
            o.windows = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--marker"))
            o.marker = QString::fromUtf8(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--bound-ms"))
            o.boundMs = std::atoi(argv[i + 1]);
    }
    return o;
}

// A window counts as loaded once its caption shows the page title in
// brackets; the caption goes back to its short form when the load completes,
// so title changes are caught as they happen rather than polled.
class TitleWatch : public QObject {
public:
    explicit TitleWatch(QString marker) : needle_(" [" + marker) {}
    std::set<const QObject*> loaded;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() == QEvent::WindowTitleChange && obj->isWidgetType()) {
            auto* w = static_cast<QWidget*>(obj);
            if (w->isWindow() && w->windowTitle().contains(needle_)) loaded.insert(obj);
        }
        return false;
    }

private:
    QString needle_;
};

double ms(qint64 ns) { return ns / 1e6; }

}  // namespace

int main(int argc, char* argv[]) {
    const Options opt = parse(argc, argv);
    using namespace corvano;

    qt::prepareWebEngine();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Corvano");
    QApplication::setQuitOnLastWindowClosed(false);
    qt::initWebEngine();

    TitleWatch watch(opt.marker);
    qapp.installEventFilter(&watch);

    QElapsedTimer clock;
    std::vector<qint64> gaps;
    qint64 maxGap = 0, maxGapAt = 0, allLoadedAt = -1, subMainNs = 0;
    qint64 maxLaterGap = 0;  // once the first page has shown: the reopen phase alone
    long long longestWritePassUs = 0;
    int writePasses = 0, filesWritten = 0;
    bool done = false;
    int rc = 0;
    {
        qt::QtPlatform platform;
        Application app(platform, qt::applicationFolder());

        clock.start();
        Sub_Main(app);
        subMainNs = clock.nsecsElapsed();

        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        qint64 last = clock.nsecsElapsed();
        gaps.reserve(static_cast<size_t>(opt.boundMs) + 1000);

        auto finish = [&] {
            if (done) return;
            done = true;
            tick.stop();
            // What the run-time writes of the session cost on this thread.
            if (frmMain* m = mainForm(app))
                if (const SessionFiles* s = m->sessionFiles()) {
                    longestWritePassUs = s->longestPassUs();
                    writePasses = s->passes();
                    filesWritten = s->writes();
                }
            // Through the application's own exit, as Escape would; the bound
            // below ends the loop should that hang.
            QTimer::singleShot(0, &qapp, [&app] {
                if (frmMain* m = mainForm(app))
                    m->GO_MainExit();
                else
                    QApplication::quit();
            });
            QTimer::singleShot(20000, &qapp, [] { QApplication::quit(); });
        };

        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            const qint64 gap = now - last;
            last = now;
            gaps.push_back(gap);
            if (gap > maxGap) {
                maxGap = gap;
                maxGapAt = now;
            }
            if (!watch.loaded.empty()) maxLaterGap = std::max(maxLaterGap, gap);
            if (static_cast<int>(watch.loaded.size()) >= opt.windows) {
                allLoadedAt = now;
                finish();
            } else if (now > qint64(opt.boundMs) * 1000000) {
                finish();
            }
        });
        tick.start();
        rc = QApplication::exec();
    }
    qt::shutdownWebEngine();

    std::sort(gaps.begin(), gaps.end());
    const auto over = [&](double limitMs) {
        return std::count_if(gaps.begin(), gaps.end(), [&](qint64 g) { return ms(g) > limitMs; });
    };
    const double p99 = gaps.empty() ? 0 : ms(gaps[gaps.size() * 99 / 100]);
    std::printf("stall_probe: %zu of %d windows showed their page%s\n", watch.loaded.size(), opt.windows,
                allLoadedAt < 0 ? " before the bound" : "");
    std::printf("stall_probe: start-up before the event loop (Sub_Main): %.1f ms\n", ms(subMainNs));
    std::printf("stall_probe: longest gap between 1 ms ticks: %.1f ms, at %.2f s\n", ms(maxGap), maxGapAt / 1e9);
    std::printf("stall_probe: longest gap after the first page showed: %.1f ms\n", ms(maxLaterGap));
    std::printf("stall_probe: %zu ticks; gaps over 16 ms: %td, over 50 ms: %td, over 100 ms: %td; 99th percentile %.1f ms\n",
                gaps.size(), over(16), over(50), over(100), p99);
    std::printf("stall_probe: session writes: %d files in %d passes, longest pass %.1f ms\n", filesWritten,
                writePasses, longestWritePassUs / 1e3);
    std::printf("RESULT max_gap_ms=%.1f max_gap_at_s=%.2f later_gap_ms=%.1f submain_ms=%.1f loaded=%zu all_loaded_s=%.2f\n",
                ms(maxGap), maxGapAt / 1e9, ms(maxLaterGap), ms(subMainNs), watch.loaded.size(),
                allLoadedAt < 0 ? -1.0 : allLoadedAt / 1e9);
    return allLoadedAt < 0 ? 2 : rc;
}
