// The wall's layout with the real program: a grid from the main bar by
// keyboard, full screen and back, a place beyond 16-bit twips on a wide
// desktop, and a window that follows its monitor across runs.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/RealCorvano.h"
#include "e2e/TinyHttpServer.h"

using namespace corvano::test;

namespace {

std::string iniWith(int count) {
    std::string s = " " + std::to_string(count) + " \r\nenglish\r\n 1 \r\n";
    for (int n = 1; n <= 20; ++n) s += n <= count ? " 1 \r\n" : " 0 \r\n";
    return s;
}

// A settings file: top, left, height, width in twips, then the page.
std::string windowIni(int top, int left, int height, int width, const std::string& address) {
    std::string s = " " + std::to_string(top) + " \r\n " + std::to_string(left) + " \r\n " + std::to_string(height) +
                    " \r\n " + std::to_string(width) + " \r\n";
    for (int i = 0; i < 9; ++i) s += " 0 \r\n";
    return s + "http://home.example/\r\n" + address + "\r\n";
}

// Values 1 to 4 of a settings file: top, left, height, width.
std::vector<int> placeOf(const std::string& settings) {
    std::vector<int> v;
    std::istringstream in(settings);
    std::string line;
    while (v.size() < 4 && std::getline(in, line)) v.push_back(std::atoi(line.c_str()));
    return v;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

const char* const kBrowser = "^Browser  N\\.  ";

}  // namespace

TEST(WindowLayout, GridFromTheMainBarByKeyboardAndFullScreenThereAndBack) {
    TinyHttpServer server;
    RealCorvano corvano;
    corvano.folder.write("/Data/Corvano.Ini", iniWith(4));
    for (int n = 1; n <= 4; ++n) {
        server.page("/" + std::to_string(n) + ".html", "Page " + std::to_string(n));
        corvano.folder.write("/Data/Corvano" + std::to_string(n) + ".Ini",
                             windowIni(600 * n, 600 * n, 4500, 7500, server.url("/" + std::to_string(n) + ".html")));
    }
    corvano.start();
    const std::string main = corvano.findWindow("^Corvano$");
    ASSERT_FALSE(main.empty());
    ASSERT_TRUE(eventually([&] { return corvano.windows(kBrowser).size() == 4; }, 60000));
    const WindowGeometry screen = RealCorvano::screen();

    // F10 takes the keyboard to the main bar; "Arrange" is its seventh button, "Grid" its first item.
    RealCorvano::key(main, "F10 Right Right Right Right Right Right Down Home Return");
    auto window = [&](int n) { return corvano.findWindow(std::string(kBrowser) + std::to_string(n), 10); };
    auto quarters = [&] {
        std::vector<WindowGeometry> g;
        for (int n = 1; n <= 4; ++n) g.push_back(RealCorvano::geometry(window(n)));
        return g;
    };
    std::vector<WindowGeometry> g;
    ASSERT_TRUE(eventually([&] {
        g = quarters();
        return std::all_of(g.begin(), g.end(), [&](const WindowGeometry& w) { return w.width == screen.width / 2; });
    })) << "no grid";
    const int strip = g[0].y;
    EXPECT_GT(strip, 0) << "under the main window's bar strip";
    EXPECT_LT(strip, 60);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g[i].x, i % 2 ? screen.width / 2 : 0) << "window " << i + 1;
        EXPECT_NEAR(g[i].y, i < 2 ? strip : strip + (screen.height - strip) / 2, 1) << "window " << i + 1;
        EXPECT_NEAR(g[i].height, (screen.height - strip) / 2, 1) << "window " << i + 1;
    }

    // F11: the whole screen; F11 again: the same quarter.
    RealCorvano::key(window(2), "F11");
    ASSERT_TRUE(eventually([&] {
        const WindowGeometry w = RealCorvano::geometry(window(2));
        return w.x == 0 && w.y == 0 && w.width == screen.width && w.height == screen.height;
    })) << "F11 did not cover the screen";
    RealCorvano::key(window(2), "F11");
    ASSERT_TRUE(eventually([&] {
        const WindowGeometry w = RealCorvano::geometry(window(2));
        return w.x == g[1].x && w.y == g[1].y && w.width == g[1].width && w.height == g[1].height;
    })) << "F11 again did not bring it back";

    // The keyboard is still on the main bar: the first Escape leaves it, the second ends Corvano.
    RealCorvano::key(main, "Escape Escape");
    ASSERT_EQ(corvano.wait(), 0);
    for (int n = 1; n <= 4; ++n) {
        const std::vector<int> p = placeOf(corvano.folder.read("/Data/Corvano" + std::to_string(n) + ".Ini"));
        ASSERT_EQ(4u, p.size());
        const WindowGeometry& w = g[static_cast<size_t>(n - 1)];
        EXPECT_NEAR(p[0], w.y * 15, 15) << "top of " << n;
        EXPECT_NEAR(p[1], w.x * 15, 15) << "left of " << n;
        EXPECT_NEAR(p[2], w.height * 15, 15) << "height of " << n;
        EXPECT_NEAR(p[3], w.width * 15, 15) << "width of " << n;
    }
}

