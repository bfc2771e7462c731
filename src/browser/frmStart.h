#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Form.h"
#include "platform/ImageList.h"
#include "browser/AddressBox.h"
#include "browser/BrowserState.h"
#include "browser/LoginWatch.h"
#include "browser/PageWatch.h"
#include "browser/SourceView.h"
#include "browser/WindowPlace.h"
#include "platform/Container.h"
#include "platform/Timer.h"
#include "platform/WordProcessor.h"

namespace corvano {

class Entry;
struct ExportPage;

// A numbered browser window: its web control, address box, three bars and
// its own settings and history files. Its parts: the address box and
// history (AddressBox), its place and monitors (WindowPlace), the care of
// its page (PageWatch), its source view (SourceView), its files
// (BrowserSettings, History, WindowOptions) and the page commands that act
// on it (PageCommands, run through the command registry).
class frmStart : public Form, public WebViewEvents {
public:
    // How long WebAttend waits for a page before giving up.
    static constexpr int kWebAttendLimitMs = 60000;

    // A window opened on a link is given that link as its first page, in
    // place of its last one.
    explicit frmStart(Application& app, std::string firstPage = {});
    ~frmStart() override;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_KeyDown(int keyCode, int shift) override;
    void Form_QueryUnload() override { GO_Exit(); }
    void Form_Shortcut(Shortcut which) override;
    // A new language: the caption takes the new word for "browser".
    void Form_TextsChanged() override;

    int number() const { return state_.number; }
    const BrowserState& state() const { return state_; }
    // Saves the history and settings, frees the number, lowers the browser
    // count and unloads the window; runs once whatever asks for it.
    void GO_Exit();
    bool closing() const { return closing_; }

    // The address box and history.
    // Completes the address box's text, navigates to it and, with flag 1,
    // records a qualifying address in the history.
    void CommandGo(int flag);
    void Hyst_Read();
    void Hyst_Add() { address_->Hyst_Add(); }
    bool Hyst_Save();
    // True when the character is consumed.
    bool Text1_KeyPress(int charCode);
    void Text1_Click() { CommandGo(0); }
    void Text1_Edited(const std::string& text) { address_->edited(text); }
    const std::string& currentAddress() const { return state_.currentAddress; }
    // The history as the address box lists it and the history file keeps it.
    const std::vector<std::string>& history() const { return address_->history().entries(); }
    AddressHistory& addressHistory() { return address_->history(); }

    // The files. What the settings and history files hold when the window
    // closes now: the run-time writes and the close write the same bytes.
    void Read_Settings();
    bool Save_Settings();
    std::string settingsText() const;
    std::string historyText() const { return address_->history().fileText(); }
    WindowOptions optionsToSave() const;

    // A click on one of the window's own bars runs the entry's command here.
    void cmdBar_Click(int index, Entry& entry) override;

    // The page's events.
    void Web_StatusTextChange(const std::string& text) override { showPageCaption(text); }
    void Web_TitleChange(const std::string& text) override;
    void Web_BeforeNavigate2() override;
    void Web_NavigateComplete2() override { showPageCaption({}); }
    void Web_DocumentComplete() override { showPageCaption({}); }
    void Web_DownloadComplete() override { showPageCaption({}); }
    void Web_NewWindow2(bool& cancel) override;
    void Web_WindowClosing(bool isChildWindow, bool& cancel) override;
    void Web_DownloadBegin(const std::string& downloadFolder, const std::string& suggestedName,
                           std::string& proposedPath) override;
    void Web_PermissionRequest(const std::string& site, WebPermission what, std::function<void(bool)> allow) override;
    void Web_CertificateError(const std::string& site, CertificateProblem problem,
                              std::function<void(bool)> goOn) override;
    // A certificate chosen once for a host in this profile is sent again
    // unasked; otherwise the user chooses while the window can be seen.
    void Web_ClientCertificate(const std::string& host, const std::vector<ClientCertificate>& offered,
                               std::function<void(std::optional<size_t>)> choose) override;
    // The page's own menu runs the window's commands on this window.
    void Web_PageCommand(const std::string& key) override;
    // A new numbered window on the link; refused silently at the limit, as "NEW" is.
    void Web_OpenLinkInNewWindow(const std::string& url) override;
    void Web_LoadEnd(const LoadEnd& end) override;
    bool Web_RendererGone() override;
    std::string Web_PageMenuTitle() override;
    std::vector<MenuChoice> Web_PageMenuChoices() override;
    // The profile submenu.
    std::vector<PageSubmenu> Web_PageSubmenus() override;
    bool Web_FullScreen() const override { return place_.fullScreen(); }
    bool Web_BarsShown() const override { return barsShown_; }

    // Answers, once the page has loaded or the limit has passed: true when
    // the page completed; false on timeout, when there is no document, or
    // when the window began closing meanwhile. Returns at once; the engine
    // goes on loading. Never answers once the window object is gone.
    void WebAttend(std::function<void(bool)> done, int limitMs = kWebAttendLimitMs);

