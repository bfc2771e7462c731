#include "platform/qt/QtPopupWindow.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineView>

#include "platform/qt/QtWebEngineSetup.h"
#include "platform/qt/QtWebPage.h"

namespace corvano::qt {

QtPopupWindow::QtPopupWindow(QWebEngineProfile* profile, std::function<QWebEnginePage*()> askNewWindow,
                             std::function<bool()> askClose)
    : QWidget(nullptr, Qt::Window),
      address_(new QLineEdit(this)),
      view_(new QWebEngineView(this)),
      page_(new QtWebPage(profile, view_)) {
    setObjectName(QStringLiteral("popupWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    address_->setReadOnly(true);
    address_->setObjectName(QStringLiteral("popupAddress"));
    view_->setPage(page_);
    page_->onCreateWindow = std::move(askNewWindow);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(address_);
    box->addWidget(view_, 1);
    resize(800, 600);

    connect(page_, &QWebEnginePage::urlChanged, this,
            [this](const QUrl& url) { address_->setText(url.toDisplayString()); });
    connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString& t) { setWindowTitle(t); });
    connect(page_, &QWebEnginePage::windowCloseRequested, this, [this, askClose] {
        if (!askClose || askClose()) close();
    });
    // window.open() with a size: honour it within the screen.
    connect(page_, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect& r) {
        const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        QRect want(r.topLeft(), r.size().expandedTo(QSize(200, 150)) + QSize(0, address_->sizeHint().height()));
        if (s) want = want.intersected(s->availableGeometry());
        if (want.isValid()) setGeometry(want);
    });
    registerPopup(this);
}

QtPopupWindow::~QtPopupWindow() {
    page_->onCreateWindow = nullptr;
    disconnect(page_, nullptr, this, nullptr);
    delete view_;
}

}  // namespace corvano::qt
