#include "platform/qt/QtNotificationToast.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineNotification>

#include "platform/qt/QtWebEngineSetup.h"

namespace corvano::qt {

namespace {
QPointer<QtNotificationToast>& shown() {
    static QPointer<QtNotificationToast> toast;
    return toast;
}
}  // namespace

QtNotificationToast::QtNotificationToast(std::unique_ptr<QWebEngineNotification> notification)
    : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      notification_(std::move(notification)),
      title_(new QLabel(notification_->title(), this)),
      message_(new QLabel(notification_->message(), this)) {
    setObjectName(QStringLiteral("notificationToast"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    for (QLabel* l : {title_, message_}) {
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
    }
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    auto* origin = new QLabel(notification_->origin().host(), this);
    origin->setTextFormat(Qt::PlainText);
    auto* box = new QVBoxLayout(this);
    box->addWidget(title_);
    box->addWidget(message_);
    box->addWidget(origin);
    setFixedWidth(320);
    adjustSize();
    // The site may take it back.
    connect(notification_.get(), &QWebEngineNotification::closed, this, &QWidget::close);
    QTimer::singleShot(kShownMs, this, &QWidget::close);
}

QtNotificationToast::~QtNotificationToast() {
    disconnect(notification_.get(), nullptr, this, nullptr);
    notification_->close();
}

void QtNotificationToast::present(std::unique_ptr<QWebEngineNotification> notification) {
    if (!notification) return;
    if (shown()) shown()->close();
    auto* toast = new QtNotificationToast(std::move(notification));
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->availableGeometry();
        toast->move(area.right() - toast->width() - 16, area.top() + 16);
    }
    // Closed at shutdown, while the profile behind its notification lives.
    registerPopup(toast);
    shown() = toast;
    toast->show();
    toast->notification_->show();
}

QtNotificationToast* QtNotificationToast::current() { return shown().data(); }

QString QtNotificationToast::text() const { return title_->text() + QLatin1Char('\n') + message_->text(); }

void QtNotificationToast::mousePressEvent(QMouseEvent*) {
    notification_->click();
    close();
}

}  // namespace corvano::qt
