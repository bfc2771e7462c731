#include "platform/qt/QtWebHost.h"

#include <QAuthenticator>
#include <QChildEvent>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "platform/WebView.h"
#include "platform/qt/QtDownloadBar.h"
#include "platform/qt/QtDownloadItem.h"
#include "platform/qt/QtFindBar.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtPopupWindow.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtWebEngineSetup.h"
#include "platform/qt/QtRichClipboard.h"
#include "platform/qt/QtWebPage.h"
#include "platform/qt/QtWebWait.h"

namespace corvano::qt {

namespace {

constexpr int kProgressLinePx = 3;

// The load progress as a thin line; it takes no room and no clicks.
class ProgressLine : public QWidget {
public:
    explicit ProgressLine(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("progressLine"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }
    void setPercent(int p) {
        percent_ = std::clamp(p, 0, 100);
        update();
    }
    int percent() const { return percent_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // At least a sliver, so a load that has just started is seen.
        const int w = std::max(width() * percent_ / 100, width() / 50);
        p.fillRect(QRect(0, 0, w, height()), palette().color(QPalette::Highlight));
    }

private:
    int percent_ = 0;
};

// Shown over the page when its process has ended.
class CrashPanel : public QWidget {
public:
    CrashPanel(QWidget* parent, std::function<void()> onReload) : QWidget(parent) {
        setObjectName(QStringLiteral("crashPanel"));
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Window);
        text_ = new QLabel(this);
        text_->setObjectName(QStringLiteral("crashText"));
        text_->setAlignment(Qt::AlignCenter);
        text_->setWordWrap(true);
        button_ = new QPushButton(this);
        button_->setObjectName(QStringLiteral("crashReload"));
        takeTexts();
        connect(QtTexts::instance(), &QtTexts::changed, this, [this] { takeTexts(); });
        auto* button = button_;
        auto* text = text_;
        connect(button, &QPushButton::clicked, this, [onReload] { onReload(); });
        auto* box = new QVBoxLayout(this);
        box->addStretch(1);
        box->addWidget(text);
        box->addWidget(button, 0, Qt::AlignHCenter);
        box->addStretch(1);
        hide();
    }

private:
    void takeTexts() {
        text_->setText(uiText(TextId::PageCrashed) + QLatin1Char('\n') + uiText(TextId::PageCrashedHint));
        button_->setText(uiText(TextId::Reload));
    }

    QLabel* text_;
    QPushButton* button_;
};

// The engine's drawing surface fills the view with the page's own opaque
// pixels (the page's background is white): marked so, a page's frame paints
// the surface alone, not first the window's background under it.
class OpaqueSurface : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::ChildPolished)
            if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(e)->child()))
                w->setAttribute(Qt::WA_OpaquePaintEvent);
        return QObject::eventFilter(watched, e);
    }
};

}  // namespace

QtWebHost::QtWebHost(QWidget* parent, const WebProfile& profile)
    : QWidget(parent),
      profileName_(QString::fromStdString(profile.name)),
      view_(new QWebEngineView(this)),
      page_(new QtWebPage(webProfile(profileName_, QString::fromStdString(profile.folder)), view_)),
      progress_(new ProgressLine(this)),
      findBar_(new QtFindBar(this)),
      crash_(new CrashPanel(this, [this] { reload(); })) {
    setObjectName(QStringLiteral("webHost"));
    view_->setAttribute(Qt::WA_OpaquePaintEvent);
    view_->installEventFilter(new OpaqueSurface(view_));
    view_->setPage(page_);
    findBar_->setPage(page_);
    setFocusProxy(view_);
    connectPage();
    connectRequests();
    // Find keys are the window's: they run the same command as the edit menu.
}

QtWebHost::~QtWebHost() {
    // No event may reach an owner that is going away with this control, nor
    // a signal of the dying page reach this half-destroyed widget.
    events_ = nullptr;
    page_->onCreateWindow = nullptr;
    page_->onDownload = nullptr;
    page_->onAction = nullptr;
    downloadBar_->onChanged = nullptr;
    // Downloads still running are cancelled now, while the page still exists.
    delete downloadBar_;
    disconnect(page_, nullptr, this, nullptr);
    disconnect(view_, nullptr, this, nullptr);
    delete view_;
}

