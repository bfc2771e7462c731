#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Form.h"
#include "browser/AddressHistory.h"
#include "browser/PageCare.h"
#include "browser/WindowOptions.h"
#include "bars/ImageList.h"
#include "platform/Container.h"
#include "platform/WordProcessor.h"
#include "platform/Timer.h"

namespace corvano {

class Entry;

// A numbered browser window: its web control, address box, three bars and
// its own settings and history files.
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

    // The browser number held by the window (0 only if none could be had).
    int number() const { return number_; }
    // Saves the history and settings, frees the number, lowers the browser
    // count and unloads the window; runs once whatever asks for it.
    void GO_Exit();

    // Completes the address box's text, navigates to it and, with flag 1,
    // records a qualifying address in the history.
    void CommandGo(int flag);
    void Hyst_Read();
    void Hyst_Add();
    bool Hyst_Save();
    void Read_Settings();
    bool Save_Settings();

    void cmdBar_Click(int index, Entry& entry) override;
    // True when the character is consumed.
    bool Text1_KeyPress(int charCode);
    void Text1_Click();

    void Web_StatusTextChange(const std::string& text) override;
    void Web_TitleChange(const std::string& text) override;
    void Web_BeforeNavigate2() override;
    void Web_NavigateComplete2() override;
    void Web_DocumentComplete() override;
    void Web_DownloadComplete() override;
    void Web_NewWindow2(bool& cancel) override;
    void Web_WindowClosing(bool isChildWindow, bool& cancel) override;

    // Answers, once the page has loaded or the limit has passed: true when
    // the page completed; false on timeout, when there is no document, or
    // when the window began closing meanwhile. Returns at once; the engine
    // goes on loading. Never answers once the window object is gone.
    void WebAttend(std::function<void(bool)> done, int limitMs = kWebAttendLimitMs);

    std::string shortCaption() const;
    std::string longCaption(const std::string& text) const;

    const std::string& currentAddress() const { return currentAddress_; }
    Panel& picBar() { return *picBar_; }
    CommandBarControl& cmdBar(int index) { return *cmdBar_.at(static_cast<size_t>(index)); }
    ComboBox& Text1() { return *text1_; }
    WebView& Web() { return *web_; }
    Label& labCount() { return *labCount_; }
    const ImageList& ImageList1() const { return imageList1_; }
    // The history as the address box lists it and the history file keeps it.
    const std::vector<std::string>& history() const { return history_.entries(); }
    AddressHistory& addressHistory() { return history_; }

    // Page export and source view.
    void SaveAs();
    void SaveAsW();
    void ViewSource();
    MarkupBox& txtSource() { return *txtSource_; }
    // False once the window object is gone: an export's steps check it when
    // an answer comes.
    std::shared_ptr<const bool> aliveToken() const { return alive_; }
    // Makes the export's word processor; empty for our own.
    std::function<std::unique_ptr<WordProcessor>()> makeWordProcessor;
    // Keyboard, zoom and address completion.
    void Form_Shortcut(Shortcut which) override;
    void Text1_Edited(const std::string& text);
    int zoom() const { return zoom_; }
    // Zooms the page and shows the new zoom in the caption for a moment.
    void setZoom(int percent);
    Timer& zoomCaptionTimer() { return *zoomCaption_; }
    // Downloads, permissions, certificates and the page's own menu.
    void Web_DownloadBegin(const std::string& downloadFolder, const std::string& suggestedName,
                           std::string& proposedPath) override;
    void Web_PermissionRequest(const std::string& site, WebPermission what, std::function<void(bool)> allow) override;
    void Web_CertificateError(const std::string& site, CertificateProblem problem,
                              std::function<void(bool)> goOn) override;
    void Web_PageCommand(const std::string& key) override;
    // A new numbered window on the link; refused silently at the limit, as "NEW" is.
    void Web_OpenLinkInNewWindow(const std::string& url) override;
    // The user can see the window: shown and not minimized.
    bool seen() const;

