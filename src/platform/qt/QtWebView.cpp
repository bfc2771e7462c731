#include "platform/qt/QtWebView.h"

#include "platform/qt/QtContainer.h"

namespace corvano::qt {

namespace {
std::optional<std::string> toStd(const std::optional<QString>& s) {
    if (!s) return std::nullopt;
    return s->toStdString();
}
}  // namespace

QtWebView::QtWebView(QWidget* parent) : QtControl(new QtWebHost(parent)) {}

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
bool QtWebView::ExecWB(int command, int option) { return w_ && w_->execWB(command, option); }
bool QtWebView::Busy() const { return w_ && w_->busy(); }
std::string QtWebView::LocationName() const { return w_ ? w_->title().toStdString() : std::string(); }
std::string QtWebView::LocationURL() const { return w_ ? w_->address().toStdString() : std::string(); }
std::optional<std::string> QtWebView::readyState() { return w_ ? toStd(w_->readyState()) : std::nullopt; }
std::optional<std::string> QtWebView::outerHtml() { return w_ ? toStd(w_->outerHtml()) : std::nullopt; }
bool QtWebView::copyTextToClipboard() { return w_ && w_->copyTextToClipboard(); }
void QtWebView::showFindBar() {
    if (w_) w_->showFindBar();
}

bool QtWebView::copyPageToClipboard() { return w_ && w_->copyPageToClipboard(); }

std::unique_ptr<WebView> QtChildFactory::webView(QWidget* parent) { return std::make_unique<QtWebView>(parent); }

}  // namespace corvano::qt
