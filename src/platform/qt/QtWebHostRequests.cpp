// The web view's answers to what a page asks of its window: downloads,
// logins, permissions, certificate errors and the page's own menu.
#include <QAuthenticator>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineView>

#include "platform/WebView.h"
#include "platform/qt/QtDownloadBar.h"
#include "platform/qt/QtFindBar.h"
#include "platform/qt/QtLoginDialog.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtPermissions.h"
#include "platform/qt/QtShortcuts.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtWebHost.h"
#include "platform/qt/QtWebPage.h"

namespace corvano::qt {

namespace {

// The site as the user reads it and as its answers are kept: scheme, host, port.
QString siteOf(const QUrl& url) {
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
        .toString(QUrl::StripTrailingSlash);
}

CertificateProblem problemOf(QWebEngineCertificateError::Type type) {
    using E = QWebEngineCertificateError;
    switch (type) {
        case E::CertificateCommonNameInvalid:
        case E::CertificateNonUniqueName:
        case E::CertificateNameConstraintViolation: return CertificateProblem::WrongName;
        case E::CertificateDateInvalid:
        case E::CertificateValidityTooLong: return CertificateProblem::Date;
        case E::CertificateAuthorityInvalid:
        case E::CertificateSymantecLegacy:
        case E::CertificateKnownInterceptionBlocked: return CertificateProblem::Authority;
        case E::CertificateRevoked: return CertificateProblem::Revoked;
        default: return CertificateProblem::Other;
    }
}

// Beside the final file, under a name of its own that nothing uses yet.
QString partialPathFor(const QString& finalPath) {
    QString path = finalPath + QStringLiteral(".part");
    for (int n = 1; QFileInfo::exists(path) && n < 1000; ++n)
        path = finalPath + QStringLiteral(".%1.part").arg(n);
    return path;
}

}  // namespace

void QtWebHost::connectRequests() {
    downloadBar_ = new QtDownloadBar(this);
    downloadBar_->onChanged = [this](const QString& text) { downloadChanged(text); };
    page_->onDownload = [this](QWebEngineDownloadRequest* r) { startDownload(r); };
    page_->onAction = [this](QWebEnginePage::WebAction a) { return pageAction(a); };

    connect(page_, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* a) { logIn(url, a, QString(), false); });
    connect(page_, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* a, const QString& proxyHost) { logIn(url, a, proxyHost, true); });
    onPermissionRequest(page_, this, [this](PermissionRequest r) { askPermission(std::move(r)); });
    connect(page_, &QWebEnginePage::certificateError, this, &QtWebHost::certificateRefused);

    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &QtWebHost::showPageMenu);
}

QString QtWebHost::downloadFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
    return dir;
}

