#pragma once

#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestUtil.h"
#include "LocalHttpServer.h"
#include "platform/WebView.h"
#include "platform/qt/QtWebHost.h"
#include "platform/qt/QtWebView.h"

namespace corvano::test {

// Records what the control reports, in order; answers the two questions as told.
struct RecordingEvents : WebViewEvents {
    std::vector<std::string> log;
    std::vector<std::string> statuses;
    std::vector<std::string> titles;
    std::vector<bool> closing;  // isChild of each Web_WindowClosing
    int newWindowRequests = 0;
    int documentComplete = 0;
    int lastProgress = -1;
    bool cancelNewWindow = false;
    bool cancelClose = true;

    void Web_StatusTextChange(const std::string& t) override { statuses.push_back(t); }
    void Web_TitleChange(const std::string& t) override {
        titles.push_back(t);
        log.push_back("title");
    }
    void Web_BeforeNavigate2() override { log.push_back("before"); }
    void Web_NavigateComplete2() override { log.push_back("navigated"); }
    void Web_DocumentComplete() override {
        ++documentComplete;
        log.push_back("document");
    }
    void Web_DownloadComplete() override { log.push_back("download"); }
    void Web_NewWindow2(bool& cancel) override {
        ++newWindowRequests;
        cancel = cancelNewWindow;
    }
    void Web_WindowClosing(bool isChild, bool& cancel) override {
        closing.push_back(isChild);
        if (!isChild) cancel = cancelClose;
    }
    void Web_ProgressChange(int p) override { lastProgress = p; }

    int indexOf(const std::string& what, int from = 0) const {
        for (size_t i = static_cast<size_t>(from); i < log.size(); ++i)
            if (log[i] == what) return static_cast<int>(i);
        return -1;
    }
};

// A top-level window holding one control, with the test pages served locally.
class WebViewFixture {
public:
    WebViewFixture();
    ~WebViewFixture();

    // Navigates and waits until the page has finished loading.
    bool load(const QString& path, int timeoutMs = 15000);
    qt::QtWebHost* host() const { return view->widget(); }
    // Runs a script in the page and waits for its value.
    QVariant js(const QString& script);

    static LocalHttpServer& server();
    QTemporaryDir temp;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<qt::QtWebView> view;
    RecordingEvents events;
};

}  // namespace corvano::test