void QtWebHost::connectPage() {
    page_->onCreateWindow = [this] { return newWindow(); };

    connect(page_, &QWebEnginePage::loadStarted, this, [this] {
        busy_ = true;
        crash_->hide();
        setProgress(0);
        QPointer<QtWebHost> self(this);
        if (events_) events_->Web_BeforeNavigate2();
        if (self) flushNavigated();
    });
    connect(page_, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            setStatus(uiText(TextId::Loading).arg(info.url().toDisplayString()));
        else
            loadEnded(info);
    });
    connect(page_, &QWebEnginePage::loadProgress, this, [this](int p) {
        if (!busy_) return;
        setProgress(p);
    });
    connect(page_, &QWebEnginePage::urlChanged, this, [this] {
        // A navigation asked for here changes the address before its load
        // starts; the owner hears of it after the load's start, as for a link.
        if (requesting_) {
            navigatedPending_ = true;
            return;
        }
        if (events_) events_->Web_NavigateComplete2();
    });
    connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString& t) {
        if (events_) events_->Web_TitleChange(t.toStdString());
    });
    connect(page_, &QWebEnginePage::linkHovered, this, [this](const QString& url) { setStatus(url); });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool) {
        busy_ = false;
        progress_->hide();
        flushNavigated();
        setStatus(uiText(TextId::Done));
        if (!events_) return;
        events_->Web_DocumentComplete();
        events_->Web_DownloadComplete();
    });
    connect(page_, &QWebEnginePage::windowCloseRequested, this, [this] {
        bool cancel = false;
        if (events_) events_->Web_WindowClosing(false, cancel);
        // Closed from the event loop, not inside the engine's own call.
        if (!cancel) QTimer::singleShot(0, window(), &QWidget::close);
    });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus) return;
                busy_ = false;
                progress_->hide();
                // The owner may load the page again by itself; else the panel.
                if (!events_ || !events_->Web_RendererGone()) showCrash();
            });
    connect(view_, &QWebEngineView::printRequested, this, [this] { pagedialogs::print(view_); });
}

void QtWebHost::loadEnded(const QWebEngineLoadingInfo& info) {
    if (!events_) return;
    LoadEnd end;
    end.url = info.url().toString().toStdString();
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadSucceededStatus: end.kind = LoadEnd::Loaded; break;
        case QWebEngineLoadingInfo::LoadStoppedStatus: end.kind = LoadEnd::Stopped; break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            switch (info.errorDomain()) {
                // Unknown host names come here too, not as a name error.
                case QWebEngineLoadingInfo::ConnectionErrorDomain:
                case QWebEngineLoadingInfo::DnsErrorDomain: end.kind = LoadEnd::Unreachable; break;
                case QWebEngineLoadingInfo::HttpStatusCodeDomain:
                    end.kind = LoadEnd::HttpError;
                    end.httpStatus = info.errorCode();
                    break;
                case QWebEngineLoadingInfo::InternalErrorDomain: {
                    // The engine's general errors: a timeout or a changed network
                    // is worth another try; an aborted load is a navigation elsewhere.
                    constexpr int kAborted = -3, kTimedOut = -7, kNetworkChanged = -21;
                    const int code = info.errorCode();
                    end.kind = code == kTimedOut || code == kNetworkChanged ? LoadEnd::Unreachable
                               : code == kAborted                           ? LoadEnd::Stopped
                                                                            : LoadEnd::Failed;
                    break;
                }
                default: end.kind = LoadEnd::Failed; break;
            }
            break;
        default: return;
    }
    events_->Web_LoadEnd(end);
}

bool QtWebHost::findBarShown() const { return findBar_->isVisible(); }
bool QtWebHost::downloadsRunning() const { return downloadBar_ && downloadBar_->runningPercent() >= 0; }

void QtWebHost::flushNavigated() {
    if (!navigatedPending_) return;
    navigatedPending_ = false;
    if (events_) events_->Web_NavigateComplete2();
}

