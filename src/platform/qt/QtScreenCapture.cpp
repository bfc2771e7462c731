#include "platform/qt/QtScreenCapture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include "platform/qt/QtTexts.h"

namespace corvano::qt {

namespace {
// The portal may show a dialog first; a request left unanswered this long is over.
constexpr int kPortalBoundMs = 5 * 60 * 1000;

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// A grab that saw nothing: every pixel black.
bool allBlack(const QImage& picture) {
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] & 0xffffff) != 0) return false;
    }
    return true;
}

// The portal's file is ours to remove only where it is a temporary one.
bool inTemporaryFolder(const QString& file) {
    const QString dir = QFileInfo(file).canonicalPath();
    for (const QString& tmp : {QDir::tempPath(), QStringLiteral("/tmp"), QStringLiteral("/var/tmp"),
                               QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)}) {
        const QString t = QFileInfo(tmp).canonicalFilePath();
        if (!t.isEmpty() && (dir == t || dir.startsWith(t + '/'))) return true;
    }
    return false;
}

}  // namespace

QImage grabDesktop() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) return {};
    if (screens.size() == 1) return screens.front()->grabWindow(0).toImage();
    QRect desktop;
    for (QScreen* s : screens) desktop |= s->geometry();
    QImage all(desktop.size(), QImage::Format_RGB32);
    all.fill(Qt::black);
    QPainter p(&all);
    bool any = false;
    for (QScreen* s : screens) {
        const QPixmap shot = s->grabWindow(0);
        if (shot.isNull()) continue;
        p.drawPixmap(QRect(s->geometry().topLeft() - desktop.topLeft(), s->geometry().size()), shot);
        any = true;
    }
    p.end();
    return any ? all : QImage();
}

CaptureResult writeBmp(QImage picture, const QString& target) {
    // Written beside the target under a temporary name and renamed at the
    // end, so a failed write never leaves part of a picture.
    QTemporaryFile part(QFileInfo(target).dir().filePath(".Corvano-XXXXXX.part"));
    if (!part.open()) return {false, part.errorString().toStdString()};
    if (picture.format() != QImage::Format_RGB32) picture = picture.convertToFormat(QImage::Format_RGB32);
    QImageWriter writer(&part, "bmp");
    const bool written = writer.write(picture) && part.flush();
    if (!written || part.error() != QFileDevice::NoError)
        return {false, (part.error() != QFileDevice::NoError ? part.errorString() : writer.errorString()).toStdString()};
    // A rename never replaces a file that appeared meanwhile.
    if (!part.rename(target)) return {false, part.errorString().toStdString()};
    part.setAutoRemove(false);
    return {true, {}};
}

bool waylandSession() {
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

ScreenshotPortal::ScreenshotPortal() {
    bound_.setSingleShot(true);
    connect(&bound_, &QTimer::timeout, this, [this] { finish({}, 2); });
}

bool ScreenshotPortal::available() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    QDBusConnectionInterface* names = bus.interface();
    if (names->isServiceRegistered(kPortalService).value()) return true;
    return names->activatableServiceNames().value().contains(kPortalService);
}

bool ScreenshotPortal::request(Answer answer) {
    if (answer_) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    // The Request object's path is known before the call: its Response is
    // connected first, so even an immediate answer is heard.
    const QString token = QStringLiteral("corvano%1_%2").arg(QCoreApplication::applicationPid()).arg(++serial_);
    QString sender = bus.baseService().mid(1);
    sender.replace('.', '_');
    requestPath_ = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    if (!bus.connect(kPortalService, requestPath_, QStringLiteral("org.freedesktop.portal.Request"),
                     QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)))) {
        requestPath_.clear();
        return false;
    }
    answer_ = std::move(answer);
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                       QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                       QStringLiteral("Screenshot"));
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("interactive"), false);
    call << QString() << options;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    const int serial = serial_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, serial](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (serial != serial_ || !answer_) return;
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) return finish({}, 2);
        // A portal older than handle_token answers on a path of its own.
        const QString path = reply.value().path();
        if (path == requestPath_) return;
        disconnectRequest();
        requestPath_ = path;
        QDBusConnection::sessionBus().connect(kPortalService, requestPath_, QStringLiteral("org.freedesktop.portal.Request"),
                                              QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    });
    bound_.start(kPortalBoundMs);
    return true;
}

void ScreenshotPortal::onResponse(uint response, const QVariantMap& results) {
    if (!answer_) return;
    QString file;
    if (response == 0) file = QUrl(results.value(QStringLiteral("uri")).toString()).toLocalFile();
    finish(file, response == 0 && file.isEmpty() ? 2 : response);
}

void ScreenshotPortal::disconnectRequest() {
    if (requestPath_.isEmpty()) return;
    QDBusConnection::sessionBus().disconnect(kPortalService, requestPath_, QStringLiteral("org.freedesktop.portal.Request"),
                                             QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    requestPath_.clear();
}

void ScreenshotPortal::finish(const QString& file, uint response) {
    bound_.stop();
    disconnectRequest();
    Answer answer = std::move(answer_);
    answer_ = nullptr;
    if (answer) answer(file, response);
}

void QtScreenCapture::saveScreenAsBmp(const std::string& path, Done done) {
    const QString target = QString::fromStdString(path);
    if (waylandSession() && ScreenshotPortal::available()) {
        const bool sent = portal_.request([target, done](const QString& file, uint response) {
            if (response == 1) return done({false, {}, true});
            if (response != 0) return done({false, uiText(TextId::ScreenshotServiceFailed).toStdString()});
            QImageReader reader(file);
            const QImage picture = reader.read();
            if (inTemporaryFolder(file)) QFile::remove(file);
            if (picture.isNull()) return done({false, (file + ": " + reader.errorString()).toStdString()});
            done(writeBmp(picture, target));
        });
        if (sent) return;
    }
    const QImage picture = grabDesktop();
    if (picture.isNull()) return done({false, uiText(TextId::ScreenUnreadable).toStdString()});
    // On a Wayland session without a portal the X grab may see nothing at all.
    if (waylandSession() && allBlack(picture)) return done({false, uiText(TextId::ScreenshotEmpty).toStdString()});
    done(writeBmp(picture, target));
}

void QtScreenCapture::screenPng(Png done) {
    const QImage picture = grabDesktop();
    if (picture.isNull()) return done({}, uiText(TextId::ScreenUnreadable).toStdString());
    if (waylandSession() && allBlack(picture)) return done({}, uiText(TextId::ScreenshotEmpty).toStdString());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        return done({}, uiText(TextId::ScreenUnreadable).toStdString());
    done(bytes.toStdString(), {});
}

}  // namespace corvano::qt
