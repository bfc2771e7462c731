// The web view's answers to what a page asks of its window: downloads,
// logins, permissions, certificate errors and the page's own menu.
#include <QAuthenticator>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineView>
#include <cctype>
#include <utility>

#include "platform/WebView.h"
#include "platform/qt/QtDownloadBar.h"
#include "platform/qt/QtFindBar.h"
#include "platform/qt/QtLoginDialog.h"
#include "platform/qt/QtLoginStore.h"
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
    connect(page_, &QWebEnginePage::selectClientCertificate, this, &QtWebHost::clientCertificateAsked);

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
    const QString realm = authenticator->realm();
    const QString key =
        QString::fromStdString(loginKey(profileName_.toStdString(), site.toStdString(), realm.toStdString(), proxy));
    // Credentials given in the dialog are sent once, with the load that follows it.
    if (auto it = givenLogins_.find(key); it != givenLogins_.end()) {
        authenticator->setUser(it->user);
        authenticator->setPassword(it->password);
        if (it->remembered) sentRemembered_.insert(key);
        givenLogins_.erase(it);
        return;
    }
    QtLoginStore& store = QtLoginStore::instance();
    // A remembered login that comes back refused is not sent again: the user
    // is asked, and a new answer replaces it.
    if (sentRemembered_.remove(key)) refusedRemembered_.insert(key);
    if (!refusedRemembered_.contains(key)) {
        if (const auto known = store.known(key)) {
            authenticator->setUser(QString::fromStdString(known->user));
            authenticator->setPassword(QString::fromStdString(known->password));
            sentRemembered_.insert(key);
            return;
        }
        if (store.mayFetch(key)) {
            // The secret service answers later: refused for now; the page loads
            // again with what it kept, or the user is asked then.
            *authenticator = QAuthenticator();
            store.fetch(key, this, [this, key, site, realm, proxy](std::optional<RememberedLogin> login) {
                if (!login) return askLogin(key, site, realm, proxy, nullptr);
                givenLogins_[key] = {QString::fromStdString(login->user), QString::fromStdString(login->password), true};
                reloadOnceLoaded();
            });
            return;
        }
    }
    askLogin(key, site, realm, proxy, authenticator);
}

void QtWebHost::reloadOnceLoaded() {
    // A load still under way has nothing to reload yet: its end comes first.
    if (!busy_) return view_->reload();
    connect(page_, &QWebEnginePage::loadFinished, this, [this] { view_->reload(); }, Qt::SingleShotConnection);
}

void QtWebHost::askLogin(const QString& key, const QString& site, const QString& realm, bool proxy,
                         QAuthenticator* authenticator) {
    QtLoginStore& store = QtLoginStore::instance();
    const bool hadRemembered = refusedRemembered_.contains(key);
    // The engine wants its answer before this returns; a user needs longer.
    // An answer that is already there is taken at once; otherwise the engine
    // shows the site's refusal page for now (a null authenticator cancels;
    // left as it is, the engine would send empty credentials again), and the
    // page loads again with the credentials once the user has given them.
    auto* dialog = new QtLoginDialog(site, realm, proxy, window());
    if (authenticator && !authenticator->user().isEmpty()) dialog->userEdit()->setText(authenticator->user());
    if (hadRemembered) {
        if (const auto known = store.known(key)) dialog->userEdit()->setText(QString::fromStdString(known->user));
        dialog->rememberBox()->setChecked(true);
    }
    struct Waiting {
        QAuthenticator* authenticator;  // while the engine waits for it
        bool answered = false;
    };
    auto waiting = std::make_shared<Waiting>(Waiting{authenticator});
    QPointer<QtWebHost> self(this);
    pagedialogs::openDialog(dialog, [dialog, waiting, self, key, hadRemembered](int result) {
        const bool given = result == QDialog::Accepted;
        if (given) {
            QtLoginStore& store = QtLoginStore::instance();
            if (dialog->remember()) {
                store.remember(key, {dialog->user().toStdString(), dialog->password().toStdString()});
                if (self) self->refusedRemembered_.remove(key);
            } else if (hadRemembered) {
                // The site refused it: it is not kept against the user's new answer.
                store.forget(key);
            }
        }
        if (QAuthenticator* now = waiting->authenticator) {
            waiting->answered = true;
            if (!given) return void(*now = QAuthenticator());
            now->setUser(dialog->user());
            now->setPassword(dialog->password());
            if (self && dialog->remember()) self->sentRemembered_.insert(key);
            return;
        }
        if (!given || !self) return;
        self->givenLogins_[key] = {dialog->user(), dialog->password(), dialog->remember()};
        self->reloadOnceLoaded();
    });
    if (!authenticator) return;
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

void QtWebHost::clientCertificateAsked(QWebEngineClientCertificateSelection selection) {
    const QList<QSslCertificate> certificates = selection.certificates();
    std::vector<ClientCertificate> offered;
    for (const QSslCertificate& c : certificates) {
        const QString name = c.subjectDisplayName() + QStringLiteral(" (") + c.issuerDisplayName() +
                             QStringLiteral(", ") + c.expiryDate().date().toString(Qt::ISODate) + QLatin1Char(')');
        offered.push_back({name.toStdString(), c.digest(QCryptographicHash::Sha256).toHex().toStdString()});
    }
    const QUrl url = selection.host();
    const QString host = url.host() + QLatin1Char(':') + QString::number(url.port(443));
    // The engine waits while a copy of the selection lives; asked from the
    // event loop, not inside its own call.
    QTimer::singleShot(0, this, [this, selection, certificates, offered, host]() mutable {
        if (!events_) return selection.selectNone();
        events_->Web_ClientCertificate(host.toStdString(), offered,
                                       [selection, certificates](std::optional<size_t> chosen) mutable {
                                           if (chosen && *chosen < static_cast<size_t>(certificates.size()))
                                               selection.select(certificates.at(static_cast<qsizetype>(*chosen)));
                                           else
                                               selection.selectNone();
                                       });
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
    std::vector<PageSubmenu> submenus{{"Choices", events_->Web_PageMenuTitle(), events_->Web_PageMenuChoices()}};
    for (PageSubmenu& more : events_->Web_PageSubmenus()) {
        // Named after its name: "profile" is pageMenuProfile.
        if (!more.name.empty()) more.name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(more.name[0])));
        submenus.push_back(std::move(more));
    }
    bool separated = false;
    for (const PageSubmenu& s : submenus) {
        if (s.choices.empty()) continue;
        if (!std::exchange(separated, true)) menu->addSeparator();
        addSubmenu(menu, s);
    }
}

void QtWebHost::addSubmenu(QMenu* menu, const PageSubmenu& submenu) {
    QMenu* sub = menu->addMenu(QString::fromStdString(submenu.title));
    sub->setObjectName(QStringLiteral("pageMenu") + QString::fromStdString(submenu.name));
    QPointer<QtWebHost> self(this);
    for (const MenuChoice& c : submenu.choices) {
        if (c.key.empty()) {
            sub->addSeparator();
            continue;
        }
        QAction* a = sub->addAction(QString::fromStdString(c.text));
        a->setCheckable(c.checkable);
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
