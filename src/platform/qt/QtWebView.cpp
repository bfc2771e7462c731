#include "platform/qt/QtWebView.h"

#include <QLineEdit>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cmath>

#include "platform/qt/QtContainer.h"
#include "platform/qt/QtFindBar.h"

namespace corvano::qt {

namespace {
std::optional<std::string> toStd(const std::optional<QString>& s) {
    if (!s) return std::nullopt;
    return s->toStdString();
}
}  // namespace

QtWebView::QtWebView(QWidget* parent, const WebProfile& profile) : QtControl(new QtWebHost(parent, profile)) {}

QtWebView::~QtWebView() {
    if (w_) w_->setEvents(nullptr);
}

void QtWebView::setEvents(WebViewEvents* events) {
    if (w_) w_->setEvents(events);
}

void QtWebView::Navigate(const std::string& url) {
    if (w_) w_->navigate(QString::fromStdString(url));
}
void QtWebView::GoBack() {
    if (w_) w_->goBack();
}
void QtWebView::GoForward() {
    if (w_) w_->goForward();
}
void QtWebView::Refresh() {
    if (w_) w_->reload();
}
void QtWebView::Stop() {
    if (w_) w_->stop();
}
void QtWebView::GoSearch() { Navigate(QtWebHost::kSearchPage); }
void QtWebView::showCrashPanel() {
    if (w_) w_->showCrashPanel();
}
bool QtWebView::findBarShown() const { return w_ && w_->findBarShown(); }
bool QtWebView::downloadsOpen() const { return w_ && w_->downloadsRunning(); }
bool QtWebView::ExecWB(int command, int option, std::function<void()> finished) {
    return w_ && w_->execWB(command, option, std::move(finished));
}
bool QtWebView::Busy() const { return w_ && w_->busy(); }
std::string QtWebView::LocationName() const { return w_ ? w_->title().toStdString() : std::string(); }
std::string QtWebView::LocationURL() const { return w_ ? w_->address().toStdString() : std::string(); }

bool QtWebView::errorPageShown() const {
    // The engine shows its error pages under a scheme of its own.
    return w_ && w_->address().startsWith(QLatin1String("chrome-error:"), Qt::CaseInsensitive);
}
// The host drops an answer once it is gone, and with it the window's continuation.
void QtWebView::readyState(Answer answer) {
    if (w_) w_->readyState([answer](std::optional<QString> s) { answer(toStd(s)); });
}
void QtWebView::outerHtml(Answer answer) {
    if (w_) w_->outerHtml([answer](std::optional<QString> s) { answer(toStd(s)); });
}
void QtWebView::copyTextToClipboard(Done done) {
    if (w_) w_->copyTextToClipboard(std::move(done));
}
void QtWebView::showFindBar() {
    if (w_) w_->showFindBar();
}

void QtWebView::ReloadBypassingCache() {
    if (w_ && w_->hasDocument()) w_->view()->triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
}

void QtWebView::findAgain(bool backward) {
    if (!w_) return;
    QtFindBar* bar = w_->findBar();
    // Nothing to find yet: the bar opens for the text.
    if (!bar->isVisible() || bar->edit()->text().isEmpty()) return w_->showFindBar();
    backward ? bar->findPrevious() : bar->findNext();
}

void QtWebView::setZoomPercent(int percent) {
    zoom_ = percent;
    if (!w_) return;
    QWebEngineView* view = w_->view();
    view->setZoomFactor(percent / 100.0);
    if (zoomKept_) return;
    zoomKept_ = true;
    // The engine may take a new site back to its own zoom: the window's stays.
    QObject::connect(view, &QWebEngineView::loadFinished, w_, [this](bool) {
        QWebEngineView* v = w_ ? w_->view() : nullptr;
        if (v && std::abs(v->zoomFactor() * 100 - zoom_) > 0.5) v->setZoomFactor(zoom_ / 100.0);
    });
}
void QtWebView::passwordFieldShown(std::function<void(bool)> answer) {
    if (!w_) return answer(false);
    w_->passwordFieldShown(std::move(answer));
}
void QtWebView::copyPageToClipboard(Done done) {
    if (w_) w_->copyPageToClipboard(std::move(done));
}

std::unique_ptr<WebView> QtChildFactory::webView(QWidget* parent, const WebProfile& profile) {
    return std::make_unique<QtWebView>(parent, profile);
}

}  // namespace corvano::qt
