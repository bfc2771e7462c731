#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QWebEngineView;
class QWebEnginePage;

namespace corvano {
class WebViewEvents;
}

namespace corvano::qt {

class QtFindBar;
class QtWebPage;

// The widget behind a WebView: the engine's view with a progress line along
// its top edge, the find bar over its bottom edge and the message shown when
// the page's process has ended. Turns the engine's signals into the control's
// events.
class QtWebHost : public QWidget {
    Q_OBJECT
public:
    // The start page of the search command.
    static constexpr const char* kSearchPage = "https://duckduckgo.com/";

    explicit QtWebHost(QWidget* parent);
    ~QtWebHost() override;

    void setEvents(WebViewEvents* events) { events_ = events; }

    void navigate(const QString& address);
    void goBack();
    void goForward();
    void reload();
    void stop();
    bool execWB(int command, int option);

    bool busy() const { return busy_; }
    QString title() const;
    QString address() const;
    bool hasDocument() const;

    std::optional<QString> readyState();
    std::optional<QString> outerHtml();
    bool copyTextToClipboard();

    void showFindBar();

    // Page export: select-all and copy as the engine does them.
    bool copyPageToClipboard();

    QWebEngineView* view() const { return view_; }
    QtWebPage* page() const { return page_; }
    QtFindBar* findBar() const { return findBar_; }
    QWidget* progressLine() const { return progress_; }
    QWidget* crashPanel() const { return crash_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectPage();
    void flushNavigated();
    void request(const std::function<void()>& step);
    void setStatus(const QString& text);
    void setProgress(int percent);
    void showCrash();
    QWebEnginePage* newWindow();
    std::optional<QVariant> evaluate(const QString& script);
    bool copyPicture();
    void takePagePictures();

    WebViewEvents* events_ = nullptr;
    QWebEngineView* view_;
    QtWebPage* page_;
    QWidget* progress_;
    QtFindBar* findBar_;
    QWidget* crash_;
    bool busy_ = false;
    bool requesting_ = false;        // inside a navigation call of ours
    bool navigatedPending_ = false;  // address changed, its load not started yet
};

}  // namespace corvano::qt
