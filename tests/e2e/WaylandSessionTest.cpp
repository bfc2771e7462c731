// The real program on a Wayland session (weston, headless, with XWayland):
// with an X server there it runs on X and keeps every window's place; on
// Wayland alone it never writes over a stored place.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/RealCorvano.h"
#include "e2e/TinyHttpServer.h"

using namespace corvano::test;

namespace {

std::string iniWith(std::initializer_list<int> used) {
    std::string s = " " + std::to_string(used.size()) + " \r\nenglish\r\n 1 \r\n";
    for (int n = 1; n <= 20; ++n) s += std::find(used.begin(), used.end(), n) != used.end() ? " 1 \r\n" : " 0 \r\n";
    return s;
}

std::string windowIni(int top, int left, const std::string& address) {
    std::string s = " " + std::to_string(top) + " \r\n " + std::to_string(left) + " \r\n 4500 \r\n 7500 \r\n";
    for (int i = 0; i < 9; ++i) s += " 0 \r\n";
    return s + "http://home.example/\r\n" + address + "\r\n";
}

std::string place(const std::string& settings) { return settings.substr(0, settings.find("\r\n", settings.find("\r\n") + 2)); }

// weston with its own socket and runtime folder; ended by its process id.
class Weston {
public:
    Weston() {
        ::chmod(dir.path().c_str(), 0700);
        socket = "corvano-test-" + std::to_string(::getpid());
        const std::string log = dir.file("/weston.log");
        pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(out, 2);
            const std::string socketArg = "--socket=" + socket;
            ::execlp("weston", "weston", "--backend=headless-backend.so", "--width=1920", "--height=1080",
                     "--xwayland", "--idle-time=0", socketArg.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const std::regex listening("xserver listening on display (:[0-9]+)");
        eventually([&] {
            std::ifstream in(log);
            std::stringstream text;
            text << in.rdbuf();
            std::smatch m;
            const std::string s = text.str();
            if (std::regex_search(s, m, listening)) display = m[1];
            return !display.empty() && std::filesystem::exists(dir.file("/" + socket));
        });
    }
    ~Weston() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            if (!eventually([&] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, 10000)) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    }
    TempFolder dir;
    std::string socket;
    std::string display;
    pid_t pid = -1;
};

class WaylandSession : public ::testing::Test {
protected:
    void SetUp() override {
        if (shell("command -v weston").empty()) GTEST_SKIP() << "weston is not installed";
        weston = std::make_unique<Weston>();
        ASSERT_FALSE(weston->display.empty()) << "weston gave no X server";
        ::setenv("XDG_RUNTIME_DIR", weston->dir.path().c_str(), 1);
        ::setenv("WAYLAND_DISPLAY", weston->socket.c_str(), 1);
        ::setenv("XDG_SESSION_TYPE", "wayland", 1);
        ::setenv("DISPLAY", weston->display.c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");
        server.page("/one.html", "One");
        server.page("/two.html", "Two");
        corvano.folder.write("/Data/Corvano.Ini", iniWith({1, 2}));
        corvano.folder.write("/Data/Corvano1.Ini", windowIni(1500, 3000, server.url("/one.html")));
        corvano.folder.write("/Data/Corvano2.Ini", windowIni(6000, 12000, server.url("/two.html")));
    }
    // Both windows are back when both have asked for their pages.
    bool windowsBack() {
        return eventually([&] { return server.hits("/one.html") >= 1 && server.hits("/two.html") >= 1; }, 60000);
    }
    std::string settings(int n) { return corvano.folder.read("/Data/Corvano" + std::to_string(n) + ".Ini"); }

    std::unique_ptr<Weston> weston;
    TinyHttpServer server;
    RealCorvano corvano;
};

}  // namespace

TEST_F(WaylandSession, WithXWaylandEveryWindowKeepsItsPlace) {
    corvano.start();
    ASSERT_TRUE(windowsBack());
    EXPECT_FALSE(corvano.findWindow("^Corvano$", 30).empty()) << "the main window is an X window";
    // XWayland passes no synthetic keys on to its windows: ended as the desktop does.
    ::kill(corvano.pid(), SIGTERM);
    ASSERT_EQ(corvano.wait(), 0);
    EXPECT_EQ(place(settings(1)), " 1500 \r\n 3000 ");
    EXPECT_EQ(place(settings(2)), " 6000 \r\n 12000 ");
}

TEST_F(WaylandSession, OnWaylandAloneTheStoredPlacesStay) {
    ::unsetenv("DISPLAY");
    corvano.start();
    ASSERT_TRUE(windowsBack());
    // Nothing outside can press a key on a Wayland window: the desktop's way to end it.
    ::kill(corvano.pid(), SIGTERM);
    ASSERT_EQ(corvano.wait(), 0);
    EXPECT_EQ(place(settings(1)), " 1500 \r\n 3000 ");
    EXPECT_EQ(place(settings(2)), " 6000 \r\n 12000 ");
}
