#include "platform/qt/QtWebPage.h"

#include "platform/qt/QtWebEngineSetup.h"

namespace corvano::qt {

QtWebPage::QtWebPage(QObject* parent) : QWebEnginePage(webProfile(), parent) { registerWebPageUser(); }

QtWebPage::~QtWebPage() { unregisterWebPageUser(); }

QWebEnginePage* QtWebPage::createWindow(WebWindowType) { return onCreateWindow ? onCreateWindow() : nullptr; }

}  // namespace corvano::qt