void QtWebHost::request(const std::function<void()>& step) {
    requesting_ = true;
    step();
    requesting_ = false;
}

void QtWebHost::setStatus(const QString& text) {
    if (events_) events_->Web_StatusTextChange(text.toStdString());
}

void QtWebHost::setProgress(int percent) {
    showLine(percent);
    if (events_) events_->Web_ProgressChange(percent);
}

void QtWebHost::showLine(int percent) {
    static_cast<ProgressLine*>(progress_)->setPercent(percent);
    progress_->setVisible(percent < 100);
    progress_->raise();
}

void QtWebHost::showCrash() {
    busy_ = false;
    progress_->hide();
    crash_->setGeometry(rect());
    crash_->show();
    crash_->raise();
}

QWebEnginePage* QtWebHost::newWindow() {
    bool cancel = false;
    QPointer<QtWebHost> self(this);
    if (events_) events_->Web_NewWindow2(cancel);
    if (cancel) return nullptr;

    // The pop-up asks this control about its own requests while it lives;
    // once the control is gone they are refused.
    // A pop-up's page must live in its opener's profile.
    auto* popup = new QtPopupWindow(
        page_->profile(),
        [self]() -> QWebEnginePage* { return self ? self->newWindow() : nullptr; },
        [self] {
            bool cancelClose = false;
            if (self && self->events_) self->events_->Web_WindowClosing(true, cancelClose);
            return !cancelClose;
        });
    popup->page()->onDownload = [self](QWebEngineDownloadRequest* r) {
        if (self)
            self->startDownload(r);
        else
            r->cancel();
    };
    // Its logins are asked in this window's name; without it they are refused.
    connect(popup->page(), &QWebEnginePage::authenticationRequired, popup, [self](const QUrl& url, QAuthenticator* a) {
        if (self)
            self->logIn(url, a, QString(), false);
        else
            *a = QAuthenticator();
    });
    connect(popup->page(), &QWebEnginePage::proxyAuthenticationRequired, popup,
            [self](const QUrl& url, QAuthenticator* a, const QString& proxyHost) {
                if (self)
                    self->logIn(url, a, proxyHost, true);
                else
                    *a = QAuthenticator();
            });
    // So are its permission requests and certificate errors: refused without it.
    QWebEnginePage* popupPage = popup->page();
    onPermissionRequest(popupPage, popup, [self](PermissionRequest r) {
        if (self)
            self->askPermission(std::move(r));
        else
            r.answer(false);
    });
    connect(popupPage, &QWebEnginePage::certificateError, popup, [self](const QWebEngineCertificateError& e) {
        if (self) self->certificateRefused(e);
    });
    connect(popupPage, &QWebEnginePage::selectClientCertificate, popup,
            [self](QWebEngineClientCertificateSelection s) {
                if (self)
                    self->clientCertificateAsked(s);
                else
                    s.selectNone();
            });
    const QPoint origin = window()->isVisible() ? window()->frameGeometry().topLeft() : QPoint(0, 0);
    popup->move(origin + QPoint(40, 40));
    popup->show();
    return popup->page();
}

void QtWebHost::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QRect r = rect();
    view_->setGeometry(r);
    progress_->setGeometry(0, 0, r.width(), kProgressLinePx);
    const int fh = findBar_->sizeHint().height();
    findBar_->setGeometry(0, r.height() - fh, r.width(), fh);
    crash_->setGeometry(r);
    placeDownloadBar();
}

void QtWebHost::navigate(const QString& address) {
    const QString text = address.trimmed();
    if (text.isEmpty()) return;
    QUrl url = QUrl::fromUserInput(text);
    if (!url.isValid()) url = QUrl(text, QUrl::StrictMode);
    if (!url.isValid()) return;  // nothing sensible to load: the page stays
    request([&] { view_->setUrl(url); });
}

void QtWebHost::goBack() {
    request([this] { view_->back(); });
}
void QtWebHost::goForward() {
    request([this] { view_->forward(); });
}
void QtWebHost::reload() {
    crash_->hide();
    if (hasDocument()) request([this] { view_->reload(); });
}
void QtWebHost::stop() { view_->stop(); }

