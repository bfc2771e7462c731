#include "browser/frmStart.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/Application.h"
#include "app/Paths.h"
#include "app/TextArgs.h"
#include "app/TextFile.h"
#include "bars/BrowserBars.h"
#include "bars/CommandBars.h"
#include "bars/Commands.h"
#include "browser/AddressCompletion.h"
#include "browser/Arrange.h"
#include "browser/BrowserKeys.h"
#include "browser/BrowserSettings.h"
#include "browser/History.h"
#include "browser/Downloads.h"
#include "browser/NumberChoice.h"
#include "browser/PageCommands.h"
#include "browser/PagePrompts.h"
#include "browser/Placement.h"
#include "browser/ProductUrls.h"
#include "browser/WindowOptions.h"
#include "browser/PageExport.h"
#include "browser/SourceView.h"

namespace corvano {

namespace tf = textfile;

namespace {

constexpr int kMinWidth = 5000;
constexpr int kPicBarHeight = 400;
constexpr int kBar0Width = 3220;  // nine buttons: the refresh interval beside Refresh
constexpr int kBar2Width = 1100;
// How long the caption shows a new zoom.
constexpr int kZoomCaptionMs = 2000;
// A window manager may place a window a pixel or two off what was asked.
constexpr int kPlaceSlack = 45;

size_t utf8Length(const std::string& s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

frmStart::frmStart(Application& app, std::string firstPage)
    : Form(app, WindowRole::Browser), imageList1_(browserImageList()), firstPage_(std::move(firstPage)) {
    history_.onChanged = [this] { showHistory(); };
    picBar_ = window().createPanel();
    auto onClick = [this](int index, Entry& entry) { cmdBar_Click(index, entry); };
    for (int i = 0; i < 3; ++i) cmdBar_[static_cast<size_t>(i)] = picBar_->createCommandBar(i, onClick);
    text1_ = picBar_->createComboBox();
    text1_->onKeyPress = [this](int ch) { return Text1_KeyPress(ch); };
    text1_->onClick = [this] { Text1_Click(); };
    web_ = window().createWebView();
    web_->setVisible(false);
    web_->setEvents(this);
    labCount_ = window().createLabel();
    labCount_->setVisible(false);
    text1_->onEdited = [this](const std::string& text) { Text1_Edited(text); };
    zoomCaption_ = app.platform.createTimer();
    zoomCaption_->setInterval(kZoomCaptionMs);
    zoomCaption_->onTick = [this] {
        zoomCaption_->setEnabled(false);
        if (window().caption() == zoomCaptionText_) window().setCaption(shortCaption());
    };
    txtSource_ = window().createMarkupBox();
    txtSource_->setVisible(false);
    attend_ = app.platform.createTimer();
    attend_->onTick = [this] { attendTick(); };
    PageCare::Window careOf;
    careOf.use = [this] {
        WindowUse use;
        use.keyboardFocus = window().hasKeyboardFocus();
        use.lastInputMs = window().lastInputMs();
        use.dialogOpen = window().dialogOpen();
        use.downloadsOpen = web_->downloadsOpen();
        use.findBarShown = web_->findBarShown();
        use.sourceShown = txtSource_->visible();
        return use;
    };
    careOf.load = [this](const std::string& url) { web_->Navigate(url); };
    careOf.reload = [this] { web_->Refresh2(); };
    careOf.crashPanel = [this] { web_->showCrashPanel(); };
    careOf.waitingChanged = [this] {
        if (closing_ || unloaded()) return;
        // When the wait ends, only the wait's own caption gives way.
        if (care_->waiting() || window().caption() == waitingShown_) showPageCaption({});
    };
    care_ = std::make_unique<PageCare>(app.platform, std::move(careOf));
}

frmStart::~frmStart() {
    *alive_ = false;
    if (web_) web_->setEvents(nullptr);
    if (text1_) {
        text1_->onKeyPress = nullptr;
        text1_->onClick = nullptr;
        text1_->onEdited = nullptr;
    }
    if (zoomCaption_) zoomCaption_->onTick = nullptr;
    history_.onChanged = nullptr;
    if (attend_) attend_->onTick = nullptr;
    care_.reset();
}

void frmStart::Form_Load() {
    AppState& App = app_.App;
    window().setTopmost();
    chooseNumber();
    // A new window starts a new screenshot series and knows no page yet.
    App.screenshotCounter = 0;
    currentAddress_.clear();
    // The settings file is read after the bars exist: its defaults tile below the strip.
    buildBarsOnce();
    Read_Settings();
    options_ = readWindowOptions(optionsFilePath(App.appPath, number_));
    placeStrip();
    Hyst_Read();
    setUpBars();
    place();
    text1_->setLeft(cmdBar(0).width() - 40);
    if (!options_.barsShown) setBarsShown(false);
    if (options_.fullScreen) setFullScreen(true);
    window().setCaption(shortCaption());
    openLastPage();
    applyOptions();
    App.templatePath1 = app_.file("/Template.Doc");
    App.templatePath2 = app_.file("/TemplateH.Doc");
}

// The engine keeps a zoom per page, so it is set once the page is asked for.
void frmStart::applyOptions() {
    zoom_ = options_.zoomPercent;
    if (zoom_ != 100) web_->setZoomPercent(zoom_);
    care_->setRefresh(options_.refreshSeconds);
}

void frmStart::placeStrip() {
    picBar_->setHeight(kPicBarHeight);
    picBar_->setTop(0);
    picBar_->setLeft(20);
    picBar_->setVisible(true);
    text1_->setTop(20);
}

void frmStart::place() {
    const AppState& App = app_.App;
    if (App.windowMode == 2) {
        const Size screen = app_.platform.screenSize();
        window().setGeometry({0, 0, screen.width, screen.height});
        return;
    }
    Rect r{App.winLeft, App.winTop, App.winWidth, App.winHeight};
    if (options_.hasPlace()) {
        // The options file's place has no 16-bit limit and follows its monitor.
        const std::vector<Monitor> monitors = app_.platform.monitors();
        const double tpp = app_.platform.twipsPerPixel();
        const int i = findMonitor(options_.screen, options_.screenRect, monitors, tpp);
        if (i >= 0) {
            r = placeOnMonitor(options_.place, monitors[static_cast<size_t>(i)], tpp);
        } else if (!monitors.empty()) {
            // Its monitor is missing: onto the primary, keeping the record.
            r = placeOnMonitor(options_.place, monitors.front(), tpp);
            away_ = true;
        }
        arrangedWidth_ = r.width;
    }
    // A place saved on other screens is brought back onto today's.
    r = placeOnScreens(r, app_.platform.screens());
    awayPlace_ = r;
    window().setGeometry(r);
}

void frmStart::openLastPage() {
    AppState& App = app_.App;
    // A window opened on a link goes there first, not to its last page.
    if (!firstPage_.empty()) currentAddress_ = std::move(firstPage_);
    if (currentAddress_.empty()) {
        currentAddress_ = urls::kMakerSecondSite;
        App.homeAddress = urls::kMakerSecondSite;
    }
    web_->Navigate(currentAddress_);
    // The control is shown only once it has something to load.
    web_->setVisible(true);
}

void frmStart::chooseNumber() {
    const BrowserNumber choice = chooseBrowserNumber(app_.App);
    number_ = choice.number;
    labCount_->setText(" " + std::to_string(number_));
    if (choice.fresh) {
        // A fresh number starts from defaults, whatever an earlier window left.
        const std::string& path = app_.App.appPath;
        deleteQuietly(optionsFilePath(path, number_));
        deleteQuietly(settingsFilePath(path, number_));
        deleteQuietly(historyFilePath(path, number_));
    }
}

void frmStart::buildBarsOnce() {
    // The collections are process-wide: the first browser window fills them.
    CommandBars& bars = app_.bars;
    if (bars.bar("STANDARD0")) return;
    if (!bars.entry("BACK")) Build_BrowserButtons(app_);
    Build_BrowserBars(app_);
    labelShortcuts(bars, app_.platform);
}

void frmStart::setUpBars() {
    const int style = app_.App.barStyle;
    CommandBarControl& bar0 = cmdBar(0);
    bar0.setBar("STANDARD0");
    bar0.setImageList(&imageList1_);
    bar0.setBarStyle(style);
    bar0.setWidth(kBar0Width);
    bar0.setLeft(0);

    CommandBarControl& bar2 = cmdBar(2);
    bar2.setImageList(&imageList1_);
    bar2.setBar("STANDARD2");
    bar2.setBarStyle(style);
    bar2.setWidth(kBar2Width);

    CommandBarControl& bar1 = cmdBar(1);
    bar1.setBar("STANDARD1");
    bar1.setBarStyle(style);
    bar1.setTop(-10);
    bar1.setLeft(bar0.width());
}

void frmStart::Form_Activate() {
    app_.App.currentBrowser = static_cast<int16_t>(number_);
    checkRefreshChoice();
}

void frmStart::Form_Resize() {
    if (!picBar_ || closing_) return;
    Rect outer = window().geometry();
    // An arranged window may be narrow until the user sizes it.
    const bool arranged = arrangedWidth_ > 0 && outer.width >= arrangedWidth_ - kPlaceSlack;
    if (outer.width < kMinWidth && !fullScreen_ && !arranged) {
        arrangedWidth_ = 0;
        outer.width = kMinWidth;
        window().setGeometry(outer);
        return;
    }
    if (window().state() == WindowState::Minimized) {
        window().setCaption(app_.App.strings[TextId::BrowserCaption]);
        return;
    }
    const int innerWidth = window().scaleWidth();
    const int innerHeight = window().scaleHeight();
    CommandBarControl& bar0 = cmdBar(0);
    CommandBarControl& bar1 = cmdBar(1);
    CommandBarControl& bar2 = cmdBar(2);
    if (!stripShown()) {
        // The page alone, over the whole inner area.
        picBar_->setVisible(false);
        web_->setLeft(0);
        web_->setTop(0);
        web_->setWidth(std::max(0, innerWidth));
        web_->setHeight(std::max(0, innerHeight));
        return;
    }
    picBar_->setVisible(true);
    // Sizes never go below zero on a window whose frame is larger than itself.
    picBar_->setWidth(std::max(0, innerWidth - 20));
    bar1.setWidth(std::max(0, picBar_->width() - bar0.width() - bar2.width() + 150));
    bar2.setLeft(picBar_->width() - bar2.width() + 150);
    text1_->setWidth(std::max(0, bar1.width() - 100));
    text1_->setLeft(bar1.left() + 50);
    web_->setLeft(0);
    web_->setWidth(std::max(0, innerWidth + 10));
    web_->setTop(picBar_->height());
    web_->setHeight(std::max(0, innerHeight - picBar_->height() + 35));
}

void frmStart::Form_KeyDown(int keyCode, int) {
    if (keyCode != keys::F12) return;
    const Size screen = app_.platform.screenSize();
    window().setGeometry({0, 0, screen.width, screen.height});
}

void frmStart::GO_Exit() {
    if (closing_ || unloaded()) return;
    closing_ = true;
    care_->cancel();
    AppState& App = app_.App;
    // A refused write leaves the old file as it was; the window closes anyway.
    std::vector<std::string> failed;
    if (number_ > 0) {
        if (!Hyst_Save()) failed.push_back(historyFilePath(App.appPath, number_));
        if (!Save_Settings()) failed.push_back(settingsFilePath(App.appPath, number_));
        if (!saveWindowOptions(optionsFilePath(App.appPath, number_), optionsToSave()))
            failed.push_back(optionsFilePath(App.appPath, number_));
    }
    deleteQuietly(app_.file("/html.txt"));
    deleteQuietly(app_.file("/doc.txt"));
    if (number_ > 0 && number_ < static_cast<int>(App.browserSlots.size()))
        App.browserSlots[static_cast<size_t>(number_)] = 0;
    if (App.browserCount > 0) --App.browserCount;
    // A file the user has heard of already is not reported again.
    const std::vector<std::string> untold = app_.saveFailures.untold(failed);
    if (untold.empty()) return Unload();
    // The window goes once the user has read why.
    app_.platform.dialogs().message(saveFailureMessage(App.strings[TextId::ExitSaveFailed], untold), "Corvano",
                                    whileLoaded([this] { Unload(); }));
}

void frmStart::CommandGo(int flag) {
    typing_ = false;
    endPeek();
    const std::string typed = text1_->text();
    if (typed.empty()) {
        web_->Navigate(app_.App.newBrowserUrl);
        return;
    }
    const std::string lower = tf::toLower(typed);
    if (!startsWith(lower, "https://") && !startsWith(lower, "ftp://") && !startsWith(lower, "http://"))
        text1_->setText("http://" + typed);
    web_->Navigate2(text1_->text());
    currentAddress_ = text1_->text();
    if (flag == 1 && startsWith(tf::toLower(tf::trimBlanks(currentAddress_)), "http") &&
        utf8Length(currentAddress_) > 8)
        Hyst_Add();
}

void frmStart::Hyst_Read() { history_.assign(readHistoryFile(historyFilePath(app_.App.appPath, number_))); }

void frmStart::Hyst_Add() { history_.add(withoutLineBreaks(currentAddress_)); }

void frmStart::showHistory() {
    // The list follows the history; what the user types in the box stays.
    if (!text1_ || listShows_ == history_.changes()) return;
    listShows_ = history_.changes();
    text1_->clearItems();
    for (const std::string& entry : history_.entries()) text1_->addItem(entry);
}

bool frmStart::Hyst_Save() { return saveHistoryFile(historyFilePath(app_.App.appPath, number_), history()); }

void frmStart::Read_Settings() {
    AppState& App = app_.App;
    const Size screen = app_.platform.screenSize();
    readSettingsFile(settingsFilePath(App.appPath, number_), App, currentAddress_, screen,
                     tilingDefaults(App.browserCount, screen, App.stripHeight));
    loadedTop_ = App.winTop;
    loadedLeft_ = App.winLeft;
}

Rect frmStart::placeToSave() const {
    Rect outer = normalPlace();
    if (!app_.platform.windowPlacesKnown()) {
        outer.top = loadedTop_;
        outer.left = loadedLeft_;
    }
    return outer;
}

bool frmStart::Save_Settings() {
    return saveSettingsFile(settingsFilePath(app_.App.appPath, number_), app_.App, placeToSave(), currentAddress_);
}

std::string frmStart::settingsText() const { return settingsFileText(app_.App, placeToSave(), currentAddress_); }

std::string frmStart::historyText() const { return history_.fileText(); }

void frmStart::cmdBar_Click(int index, Entry& entry) {
    using Run = void (*)(frmStart&);
    struct Handler {
        int index;  // the bar control the click must come from
        Command command;
        Run run;
    };
    // The control ignores what it cannot do (no earlier page, nothing to print).
    static const Handler kHandlers[] = {
        {0, Command::Back, [](frmStart& w) { w.Web().GoBack(); }},
        {0, Command::Forward, [](frmStart& w) { w.Web().GoForward(); }},
        {0, Command::Refresh, [](frmStart& w) { w.Web().Refresh2(); }},
        {0, Command::Print, [](frmStart& w) { w.Web().ExecWB(olecmd::Print, olecmd::OptDoDefault); }},
        {2, Command::Go, [](frmStart& w) { w.CommandGo(1); }},
        {2, Command::Google,
         [](frmStart& w) {
             w.Text1().setText(urls::kGoogle);
             w.CommandGo(0);
         }},
    };
    const std::optional<Command> command = commandOf(entry.key());
    if (!command) return;
    for (const Handler& h : kHandlers)
        if (h.index == index && h.command == *command) return h.run(*this);
}

bool frmStart::Text1_KeyPress(int charCode) {
    if (charCode != keys::Enter) return false;
    CommandGo(1);
    return true;
}

void frmStart::Text1_Click() { CommandGo(0); }

std::string frmStart::shortCaption() const {
    return app_.App.strings[TextId::BrowserCaption] + "  N. " + labCount_->text();
}

std::string frmStart::longCaption(const std::string& text) const { return shortCaption() + " [" + text + "]"; }

void frmStart::showPageCaption(const std::string& text) {
    // While the page waits to try again, its caption says so.
    if (care_ && care_->waiting()) return window().setCaption(waitingShown_ = waitingCaption());
    window().setCaption(text.empty() ? shortCaption() : longCaption(text));
}

void frmStart::Web_StatusTextChange(const std::string& text) { showPageCaption(text); }

void frmStart::Web_TitleChange(const std::string& text) {
    Web_StatusTextChange(text);
    // An error page's own address is not where the window should go next time.
    const std::string url = web_->LocationURL();
    if (!startsWith(tf::toLower(url), "chrome-error:")) currentAddress_ = url;
    // What the user is typing stays: a page whose title keeps changing must
    // not overwrite it. The box shows the page's address once it is left.
    if (typing_ && text1_->hasFocus()) return;
    typing_ = false;
    text1_->setText(currentAddress_);
}

void frmStart::Web_BeforeNavigate2() {
    care_->loadStarted();
    showPageCaption({});
}
void frmStart::Web_NavigateComplete2() { showPageCaption({}); }
void frmStart::Web_DocumentComplete() { showPageCaption({}); }
void frmStart::Web_DownloadComplete() { showPageCaption({}); }

void frmStart::Web_LoadEnd(const LoadEnd& end) {
    if (closing_) return;
    if (end.kind == LoadEnd::Loaded) lastLoadedText_ = app_.platform.timeOfDay(app_.platform.clockMs());
    care_->loadEnded(end);
}

bool frmStart::Web_RendererGone() {
    if (closing_) return false;
    care_->rendererGone();
    return true;
}

std::string frmStart::waitingCaption() const {
    const StringTable& texts = app_.App.strings;
    const std::string last = lastLoadedText_.empty() ? texts[TextId::NotLoadedYet] : lastLoadedText_;
    return longCaption(
        withArgs(texts[TextId::WaitingToRetry], {app_.platform.timeOfDay(care_->nextTryMs()), last}));
}

void frmStart::setRefresh(int seconds) {
    care_->setRefresh(seconds);
    checkRefreshChoice();
}

void frmStart::checkRefreshChoice() {
    // The choices are shared by every window: they show the one in front.
    const int current = care_->refresh();
    for (int choice : kRefreshChoices)
        if (Entry* e = app_.bars.entry(refreshChoiceKey(choice))) e->setChecked(choice == current);
}

std::string frmStart::Web_PageMenuTitle() { return app_.App.strings[TextId::RefreshEvery]; }

std::vector<MenuChoice> frmStart::Web_PageMenuChoices() {
    std::vector<MenuChoice> choices;
    for (int choice : kRefreshChoices)
        choices.push_back({refreshChoiceKey(choice), refreshChoiceText(app_.App.strings, choice),
                           choice == care_->refresh()});
    return choices;
}

void frmStart::Web_NewWindow2(bool& cancel) {
    if (app_.App.lockAdvertising == 1) cancel = true;
}

void frmStart::Web_WindowClosing(bool isChildWindow, bool& cancel) {
    if (!isChildWindow) cancel = true;
}

void frmStart::WebAttend(std::function<void(bool)> done, int limitMs) {
    // One wait at a time: an earlier one still running gives up.
    attendEnd(false);
    attendDone_ = std::move(done);
    attendWaited_ = 0;
    attendLimit_ = limitMs;
    attendBusy_ = true;
    attendAfter(500);
}

void frmStart::attendAfter(int ms) {
    attend_->setEnabled(false);
    attend_->setInterval(ms);
    attend_->setEnabled(true);
}

void frmStart::attendTick() {
    attend_->setEnabled(false);
    attendWaited_ += attend_->interval();
    if (closing_) return attendEnd(false);
    if (attendBusy_ && web_->Busy()) return attendWaited_ >= attendLimit_ ? attendEnd(false) : attendAfter(1000);
    attendBusy_ = false;
    web_->readyState([this](std::optional<std::string> state) {
        if (!state || closing_) return attendEnd(false);
        if (tf::toLower(*state) == "complete") return attendEnd(true);
        if (attendWaited_ >= attendLimit_) return attendEnd(false);
        attendAfter(1000);
    });
}

void frmStart::attendEnd(bool loaded) {
    if (auto done = std::exchange(attendDone_, {})) done(loaded);
}

void frmStart::Form_TextsChanged() {
    if (window().state() == WindowState::Minimized) return window().setCaption(app_.App.strings[TextId::BrowserCaption]);
    showPageCaption(web_->LocationName());
}

bool frmStart::seen() const { return window().visible() && window().state() != WindowState::Minimized; }

void frmStart::Web_DownloadBegin(const std::string& downloadFolder, const std::string& suggestedName,
                                 std::string& proposedPath) {
    if (closing_) return;
    proposedPath = proposeDownloadPath(downloadFolder, suggestedName, fileExists);
}

void frmStart::Web_PermissionRequest(const std::string& site, WebPermission what, std::function<void(bool)> allow) {
    if (closing_) return allow(false);
    answerPermission(app_, seen(), site, what, std::move(allow));
}

void frmStart::Web_CertificateError(const std::string& site, CertificateProblem problem,
                                    std::function<void(bool)> goOn) {
    if (closing_) return goOn(false);
    answerCertificate(app_, seen(), site, problem, std::move(goOn));
}

void frmStart::Web_PageCommand(const std::string& key) {
    if (closing_) return;
    if (const std::optional<int> every = refreshChoiceOf(key)) return setRefresh(*every);
    if (key == "PAGE:FULLSCREEN") return setFullScreen(!fullScreen_);
    if (key == "PAGE:BARS") return setBarsShown(!barsShown_);
    // The page's menu acts on its own window, as the bar's drop-downs act on
    // the window activated last.
    app_.App.currentBrowser = static_cast<int16_t>(number_);
    runPageCommand(app_, key);
}

void frmStart::Web_OpenLinkInNewWindow(const std::string& url) {
    AppState& App = app_.App;
    if (url.empty() || App.browserCount >= App.maxBrowsers) return;
    // A script link means nothing without the page it belongs to.
    if (tf::toLower(url).rfind("javascript:", 0) == 0) return;
    ++App.browserCount;
    frmStart& opened = app_.load<frmStart>(url);
    if (!opened.unloaded()) opened.window().show();
}

}  // namespace corvano

namespace corvano {

void frmStart::Form_Shortcut(Shortcut which) {
    if (closing_ || unloaded()) return;
    // The key was pressed in this window: the page commands act on it.
    Form_Activate();
    if (keyCommand(which)) return runKeyCommand(which);
    switch (which) {
        case Shortcut::FocusAddress:
            if (!stripShown()) {
                peeking_ = true;
                Form_Resize();
            }
            text1_->setFocus();
            text1_->selectAll();
            break;
        case Shortcut::FindNext:
        case Shortcut::FindPrevious: {
            // While the source is shown, the find keys search it, as "EDIT:FINDDOC" does.
            const bool backward = which == Shortcut::FindPrevious;
            txtSource_->visible() ? txtSource_->findAgain(backward) : web_->findAgain(backward);
            break;
        }
        case Shortcut::ReloadBypassingCache: web_->ReloadBypassingCache(); break;
        case Shortcut::Stop:
            // Stopping a page also stops it from trying again.
            care_->cancel();
            web_->Stop();
            endPeek();
            break;
        case Shortcut::FullScreen: setFullScreen(!fullScreen_); break;
        case Shortcut::ToggleBars: setBarsShown(!barsShown_); break;
        case Shortcut::ZoomIn: setZoom(zoomStep(zoom_, 1)); break;
        case Shortcut::ZoomOut: setZoom(zoomStep(zoom_, -1)); break;
        case Shortcut::ZoomReset: setZoom(100); break;
        case Shortcut::CloseWindow: GO_Exit(); break;
        default: break;
    }
}

void frmStart::runKeyCommand(Shortcut which) {
    // The same way a click on the entry goes, so both always do the same.
    const KeyCommand* command = keyCommand(which);
    Entry* entry = command ? app_.bars.entry(commandKey(command->command)) : nullptr;
    if (!entry) return;
    switch (command->barIndex) {
        case 0:
        case 2: cmdBar(command->barIndex).click(*entry); break;
        case 5:
            if (CommandBarControl* host = app_.bars.host()) host->click(*entry);
            break;
        default:
            for (Form* f : app_.openWindows())
                if (f->role() == WindowRole::Main && !f->unloaded()) return f->cmdBar_Click(command->barIndex, *entry);
    }
}

void frmStart::setZoom(int percent) {
    zoom_ = std::clamp(percent, kZoomMin, kZoomMax);
    web_->setZoomPercent(zoom_);
    zoomCaptionText_ = longCaption(app_.App.strings[TextId::Zoom] + " " + std::to_string(zoom_) + " %");
    window().setCaption(zoomCaptionText_);
    zoomCaption_->setEnabled(false);
    zoomCaption_->setEnabled(true);
}

void frmStart::Text1_Edited(const std::string& text) {
    typing_ = true;
    // Inline completion only while typing on, never after a deletion.
    const bool onward = text.size() > lastTyped_.size() && text.compare(0, lastTyped_.size(), lastTyped_) == 0;
    lastTyped_ = text;
    const std::vector<std::string> items = history();
    text1_->offerCompletions(addressCompletions(items, text), onward ? inlineCompletion(items, text) : "");
}

void frmStart::SaveAs() { PageExport(app_, *this).SaveAs(); }
void frmStart::SaveAsW() { PageExport(app_, *this).SaveAsW(); }
void frmStart::ViewSource() { corvano::ViewSource(app_, *this); }

}  // namespace corvano

namespace corvano {

void frmStart::endPeek() {
    if (!peeking_) return;
    peeking_ = false;
    Form_Resize();
}

Rect frmStart::normalPlace() const { return fullScreen_ ? normalPlace_ : window().geometry(); }

bool frmStart::movedSince(const Rect& place) const {
    const Rect now = normalPlace();
    return std::abs(now.left - place.left) > kPlaceSlack || std::abs(now.top - place.top) > kPlaceSlack ||
           std::abs(now.width - place.width) > kPlaceSlack || std::abs(now.height - place.height) > kPlaceSlack;
}

void frmStart::setFullScreen(bool on, bool kept) {
    if (closing_ || unloaded()) return;
    if (on == fullScreen_) {
        // The user's F11 on a show mode's turn keeps it.
        if (on) fullScreenKept_ = fullScreenKept_ || kept;
        return;
    }
    if (on) {
        normalPlace_ = window().geometry();
        std::vector<Rect> screens;
        for (const Monitor& m : app_.platform.monitors()) screens.push_back(m.rect);
        const int i = areaHolding(normalPlace_, screens);
        const Size whole = app_.platform.screenSize();
        const Rect screen = i >= 0 ? screens[static_cast<size_t>(i)] : Rect{0, 0, whole.width, whole.height};
        fullScreen_ = true;
        fullScreenKept_ = kept;
        peeking_ = false;
        window().setFrameless(true);
        window().setGeometry(screen);
    } else {
        fullScreen_ = false;
        window().setFrameless(false);
        window().setGeometry(normalPlace_);
    }
    Form_Resize();
}

void frmStart::setBarsShown(bool shown) {
    barsShown_ = shown;
    peeking_ = false;
    Form_Resize();
}

void frmStart::arrangeTo(const Rect& place) {
    if (closing_ || unloaded()) return;
    if (fullScreen_) setFullScreen(false);
    away_ = false;
    arrangedWidth_ = place.width;
    window().setGeometry(place);
}

void frmStart::Screens_Added() {
    if (!away_ || closing_ || unloaded() || fullScreen_) return;
    if (movedSince(awayPlace_)) {
        away_ = false;
        return;
    }
    const std::vector<Monitor> monitors = app_.platform.monitors();
    const double tpp = app_.platform.twipsPerPixel();
    const int i = findMonitor(options_.screen, options_.screenRect, monitors, tpp);
    if (i < 0) return;
    away_ = false;
    const Rect r = placeOnScreens(placeOnMonitor(options_.place, monitors[static_cast<size_t>(i)], tpp),
                                  app_.platform.screens());
    if (arrangedWidth_ > 0) arrangedWidth_ = r.width;
    window().setGeometry(r);
}

WindowOptions frmStart::optionsToSave() const {
    WindowOptions o = options_;
    o.zoomPercent = zoom_;
    o.refreshSeconds = care_->refresh();
    o.fullScreen = fullScreenKept();
    o.barsShown = barsShown_;
    // Where the window system keeps places to itself, and for a window put
    // aside that has not moved since, the record read stays.
    if (!app_.platform.windowPlacesKnown() || (away_ && !movedSince(awayPlace_))) return o;
    const MonitorPlace mp = monitorPlace(normalPlace(), app_.platform.monitors(), app_.platform.twipsPerPixel());
    o.screen = mp.screen;
    o.screenRect = mp.screenRect;
    o.place = mp.place;
    return o;
}

}  // namespace corvano
