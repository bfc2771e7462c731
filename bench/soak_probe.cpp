// Does memory grow over hours of refreshes? Opens 20 windows that refresh
// every 30 s on local pages whose script builds a few thousand elements,
// samples the memory of the whole process tree (Pss) every 30 s for
// BENCH_SOAK_MIN minutes (30), and prints it at 5, 10, 20 and 30 minutes,
// the least-squares slope after the first five minutes, the reloads done and
// the longest stall of the user-interface thread. The pages come from a small
// server in this process, on 127.0.0.1 only.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "mainwin/frmMain.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtWebEngineSetup.h"

namespace {

constexpr int kWindows = 20;
constexpr int kSampleMs = 30000;

QByteArray pageHtml(int n) {
    return QStringLiteral(
               "<!doctype html><html><head><title>Soak %1</title></head><body><div id=r></div><script>"
               "var r=document.getElementById('r'),t=document.createElement('table');"
               "for(var i=0;i<600;i++){var tr=t.insertRow();for(var j=0;j<4;j++)"
               "tr.insertCell().textContent='cell '+i+'.'+j+' '+Math.random().toString(36).slice(2);}"
               "r.appendChild(t);</script></body></html>")
        .arg(n)
        .toUtf8();
}

// Memory of a process and all its descendants, in KiB: Pss of the whole tree,
// and the private dirty pages of the main process and of the engine's child
// processes (renderers, zygotes), which tell where growth is and do not move
// when another program shares libraries.
struct TreeMemory {
    long long pss = 0, mainPrivate = 0, childPrivate = 0;
    int children = 0;
};

TreeMemory treeMemory(int root) {
    std::map<int, std::vector<int>> children;
    for (const QString& name : QDir("/proc").entryList(QDir::Dirs)) {
        bool ok = false;
        const int pid = name.toInt(&ok);
        if (!ok) continue;
        std::ifstream stat("/proc/" + name.toStdString() + "/stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        int ppid = 0;
        rest >> state >> ppid;
        children[ppid].push_back(pid);
    }
    TreeMemory m;
    std::vector<int> todo{root};
    while (!todo.empty()) {
        const int pid = todo.back();
        todo.pop_back();
        std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
        std::string line;
        long long kib = 0;
        while (std::getline(rollup, line)) {
            if (std::sscanf(line.c_str(), "Pss: %lld", &kib) == 1) m.pss += kib;
            if (std::sscanf(line.c_str(), "Private_Dirty: %lld", &kib) == 1)
                (pid == root ? m.mainPrivate : m.childPrivate) += kib;
        }
        m.children += pid != root;
        for (int c : children[pid]) todo.push_back(c);
    }
    return m;
}

void write(const QString& path, const std::string& text) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text.data(), static_cast<qint64>(text.size()));
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace corvano;
    const char* env = std::getenv("BENCH_SOAK_MIN");
    const double minutes = env && std::atof(env) > 0 ? std::atof(env) : 30.0;

    qt::prepareWebEngine();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("CorvanoSoak");
    QApplication::setQuitOnLastWindowClosed(false);
    qt::initWebEngine();