QString QtWebHost::title() const { return view_->title(); }
QString QtWebHost::address() const { return view_->url().toString(); }
bool QtWebHost::hasDocument() const { return !view_->url().isEmpty(); }

bool QtWebHost::execWB(int command, int /*option*/, std::function<void()> finished) {
    if (!hasDocument()) return false;
    auto soon = [this, &finished] {
        if (finished) QTimer::singleShot(0, this, std::move(finished));
        return true;
    };
    // Editing acts on the page, wherever the keyboard focus was (the
    // address box, a bar): the engine edits only a focused page.
    if (command == olecmd::Cut || command == olecmd::Copy || command == olecmd::Paste ||
        command == olecmd::SelectAll || command == olecmd::Delete)
        view_->setFocus(Qt::OtherFocusReason);
    switch (command) {
        case olecmd::Cut: page_->triggerAction(QWebEnginePage::Cut); return soon();
        case olecmd::Copy: page_->triggerAction(QWebEnginePage::Copy); return soon();
        case olecmd::Paste: page_->triggerAction(QWebEnginePage::Paste); return soon();
        case olecmd::SelectAll: page_->triggerAction(QWebEnginePage::SelectAll); return soon();
        case olecmd::Delete:
            // The engine has no delete action of its own; its editing command does it.
            page_->runJavaScript(QStringLiteral("document.execCommand('delete')"), QWebEngineScript::ApplicationWorld);
            return soon();
        case olecmd::Print: return pagedialogs::print(view_, std::move(finished));
        case olecmd::PrintPreview: return pagedialogs::printPreview(view_, std::move(finished));
        case olecmd::PageSetup: return pagedialogs::pageSetup(view_, std::move(finished));
        case olecmd::Properties: return pagedialogs::properties(view_, std::move(finished));
        case olecmd::SaveAs: return pagedialogs::saveAs(view_, std::move(finished));
        default: return false;
    }
}

void QtWebHost::evaluate(const QString& script, std::function<void(std::optional<QVariant>)> answer) {
    if (!hasDocument()) return answer(std::nullopt);
    page_->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                         answerWithin<QVariant>(this, kWebAnswerMs, [answer](std::optional<QVariant> v) {
                             if (!v || !v->isValid() || v->isNull()) return answer(std::nullopt);
                             answer(v);
                         }));
}

void QtWebHost::passwordFieldShown(std::function<void(bool)> answer) {
    evaluate(QStringLiteral("!!document.querySelector('input[type=password]')"),
             [answer](std::optional<QVariant> v) { answer(v && v->toBool()); });
}

void QtWebHost::readyState(Answer answer) {
    evaluate(QStringLiteral("document.readyState"), [answer](std::optional<QVariant> v) {
        answer(v ? std::optional<QString>(v->toString()) : std::nullopt);
    });
}

void QtWebHost::outerHtml(Answer answer) {
    evaluate(QStringLiteral("document.documentElement ? document.documentElement.outerHTML : null"),
             [answer](std::optional<QVariant> v) { answer(v ? std::optional<QString>(v->toString()) : std::nullopt); });
}

namespace {

// Runs `change`, then answers once the clipboard reports new content, or
// false when it did not within the time. Nothing once `owner` has gone.
void whenClipboardChanges(QObject* owner, int timeoutMs, const std::function<void()>& change,
                          std::function<void(bool)> done) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* listening = new QObject(owner);  // the connection ends with the wait
    auto answer = answerWithin<bool>(listening, timeoutMs, [listening, done](std::optional<bool> changed) {
        listening->deleteLater();
        done(changed.has_value());
    });
    QObject::connect(clipboard, &QClipboard::dataChanged, listening, [answer] { answer(true); });
    change();
}

bool clipboardHasContent() {
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    return m && (!m->text().trimmed().isEmpty() || m->hasImage());
}

}  // namespace