    // Pages that heal themselves and refresh on a timer.
    void Web_LoadEnd(const LoadEnd& end) override;
    bool Web_RendererGone() override;
    std::string Web_PageMenuTitle() override;
    std::vector<MenuChoice> Web_PageMenuChoices() override;
    // Seconds between two refreshes (0 never); kept in the options file.
    void setRefresh(int seconds);
    int refresh() const { return care_->refresh(); }
    // The network came back: a page waiting to try again tries now.
    void networkBack() { care_->networkBack(); }
    // A show mode raises the window in so many ms.
    void turnComing(int inMs) { care_->turnComing(inMs); }
    PageCare& pageCare() { return *care_; }

private:
    void chooseNumber();
    void buildBarsOnce();
    void placeStrip();
    void setUpBars();
    void place();
    void openLastPage();
    void applyOptions();
    // The caption for the page's state, or what a waiting retry says.
    void showPageCaption(const std::string& text);
    std::string waitingCaption() const;
    void checkRefreshChoice();
    std::unique_ptr<PageCare> care_;
    std::string lastLoadedText_;
    std::string waitingShown_;

    // The image list outlives the bars that point to it; the panel outlives
    // the controls inside it.
    ImageList imageList1_;
    std::unique_ptr<Panel> picBar_;
    std::array<std::unique_ptr<CommandBarControl>, 3> cmdBar_;
    std::unique_ptr<ComboBox> text1_;
    std::unique_ptr<WebView> web_;
    std::unique_ptr<Label> labCount_;

    int number_ = 0;
    std::string currentAddress_;
    std::string firstPage_;
    AddressHistory history_;
    // The history's change count the address box's list shows.
    uint64_t listShows_ = ~uint64_t{0};
    void showHistory();
    // The user has typed in the address box since it was last set or sent.
    bool typing_ = false;
    // The place read at load: kept in the files where the window system does
    // not say where windows are.
    int16_t loadedTop_ = 0;
    int16_t loadedLeft_ = 0;
    Rect placeToSave() const;
    bool closing_ = false;
    // Cleared when the window object goes, so a wait can tell it is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

    // Over the page, so created after it.
    std::unique_ptr<MarkupBox> txtSource_;
    // WebAttend's wait: one step at a time on the window's own timer.
    void attendAfter(int ms);
    void attendTick();
    void attendEnd(bool loaded);
    std::unique_ptr<Timer> attend_;
    std::function<void(bool)> attendDone_;
    int attendWaited_ = 0;
    int attendLimit_ = 0;
    bool attendBusy_ = true;
    // Keyboard, zoom and address completion.
    void runKeyCommand(Shortcut which);
    int zoom_ = 100;
    std::string zoomCaptionText_;
    std::unique_ptr<Timer> zoomCaption_;
    std::string lastTyped_;
    // A new language: the caption takes the new word for "browser".
public:
    // Full screen: over the window's whole monitor, the page alone. `kept`
    // false is a show mode's turn: the options file does not record it.
    bool fullScreen() const { return fullScreen_; }
    bool fullScreenKept() const { return fullScreen_ && fullScreenKept_; }
    void setFullScreen(bool on, bool kept = true);
    bool barsShown() const { return barsShown_; }
    void setBarsShown(bool shown);
    // An arrangement's place; it may be narrower than a window the user sizes.
    void arrangeTo(const Rect& place);
    // A monitor came: a window put aside for want of its own goes back to it,
    // unless it was moved since.
    void Screens_Added();
    // Where the window is, or returns to from full screen.
    Rect normalPlace() const;
    WindowOptions optionsToSave() const;
    bool Web_FullScreen() const override { return fullScreen_; }
    bool Web_BarsShown() const override { return barsShown_; }

private:
    WindowOptions options_;
    bool fullScreen_ = false;
    bool fullScreenKept_ = true;
    bool barsShown_ = true;
    // The address box shown for Ctrl+L while the bars are hidden.
    bool peeking_ = false;
    bool stripShown() const { return peeking_ || (barsShown_ && !fullScreen_); }
    void endPeek();
    Rect normalPlace_;
    // The width an arrangement or a restored arrangement gave; 0: none.
    int arrangedWidth_ = 0;
    // Put on the primary monitor because its own was missing, at awayPlace_.
    bool away_ = false;
    Rect awayPlace_;
    bool movedSince(const Rect& place) const;

public:
    void Form_TextsChanged() override;
public:
    // What the settings and history files hold when the window closes now:
    // the run-time writes and the close write the same bytes.
    std::string settingsText() const;
    std::string historyText() const;
    bool closing() const { return closing_; }
};

}  // namespace corvano
