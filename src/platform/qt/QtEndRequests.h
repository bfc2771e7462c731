#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace corvano::qt {

// Turns the desktop's requests to end into one call on the user-interface
// thread: SIGTERM, SIGINT and SIGHUP (through a pipe the handler writes to)
// and the session manager's save-and-quit at logout. A second signal while
// the exit runs changes nothing; a third, or kBoundS seconds after the first,
// ends the process at once.
class QtEndRequests : public QObject {
public:
    static constexpr unsigned kBoundS = 5;

    explicit QtEndRequests(std::function<void()> onEnd);
    ~QtEndRequests() override;

private:
    void requested();

    std::function<void()> onEnd_;
    QSocketNotifier* notifier_ = nullptr;
    bool asked_ = false;
};

}  // namespace corvano::qt
