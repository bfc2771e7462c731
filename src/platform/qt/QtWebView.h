#pragma once

#include <QWebEngineView>

#include "platform/WebView.h"
#include "platform/qt/QtControl.h"

namespace corvano::qt {

class QtWebView : public QtControl<WebView, QWebEngineView> {
public:
    explicit QtWebView(QWidget* parent);
    void setEvents(WebViewEvents* events) override { events_ = events; }
    void Navigate(const std::string& url) override;
    void Navigate2(const std::string& url) override { Navigate(url); }
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Refresh2() override { Refresh(); }
    void Stop() override;
    void GoSearch() override;
    bool ExecWB(int command, int option) override;
    bool Busy() const override;
    std::string LocationName() const override;
    std::string LocationURL() const override;
    std::optional<std::string> readyState() override;
    std::optional<std::string> outerHtml() override;
    bool copyTextToClipboard() override;
    void showFindBar() override;

private:
    WebViewEvents* events_ = nullptr;
    bool busy_ = false;
};

}  // namespace corvano::qt
