#include "platform/qt/QtLoginStore.h"

#include <fcntl.h>
#include <qt6keychain/keychain.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "platform/qt/QtWebEngineSetup.h"
#include "platform/qt/QtWebWait.h"

namespace corvano::qt {

namespace {

const QString kService = QStringLiteral("Corvano");
constexpr int kSecretServiceMs = 10000;

std::string toStd(const QString& s) { return s.toStdString(); }

// Written to a file only the user may read, then renamed over the old one.
bool writePrivately(const QString& path, const std::string& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".tmp";
    ::unlink(temp.constData());
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool ok = done == text.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok || ::rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

}  // namespace

QtLoginStore& QtLoginStore::instance() {
    static QtLoginStore store;
    return store;
}

QString QtLoginStore::filePath() { return webStorageFolder() + QStringLiteral("/Data/Corvano.Logins"); }

void QtLoginStore::loadFile() {
    const QString path = filePath();
    if (loadedFrom_ == path) return;
    loadedFrom_ = path;
    file_.clear();
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) file_ = readLoginFile(f.read(2 * 1024 * 1024).toStdString());
}

bool QtLoginStore::writeFile() {
    const QString path = filePath();
    if (file_.empty()) return !QFile::exists(path) || QFile::remove(path);
    return writePrivately(path, loginFileText(file_));
}

void QtLoginStore::dropMemory() {
    memory_.clear();
    fetched_.clear();
    loadedFrom_.clear();
}

std::optional<RememberedLogin> QtLoginStore::known(const QString& key) {
    if (auto it = memory_.find(toStd(key)); it != memory_.end()) return it->second;
    loadFile();
    if (auto it = file_.find(toStd(key)); it != file_.end()) return it->second;
    return std::nullopt;
}

bool QtLoginStore::mayFetch(const QString& key) const { return !fileOnly_ && !fetched_.contains(key); }

void QtLoginStore::fetch(const QString& key, QObject* context,
                         std::function<void(std::optional<RememberedLogin>)> answer) {
    fetched_.insert(key);
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    // A locked keyring waits for someone to unlock it, and a wall has nobody:
    // an answer that takes longer counts as none (it is still kept for later).
    using Found = std::optional<RememberedLogin>;
    auto deliver = answerWithin<Found>(context, kSecretServiceMs, [answer](std::optional<Found> found) {
        answer(found ? *found : std::nullopt);
    });
    connect(job, &QKeychain::Job::finished, this, [this, key, deliver](QKeychain::Job* j) {
        Found login;
        if (j->error() == QKeychain::NoError)
            login = loginFromText(static_cast<QKeychain::ReadPasswordJob*>(j)->textData().toStdString());
        if (login) memory_[toStd(key)] = *login;
        deliver(login);
    });
    job->start();
}

void QtLoginStore::remember(const QString& key, const RememberedLogin& login) {
    memory_[toStd(key)] = login;
    fetched_.insert(key);
    auto toFile = [this, key, login] {
        loadFile();
        file_[toStd(key)] = login;
        if (!writeFile()) std::fputs("corvano: a remembered login could not be written\n", stderr);
    };
    if (fileOnly_) return toFile();
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    job->setTextData(QString::fromStdString(loginText(login)));
    connect(job, &QKeychain::Job::finished, this, [this, key, toFile](QKeychain::Job* j) {
        // No secret service (a bare wall PC): the user's own file.
        if (j->error() != QKeychain::NoError) {
            if (j->error() != QKeychain::AccessDeniedByUser) toFile();
            return;
        }
        // Kept in one place only.
        loadFile();
        if (file_.erase(toStd(key))) writeFile();
    });
    job->start();
}

void QtLoginStore::forget(const QString& key) {
    memory_.erase(toStd(key));
    loadFile();
    if (file_.erase(toStd(key))) writeFile();
    if (fileOnly_) return;
    auto* job = new QKeychain::DeletePasswordJob(kService);
    job->setAutoDelete(true);
    job->setKey(key);
    job->start();
}

}  // namespace corvano::qt
