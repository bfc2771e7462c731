#pragma once

#include <QFrame>
#include <QWebEngineNotification>
#include <memory>

class QLabel;

namespace corvano::qt {

// A site's notification, shown for a few seconds at the top right of the
// screen above every window; a click on it goes to the site. A newer one
// takes the place of the one before.
class QtNotificationToast : public QFrame {
    Q_OBJECT
public:
    // How long a notification stays.
    static constexpr int kShownMs = 8000;

    static void present(std::unique_ptr<QWebEngineNotification> notification);
    // The toast on screen, or nullptr.
    static QtNotificationToast* current();

    QString text() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    explicit QtNotificationToast(std::unique_ptr<QWebEngineNotification> notification);
    ~QtNotificationToast() override;

    std::unique_ptr<QWebEngineNotification> notification_;
    QLabel* title_;
    QLabel* message_;
};

}  // namespace corvano::qt
