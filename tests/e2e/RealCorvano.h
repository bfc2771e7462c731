#pragma once

// Runs the real corvano executable from a temporary application folder and
// drives its windows with xdotool and the accessibility bus, as a user at the
// X display or a screen reader would.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/TempFolder.h"

namespace corvano::test {

// The output of a shell command, trailing newline removed.
inline std::string shell(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

class RealCorvano {
public:
    RealCorvano() {
        namespace fs = std::filesystem;
        fs::copy_file(CORVANO_EXE, folder.file("/corvano"));
        fs::permissions(folder.file("/corvano"), fs::perms::owner_all);
        for (const auto& e : fs::directory_iterator(CORVANO_SHARE_DIR))
            if (e.path().filename().string().rfind("Lang_", 0) == 0)
                fs::copy_file(e.path(), folder.path() + "/" + e.path().filename().string());
        // No control interface unless a test asks for one: the tests that
        // run one after another never meet on its port.
        folder.write("/Data/Control.conf", "version=1\nlisten=off\n");
        startSessionBus();
    }
    ~RealCorvano() {
        kill();
        if (busPid_ > 0) {
            ::kill(busPid_, SIGTERM);
            ::waitpid(busPid_, nullptr, 0);
        }
    }

    void start() {
        pid_ = ::fork();
        if (pid_ == 0) {
            const std::string exe = folder.file("/corvano");
            ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }

    // The X window id of the first visible window whose title matches, or empty.
    // xdotool's own --sync gives up at once when a window vanishes under its
    // search, as windows do while Corvano starts: search again until the time is up.
    std::string findWindow(const std::string& titleRegex, int timeoutS = 60) const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutS);
        for (;;) {
            std::string id = shell("xdotool search --onlyvisible --name '" + titleRegex + "' 2>/dev/null | head -1");
            if (!id.empty() || std::chrono::steady_clock::now() > end) return id;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    std::vector<std::string> windows(const std::string& titleRegex) const {
        std::vector<std::string> ids;
        std::string all = shell("xdotool search --onlyvisible --name '" + titleRegex + "' 2>/dev/null");
        size_t pos = 0;
        while (pos < all.size()) {
            size_t nl = all.find('\n', pos);
            if (nl == std::string::npos) nl = all.size();
            if (nl > pos) ids.push_back(all.substr(pos, nl - pos));
            pos = nl + 1;
        }
        return ids;
    }
    static WindowGeometry geometry(const std::string& id) {
        WindowGeometry g;
        std::string s = shell("xdotool getwindowgeometry --shell " + id);
        std::sscanf(s.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g.x, &g.y, &g.width, &g.height);
        return g;
    }
    static WindowGeometry screen() {
        WindowGeometry g;
        std::sscanf(shell("xdotool getdisplaygeometry").c_str(), "%d %d", &g.width, &g.height);
        return g;
    }
    static std::string title(const std::string& id) { return shell("xdotool getwindowname " + id); }
    static void key(const std::string& id, const std::string& keys) {
        shell("xdotool windowfocus --sync " + id + " key --clearmodifiers " + keys);
    }
    static void type(const std::string& id, const std::string& text) {
        shell("xdotool windowfocus --sync " + id + " type --delay 20 '" + text + "'");
    }
    // Ctrl+L takes the keyboard to the address box with its text selected.
    static void typeAddress(const std::string& id, const std::string& address) {
        key(id, "ctrl+l");
        type(id, address);
        key(id, "Return");
    }

    // Presses the button of that accessible name in the window whose title
    // matches, through the accessibility bus as a screen reader does.
    static bool press(const std::string& titleRegex, const std::string& name, int timeoutS = 30) {
        return shell("/usr/bin/python3 " ATSPI_PRESS " '" + titleRegex + "' '" + name + "' " +
                     std::to_string(timeoutS) + " >/dev/null 2>&1 && echo pressed") == "pressed";
    }

    // Waits for the process to end; its exit status, or nothing on time-out.
    std::optional<int> wait(int timeoutS = 60) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutS);
        while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return std::nullopt;
    }
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    TempFolder folder;

private:
    // A session bus of the test's own, on which the program offers its
    // accessibility (Qt does so on every desktop with a screen reader on).
    void startSessionBus() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        busPid_ = ::fork();
        if (busPid_ == 0) {
            ::close(fds[0]);
            ::dup2(fds[1], 3);
            ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--print-address=3",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string address;
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') address += c;
        ::close(fds[0]);
        if (address.empty()) return;
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        ::setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    }

    pid_t pid_ = -1;
    pid_t busPid_ = -1;
};

// The same search for the tests' shell scripts: find_window REGEX SECONDS.
inline const char* const kFindWindowSh = R"(
find_window() {
  local end=$((SECONDS + $2)) w
  while :; do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    if [ -n "$w" ] || [ $SECONDS -ge $end ]; then echo "$w"; return; fi
    sleep 0.1
  done
}
)";

// Polls until the condition holds or the time is up.
template <class F>
bool eventually(F condition, int timeoutMs = 30000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace corvano::test