// The settings file's 16-bit twips end at 2184 pixels; the options file's place does not.
TEST(WindowLayout, AWindowAtThreeThousandPixelsComesBackThereOnAWideDesktop) {
    TinyHttpServer server;
    server.page("/one.html", "One");
    RealCorvano corvano;
    corvano.folder.write("/Data/Corvano.Ini", iniWith(1));
    corvano.folder.write("/Data/Corvano1.Ini", windowIni(1500, 1500, 6000, 9000, server.url("/one.html")));
    const std::string script = corvano.folder.file("/wide.sh");
    std::ofstream(script) << kFindWindowSh << R"(
cd "$1"
run() {
  ./corvano >/dev/null 2>&1 &
  pid=$!
  w=$(find_window '^Browser  N\.  1' 60)
}
run
xdotool windowmove --sync "$w" 3000 200
# The session writes the new place within two seconds.
for i in $(seq 100); do grep -q '^place=3000,200,' Data/Corvano1.Opt 2>/dev/null && break; sleep 0.1; done
main=$(xdotool search --onlyvisible --name '^Corvano$' | head -1)
xdotool windowfocus --sync "$main" key Escape
timeout 30 tail --pid=$pid -f /dev/null
head -2 Data/Corvano1.Ini | tr -d '\r' | tr '\n' ' ' | tr -s ' '
echo
run
for i in $(seq 100); do
  x=$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^X=//p')
  [ "$x" = 3000 ] && break
  sleep 0.1
done
echo "x=$x"
kill "$pid"
timeout 30 tail --pid=$pid -f /dev/null
)";
    const std::vector<std::string> out = lines(
        shell("xvfb-run -a -s '-screen 0 3840x1080x24' bash " + script + " " + corvano.folder.path() + " 2>/dev/null"));
    ASSERT_EQ(2u, out.size());
    EXPECT_EQ(" 3000 32767 ", out[0]) << "the settings file keeps its 16 bits";
    EXPECT_EQ("x=3000", out[1]);
}