    // What the page commands do to this window.
    // Sends the page to the address and shows it in the address box.
    void navigate(const std::string& url);
    // A command of the standard set on the page; one it cannot do has no effect.
    void execPage(int command);
    void findInPage();
    void findAgain(bool backward);
    void focusAddress();
    // Stopping a page also stops it from trying again.
    void stopPage();
    void SaveAs();
    // The export as a document: landscape ("SAVE:WORDV") or portrait.
    void SaveAsW();
    void setExportLandscape(bool landscape) { state_.exportLandscape = landscape; }
    void ViewSource();
    int zoom() const { return zoom_; }
    // Zooms the page and shows the new zoom in the caption for a moment.
    void setZoom(int percent);
    // Seconds between two refreshes (0 never); kept in the options file.
    void setRefresh(int seconds);
    int refresh() const { return watch_->care().refresh(); }
    // How the page fares: what fails since when, its last good load, its next try.
    PageHealth health() const { return watch_->care().health(); }
    // The network came back: a page waiting to try again tries now.
    void networkBack() { watch_->care().networkBack(); }
    // A show mode raises the window in so many ms.
    void turnComing(int inMs) { watch_->care().turnComing(inMs); }
    // The user can see the window: shown and not minimized.
    bool seen() const;

    // The web profile the page lives in; empty: the shared one.
    const std::string& profile() const { return state_.options.profile; }
    // Makes the view again on the named profile and loads the window's page
    // there. A name that is not valid is refused with a message and changes
    // nothing.
    void useProfile(const std::string& name);
    // Asks for a new profile's name and moves the window to it.
    void newProfile();
    // Removes a profile's files after a question; not one used in this run.
    void removeProfile(const std::string& name);
    // The page became a login page after the window had its own page (or was
    // sent to one): someone has to log in.
    bool loginRequired() const;

    // Full screen: over the window's whole monitor, the page alone. `kept`
    // false is a show mode's turn: the options file does not record it.
    bool fullScreen() const { return place_.fullScreen(); }
    bool fullScreenKept() const { return place_.fullScreenKept(); }
    void setFullScreen(bool on, bool kept = true);
    bool barsShown() const { return barsShown_; }
    void setBarsShown(bool shown);
    // An arrangement's place; it may be narrower than a window the user sizes.
    void arrangeTo(const Rect& place);
    // A monitor came: a window put aside for want of its own goes back to it.
    void Screens_Added();
    // Where the window is, or returns to from full screen.
    Rect normalPlace() const { return place_.normalPlace(); }

    std::string shortCaption() const;
    std::string longCaption(const std::string& text) const;
    // Makes the export's word processor; empty for our own.
    std::function<std::unique_ptr<WordProcessor>()> makeWordProcessor;

    // The window's controls, for its parts and for tests.
    Panel& picBar() { return *picBar_; }
    CommandBarControl& cmdBar(int index) { return *cmdBar_.at(static_cast<size_t>(index)); }
    ComboBox& Text1() { return *text1_; }
    WebView& Web() { return *web_; }
    Label& labCount() { return *labCount_; }
    MarkupBox& txtSource() { return source_->box(); }
    const ImageList& ImageList1() const { return imageList1_; }

private:
    void chooseNumber();
    void buildBarsOnce();
    void makePage();
    void remakePage();
    void placeStrip();
    void setUpBars();
    void openLastPage();
    void applyOptions();
    // The caption for the page's state, or what a waiting retry says.
    void showPageCaption(const std::string& text);
    void checkRefreshChoice();
    void endPeek();
    // What the export needs of the window.
    ExportPage exportPage();
    bool stripShown() const { return peeking_ || (barsShown_ && !place_.fullScreen()); }

    BrowserState state_;
    std::string firstPage_;
    bool closing_ = false;
    // Cleared when the window object goes, so a wait can tell it is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    WindowPlace place_;
    bool barsShown_ = true;
    // The address box shown for Ctrl+L while the bars are hidden.
    bool peeking_ = false;
    int zoom_ = 100;
    std::string zoomCaptionText_;
    std::string waitingShown_;

    // The image list outlives the bars that point to it; the panel outlives
    // the controls inside it; the source view outlives the page, which may
    // still answer it.
    ImageList imageList1_;
    std::unique_ptr<Panel> picBar_;
    std::array<std::unique_ptr<CommandBarControl>, 3> cmdBar_;
    std::unique_ptr<ComboBox> text1_;
    std::unique_ptr<Label> labCount_;
    std::unique_ptr<Timer> zoomCaption_;
    std::unique_ptr<SourceView> source_;
    std::unique_ptr<WebView> web_;
    std::unique_ptr<AddressBox> address_;
    std::unique_ptr<PageWatch> watch_;
    std::unique_ptr<LoginWatch> login_;
};

}  // namespace corvano
