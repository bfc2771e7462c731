#include "browser/frmStart.h"

#include <algorithm>
#include <set>
#include <utility>

#include "app/Application.h"
#include "app/Paths.h"
#include "app/TextFile.h"
#include "bars/BrowserBars.h"
#include "platform/CommandBars.h"
#include "browser/BrowserKeys.h"
#include "browser/CertificateChoices.h"
#include "browser/Downloads.h"
#include "browser/History.h"
#include "browser/NumberChoice.h"
#include "browser/PageCommands.h"
#include "browser/PagePrompts.h"
#include "browser/ProductUrls.h"
#include "browser/Profiles.h"
#include "browser/WindowOptions.h"

namespace corvano {

namespace {

constexpr int kMinWidth = 5000;
constexpr int kPicBarHeight = 400;
constexpr int kBar0Width = 3220;  // nine buttons: the refresh interval beside Refresh
constexpr int kBar2Width = 1100;
// How long the caption shows a new zoom.
constexpr int kZoomCaptionMs = 2000;

}  // namespace

frmStart::frmStart(Application& app, std::string firstPage)
    : Form(app, WindowRole::Browser),
      firstPage_(std::move(firstPage)),
      place_(window(), app.platform),
      imageList1_(browserImageList()) {
    picBar_ = window().createPanel();
    auto onClick = [this](int index, Entry& entry) { cmdBar_Click(index, entry); };
    for (int i = 0; i < 3; ++i) cmdBar_[static_cast<size_t>(i)] = picBar_->createCommandBar(i, onClick);
    text1_ = picBar_->createComboBox();
    text1_->onKeyPress = [this](int ch) { return Text1_KeyPress(ch); };
    text1_->onClick = [this] { Text1_Click(); };
    text1_->onEdited = [this](const std::string& text) { Text1_Edited(text); };
    labCount_ = window().createLabel();
    labCount_->setVisible(false);
    zoomCaption_ = app.platform.createTimer();
    zoomCaption_->setInterval(kZoomCaptionMs);
    zoomCaption_->onTick = [this] {
        zoomCaption_->setEnabled(false);
        if (window().caption() == zoomCaptionText_) window().setCaption(shortCaption());
    };
}

frmStart::~frmStart() {
    *alive_ = false;
    app_.browsers.remove(state_.number, *this);
    login_.reset();
    watch_.reset();
    address_.reset();
    if (web_) web_->setEvents(nullptr);
    text1_->onKeyPress = nullptr;
    text1_->onClick = nullptr;
    text1_->onEdited = nullptr;
    zoomCaption_->onTick = nullptr;
}

void frmStart::Form_Load() {
    AppState& App = app_.App;
    window().setTopmost();
    chooseNumber();
    // A new window starts a new screenshot series and knows no page yet.
    App.screenshotCounter = 0;
    state_.currentAddress.clear();
    // The settings file is read after the bars exist: its defaults tile below the strip.
    buildBarsOnce();
    Read_Settings();
    state_.options = readWindowOptions(optionsFilePath(App.appPath, state_.number));
    makePage();
    placeStrip();
    Hyst_Read();
    setUpBars();
    place_.placeAtLoad(state_.settings, state_.options);
    text1_->setLeft(cmdBar(0).width() - 40);
    if (!state_.options.barsShown) setBarsShown(false);
    if (state_.options.fullScreen) setFullScreen(true);
    window().setCaption(shortCaption());
    openLastPage();
    applyOptions();
    state_.templatePath1 = app_.file("/Template.Doc");
    state_.templatePath2 = app_.file("/TemplateH.Doc");
    if (state_.number > 0) app_.browsers.add(state_.number, *this);
    app_.windowChanged(state_.number);
}

// The page is made once the window's options are known, on the profile it uses.
void frmStart::makePage() {
    const std::string& name = state_.options.profile;
    if (!name.empty()) app_.App.profilesUsed.insert(name);
    web_ = window().createWebView(WebProfile{name, profileFolder(app_.App.appPath, name)});
    web_->setVisible(false);
    web_->setEvents(this);
    // Over the page, so made after it.
    source_ = std::make_unique<SourceView>(window().createMarkupBox());
    address_ = std::make_unique<AddressBox>(*text1_, *web_, state_.currentAddress);
    PageCare::Window careOf;
    careOf.use = [this] {
        WindowUse use;
        use.keyboardFocus = window().hasKeyboardFocus();
        use.lastInputMs = window().lastInputMs();
        use.dialogOpen = window().dialogOpen();
        use.downloadsOpen = web_->downloadsOpen();
        use.findBarShown = web_->findBarShown();
        use.sourceShown = source_->box().visible();
        return use;
    };
    careOf.load = [this](const std::string& url) { web_->Navigate(url); };
    careOf.reload = [this] { web_->Refresh2(); };
    careOf.crashPanel = [this] { web_->showCrashPanel(); };
    careOf.waitingChanged = [this] {
        if (closing_ || unloaded()) return;
        // When the wait ends, only the wait's own caption gives way.
        if (watch_->care().waiting() || window().caption() == waitingShown_) showPageCaption({});
        app_.windowChanged(state_.number);
    };
    careOf.healthChanged = [this] {
        if (!closing_) app_.windowChanged(state_.number);
    };
    watch_ = std::make_unique<PageWatch>(app_.platform, *web_, std::move(careOf));
    login_ = std::make_unique<LoginWatch>(app_.platform, *web_, [this] {
        if (closing_ || unloaded()) return;
        showPageCaption({});
        app_.windowChanged(state_.number);
    });
}

// A page cannot change its profile: the view is made again on the new one,
// with the window's address, history, zoom and refresh as they were.
void frmStart::remakePage() {
    const std::vector<std::string> kept = history();
    const int zoom = zoom_;
    const int refresh = watch_->care().refresh();
    login_.reset();
    watch_.reset();
    address_.reset();
    web_->setEvents(nullptr);
    web_.reset();
    source_.reset();
    makePage();
    address_->history().assign(kept);
    Form_Resize();
    web_->Navigate(state_.currentAddress);
    web_->setVisible(true);
    // What the user set since the window opened, not what it opened with.
    zoom_ = zoom;
    if (zoom_ != 100) web_->setZoomPercent(zoom_);
    watch_->care().setRefresh(refresh);
    showPageCaption({});
}

bool frmStart::loginRequired() const { return login_ && login_->loginRequired(); }

void frmStart::useProfile(const std::string& name) {
    if (closing_ || unloaded()) return;
    const StringTable& t = app_.App.strings;
    if (!name.empty() && !validProfileName(name))
        return app_.platform.dialogs().warning(t[TextId::ProfileNameRefused], t[TextId::Profile]);
    if (name == state_.options.profile) return;
    state_.options.profile = name;
    remakePage();
    // Kept at once: the new profile is the window's even if Corvano is killed now.
    saveWindowOptions(optionsFilePath(app_.App.appPath, state_.number), optionsToSave());
}

void frmStart::newProfile() {
    const StringTable& t = app_.App.strings;
    app_.platform.dialogs().input(t[TextId::ProfileNewPrompt], t[TextId::Profile],
                                  whileLoaded([this](std::optional<std::string> answer) {
                                      if (!answer) return;
                                      const std::string name = textfile::trimBlanks(*answer);
                                      // An empty answer is no name, not the shared profile.
                                      if (!validProfileName(name)) {
                                          const StringTable& texts = app_.App.strings;
                                          return app_.platform.dialogs().warning(texts[TextId::ProfileNameRefused],
                                                                                 texts[TextId::Profile]);
                                      }
                                      useProfile(name);
                                  }));
}

void frmStart::removeProfile(const std::string& name) {
    const StringTable& t = app_.App.strings;
    if (!validProfileName(name)) return app_.platform.dialogs().warning(t[TextId::ProfileNameRefused], t[TextId::Profile]);
    // Its engine profile may still hold its files open.
    if (app_.App.profilesUsed.count(name))
        return app_.platform.dialogs().message(fillIn(t[TextId::ProfileInUse], name), t[TextId::Profile]);
    const std::string appPath = app_.App.appPath;
    Platform& platform = app_.platform;
    platform.dialogs().confirm(fillIn(t[TextId::ProfileRemoveQuestion], name), t[TextId::Profile],
                               [&platform, &t, appPath, name](bool yes) {
                                   if (!yes) return;
                                   if (!removeProfileFiles(appPath, name))
                                       platform.dialogs().warning(fillIn(t[TextId::ProfileNotRemoved], name),
                                                                  t[TextId::Profile]);
                               });
}

std::vector<PageSubmenu> frmStart::Web_PageSubmenus() {
    const StringTable& t = app_.App.strings;
    std::set<std::string> inUse;
    for (Form* f : app_.openWindows())
        if (f->role() == WindowRole::Browser && !f->unloaded()) inUse.insert(static_cast<frmStart*>(f)->profile());
    PageSubmenu menu{"profile", t[TextId::Profile], {}};
    const std::string& own = state_.options.profile;
    menu.choices.push_back({"PAGE:SHAREDPROFILE", t[TextId::ProfileShared], own.empty()});
    const std::vector<std::string> names = profilesKnown(app_.App.appPath, inUse);
    for (const std::string& n : names) menu.choices.push_back({"PAGE:PROFILE=" + n, n, n == own});
    menu.choices.push_back({"", "", false, false});
    menu.choices.push_back({"PAGE:NEWPROFILE", t[TextId::ProfileNew], false, false});
    // Only a profile no window has used in this run: the engine holds the others' files.
    bool separated = false;
    for (const std::string& n : names) {
        if (app_.App.profilesUsed.count(n) || inUse.count(n)) continue;
        if (!std::exchange(separated, true)) menu.choices.push_back({"", "", false, false});
        menu.choices.push_back({"PAGE:REMOVEPROFILE=" + n, fillIn(t[TextId::ProfileRemove], n), false, false});
    }
    return {menu};
}

// The engine keeps a zoom per page, so it is set once the page is asked for.
void frmStart::applyOptions() {
    zoom_ = state_.options.zoomPercent;
    if (zoom_ != 100) web_->setZoomPercent(zoom_);
    watch_->care().setRefresh(state_.options.refreshSeconds);
}

void frmStart::placeStrip() {
    picBar_->setHeight(kPicBarHeight);
    picBar_->setTop(0);
    picBar_->setLeft(20);
    picBar_->setVisible(true);
    text1_->setTop(20);
}

void frmStart::openLastPage() {
    // A window opened on a link goes there first, not to its last page.
    if (!firstPage_.empty()) state_.currentAddress = std::move(firstPage_);
    if (state_.currentAddress.empty()) {
        state_.currentAddress = urls::kMakerSecondSite;
        state_.settings.homeAddress = urls::kMakerSecondSite;
    }
    web_->Navigate(state_.currentAddress);
    // The control is shown only once it has something to load.
    web_->setVisible(true);
}

void frmStart::chooseNumber() {
    const BrowserNumber choice = chooseBrowserNumber(app_.App);
    state_.number = choice.number;
    labCount_->setText(" " + std::to_string(state_.number));
    if (choice.fresh) {
        // A fresh number starts from defaults, whatever an earlier window left.
        const std::string& path = app_.App.appPath;
        deleteQuietly(optionsFilePath(path, state_.number));
        deleteQuietly(settingsFilePath(path, state_.number));
        deleteQuietly(historyFilePath(path, state_.number));
    }
}

void frmStart::buildBarsOnce() {
    // The collections and the commands are process-wide: the first browser window fills them.
    CommandBars& bars = app_.bars;
    if (!app_.commands.has("BACK")) registerPageCommands(app_);
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
    app_.App.currentBrowser = static_cast<int16_t>(state_.number);
    checkRefreshChoice();
}

void frmStart::Form_Resize() {
    if (!web_ || closing_) return;
    Rect outer = window().geometry();
    // An arranged window may be narrow until the user sizes it.
    if (outer.width < kMinWidth && !place_.mayBeNarrow(outer.width)) {
        place_.forgetArrangement();
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
    if (!stripShown()) {
        // The page alone, over the whole inner area.
        picBar_->setVisible(false);
        web_->setLeft(0);
        web_->setTop(0);
        web_->setWidth(std::max(0, innerWidth));
        web_->setHeight(std::max(0, innerHeight));
        return;
    }
    CommandBarControl& bar0 = cmdBar(0);
    CommandBarControl& bar1 = cmdBar(1);
    CommandBarControl& bar2 = cmdBar(2);
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
    if (keyCode == keys::F12) place_.coverScreen();
}

void frmStart::GO_Exit() {
    if (closing_ || unloaded()) return;
    closing_ = true;
    // Nothing more is tried; a wait for the page now ends at its bound.
    if (watch_) watch_->care().cancel();
    AppState& App = app_.App;
    const int number = state_.number;
    app_.browsers.remove(number, *this);
    app_.windowChanged(number);
    // A refused write leaves the old file as it was; the window closes anyway.
    std::vector<std::string> failed;
    if (number > 0) {
        if (!Hyst_Save()) failed.push_back(historyFilePath(App.appPath, number));
        if (!Save_Settings()) failed.push_back(settingsFilePath(App.appPath, number));
        if (!saveWindowOptions(optionsFilePath(App.appPath, number), optionsToSave()))
            failed.push_back(optionsFilePath(App.appPath, number));
    }
    deleteQuietly(app_.file("/html.txt"));
    deleteQuietly(app_.file("/doc.txt"));
    if (number > 0 && number < static_cast<int>(App.browserSlots.size())) App.browserSlots[static_cast<size_t>(number)] = 0;
    if (App.browserCount > 0) --App.browserCount;
    // A file the user has heard of already is not reported again.
    const std::vector<std::string> untold = app_.saveFailures.untold(failed);
    if (untold.empty()) return Unload();
    // The window goes once the user has read why.
    app_.platform.dialogs().message(saveFailureMessage(App.strings[TextId::ExitSaveFailed], untold), "Corvano",
                                    whileLoaded([this] { Unload(); }));
}

void frmStart::CommandGo(int flag) {
    endPeek();
    address_->CommandGo(flag, app_.App.newBrowserUrl);
}

bool frmStart::Text1_KeyPress(int charCode) {
    if (charCode != keys::Enter) return false;
    CommandGo(1);
    return true;
}

void frmStart::Hyst_Read() {
    address_->history().assign(readHistoryFile(historyFilePath(app_.App.appPath, state_.number)));
}

bool frmStart::Hyst_Save() { return saveHistoryFile(historyFilePath(app_.App.appPath, state_.number), history()); }

void frmStart::Read_Settings() {
    AppState& App = app_.App;
    const Size screen = app_.platform.screenSize();
    readSettingsFile(settingsFilePath(App.appPath, state_.number), state_.settings, state_.currentAddress, screen,
                     tilingDefaults(App.browserCount, screen, App.stripHeight));
}

bool frmStart::Save_Settings() {
    return textfile::writeAtomic(settingsFilePath(app_.App.appPath, state_.number), settingsText());
}

std::string frmStart::settingsText() const {
    return settingsFileText(state_.settings, place_.placeToSave(state_.settings), state_.currentAddress);
}

WindowOptions frmStart::optionsToSave() const {
    WindowOptions o = state_.options;
    o.zoomPercent = zoom_;
    o.refreshSeconds = watch_->care().refresh();
    o.fullScreen = place_.fullScreenKept();
    o.barsShown = barsShown_;
    place_.recordInto(o);
    return o;
}

void frmStart::cmdBar_Click(int index, Entry& entry) {
    // The window's own bars run their commands on this window.
    const CommandRegistry::Command* command = app_.commands.find(entry.key());
    if (command && command->bar == index) app_.commands.run(command->name, onWindow(state_.number));
}

std::string frmStart::shortCaption() const {
    return app_.App.strings[TextId::BrowserCaption] + "  N. " + labCount_->text();
}

std::string frmStart::longCaption(const std::string& text) const { return shortCaption() + " [" + text + "]"; }

void frmStart::showPageCaption(const std::string& text) {
    // While the page waits to try again, its caption says so.
    const std::string waiting = watch_ ? watch_->waitingText(app_.App.strings) : std::string();
    if (!waiting.empty()) return window().setCaption(waitingShown_ = longCaption(waiting));
    // Until someone logs in, the caption says so whatever the page shows.
    if (loginRequired()) return window().setCaption(longCaption(app_.App.strings[TextId::LoginRequired]));
    window().setCaption(text.empty() ? shortCaption() : longCaption(text));
}

void frmStart::Web_TitleChange(const std::string& text) {
    Web_StatusTextChange(text);
    // An error page's own address is not where the window should go next time,
    // nor a login page a site sent the window on to: after a restart the wall
    // should ask for its own page again, not for the login form.
    const std::string shown = web_->LocationURL();
    const bool sentToLogin = namesLogin(shown) && !state_.currentAddress.empty() && !namesLogin(state_.currentAddress);
    if (!web_->errorPageShown() && !sentToLogin) state_.currentAddress = shown;
    address_->pageAddressChanged();
    app_.windowChanged(state_.number);
}

void frmStart::Web_BeforeNavigate2() {
    watch_->loadStarted();
    login_->loadStarted(web_->LocationURL());
    showPageCaption({});
}

void frmStart::Web_LoadEnd(const LoadEnd& end) {
    if (closing_) return;
    watch_->loadEnded(end);
    login_->loadEnded(end);
}

bool frmStart::Web_RendererGone() {
    if (closing_) return false;
    watch_->care().rendererGone();
    return true;
}

void frmStart::WebAttend(std::function<void(bool)> done, int limitMs) {
    if (closing_) return done(false);
    watch_->attend(std::move(done), limitMs);
}

void frmStart::setRefresh(int seconds) {
    watch_->care().setRefresh(seconds);
    checkRefreshChoice();
}

void frmStart::checkRefreshChoice() {
    if (!watch_) return;
    // The choices are shared by every window: they show the one in front.
    const int current = watch_->care().refresh();
    for (int choice : kRefreshChoices)
        if (Entry* e = app_.bars.entry(refreshChoiceKey(choice))) e->setChecked(choice == current);
}

std::string frmStart::Web_PageMenuTitle() { return app_.App.strings[TextId::RefreshEvery]; }

std::vector<MenuChoice> frmStart::Web_PageMenuChoices() {
    std::vector<MenuChoice> choices;
    for (int choice : kRefreshChoices)
        choices.push_back({refreshChoiceKey(choice), refreshChoiceText(app_.App.strings, choice),
                           choice == watch_->care().refresh()});
    return choices;
}

void frmStart::Web_NewWindow2(bool& cancel) {
    if (app_.App.lockAdvertising == 1) cancel = true;
}

void frmStart::Web_WindowClosing(bool isChildWindow, bool& cancel) {
    if (!isChildWindow) cancel = true;
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

void frmStart::Web_ClientCertificate(const std::string& host, const std::vector<ClientCertificate>& offered,
                                     std::function<void(std::optional<size_t>)> choose) {
    const std::string file = app_.file("/Data/Corvano.Certs");
    const std::string profile = state_.options.profile;
    if (const auto kept = rememberedCertificate(file, profile, host))
        for (size_t i = 0; i < offered.size(); ++i)
            if (offered[i].fingerprint == *kept) return choose(i);
    // Nobody to ask on a wall left alone, as with a site's permissions.
    if (closing_ || offered.empty() || !seen() || app_.App.showModeOn) return choose(std::nullopt);
    const StringTable& t = app_.App.strings;
    std::vector<std::string> names;
    std::vector<std::string> fingerprints;
    for (const ClientCertificate& c : offered) {
        names.push_back(c.name);
        fingerprints.push_back(c.fingerprint);
    }
    app_.platform.dialogs().choose(
        fillIn(t[TextId::ClientCertificateQuestion], host), t[TextId::ClientCertificateTitle], names,
        [file, profile, host, fingerprints, choose](std::optional<size_t> chosen) {
            if (chosen && *chosen < fingerprints.size()) {
                rememberCertificate(file, profile, host, fingerprints[*chosen]);
                return choose(chosen);
            }
            choose(std::nullopt);
        });
}

void frmStart::Web_PageCommand(const std::string& key) {
    if (closing_) return;
    // The page's menu acts on its own window, as the bar's drop-downs act on
    // the window activated last.
    app_.App.currentBrowser = static_cast<int16_t>(state_.number);
    CommandCall call = onWindow(state_.number);
    // "PAGE:PROFILE=NAME": a command and the text it takes.
    const size_t eq = key.find('=');
    if (eq != std::string::npos) call.address = key.substr(eq + 1);
    app_.commands.run(key.substr(0, eq), call);
}

void frmStart::Web_OpenLinkInNewWindow(const std::string& url) {
    // A script link means nothing without the page it belongs to.
    if (url.empty() || textfile::toLower(url).rfind("javascript:", 0) == 0) return;
    openBrowserWindow(app_, url);
}

void frmStart::Form_Shortcut(Shortcut which) {
    if (closing_ || unloaded()) return;
    // The key was pressed in this window: the page commands act on it.
    Form_Activate();
    app_.commands.run(keyCommandName(which), onWindow(state_.number));
}

void frmStart::endPeek() {
    if (!peeking_) return;
    peeking_ = false;
    Form_Resize();
}

void frmStart::setFullScreen(bool on, bool kept) {
    if (closing_ || unloaded()) return;
    if (on && on != place_.fullScreen()) peeking_ = false;
    if (place_.setFullScreen(on, kept)) Form_Resize();
}

void frmStart::setBarsShown(bool shown) {
    barsShown_ = shown;
    peeking_ = false;
    Form_Resize();
}

void frmStart::arrangeTo(const Rect& place) {
    if (closing_ || unloaded()) return;
    if (place_.fullScreen()) setFullScreen(false);
    place_.arrangeTo(place);
}

void frmStart::Screens_Added() {
    if (!closing_ && !unloaded()) place_.screensAdded(state_.options);
}

}  // namespace corvano
