#include "platform/qt/QtWebView.h"

#include "platform/qt/QtContainer.h"

namespace corvano::qt {

QtWebView::QtWebView(QWidget* parent) : QtControl(new QWebEngineView(parent)) {}

void QtWebView::Navigate(const std::string& url) {
    if (w_) w_->setUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}
void QtWebView::GoBack() {
    if (w_) w_->back();
}
void QtWebView::GoForward() {
    if (w_) w_->forward();
}
void QtWebView::Refresh() {
    if (w_) w_->reload();
}
void QtWebView::Stop() {
    if (w_) w_->stop();
}
void QtWebView::GoSearch() {}
bool QtWebView::ExecWB(int, int) { return false; }
bool QtWebView::Busy() const { return busy_; }
std::string QtWebView::LocationName() const { return w_ ? w_->title().toStdString() : std::string(); }
std::string QtWebView::LocationURL() const { return w_ ? w_->url().toString().toStdString() : std::string(); }
std::optional<std::string> QtWebView::readyState() { return std::nullopt; }
std::optional<std::string> QtWebView::outerHtml() { return std::nullopt; }
bool QtWebView::copyTextToClipboard() { return false; }
void QtWebView::showFindBar() {}

std::unique_ptr<WebView> QtChildFactory::webView(QWidget* parent) { return std::make_unique<QtWebView>(parent); }

}  // namespace corvano::qt
