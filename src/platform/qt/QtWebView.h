#pragma once

#include "platform/WebView.h"
#include "platform/qt/QtControl.h"
#include "platform/qt/QtWebHost.h"

namespace corvano::qt {

// The WebView control on the Qt web engine; the work is in QtWebHost.
class QtWebView : public QtControl<WebView, QtWebHost> {
public:
    explicit QtWebView(QWidget* parent, const WebProfile& profile = {});
    ~QtWebView() override;
    void setEvents(WebViewEvents* events) override;
    void Navigate(const std::string& url) override;
    void Navigate2(const std::string& url) override { Navigate(url); }
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Refresh2() override { Refresh(); }
    void Stop() override;
    void GoSearch() override;
    bool ExecWB(int command, int option, std::function<void()> finished = {}) override;
    bool Busy() const override;
    std::string LocationName() const override;
    std::string LocationURL() const override;
    bool errorPageShown() const override;
    void passwordFieldShown(std::function<void(bool)> answer) override;
    void readyState(Answer answer) override;
    void outerHtml(Answer answer) override;
    void copyTextToClipboard(Done done) override;
    void showFindBar() override;
    void copyPageToClipboard(Done done) override;

    // Keyboard and zoom.
    void ReloadBypassingCache() override;
    void findAgain(bool backward) override;
    void setZoomPercent(int percent) override;
    int zoomPercent() const override { return zoom_; }

    // Pages that heal themselves.
    void showCrashPanel() override;
    bool findBarShown() const override;
    bool downloadsOpen() const override;

private:
    int zoom_ = 100;
    bool zoomKept_ = false;
};

}  // namespace corvano::qt
