#include "platform/qt/QtSingleInstance.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <string>

namespace corvano::qt {

namespace {
const char kHello[] = "forward\n";
}

QtSingleInstance::QtSingleInstance(const QString& folder) : folder_(QFileInfo(folder).canonicalFilePath()) {
    if (folder_.isEmpty()) folder_ = folder;
    const QByteArray hash = QCryptographicHash::hash(folder_.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    socketName_ = "corvano-" + QString::fromLatin1(hash);
}

QtSingleInstance::~QtSingleInstance() {
    if (server_) server_->close();
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool QtSingleInstance::acquire() {
    QDir().mkpath(folder_ + "/Data");
    const std::string path = (folder_ + "/Data/Corvano.Lock").toStdString();
    lockFd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (lockFd_ < 0) return true;
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(lockFd_);
        lockFd_ = -1;
        return !busy;
    }
    // The process id, for a person looking at the folder.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(lockFd_, 0) == 0) (void)!::write(lockFd_, pid.data(), pid.size());
    listen();
    return true;
}

void QtSingleInstance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock: a socket left by a killed start is stale.
    QLocalServer::removeServer(socketName_);
    if (!server_->listen(socketName_)) return;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (!s->readAll().contains("forward")) return;
                s->write("ok\n");
                s->flush();
                if (onComeForward) onComeForward();
            });
        }
    });
}

bool QtSingleInstance::askRunningToComeForward(int timeoutMs) {
    // One bound for the whole exchange, so a second start ends in time.
    const QDeadlineTimer deadline(timeoutMs);
    auto left = [&] { return std::max(1, int(deadline.remainingTime())); };
    QLocalSocket s;
    s.connectToServer(socketName_);
    if (!s.waitForConnected(left())) return false;
    s.write(kHello);
    if (!s.waitForBytesWritten(left())) return false;
    const bool answered = s.waitForReadyRead(left());
    s.disconnectFromServer();
    return answered;
}

}  // namespace corvano::qt
