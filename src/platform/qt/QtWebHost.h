#pragma once

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/qt/QtPermissions.h"

class QAuthenticator;
class QMenu;
class QWebEngineCertificateError;
class QWebEngineClientCertificateSelection;
class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEngineView;
class QWebEnginePage;

namespace corvano {
class WebViewEvents;
struct WebProfile;
struct PageSubmenu;
}

namespace corvano::qt {

class QtDownloadBar;
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

    QtWebHost(QWidget* parent, const WebProfile& profile);
    ~QtWebHost() override;

    void setEvents(WebViewEvents* events) { events_ = events; }

    void navigate(const QString& address);
    void goBack();
    void goForward();
    void reload();
    void stop();
    // `finished` runs once the command's dialog has closed (soon, from the
    // event loop, for a command without one); never when this returns false.
    bool execWB(int command, int option, std::function<void()> finished = {});

    bool busy() const { return busy_; }
    QString title() const;
    QString address() const;
    bool hasDocument() const;
    void passwordFieldShown(std::function<void(bool)> answer);

    // The engine's answers, through the continuation (nothing when there is no
    // document or no answer in time); dropped when this host goes first.
    using Answer = std::function<void(std::optional<QString>)>;
    void readyState(Answer answer);
    void outerHtml(Answer answer);
    void copyTextToClipboard(std::function<void(bool)> done);

    void showFindBar();

    // Page export: select-all and copy as the engine does them; true once
    // the clipboard holds something of the page.
    void copyPageToClipboard(std::function<void(bool)> done);

    QWebEngineView* view() const { return view_; }
    QtWebPage* page() const { return page_; }
    QtFindBar* findBar() const { return findBar_; }
    QWidget* progressLine() const { return progress_; }
    QWidget* crashPanel() const { return crash_; }
    void showCrashPanel() { showCrash(); }
    bool findBarShown() const;
    bool downloadsRunning() const;

    // Downloads, logins, permissions, certificates and the page's menu.
    QtDownloadBar* downloadBar() const { return downloadBar_; }
    // The engine hands over a download this page (or its pop-up) started.
    void startDownload(QWebEngineDownloadRequest* request);
    // The user's download folder, or the home folder when there is none.
    static QString downloadFolder();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void connectPage();
    void loadEnded(const QWebEngineLoadingInfo& info);
    void flushNavigated();
    void request(const std::function<void()>& step);
    void setStatus(const QString& text);
    void setProgress(int percent);
    void showLine(int percent);
    void showCrash();
    QWebEnginePage* newWindow();
    void evaluate(const QString& script, std::function<void(std::optional<QVariant>)> answer);
    void copyPicture(std::function<void(bool)> done);
    void takePagePictures(std::function<void()> then);
    void copySelection(std::function<void(bool)> done);

    void connectRequests();
    void logIn(const QUrl& url, QAuthenticator* authenticator, const QString& proxyHost, bool proxy);
    // Asks the user; `authenticator` is the engine's while it still waits (the
    // dialog answered at once), else the page loads again with the answer.
    void askLogin(const QString& key, const QString& site, const QString& realm, bool proxy,
                  QAuthenticator* authenticator);
    void reloadOnceLoaded();
    // Asked in this window's name; `page` is its own or one of its pop-ups'.
    void askPermission(PermissionRequest request);
    void certificateRefused(const QWebEngineCertificateError& error);
    void clientCertificateAsked(QWebEngineClientCertificateSelection selection);
    void showPageMenu(const QPoint& pos);
    void addChoices(QMenu* menu);
    void addSubmenu(QMenu* menu, const PageSubmenu& submenu);
    bool pageAction(int action);
    void downloadChanged(const QString& text);
    void placeDownloadBar();
    QtDownloadBar* downloadBar_ = nullptr;
    // Logins given in the dialog or found remembered, waiting for the load
    // they were asked for.
    struct GivenLogin {
        QString user;
        QString password;
        bool remembered = false;
    };
    QHash<QString, GivenLogin> givenLogins_;
    // Remembered logins sent, and those the site refused in this run: those
    // are not sent again, the user is asked.
    QSet<QString> sentRemembered_;
    QSet<QString> refusedRemembered_;

    WebViewEvents* events_ = nullptr;
    // The profile's name, for what is kept per profile (logins); empty: shared.
    QString profileName_;
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
