#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/WebPrompts.h"

namespace corvano {

// Command numbers of the standard command set that ExecWB understands.
namespace olecmd {
constexpr int SaveAs = 4;
constexpr int Print = 6;
constexpr int PrintPreview = 7;
constexpr int PageSetup = 8;
constexpr int Properties = 10;
constexpr int Cut = 11;
constexpr int Copy = 12;
constexpr int Paste = 13;
constexpr int SelectAll = 17;
constexpr int Delete = 33;
constexpr int OptDoDefault = 0;
constexpr int OptPromptUser = 1;
}  // namespace olecmd

// How a load of the main page ended.
struct LoadEnd {
    enum Kind {
        Loaded,       // the page came, with a good status
        Unreachable,  // no connection, unknown host, refused, reset, timed out
        HttpError,    // the server answered with an error status (in httpStatus)
        Failed,       // any other failure (a refused certificate, a bad address)
        Stopped,      // stopped or replaced by another navigation
    };
    Kind kind = Loaded;
    int httpStatus = 0;
    // The address the load was asked for, not an error page's.
    std::string url;
};

// The profile a web view keeps its cookies, storage and cache in. The empty
// name is the profile every window shares; a named one keeps its files in
// its folder. Views of the same name share one profile.
struct WebProfile {
    std::string name;
    std::string folder;
};

// One choice of a check list the page's menu shows.
struct MenuChoice {
    std::string key;  // what Web_PageCommand gets when it is chosen; empty: a separator
    std::string text;
    bool checked = false;
    bool checkable = true;
};

// A client certificate the engine offers to a site that asks for one.
struct ClientCertificate {
    std::string name;         // whom it names and who issued it
    std::string fingerprint;  // SHA-256 of the certificate, lower-case hexadecimal
};

// A further submenu of the page's menu; `name` tells it apart.
struct PageSubmenu {
    std::string name;
    std::string title;
    std::vector<MenuChoice> choices;
};

// What the page tells its owner. All calls arrive on the user-interface thread.
class WebViewEvents {
public:
    virtual ~WebViewEvents() = default;
    virtual void Web_StatusTextChange(const std::string& /*text*/) {}
    virtual void Web_TitleChange(const std::string& /*text*/) {}
    virtual void Web_BeforeNavigate2() {}
    virtual void Web_NavigateComplete2() {}
    virtual void Web_DocumentComplete() {}
    virtual void Web_DownloadComplete() {}
    // Set cancel to refuse the new window.
    virtual void Web_NewWindow2(bool& /*cancel*/) {}
    // Set cancel to keep the window open.
    virtual void Web_WindowClosing(bool /*isChildWindow*/, bool& /*cancel*/) {}
    // 0..100 while a page loads.
    virtual void Web_ProgressChange(int /*percent*/) {}

    // Downloads, permissions, certificates and the page's own menu.
    // The page starts a download: propose where it goes (the user confirms
    // it); leaving the path empty refuses the download.
    virtual void Web_DownloadBegin(const std::string& /*downloadFolder*/, const std::string& /*suggestedName*/,
                                   std::string& /*proposedPath*/) {}
    // A site asks to use something; answer true to grant it, now or once the
    // user has decided. Default: no.
    virtual void Web_PermissionRequest(const std::string& /*site*/, WebPermission /*what*/,
                                       std::function<void(bool)> allow) {
        allow(false);
    }
    // The site's certificate was refused and the engine lets the user go on
    // anyway; answer true to load the site. Default: the engine's error page.
    virtual void Web_CertificateError(const std::string& /*site*/, CertificateProblem /*problem*/,
                                      std::function<void(bool)> goOn) {
        goOn(false);
    }
    // A site asks for a client certificate: answer with the index of the one
    // to send, now or once the user has chosen, or nothing for none.
    virtual void Web_ClientCertificate(const std::string& /*host*/, const std::vector<ClientCertificate>& /*offered*/,
                                       std::function<void(std::optional<size_t>)> choose) {
        choose(std::nullopt);
    }
    // The page's menu asks for one of the window's own page commands
    // ("EDIT:VIEW", "SAVE:HTML").
    virtual void Web_PageCommand(const std::string& /*key*/) {}
    // The page's menu: open this link in a new browser window.
    virtual void Web_OpenLinkInNewWindow(const std::string& /*url*/) {}