    // The page server.
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) return 1;
    long long hits = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* s = server.nextPendingConnection()) {
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            QObject::connect(s, &QTcpSocket::readyRead, s, [s, &hits] {
                const QByteArray req = s->readAll();
                const int n = QString::fromLatin1(req.mid(req.indexOf("/soak") + 5, 3)).toInt();
                const QByteArray body = req.startsWith("GET /soak") ? pageHtml(n) : QByteArray();
                if (!body.isEmpty()) ++hits;
                s->write((body.isEmpty() ? "HTTP/1.1 404 Not Found\r\n" : "HTTP/1.1 200 OK\r\n") +
                         QByteArray("Content-Type: text/html\r\nCache-Control: no-store\r\nConnection: close\r\n"
                                    "Content-Length: ") +
                         QByteArray::number(body.size()) + "\r\n\r\n" + body);
                s->disconnectFromHost();
            });
        }
    });

    // An application folder reopening 20 windows, tiled, each refreshing every 30 s.
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Data");
    QFile::copy(CORVANO_SHARE_DIR "/Lang_english.txt", dir.filePath("Lang_english.txt"));
    std::string ini = " 20 \r\nenglish\r\n 1 \r\n";
    for (int i = 0; i < 20; ++i) ini += " 1 \r\n";
    write(dir.filePath("Data/Corvano.Ini"), ini);
    const int cellW = 1920 / 5 * 15, cellH = 1080 / 4 * 15;
    for (int n = 1; n <= kWindows; ++n) {
        const int col = (n - 1) % 5, row = (n - 1) / 5;
        std::string s;
        for (int v : {row * cellH, col * cellW, cellH, cellW}) s += " " + std::to_string(v) + " \r\n";
        for (int i = 0; i < 9; ++i) s += " 0 \r\n";
        s += "\r\nhttp://127.0.0.1:" + std::to_string(server.serverPort()) + "/soak" + std::to_string(n) + ".html\r\n";
        write(dir.filePath(QStringLiteral("Data/Corvano%1.Ini").arg(n)), s);
        write(dir.filePath(QStringLiteral("Data/Corvano%1.Opt").arg(n)), "version=1\r\nzoom=100\r\nrefresh=30\r\n");
    }

    QElapsedTimer clock;
    struct Sample {
        double minute;
        double mib, mainPrivate, childPrivate;
    };
    std::vector<Sample> samples;
    qint64 last = 0, maxGap = 0, maxGapWarm = 0;
    // BENCH_SOAK_PLAIN=1: the same pages in bare views of the engine, reloaded
    // on the same timer, to tell what the engine grows by itself from ours.
    const bool plain = std::getenv("BENCH_SOAK_PLAIN") && *std::getenv("BENCH_SOAK_PLAIN") == '1';
    {
        qt::QtPlatform platform;
        std::optional<Application> app;
        std::vector<std::unique_ptr<QWebEngineView>> views;
        clock.start();
        if (plain) {
            for (int n = 1; n <= kWindows; ++n) {
                auto view = std::make_unique<QWebEngineView>(new QWebEnginePage(qt::webProfile()));
                view->page()->setParent(view.get());
                view->setGeometry((n - 1) % 5 * 384, (n - 1) / 5 * 270, 384, 270);
                view->load(QUrl(QStringLiteral("http://127.0.0.1:%1/soak%2.html").arg(server.serverPort()).arg(n)));
                view->show();
                auto* again = new QTimer(view.get());
                QObject::connect(again, &QTimer::timeout, view.get(), &QWebEngineView::reload);
                again->start(30000);
                views.push_back(std::move(view));
            }
        } else {
            app.emplace(platform, dir.path().toStdString());
            Sub_Main(*app);
        }

        QTimer tick;
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            const qint64 gap = now - last;
            last = now;
            maxGap = std::max(maxGap, gap);
            // After the windows have reopened (20 x 800 ms) and loaded.
            if (now > 60000) maxGapWarm = std::max(maxGapWarm, gap);
        });
        tick.start();
        QTimer sample;
        sample.setInterval(kSampleMs);
        auto take = [&] {
            const double m = clock.elapsed() / 60000.0;
            const TreeMemory t = treeMemory(static_cast<int>(QCoreApplication::applicationPid()));
            samples.push_back({m, t.pss / 1024.0, t.mainPrivate / 1024.0, t.childPrivate / 1024.0});
            std::printf("soak: %5.1f min %7.1f MiB, %lld pages served; private: main %.1f, %d child processes %.1f MiB; "
                        "main heap in use %.1f MiB\n",
                        m, samples.back().mib, hits, t.mainPrivate / 1024.0, t.children, t.childPrivate / 1024.0,
                        static_cast<double>(mallinfo2().uordblks) / (1 << 20));
            std::fflush(stdout);
            // Reading /proc is the probe's own work, not a stall of Corvano's.
            last = clock.elapsed();
            if (m >= minutes - 0.01)
                QTimer::singleShot(0, &qapp, [&app, &views] {
                    views.clear();
                    if (app)
                        if (frmMain* f = mainForm(*app)) f->GO_MainExit();
                    QTimer::singleShot(20000, [] { QApplication::quit(); });
                });
        };
        QObject::connect(&sample, &QTimer::timeout, take);
        sample.start();
        QApplication::exec();
    }
    qt::shutdownWebEngine();

    auto at = [&](double minute) {
        for (const Sample& s : samples)
            if (s.minute >= minute - 0.05) return s.mib;
        return -1.0;
    };
    std::printf("soak: %d windows, refresh 30 s, %.0f min\n", kWindows, minutes);
    for (double m : {5.0, 10.0, 20.0, 30.0})
        if (at(m) >= 0) std::printf("soak: at %2.0f min %.1f MiB\n", m, at(m));
    // Least squares over the samples after the first five minutes: slope and its standard error.
    auto fit = [&](double Sample::*field) {
        double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (const Sample& s : samples)
            if (s.minute > 5.0 - 0.05) {
                const double h = s.minute / 60.0, y = s.*field;
                n += 1, sx += h, sy += y, sxx += h * h, sxy += h * y;
            }
        if (n < 3) return std::pair{0.0, -1.0};
        const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
        const double icpt = (sy - slope * sx) / n;
        double rss = 0;
        for (const Sample& s : samples)
            if (s.minute > 5.0 - 0.05) rss += std::pow(s.*field - (icpt + slope * s.minute / 60.0), 2);
        return std::pair{slope, std::sqrt(rss / (n - 2) / (sxx - sx * sx / n))};
    };
    if (const auto [slope, se] = fit(&Sample::mib); se >= 0) {
        const double warm = at(5.0);
        std::printf("soak: slope after 5 min %.1f MiB/h (standard error %.1f), %.1f %% of the %.0f MiB at 5 min\n",
                    slope, se, warm > 0 ? 100.0 * slope / warm : 0.0, warm);
        std::printf("soak: of which private memory: main process %+.1f MiB/h, the engine's child processes %+.1f MiB/h\n",
                    fit(&Sample::mainPrivate).first, fit(&Sample::childPrivate).first);
    }
    std::printf("soak: %lld pages served (%lld reloads after the first loads)\n", hits, hits - kWindows);
    std::printf("soak: longest UI-thread stall %lld ms (after the first minute %lld ms)\n", maxGap, maxGapWarm);
    return 0;
}