void QtWebHost::copyTextToClipboard(std::function<void(bool)> done) {
    evaluate(QStringLiteral("document.body ? document.body.innerText : null"),
             [this, done](std::optional<QVariant> v) {
                 if (!v) return done(false);
                 const QString text = v->toString();
                 whenClipboardChanges(this, 2000, [text] { QGuiApplication::clipboard()->setText(text); },
                                      [text, done](bool changed) {
                                          done(changed || QGuiApplication::clipboard()->text() == text);
                                      });
             });
}

void QtWebHost::showFindBar() {
    if (crash_->isVisible()) return;
    const int fh = findBar_->sizeHint().height();
    findBar_->setGeometry(0, height() - fh, width(), fh);
    findBar_->open();
}

void QtWebHost::copyPageToClipboard(std::function<void(bool)> done) {
    if (!hasDocument()) return done(false);
    takePagePictures([this, done] { copySelection(done); });
}

void QtWebHost::copySelection(std::function<void(bool)> done) {
    // The engine selects and copies only in a focused page.
    view_->setFocus(Qt::OtherFocusReason);
    whenClipboardChanges(
        this, 3000,
        [this] {
            page_->triggerAction(QWebEnginePage::SelectAll);
            page_->triggerAction(QWebEnginePage::Copy);
        },
        [this, done](bool changed) {
            page_->triggerAction(QWebEnginePage::Unselect);
            if (changed && clipboardHasContent()) return done(true);
            // A page that is only a picture copies no text: take the picture.
            copyPicture([done](bool copied) { done(copied && clipboardHasContent()); });
        });
}

void QtWebHost::takePagePictures(std::function<void()> then) {
    setPagePictures({});
    // Pictures of the page's own site, loaded, within a bound of size and count;
    // another site's pictures cannot be read back and stay out.
    evaluate(QStringLiteral(
                 "(function(){var out={},n=0,px=0;"
                 "for(var i=0;i<document.images.length&&n<20;i++){var im=document.images[i];"
                 "var a=im.naturalWidth*im.naturalHeight;if(!im.complete||!a||px+a>8e6||out[im.src])continue;"
                 "try{var c=document.createElement('canvas');c.width=im.naturalWidth;c.height=im.naturalHeight;"
                 "c.getContext('2d').drawImage(im,0,0);out[im.src]=c.toDataURL('image/png');n++;px+=a;}catch(e){}}"
                 "return out;})()"),
             [then](std::optional<QVariant> found) {
                 if (found) {
                     QHash<QString, QImage> pictures;
                     const QVariantMap map = found->toMap();
                     for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
                         const QString url = it.value().toString();
                         const qsizetype comma = url.indexOf(QLatin1Char(','));
                         QImage image;
                         if (comma > 0 &&
                             image.loadFromData(QByteArray::fromBase64(url.mid(comma + 1).toLatin1()), "PNG"))
                             pictures.insert(it.key(), image);
                     }
                     setPagePictures(std::move(pictures));
                 }
                 then();
             });
}

void QtWebHost::copyPicture(std::function<void(bool)> done) {
    evaluate(QStringLiteral(
                 "(function(){var b=document.body;"
                 "if(!b||b.innerText.trim()||!document.images.length)return null;"
                 "var im=document.images[0];if(!im.naturalWidth)return null;"
                 "if(im.naturalWidth*im.naturalHeight>16e6)return '';"
                 "var c=document.createElement('canvas');c.width=im.naturalWidth;c.height=im.naturalHeight;"
                 "c.getContext('2d').drawImage(im,0,0);"
                 "try{return c.toDataURL('image/png');}catch(e){return '';}})()"),
             [this, done](std::optional<QVariant> data) {
                 if (!data) return done(false);
                 QImage image;
                 const QString url = data->toString();
                 const qsizetype comma = url.indexOf(QLatin1Char(','));
                 if (comma > 0) image.loadFromData(QByteArray::fromBase64(url.mid(comma + 1).toLatin1()), "PNG");
                 // A picture from another site cannot be read back, nor a huge one: take it as shown.
                 if (image.isNull()) image = view_->grab().toImage();
                 if (image.isNull()) return done(false);
                 whenClipboardChanges(this, 3000, [image] { QGuiApplication::clipboard()->setImage(image); },
                                      std::move(done));
             });
}

}  // namespace corvano::qt
