#include "platform/qt/QtEndRequests.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>

namespace corvano::qt {

namespace {

int pipeFds[2] = {-1, -1};
volatile sig_atomic_t signalCount = 0;
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Only async-signal-safe calls here.
void onSignal(int sig) {
    signalCount = signalCount + 1;
    if (signalCount >= 3) ::_exit(128 + sig);
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    (void)!::write(pipeFds[1], &byte, 1);
    errno = saved;
}

}  // namespace

QtEndRequests::QtEndRequests(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            char buf[16];
            while (::read(pipeFds[0], buf, sizeof buf) > 0) {
            }
            requested();
        });
        struct sigaction sa {};
        sa.sa_handler = onSignal;
        // The three wait for each other on the thread that takes them; should two
        // threads count at once, a lost step only leaves the end to the alarm.
        sigemptyset(&sa.sa_mask);
        for (int sig : kSignals) sigaddset(&sa.sa_mask, sig);
        sa.sa_flags = SA_RESTART;
        for (int sig : kSignals) ::sigaction(sig, &sa, nullptr);
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // Logout: save now, while the session manager waits for the answer.
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { requested(); },
                Qt::DirectConnection);
    }
}

QtEndRequests::~QtEndRequests() {
    struct sigaction sa {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    for (int sig : kSignals) ::sigaction(sig, &sa, nullptr);
    delete notifier_;
    notifier_ = nullptr;
    for (int& fd : pipeFds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void QtEndRequests::requested() {
    if (asked_) return;
    asked_ = true;
    // An exit that hangs must not hold up a logout: the default action of
    // the alarm ends the process.
    ::alarm(kBoundS);
    if (onEnd_) onEnd_();
}

}  // namespace corvano::qt
