#include "platform/qt/QtWebPage.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "platform/qt/QtWebEngineSetup.h"

namespace corvano::qt {

namespace {

// Every download of the shared profile goes to the page that started it.
void routeDownloads(QWebEngineProfile* profile) {
    static const char* const kRouted = "corvanoDownloadsRouted";
    if (profile->property(kRouted).toBool()) return;
    profile->setProperty(kRouted, true);
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

QtWebPage::QtWebPage(QObject* parent) : QWebEnginePage(webProfile(), parent) {
    registerWebPageUser();
    routeDownloads(profile());
}

QtWebPage::~QtWebPage() { unregisterWebPageUser(); }

QWebEnginePage* QtWebPage::createWindow(WebWindowType) { return onCreateWindow ? onCreateWindow() : nullptr; }

void QtWebPage::triggerAction(WebAction action, bool checked) {
    if (onAction && onAction(action)) return;
    QWebEnginePage::triggerAction(action, checked);
}

}  // namespace corvano::qt