void QtWebHost::startDownload(QWebEngineDownloadRequest* request) {
    if (request->state() != QWebEngineDownloadRequest::DownloadRequested) return;
    std::string proposed;
    if (events_)
        events_->Web_DownloadBegin(downloadFolder().toStdString(), request->suggestedFileName().toStdString(),
                                   proposed);
    if (proposed.empty()) {
        request->cancel();
        return;
    }
    // The engine drops a download not taken before this returns: it starts
    // at once into a partial file beside the proposed name, and gets its
    // final name once the user has chosen one.
    const QString proposedPath = QString::fromStdString(proposed);
    const QFileInfo held(partialPathFor(proposedPath));
    request->setDownloadDirectory(held.absolutePath());
    request->setDownloadFileName(held.fileName());
    request->accept();
    QPointer<QWebEngineDownloadRequest> guard(request);
    QPointer<QtWebHost> self(this);
    auto* dialog = new QFileDialog(window(), uiText(TextId::SaveDownloadAs), proposedPath);
    dialog->setObjectName(QStringLiteral("downloadDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    const QString partial = held.absoluteFilePath();
    auto answered = std::make_shared<bool>(false);
    // A window that closes with its dialog open takes the download along.
    connect(dialog, &QObject::destroyed, request, [guard, answered, partial] {
        if (*answered || !guard) return;
        guard->cancel();
        QFile::remove(partial);
    });
    pagedialogs::openDialog(dialog, [dialog, guard, self, answered, partial](int result) {
        *answered = true;
        // The engine may have given up while the dialog was open.
        if (!guard) return;
        const bool chosen = result == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
        // A window that closed meanwhile takes its downloads along.
        if (!self || !chosen) {
            guard->cancel();
            QFile::remove(partial);
            return;
        }
        self->downloadBar_->add(guard, dialog->selectedFiles().first(), partial);
    });
}

void QtWebHost::downloadChanged(const QString& text) {
    placeDownloadBar();
    if (!text.isEmpty()) setStatus(text);
    // A page that is loading has the line to itself.
    if (busy_) return;
    const int percent = downloadBar_->runningPercent();
    if (percent < 0) {
        progress_->hide();
        return;
    }
    showLine(std::min(percent, 99));
}

void QtWebHost::placeDownloadBar() {
    if (!downloadBar_) return;
    const int h = downloadBar_->sizeHint().height();
    downloadBar_->setGeometry(0, height() - h, width(), h);
    downloadBar_->raise();
    if (findBar_->isVisible()) findBar_->raise();
}

void QtWebHost::logIn(const QUrl& url, QAuthenticator* authenticator, const QString& proxyHost, bool proxy) {
    const QString site = proxy ? proxyHost : siteOf(url);
    const QString key = site + QLatin1Char('\n') + authenticator->realm() + (proxy ? QStringLiteral("\nproxy") : QString());
    // Credentials given in the dialog are sent once, with the load that follows it.
    if (auto it = givenLogins_.find(key); it != givenLogins_.end()) {
        authenticator->setUser(it->first);
        authenticator->setPassword(it->second);
        givenLogins_.erase(it);
        return;
    }
    // The engine wants its answer before this returns; a user needs longer.
    // An answer that is already there is taken at once; otherwise the engine
    // shows the site's refusal page for now (a null authenticator cancels;
    // left as it is, the engine would send empty credentials again), and the
    // page loads again with the credentials once the user has given them.
    auto* dialog = new QtLoginDialog(site, authenticator->realm(), proxy, window());
    if (!authenticator->user().isEmpty()) dialog->userEdit()->setText(authenticator->user());
    struct Waiting {
        QAuthenticator* authenticator;  // while the engine waits for it
        bool answered = false;
    };
    auto waiting = std::make_shared<Waiting>(Waiting{authenticator});
    QPointer<QtWebHost> self(this);
    pagedialogs::openDialog(dialog, [dialog, waiting, self, key](int result) {
        const bool given = result == QDialog::Accepted;
        if (QAuthenticator* now = waiting->authenticator) {
            waiting->answered = true;
            if (!given) return void(*now = QAuthenticator());
            now->setUser(dialog->user());
            now->setPassword(dialog->password());
            return;
        }
        if (!given || !self) return;
        self->givenLogins_[key] = {dialog->user(), dialog->password()};
        self->view_->reload();
    });
    if (!waiting->answered) *authenticator = QAuthenticator();
    waiting->authenticator = nullptr;
}

void QtWebHost::askPermission(PermissionRequest request) {
    if (!request.what) return request.answer(false);
    // Asked from the event loop, not inside the engine's own call.
    QTimer::singleShot(0, this, [this, request = std::move(request)] {
        if (!events_) return request.answer(false);
        events_->Web_PermissionRequest(siteOf(request.origin).toStdString(), *request.what, request.answer);
    });
}

void QtWebHost::certificateRefused(const QWebEngineCertificateError& error) {
    // Without an override the engine's error page is all there is.
    if (!error.isOverridable()) return;
    QWebEngineCertificateError pending(error);
    pending.defer();
    QTimer::singleShot(0, this, [this, pending]() mutable {
        // The engine keeps an accepted certificate for this run only.
        auto answer = [pending](bool goOn) mutable {
            if (goOn)
                pending.acceptCertificate();
            else
                pending.rejectCertificate();
        };
        if (!events_) return answer(false);
        events_->Web_CertificateError(siteOf(pending.url()).toStdString(), problemOf(pending.type()), answer);
    });
}

void QtWebHost::showPageMenu(const QPoint& pos) {
    QMenu* menu = view_->createStandardContextMenu();
    if (!menu) return;
    menu->setObjectName(QStringLiteral("pageMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The entries Corvano carries out itself carry its own captions.
    const std::pair<QWebEnginePage::WebAction, TextId> own[] = {
        {QWebEnginePage::ViewSource, TextId::ViewSource},
        {QWebEnginePage::SavePage, TextId::SaveAsHtml},
        {QWebEnginePage::OpenLinkInNewWindow, TextId::OpenLinkInNewWindow},
    };
    for (QAction* a : menu->actions())
        for (const auto& [action, text] : own)
            if (a == page_->action(action)) a->setText(uiText(text));
    addChoices(menu);
    // The window's own layout: full screen and its bars.
    menu->addSeparator();
    auto ownEntry = [this, menu](TextId text, Shortcut key, bool checked, const char* command) {
        QAction* a = menu->addAction(uiText(text));
        a->setObjectName(QString::fromLatin1(command));
        a->setCheckable(true);
        a->setChecked(checked);
        a->setShortcut(keySequences(key).value(0));
        // Shown in the menu only: the window's own shortcut does the work.
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, [this, key = std::string(command)] {
            if (events_) events_->Web_PageCommand(key);
        });
    };
    ownEntry(TextId::FullScreen, Shortcut::FullScreen, events_ && events_->Web_FullScreen(), "PAGE:FULLSCREEN");
    ownEntry(TextId::ShowTheBars, Shortcut::ToggleBars, !events_ || events_->Web_BarsShown(), "PAGE:BARS");
    menu->popup(view_->mapToGlobal(pos));
}

void QtWebHost::addChoices(QMenu* menu) {
    if (!events_) return;
    const std::vector<MenuChoice> choices = events_->Web_PageMenuChoices();
    if (choices.empty()) return;
    menu->addSeparator();
    QMenu* sub = menu->addMenu(QString::fromStdString(events_->Web_PageMenuTitle()));
    sub->setObjectName(QStringLiteral("pageMenuChoices"));
    QPointer<QtWebHost> self(this);
    for (const MenuChoice& c : choices) {
        QAction* a = sub->addAction(QString::fromStdString(c.text));
        a->setCheckable(true);
        a->setChecked(c.checked);
        a->setData(QString::fromStdString(c.key));
        // Chosen from the event loop, once the menu has closed.
        connect(a, &QAction::triggered, this, [self, key = c.key] {
            QTimer::singleShot(0, self, [self, key] {
                if (self && self->events_) self->events_->Web_PageCommand(key);
            });
        });
    }
}

bool QtWebHost::pageAction(int action) {
    switch (static_cast<QWebEnginePage::WebAction>(action)) {
        case QWebEnginePage::ViewSource:
            if (events_) events_->Web_PageCommand("EDIT:VIEW");
            return true;
        case QWebEnginePage::SavePage:
            if (events_) events_->Web_PageCommand("SAVE:HTML");
            return true;
        case QWebEnginePage::OpenLinkInNewWindow: {
            const QWebEngineContextMenuRequest* request = view_->lastContextMenuRequest();
            const QUrl link = request ? request->linkUrl() : QUrl();
            if (link.isValid() && events_) events_->Web_OpenLinkInNewWindow(link.toString().toStdString());
            return true;
        }
        default: return false;
    }
}

}  // namespace corvano::qt
