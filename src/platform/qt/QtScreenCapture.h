#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <functional>

#include "platform/ScreenCapture.h"

namespace corvano::qt {

// Every screen of the desktop as one picture, straight from the window
// system; a null image when it cannot be read.
QImage grabDesktop();

// Writes the picture as a 24-bit BMP beside the target and renames it into
// place: never replaces a file, leaves no part behind.
CaptureResult writeBmp(QImage picture, const QString& target);

// A Wayland session: the X grab sees only the X windows there.
bool waylandSession();

// The desktop's screenshot portal (org.freedesktop.portal.Screenshot): one
// request at a time, its answer through a Request object's Response signal.
class ScreenshotPortal : public QObject {
    Q_OBJECT
public:
    // The picture's local file, or an empty path with the portal's answer:
    // 1 the user cancelled, 2 (or anything else) it failed.
    using Answer = std::function<void(const QString& file, uint response)>;
    ScreenshotPortal();
    // False when no portal is on the session bus.
    static bool available();
    // False when the request could not be sent.
    bool request(Answer answer);

private slots:
    void onResponse(uint response, const QVariantMap& results);

private:
    void finish(const QString& file, uint response);
    void disconnectRequest();
    Answer answer_;
    QString requestPath_;
    QTimer bound_;
    int serial_ = 0;
};

class QtScreenCapture : public ScreenCapture {
public:
    void saveScreenAsBmp(const std::string& path, Done done) override;
    void screenPng(Png done) override;

private:
    ScreenshotPortal portal_;
};

}  // namespace corvano::qt
