#include "platform/qt/QtWebPage.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "platform/qt/QtNotificationToast.h"
#include "platform/qt/QtWebEngineSetup.h"

namespace corvano::qt {

namespace {

// Every download of a profile goes to the page that started it;
// the sites' notifications show on screen.
void connectProfile(QWebEngineProfile* profile) {
    static const char* const kConnected = "corvanoProfileConnected";
    if (profile->property(kConnected).toBool()) return;
    profile->setProperty(kConnected, true);
    profile->setNotificationPresenter(&QtNotificationToast::present);
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile, [](QWebEngineDownloadRequest* r) {
        // Saving the page itself already has its path from the save dialog.
        if (r->isSavePageDownload()) return;
        auto* page = qobject_cast<QtWebPage*>(r->page());
        if (page && page->onDownload)
            page->onDownload(r);
        else if (r->state() == QWebEngineDownloadRequest::DownloadRequested)
            r->cancel();
    });
}

}  // namespace

QtWebPage::QtWebPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
    registerWebPageUser(profile);
    connectProfile(profile);
}

QtWebPage::~QtWebPage() { unregisterWebPageUser(profile()); }

QWebEnginePage* QtWebPage::createWindow(WebWindowType) { return onCreateWindow ? onCreateWindow() : nullptr; }

void QtWebPage::triggerAction(WebAction action, bool checked) {
    if (onAction && onAction(action)) return;
    QWebEnginePage::triggerAction(action, checked);
}

}  // namespace corvano::qt
