// The session outlives every way Corvano can end: a termination signal, a
// kill, the loss of the display, and a second start on the same folder.
#include <gtest/gtest.h>

#include <chrono>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "e2e/RealCorvano.h"
#include "e2e/TinyHttpServer.h"

using namespace corvano::test;

namespace {

std::string browserTitle(int n) { return "^Browser  N\\.  " + std::to_string(n) + "( \\[.*\\])?$"; }

std::string line(const std::string& text, int n) {
    size_t pos = 0;
    for (int i = 1; i < n; ++i) {
        pos = text.find("\r\n", pos);
        if (pos == std::string::npos) return {};
        pos += 2;
    }
    return text.substr(pos, text.find("\r\n", pos) - pos);
}

std::string iniWith(int count) {
    std::string s = " " + std::to_string(count) + " \r\nenglish\r\n 1 \r\n";
    for (int n = 1; n <= 20; ++n) s += n <= count ? " 1 \r\n" : " 0 \r\n";
    return s;
}

// Whole pixels at 15 twips a pixel, so nothing is rounded on the way.
std::string windowIni(int topPx, int leftPx, const std::string& address) {
    std::string s = " " + std::to_string(topPx * 15) + " \r\n " + std::to_string(leftPx * 15) + " \r\n 5250 \r\n 10500 \r\n";
    for (int i = 0; i < 9; ++i) s += " 0 \r\n";
    return s + "http://127.0.0.1/\r\n" + address + "\r\n";
}

// An X server of the test's own, with a window manager, that the test can take away.
class OwnDisplay {
public:
    OwnDisplay() : outer_(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") { start(); }
    ~OwnDisplay() {
        stop();
        if (outer_.empty())
            ::unsetenv("DISPLAY");
        else
            ::setenv("DISPLAY", outer_.c_str(), 1);
    }

    bool start() {
        int fds[2];
        if (::pipe(fds) != 0) return false;
        xvfb_ = ::fork();
        if (xvfb_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x900x24", "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        while (::poll(&p, 1, 20000) > 0) {
            char c;
            if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
            number.push_back(c);
        }
        ::close(fds[0]);
        if (number.empty()) return false;
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
        wm_ = ::fork();
        if (wm_ == 0) {
            ::execlp("openbox", "openbox", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return eventually([] { return shell("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").find("window id") !=
                                      std::string::npos; }, 20000);
    }
    // The display goes away under the running programs.
    void stop() {
        for (pid_t* pid : {&wm_, &xvfb_})
            if (*pid > 0) {
                ::kill(*pid, SIGKILL);
                ::waitpid(*pid, nullptr, 0);
                *pid = -1;
            }
    }

private:
    std::string outer_;
    pid_t xvfb_ = -1;
    pid_t wm_ = -1;
};

// Waits until the files have not changed for two seconds.
bool quietFor2s(const RealCorvano& c, const std::vector<std::string>& files) {
    auto snapshot = [&] {
        std::string all;
        for (const auto& f : files) all += c.folder.read(f) + '\0';
        return all;
    };
    std::string last = snapshot();
    auto since = std::chrono::steady_clock::now();
    return eventually([&] {
        std::string now = snapshot();
        if (now != last) {
            last = now;
            since = std::chrono::steady_clock::now();
        }
        return std::chrono::steady_clock::now() - since >= std::chrono::seconds(2);
    }, 30000);
}

// xdotool gives up at the first window that vanishes while it searches, which
// happens while windows come and go: search again until the bound.
std::string find(const RealCorvano& c, const std::string& title, int timeoutS = 60) {
    std::string id;
    eventually([&] { return !(id = c.findWindow(title, 5)).empty(); }, timeoutS * 1000);
    return id;
}

std::string dataFile(int n, const char* ext) { return "/Data/Corvano" + std::to_string(n) + ext; }

}  // namespace

TEST(EndToEnd, SessionSurvivesATerminationSignalAKillAndTheLossOfTheDisplay) {
    OwnDisplay display;
    TinyHttpServer server;
    RealCorvano corvano;
    for (int n = 1; n <= 3; ++n) server.page("/p" + std::to_string(n) + ".html", "Page " + std::to_string(n));
    corvano.folder.write("/Data/Corvano.Ini", iniWith(3));
    const std::map<int, std::pair<int, int>> places{{1, {100, 50}}, {2, {100, 850}}, {3, {500, 50}}};
    for (const auto& [n, p] : places) {
        corvano.folder.write(dataFile(n, ".Ini"), windowIni(p.first, p.second, server.url("/p" + std::to_string(n) + ".html")));
        corvano.folder.write(dataFile(n, ".Hys"), server.url("/p" + std::to_string(n) + ".html") + "\r\n");
    }
    const std::vector<std::string> files{"/Data/Corvano.Ini", dataFile(1, ".Ini"), dataFile(2, ".Ini"),
                                         dataFile(3, ".Ini"), dataFile(3, ".Hys")};
    std::map<int, WindowGeometry> expected;
    std::map<int, std::string> pages{{1, "/p1.html"}, {2, "/p2.html"}, {3, "/p3.html"}};
    std::vector<std::string> history3{server.url("/p3.html")};

    const char* endings[] = {"SIGTERM", "kill -9", "loss of the display", "restart"};
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(endings[round]);
        std::map<int, int> hitsBefore;
        for (const auto& [n, path] : pages) hitsBefore[n] = server.hits(path);
        corvano.start();
        std::map<int, std::string> ids;
        for (int n = 1; n <= 3; ++n) {
            ids[n] = find(corvano, browserTitle(n), 60);
            ASSERT_FALSE(ids[n].empty()) << "window " << n << " did not come back; Corvano ended with "
                                         << corvano.wait(1).value_or(-1) << "; windows: "
                                         << shell("xdotool search --name . getwindowname %@ 2>&1 | head -5");
        }
        // Each window back at its place and on its page.
        for (int n = 1; n <= 3; ++n) {
            EXPECT_TRUE(eventually([&] { return server.hits(pages[n]) > hitsBefore[n]; })) << n;
            if (expected.count(n)) {
                EXPECT_TRUE(eventually([&] {
                    const WindowGeometry g = RealCorvano::geometry(ids[n]);
                    return g.x == expected[n].x && g.y == expected[n].y && g.width == expected[n].width &&
                           g.height == expected[n].height;
                }, 20000)) << "window " << n << " is not at its place: " << RealCorvano::geometry(ids[n]).x << ","
                             << RealCorvano::geometry(ids[n]).y << " instead of " << expected[n].x << ","
                             << expected[n].y << "\n" << corvano.folder.read(dataFile(n, ".Ini")).substr(0, 40);
            }
        }
        if (round == 3) break;

        // One window moved, one navigated.
        const std::string next = "/r" + std::to_string(round) + ".html";
        server.page(next, "Round " + std::to_string(round));
        const std::string before2 = corvano.folder.read(dataFile(2, ".Ini"));
        shell("xdotool windowmove --sync " + ids[2] + " " + std::to_string(700 + 40 * round) + " " +
              std::to_string(150 + 30 * round));
        RealCorvano::typeAddress(ids[3], server.hostAndPath(next));
        ASSERT_TRUE(eventually([&] { return server.hits(next) >= 1; }));
        pages[3] = next;
        history3.push_back(server.url(next));
        ASSERT_TRUE(eventually([&] {
            return corvano.folder.read(dataFile(2, ".Ini")) != before2 &&
                   line(corvano.folder.read(dataFile(3, ".Ini")), 15) == server.url(next);
        })) << "the run-time writes did not follow the move and the navigation";
        ASSERT_TRUE(quietFor2s(corvano, files));
        for (int n = 1; n <= 3; ++n) expected[n] = RealCorvano::geometry(ids[n]);

        if (round == 0) {
            // A second signal while the exit runs does not cut it short
            // (another one, so the system does not merge it with the first).
            ::kill(corvano.pid(), SIGTERM);
            ::kill(corvano.pid(), SIGINT);
            EXPECT_EQ(corvano.wait(30), 0);
        } else if (round == 1) {
            corvano.kill();
        } else {
            display.stop();
            if (!corvano.wait(30)) corvano.kill();
            ASSERT_TRUE(display.start());
        }
        std::string hys;
        for (const auto& h : history3) hys += h + "\r\n";
        EXPECT_EQ(corvano.folder.read(dataFile(3, ".Hys")), hys);
        EXPECT_EQ(corvano.folder.read("/Data/Corvano.Ini"), iniWith(3));
    }
    RealCorvano::key(find(corvano, "^Corvano$"), "Escape");
    EXPECT_EQ(corvano.wait(30), 0);
}

TEST(EndToEnd, AKillDuringTheReopeningLosesNoWindow) {
    TinyHttpServer server;
    RealCorvano corvano;
    corvano.folder.write("/Data/Corvano.Ini", iniWith(5));
    std::map<int, std::string> files;
    for (int n = 1; n <= 5; ++n) {
        files[n] = windowIni(60 * n, 40 * n, server.url("/w" + std::to_string(n) + ".html"));
        corvano.folder.write(dataFile(n, ".Ini"), files[n]);
    }
    corvano.start();
    // Window 3 opens 1.6 s after the first: the run-time writes have had a turn.
    ASSERT_FALSE(find(corvano, browserTitle(3), 60).empty());
    const bool midway = corvano.windows(browserTitle(5)).empty();
    corvano.kill();
    ASSERT_TRUE(midway) << "the reopening was over before the kill";
    EXPECT_EQ(corvano.folder.read("/Data/Corvano.Ini"), iniWith(5));
    for (int n = 4; n <= 5; ++n) EXPECT_EQ(corvano.folder.read(dataFile(n, ".Ini")), files[n]) << n;

    corvano.start();
    for (int n = 1; n <= 5; ++n) EXPECT_FALSE(find(corvano, browserTitle(n), 60).empty()) << n;
    RealCorvano::key(find(corvano, "^Corvano$"), "Escape");
    EXPECT_EQ(corvano.wait(30), 0);
}

TEST(EndToEnd, ASecondStartOnTheSameFolderBringsTheFirstForwardAndEnds) {
    OwnDisplay display;
    RealCorvano corvano;
    corvano.start();
    const std::string first = find(corvano, browserTitle(1), 60);
    const std::string main = find(corvano, "^Corvano$", 10);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(main.empty());
    shell("xdotool windowactivate --sync " + main);
    ASSERT_TRUE(eventually([&] { return shell("xdotool getactivewindow") == main; }, 10000));

    const auto began = std::chrono::steady_clock::now();
    const pid_t second = ::fork();
    if (second == 0) {
        const std::string exe = corvano.folder.file("/corvano");
        ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = -1;
    ASSERT_TRUE(eventually([&] { return ::waitpid(second, &status, WNOHANG) == second; }, 15000))
        << "the second start keeps running";
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
    EXPECT_LT(took.count(), 2000) << "the second start took " << took.count() << " ms";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(eventually([&] { return shell("xdotool getactivewindow") == first; }, 10000))
        << "the running Corvano did not come forward";

    // A lock left by a killed Corvano does not block the next start.
    corvano.kill();
    corvano.start();
    EXPECT_FALSE(find(corvano, browserTitle(1), 60).empty());
    // A third request to end ends at once, whatever the exit was doing
    // (distinct signals, so none is merged with another still pending).
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) ::kill(corvano.pid(), sig);
    const auto ended = corvano.wait(30);
    ASSERT_TRUE(ended.has_value());
    EXPECT_TRUE(*ended == 128 + SIGTERM || *ended == 128 + SIGHUP || *ended == 128 + SIGINT) << *ended;
}