    // A load of the main page ended (after Web_DocumentComplete).
    virtual void Web_LoadEnd(const LoadEnd& /*end*/) {}
    // The page's process crashed or was killed. Return false to leave the
    // control's own panel with its Reload button; true when the owner
    // takes care of the page.
    virtual bool Web_RendererGone() { return false; }
    // The page's menu: a line with a check list under it (title, choices).
    virtual std::string Web_PageMenuTitle() { return {}; }
    virtual std::vector<MenuChoice> Web_PageMenuChoices() { return {}; }
    virtual std::vector<PageSubmenu> Web_PageSubmenus() { return {}; }
    // What the page's menu shows checked: "PAGE:FULLSCREEN" and "PAGE:BARS"
    // switch them.
    virtual bool Web_FullScreen() const { return false; }
    virtual bool Web_BarsShown() const { return true; }
};

// The embedded web browser control.
class WebView : public Control {
public:
    virtual void setEvents(WebViewEvents* events) = 0;

    virtual void Navigate(const std::string& url) = 0;
    virtual void Navigate2(const std::string& url) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    virtual void Refresh2() = 0;
    virtual void Stop() = 0;
    virtual void GoSearch() = 0;
    // Returns false when the page cannot perform the command. Otherwise
    // `finished` runs, from the event loop, once the command's dialog has
    // closed (at once for a command without one).
    virtual bool ExecWB(int command, int option, std::function<void()> finished = {}) = 0;

    virtual bool Busy() const = 0;
    virtual std::string LocationName() const = 0;
    virtual std::string LocationURL() const = 0;
    // The page shown is the engine's own error page, not the address's.
    virtual bool errorPageShown() const { return false; }
    // Whether the page shows a password field; answers later, false when
    // there is no page or no answer in time.
    virtual void passwordFieldShown(std::function<void(bool)> answer) { answer(false); }

    // Document reads: the engine answers later, through the continuation,
    // with nothing when there is no document or no answer came in time. A
    // view that goes away first drops the continuation uncalled.
    using Answer = std::function<void(std::optional<std::string>)>;
    using Done = std::function<void(bool)>;
    virtual void readyState(Answer answer) = 0;
    virtual void outerHtml(Answer answer) = 0;
    // The page's text onto the clipboard; true once the clipboard has it.
    virtual void copyTextToClipboard(Done done) = 0;

    // Opens the find bar over the page.
    virtual void showFindBar() = 0;

    // Keyboard and zoom.
    // Loads the page again from the server, not from the cache.
    virtual void ReloadBypassingCache() { Refresh(); }
    // The next or previous match of the find bar's text; opens the bar when it has none.
    virtual void findAgain(bool backward) {
        (void)backward;
        showFindBar();
    }
    // The page's zoom in percent (100 = as designed); kept across navigations.
    virtual void setZoomPercent(int percent) { (void)percent; }
    virtual int zoomPercent() const { return 100; }
    // Page export: the engine's own select-all and copy of the page, as rich
    // text and plain text (a page that is only a picture gives the picture);
    // answers once the clipboard has it (bounded), false when nothing came.
    virtual void copyPageToClipboard(Done done) = 0;

    // Pages that heal themselves and refresh on a timer.
    // The panel over a page whose process ended, with its Reload button.
    virtual void showCrashPanel() {}
    // The find bar is open over the page.
    virtual bool findBarShown() const { return false; }
    // A download of this window (or its pop-ups) runs or waits for a name.
    virtual bool downloadsOpen() const { return false; }
};

}  // namespace corvano