// A child process with its output in a log, ended by its process id.
class Child {
public:
    Child(std::vector<std::string> args, const std::string& log, std::vector<std::pair<std::string, std::string>> env = {}) {
        pid = ::fork();
        if (pid == 0) {
            for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(out, 2);
            std::vector<char*> argv;
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~Child() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        if (!eventually([&] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, 10000)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    pid_t pid = -1;
};

// Puts the environment variables back as they were when it goes.
class EnvironmentKept {
public:
    explicit EnvironmentKept(std::vector<std::string> names) {
        for (std::string& n : names) {
            const char* v = std::getenv(n.c_str());
            kept_.push_back({std::move(n), v ? std::optional<std::string>(v) : std::nullopt});
        }
    }
    ~EnvironmentKept() {
        for (const auto& [n, v] : kept_) v ? ::setenv(n.c_str(), v->c_str(), 1) : ::unsetenv(n.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> kept_;
};

// The first match of a pattern in a log, waited for.
std::string waitInLog(const std::string& log, const std::regex& pattern, int timeoutMs = 30000) {
    std::string found;
    eventually([&] {
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        std::smatch m;
        if (std::regex_search(s, m, pattern)) found = m[1];
        return !found.empty();
    }, timeoutMs);
    return found;
}

// Two monitors Qt sees as such: weston's X11 backend with two outputs inside
// an Xvfb, and the program on weston's XWayland (monitors XWAYLAND0 at 0,0
// and XWAYLAND1 at 960,0). One output: XWAYLAND1 is missing.
TEST(WindowLayout, AWindowFollowsItsMonitorAcrossRuns) {
    if (shell("command -v weston").empty() || shell("command -v Xvfb").empty())
        GTEST_SKIP() << "weston or Xvfb is not installed";
    TinyHttpServer server;
    server.page("/one.html", "One");
    RealCorvano corvano;
    TempFolder runtime;
    ::chmod(runtime.path().c_str(), 0700);
    corvano.folder.write("/Data/Corvano.Ini", iniWith(1));
    corvano.folder.write("/Data/Corvano1.Ini", windowIni(1500, 1500, 6000, 9000, server.url("/one.html")));
    corvano.folder.write("/Data/Corvano1.Opt",
                         "version=1\r\nzoom=100\r\nscreen=XWAYLAND1\r\nscreenrect=960,0,960,1000\r\nplace=100,100,600,400\r\n");

    // Xvfb tells its display number on a descriptor of its own.
    const std::string xvfbLog = runtime.file("/xvfb.log");
    Child xvfb({"sh", "-c", "exec Xvfb -displayfd 1 -screen 0 2000x1200x24 -nolisten tcp 2>/dev/null"}, xvfbLog);
    const std::string xvfbDisplay = ":" + waitInLog(xvfbLog, std::regex("^([0-9]+)"));
    ASSERT_NE(":", xvfbDisplay) << "no Xvfb";

    const EnvironmentKept env({"XDG_RUNTIME_DIR", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY"});
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("XDG_SESSION_TYPE");
    auto run = [&](int outputs) {
        const std::string log = runtime.file("/weston" + std::to_string(outputs) + ".log");
        Child weston({"weston", "--backend=x11-backend.so", "--use-pixman", "--output-count=" + std::to_string(outputs),
                      "--width=960", "--height=1000", "--xwayland", "--idle-time=0", "--socket=corvano-monitors"},
                     log, {{"DISPLAY", xvfbDisplay}});
        const std::string display = waitInLog(log, std::regex("xserver listening on display (:[0-9]+)"));
        if (display.empty()) return std::string("weston gave no X server");
        ::setenv("DISPLAY", display.c_str(), 1);
        const int before = server.hits("/one.html");
        corvano.start();
        if (!eventually([&] { return server.hits("/one.html") > before; }, 60000)) return std::string("no page");
        // Ended as the desktop ends it: the exit writes the files.
        ::kill(corvano.pid(), SIGTERM);
        if (corvano.wait() != 0) return std::string("no clean exit");
        const std::vector<int> p = placeOf(corvano.folder.read("/Data/Corvano1.Ini"));
        std::string record;
        for (const std::string& line : lines(corvano.folder.read("/Data/Corvano1.Opt")))
            if (line.rfind("screen=", 0) == 0 || line.rfind("place=", 0) == 0) record += line.substr(0, line.size() - 1) + " ";
        // weston 14's XWayland names its monitors after the outputs.
        record = std::regex_replace(record, std::regex("^screen=screen1 "), "screen=XWAYLAND1 ");
        return std::to_string(p.at(1) / 15) + "," + std::to_string(p.at(0) / 15) + " " + record;
    };
    const std::string onSecond = "1060,100 screen=XWAYLAND1 place=100,100,600,400 ";
    const std::string kept = run(2);
    EXPECT_EQ(onSecond, kept) << "on the second monitor, kept across a run";
    EXPECT_EQ("100,100 screen=XWAYLAND1 place=100,100,600,400 ", run(1)) << "onto the first, keeping its record";
    EXPECT_EQ(onSecond, run(2)) << "back on the second";
}
