#include "platform/qt/QtScreenCapture.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryFile>

#include "platform/qt/QtTexts.h"

namespace corvano::qt {

namespace {
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

CaptureResult QtScreenCapture::saveScreenAsBmp(const std::string& path) {
    const QString target = QString::fromStdString(path);
    QImage picture = grabDesktop();
    if (picture.isNull()) return {false, uiText(TextId::ScreenUnreadable).toStdString()};
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

}  // namespace corvano::qt
