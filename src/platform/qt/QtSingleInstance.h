#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace corvano::qt {

// One Corvano per application folder. The first start holds an advisory lock
// on a file in the folder's "Data" (the kernel drops it when the process
// ends, however it ends, so a killed start never blocks the next one) and
// listens on a local socket named after the folder. A later start finds the
// lock taken, asks the running one through the socket to come forward and
// ends.
class QtSingleInstance : public QObject {
public:
    explicit QtSingleInstance(const QString& folder);
    ~QtSingleInstance() override;

    // True when this process is now the one for the folder (also when no
    // lock can be had at all: a folder we cannot write does not stop a start).
    bool acquire();
    // Tells the running one to come forward; true when it answered.
    bool askRunningToComeForward(int timeoutMs = 1500);

    std::function<void()> onComeForward;

private:
    void listen();

    QString folder_;
    QString socketName_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
};

}  // namespace corvano::qt
