#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/WebView.h"

namespace corvano {

constexpr int kRefreshMin = 30;
constexpr int kRefreshMax = 86400;
// A stored interval: out of range reads as never; one between the choices stays.
int refreshFromFile(int seconds);

// A failed load is tried again when it may come by waiting: no connection,
// or the server's own trouble (a status of 500 and above).
bool worthRetrying(const LoadEnd& end);
// The wait before the next try after so many failures in a row (1 = the first).
int retryDelayMs(int failures);

// What is wrong with a page now, for callers from outside.
enum class PageFailure { None, Unreachable, HttpStatus, Failed, Crashed, CrashLoopStopped };
struct PageHealth {
    PageFailure failure = PageFailure::None;
    int httpStatus = 0;
    long long failingSinceMs = -1;  // clock ms; negative while nothing fails
    long long lastLoadedMs = -1;    // negative: never loaded well
    long long nextTryMs = -1;       // negative: no retry waits
};

// What tells that someone is using a window.
struct WindowUse {
    bool keyboardFocus = false;
    long long lastInputMs = -1;
    bool dialogOpen = false;
    bool downloadsOpen = false;
    bool findBarShown = false;
    bool sourceShown = false;
};
constexpr int kRecentInputMs = 60000;
bool inUse(const WindowUse& use, long long nowMs);

// Keeps a window's page alive while nobody watches it: a failed load is
// tried again with growing waits, a crashed page process is replaced, and
// the page is refreshed on the window's interval, not while someone uses it.
class PageCare {
public:
    // What it asks of its window.
    struct Window {
        std::function<WindowUse()> use;
        std::function<void(const std::string& url)> load;  // the address it should show
        std::function<void()> reload;                      // as F5 does
        std::function<void()> crashPanel;                  // give up: the panel with its Reload button
        std::function<void()> waitingChanged;              // the caption follows waiting()
        std::function<void()> healthChanged;               // health() is not what it was
    };
    // How long a crashed page waits before it loads again, and how many
    // crashes within how long make the window give up.
    static constexpr int kRecoverMs = 2000;
    static constexpr int kCrashesToGiveUp = 3;
    static constexpr long long kCrashWindowMs = 5 * 60 * 1000;
    // While a refresh waits for the user, how often it looks again.
    static constexpr int kUsePollMs = 1000;

    PageCare(Platform& platform, Window window);
    ~PageCare();
    PageCare(const PageCare&) = delete;
    PageCare& operator=(const PageCare&) = delete;

    // From the page.
    void loadStarted();
    void loadEnded(const LoadEnd& end);
    // The page process died: the page loads again by itself, or the panel shows.
    void rendererGone();
    // The user stopped the page or the window closes: nothing more is tried.
    void cancel();
    // The network is back: a waiting retry goes at once.
    void networkBack();

    // The refresh interval in seconds (0 never).
    void setRefresh(int seconds);
    int refresh() const { return refresh_; }
    // The window is raised in so many ms: refresh now when its page would be
    // older than its interval then.
    void turnComing(int inMs);

    // A retry waits: when it goes (clock ms), and when the page last loaded
    // well (negative: never).
    bool waiting() const;
    long long nextTryMs() const { return nextTry_; }
    long long lastLoadedMs() const { return lastLoaded_; }
    int failures() const { return failures_; }
    PageHealth health() const;

private:
    void stopRetry();
    void scheduleRefresh();
    void refreshTick();
    void retryNow();
    void setFailure(PageFailure failure, int status = 0);

    Platform& platform_;
    Window window_;
    std::unique_ptr<Timer> retry_;
    std::unique_ptr<Timer> recover_;
    std::unique_ptr<Timer> refreshTimer_;
    std::string retryUrl_;
    int failures_ = 0;
    long long nextTry_ = -1;
    long long lastLoaded_ = -1;
    std::deque<long long> crashes_;
    bool gaveUp_ = false;
    PageFailure failure_ = PageFailure::None;
    int failureStatus_ = 0;
    long long failingSince_ = -1;
    int refresh_ = 0;
    bool refreshDue_ = false;
};

}  // namespace corvano
