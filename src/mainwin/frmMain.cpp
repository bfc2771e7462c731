#include "mainwin/frmMain.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "about/frmAbout.h"
#include "app/Application.h"
#include "app/IniSettings.h"
#include "app/LangFile.h"
#include "app/Paths.h"
#include "app/TextArgs.h"
#include "app/TextFile.h"
#include "bars/Captions.h"
#include "bars/Commands.h"
#include "platform/CommandBars.h"
#include "bars/MainBars.h"
#include "browser/BrowserKeys.h"
#include "browser/Arrange.h"
#include "browser/BrowserSettings.h"
#include "browser/History.h"
#include "browser/PageCommands.h"
#include "browser/WindowOptions.h"
#include "browser/frmStart.h"
#include "langedit/frmLang.h"
#include "mainwin/MainCommands.h"
#include "mainwin/Screenshot.h"

namespace corvano {

namespace {
constexpr int kDockHeight = 395;
constexpr int kCornerWidth = 1960;
constexpr int kReopenMs = 800;
constexpr int kRotationMs = 30000;
// The entry of each bar style, by its value.
constexpr Command kStyles[] = {Command::StyleSystem, Command::StyleOffice, Command::StyleMoney, Command::StyleXp};
}  // namespace

frmMain::frmMain(Application& app) : Form(app, WindowRole::Main) {
    window().setCaption("Corvano");
    dock1_ = window().createPanel();
    dock1_->setHeight(kDockHeight);
    app.App.stripHeight = kDockHeight;
    timer1_ = app.platform.createTimer();
    timer1_->onTick = [this] { Timer1_Timer(); };
    timer2_ = app.platform.createTimer();
    timer2_->onTick = [this] { Timer2_Timer(); };
}

frmMain::~frmMain() {
    app_.platform.onEndRequest = nullptr;
    app_.platform.onRaiseRequest = nullptr;
    app_.platform.onNetworkBack = nullptr;
    app_.platform.onScreenAdded = nullptr;
    if (app_.bars.dropDownHost == cmdBar(5)) app_.bars.dropDownHost = nullptr;
    app_.bars.newInstanceRequest = nullptr;
}

void frmMain::Form_Load() {
    setLimits();
    createFolderQuietly(app_.file("/Data"));
    readGlobalSettings();
    coverScreen();
    showBackground();
    readLanguage();
    // The first browser window builds the browser bars in its load, so it is
    // loaded after the main bars and before the captions are assigned.
    imageList1_ = mainImageList();
    Build_MainButtons(app_);
    Build_MainBars(app_);
    if (!app_.commands.has(commandKey(Command::New))) registerWallCommands(app_);
    frmStart& first = loadBrowserWindow();
    // The language editor waits hidden, right after the first browser window.
    app_.load<frmLang>();
    Set_Captions(app_);
    setUpBars();
    if (!first.unloaded()) first.window().show();
    startReopening();
    timer2_->setInterval(kRotationMs);
    keepSessionCurrent();
    if (!app_.platform.windowPlacesKnown()) {
        // Once a run: the places stored earlier are kept, new ones are not learnt.
        Application& app = app_;
        app_.platform.post([&app] {
            const frmMain* main = mainForm(app);
            if (main && !main->exiting()) app.platform.dialogs().message(app.App.strings[TextId::WindowPlacesUnknown], "Corvano");
        });
    }
}

void frmMain::setLimits() {
    AppState& App = app_.App;
    App.maxBrowsers = 20;
    App.dimOpacity = 205;
    App.fullOpacity = 255;
}

void frmMain::readGlobalSettings() {
    AppState& App = app_.App;
    Read_IniSetting(App);
    if (App.browserCount > App.maxBrowsers) App.browserCount = 1;
    if (App.browserCount == 0) {
        // A fresh start: window 1 begins from defaults.
        App.browserSlots[1] = 1;
        App.browserCount = 1;
        deleteQuietly(app_.file("/Data/Corvano1.Opt"));
        deleteQuietly(app_.file("/Data/Corvano1.Ini"));
    }
    // The first window opens now; the others are reopened one by one.
    App.reopenCount = App.browserCount;
    App.browserCount = 1;
}

void frmMain::coverScreen() {
    const Size screen = app_.platform.screenSize();
    dock1_->setTop(0);
    dock1_->setLeft(0);
    window().setGeometry({0, 0, screen.width, screen.height});
    dock1_->setWidth(screen.width);
}

void frmMain::showBackground() {
    const std::string picture = app_.file("/Corvano.jpg");
    if (!fileExists(picture) || !window().setBackgroundPicture(picture)) window().setBackgroundColor(140, 170, 228);
}

void frmMain::readLanguage() {
    AppState& App = app_.App;
    // A language whose file is gone falls back to English rather than blank captions.
    if (!Read_CFG(App) && App.language != "english") {
        App.language = "english";
        Read_CFG(App);
    }
}

void frmMain::startReopening() {
    AppState& App = app_.App;
    if (App.reopenCount > 1) {
        App.browserCount = 2;
        timer1_->setInterval(kReopenMs);
        timer1_->setEnabled(true);
    }
}

void frmMain::setUpBars() {
    AppState& App = app_.App;
    auto make = [this](int index) {
        // The bars sit in the strip: their positions are relative to it.
        auto control = dock1_->createCommandBar(index, [this](int i, Entry& e) { cmdBar_Click(i, e); });
        CommandBarControl& ref = *control;
        cmdBar_[index] = std::move(control);
        return &ref;
    };
    app_.bars.newInstanceRequest = [this] { return newInstanceRequest(); };
    const int clientWidth = window().scaleWidth();
    CommandBarControl* corner = make(4);
    corner->setImageList(&imageList1_);
    corner->setBar("STANDARD4");
    corner->setBarStyle(App.barStyle);
    corner->setWidth(kCornerWidth);
    corner->setTop(20);
    corner->setLeft(clientWidth - kCornerWidth - 20);

    CommandBarControl* main = make(3);
    main->setBar("STANDARD3");
    main->setImageList(&imageList1_);
    main->setBarStyle(App.barStyle);
    main->setWidth(clientWidth - corner->width());
    main->setTop(20);
    main->setLeft(20);

    if (App.barStyle >= 0 && App.barStyle < static_cast<int>(std::size(kStyles)))
        if (Entry* e = app_.bars.entry(commandKey(kStyles[App.barStyle]))) e->setChecked(true);
}

CommandBarControl* frmMain::cmdBar(int index) const {
    auto it = cmdBar_.find(index);
    return it == cmdBar_.end() ? nullptr : it->second.get();
}

CommandBarControl* frmMain::newInstanceRequest() {
    const int index = cmdBar_.empty() ? 5 : std::max(5, cmdBar_.rbegin()->first + 1);
    auto control = dock1_->createCommandBar(index, [this](int i, Entry& e) { cmdBar_Click(i, e); });
    control->setVisible(false);
    control->setImageList(&imageList1_);
    control->setBarStyle(app_.App.barStyle);
    CommandBarControl* ref = control.get();
    cmdBar_[index] = std::move(control);
    return ref;
}

frmStart& frmMain::loadBrowserWindow() { return app_.load<frmStart>(); }

void frmMain::Timer1_Timer() {
    AppState& App = app_.App;
    loadBrowserWindow().window().show();
    if (App.browserCount == App.reopenCount)
        timer1_->setEnabled(false);
    else
        ++App.browserCount;
}

void frmMain::GO_Show() {
    app_.App.rotationPos = 1;
    timer2_->setEnabled(true);
    app_.App.showModeOn = true;
    prepareNextTurn();
}

void frmMain::Timer2_Timer() {
    AppState& App = app_.App;
    const auto& list = app_.openWindows();
    const int count = static_cast<int>(list.size());
    // With the main window alone there is nothing to raise: the tick does
    // nothing, so the position and the period's count wait for a window.
    if (count < 2) return;
    ++rotationTicks_;
    if (rotationTicks_ < App.rotationPeriod) return prepareNextTurn();
    rotationTicks_ = 0;
    // The wrap uses the list as it stands now: windows may have come or gone.
    if (App.rotationPos > count - 1 || App.rotationPos < 1) App.rotationPos = 1;
    Form* next = list[static_cast<size_t>(App.rotationPos)];
    endSlide();
    frmStart* browser = browserAt(next);
    if (app_.App.showFullScreen && browser && next->window().visible()) {
        if (!browser->fullScreen()) {
            browser->setFullScreen(true, false);
            slideNumber_ = browser->number();
        }
    }
    next->window().bringToTop();
    ++App.rotationPos;
    prepareNextTurn();
}

void frmMain::prepareNextTurn() {
    // The window raised at the next tick refreshes now when its page would
    // be stale then, so it has loaded when its turn comes.
    const AppState& App = app_.App;
    if (rotationTicks_ + 1 < App.rotationPeriod) return;
    const auto& list = app_.openWindows();
    const int count = static_cast<int>(list.size());
    if (count < 2) return;
    const int next = App.rotationPos > count - 1 || App.rotationPos < 1 ? 1 : App.rotationPos;
    if (frmStart* b = browserAt(list[static_cast<size_t>(next)])) b->turnComing(timer2_->interval());
}

void frmMain::GO_MainExit() {
    if (exiting_) return;
    exiting_ = true;
    // From here the exit writes the files: closing windows must not record a
    // falling count.
    if (sessionFiles_) sessionFiles_->stop();
    const int16_t count = sessionCount();
    timer1_->setEnabled(false);
    timer2_->setEnabled(false);
    const AppState& App = app_.App;
    const std::string ini = iniSettingsPath(App);
    if (!textfile::writeAtomic(ini, iniSettingsText(App, count))) {
        const std::vector<std::string> untold = app_.saveFailures.untold({ini});
        // The windows close once the user has read why.
        // (The main window itself may be closed from outside meanwhile.)
        if (!untold.empty()) {
            Application& app = app_;
            return app.platform.dialogs().message(saveFailureMessage(App.strings[TextId::ExitSaveFailed], untold),
                                                  "Corvano", [&app] { closeAll(app); });
        }
    }
    closeAll(app_);
}

void frmMain::closeAll(Application& app) {
    // Last opened first; the main window, at position 0, last.
    const std::vector<Form*> windows = app.openWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        Form* f = *it;
        if (!f->unloaded()) f->Form_QueryUnload();
    }
}

void frmMain::Form_QueryUnload() {
    // Closing the main window from outside ends the session like "EXIT".
    if (exiting_)
        Unload();
    else
        GO_MainExit();
}

void frmMain::Form_KeyDown(int keyCode, int) {
    if (keyCode == keys::Escape) GO_MainExit();
}

void frmMain::Form_Click() {
    AppState& App = app_.App;
    App.barsShown = !App.barsShown;
    dock1_->setVisible(App.barsShown);
}

void frmMain::applyStyle(Command command) {
    const int style = static_cast<int>(std::find(std::begin(kStyles), std::end(kStyles), command) - std::begin(kStyles));
    app_.App.barStyle = static_cast<int16_t>(style);
    if (Entry* e = app_.bars.entry(commandKey(command))) e->setChecked(true);
    if (CommandBarControl* c = cmdBar(4)) c->setBarStyle(style);
    if (CommandBarControl* c = cmdBar(5)) c->setBarStyle(style);
}

void frmMain::chooseLanguage(const std::string& key) {
    AppState& App = app_.App;
    const size_t colon = key.find(':');
    const std::string previous = App.language;
    App.language = textfile::toLower(colon == std::string::npos ? key : key.substr(colon + 1));
    if (!Read_CFG(App)) {
        const std::string path = languageFilePath(App);
        App.language = previous;
        app_.platform.dialogs().message(withArgs(App.strings[TextId::LanguageUnreadable], {path}), "Corvano");
        return;
    }
    Set_Captions(app_);
}

void frmMain::newWindow() { openBrowserWindow(app_); }

void frmMain::hideBars() {
    app_.App.barsShown = false;
    dock1_->setVisible(false);
}

void frmMain::showEvery(int period) {
    app_.App.rotationPeriod = static_cast<int16_t>(period);
    GO_Show();
}

void frmMain::showEverySeconds(int seconds) {
    showEvery(std::clamp((seconds + 15) / 30, 1, 60));
}

bool frmMain::showNext() {
    if (!app_.App.showModeOn) return false;
    rotationTicks_ = std::max(0, app_.App.rotationPeriod - 1);
    Timer2_Timer();
    return true;
}

void frmMain::showOff() {
    app_.App.showModeOn = false;
    timer2_->setEnabled(false);
    endSlide();
}

void frmMain::toggleSlideshow() {
    app_.App.showFullScreen = !app_.App.showFullScreen;
    if (Entry* e = app_.bars.entry(commandKey(Command::ShowFullScreen))) e->setChecked(app_.App.showFullScreen);
    if (!app_.App.showFullScreen) endSlide();
}

void frmMain::endSlide() {
    const int number = std::exchange(slideNumber_, 0);
    frmStart* b = app_.browsers.find(number);
    if (b && b->fullScreen() && !b->fullScreenKept()) b->setFullScreen(false);
}

frmStart* frmMain::browserAt(const Form* form) const {
    for (frmStart* b : app_.browsers.inOrder())
        if (b == form) return b;
    return nullptr;
}

Rect frmMain::workArea(const Monitor& monitor) const {
    Rect area = monitor.workArea.width > 0 && monitor.workArea.height > 0 ? monitor.workArea : monitor.rect;
    if (!app_.App.barsShown) return area;
    // The strip lies along the top of the main window.
    const Rect main = window().geometry();
    const int stripBottom = main.top + dock1_->height();
    const bool across = main.left < area.left + area.width && area.left < main.left + main.width;
    if (across && main.top < area.top + area.height && stripBottom > area.top) {
        const int bottom = area.top + area.height;
        area.top = std::min(stripBottom, bottom - 1);
        area.height = bottom - area.top;
    }
    return area;
}

void frmMain::arrange(Command how) {
    const std::vector<frmStart*> windows = app_.browsers.inOrder();
    const std::vector<Monitor> monitors = app_.platform.monitors();
    if (windows.empty() || monitors.empty()) return;
    const int count = static_cast<int>(windows.size());
    std::vector<Rect> places;
    if (how == Command::ArrangeEveryScreen) {
        // The monitors in turn, as they stand on the desktop: left to right, then top to bottom.
        std::vector<Monitor> order = monitors;
        std::stable_sort(order.begin(), order.end(), [](const Monitor& a, const Monitor& b) {
            return a.rect.left != b.rect.left ? a.rect.left < b.rect.left : a.rect.top < b.rect.top;
        });
        std::vector<Rect> areas, shapes;
        for (const Monitor& m : order) {
            areas.push_back(workArea(m));
            shapes.push_back(m.rect);
        }
        places = gridOnEveryArea(count, areas, shapes);
    } else {
        // The monitor of the browser window activated last, else of the first.
        const frmStart* current = currentBrowserWindow(app_);
        if (!current) current = windows.front();
        std::vector<Rect> rects;
        for (const Monitor& m : monitors) rects.push_back(m.rect);
        const int i = std::max(0, areaHolding(current->normalPlace(), rects));
        const Monitor& m = monitors[static_cast<size_t>(i)];
        const Arrangement kind = how == Command::ArrangeColumns  ? Arrangement::Columns
                                 : how == Command::ArrangeRows   ? Arrangement::Rows
                                 : how == Command::ArrangeCascade ? Arrangement::Cascade
                                                                  : Arrangement::Grid;
        places = arrangeWindows(kind, count, workArea(m), m.rect);
    }
    for (size_t i = 0; i < windows.size() && i < places.size(); ++i) windows[i]->arrangeTo(places[i]);
}

void frmMain::cmdBar_Click(int index, Entry& entry) {
    // Every drop-down, the browser windows' too, is shown by the host: its
    // window commands act on the browser window activated last.
    if (const CommandRegistry::Command* command = app_.commands.find(entry.key())) {
        if (command->bar == index) app_.commands.run(command->name);
        return;
    }
    // A language: "LANG:" and a file's name. Any other command key is not one.
    if (index == 5 && !commandOf(entry.key())) chooseLanguage(entry.key());
}

frmLang* frmMain::languageEditor() const {
    for (Form* f : app_.openWindows())
        if (f->role() == WindowRole::Editor && !f->unloaded()) return static_cast<frmLang*>(f);
    return nullptr;
}

void frmMain::showLanguageEditor() {
    frmLang* editor = languageEditor();
    if (!editor) editor = &app_.load<frmLang>();
    // Discarded once closed, so the next opening starts from the template again.
    editor->ShowModal(whileLoaded([this] {
        if (frmLang* left = languageEditor()) left->Unload();
    }));
}

void frmMain::Take_Pic() {
    if (shooting_) return;
    AppState& App = app_.App;
    Dialogs& dialogs = app_.platform.dialogs();
    const std::string folder = app_.file("/Images");
    createFolderQuietly(folder);
    const auto name = freeScreenshotName(App.appPath, App.screenshotCounter, fileExists);
    if (!name) {
        dialogs.warning(App.strings[TextId::ScreenshotNoFreeName] + ": " + folder, "Corvano");
        return;
    }
    shooting_ = true;
    // The picture is taken before anything of ours is shown over the screen.
    // It may come later (the desktop can ask the user first); the form may be
    // gone by then, the application is not.
    Application& app = app_;
    const ScreenshotName chosen = *name;
    app_.platform.screenCapture().saveScreenAsBmp(chosen.path, [&app, chosen](const CaptureResult& result) {
        frmMain* main = mainForm(app);
        if (!main) return;
        main->shooting_ = false;
        if (result.cancelled || main->exiting()) return;
        Dialogs& dialogs = app.platform.dialogs();
        if (!result.ok) {
            dialogs.warning(app.App.strings[TextId::ScreenshotNotSaved] + ": " + chosen.path + "\n" + result.reason, "Corvano");
            return;
        }
        app.App.screenshotCounter = nextScreenshotCounter(chosen.counter);
        dialogs.message(app.App.strings[TextId::ScreenshotSaved] + ": " + chosen.path, "Corvano");
    });
}

void frmMain::showAbout() {
    // Closing the window unloads the form.
    app_.load<frmAbout>().window().showModal();
}

void frmMain::keepSessionCurrent() {
    Application& app = app_;
    auto report = [&app](const std::vector<std::string>& paths) {
        const frmMain* main = mainForm(app);
        if (!main || main->exiting()) return;
        app.platform.dialogs().message(saveFailureMessage(app.App.strings[TextId::SaveFailed], paths), "Corvano");
    };
    sessionFiles_ = std::make_unique<SessionFiles>(app_.platform, app_.saveFailures,
                                                   [this] { return sessionSnapshot(); }, report);
    sessionFiles_->start();
    app_.platform.onEndRequest = [this] { endRequested(); };
    app_.platform.onRaiseRequest = [this] { bringForward(); };
    app_.platform.onNetworkBack = [this] {
        for (frmStart* b : app_.browsers.inOrder()) b->networkBack();
    };
    app_.platform.onScreenAdded = [this] {
        for (frmStart* b : app_.browsers.inOrder()) b->Screens_Added();
    };
}

int16_t frmMain::sessionCount() const {
    const AppState& App = app_.App;
    if (timer1_->enabled()) return std::max(App.browserCount, App.reopenCount);
    return App.browserCount;
}

std::vector<FileText> frmMain::sessionSnapshot() {
    const AppState& App = app_.App;
    std::vector<FileText> files;
    files.push_back({iniSettingsPath(App), iniSettingsText(App, sessionCount())});
    std::map<const Form*, Rect> seen;
    std::set<const Form*> held;
    for (const frmStart* browser : app_.browsers.inOrder()) {
        const Form* f = browser;
        const Rect place = f->window().geometry();
        seen[f] = place;
        auto before = placeSeen_.find(f);
        const bool moving = before != placeSeen_.end() && before->second != place;
        if (moving && !heldBack_.count(f))
            held.insert(f);
        else
            files.push_back({settingsFilePath(App.appPath, browser->number()), browser->settingsText()});
        files.push_back({historyFilePath(App.appPath, browser->number()), browser->historyText()});
        files.push_back({optionsFilePath(App.appPath, browser->number()), windowOptionsText(browser->optionsToSave())});
    }
    placeSeen_ = std::move(seen);
    heldBack_ = std::move(held);
    return files;
}

void frmMain::endRequested() {
    app_.saveFailures.quiet = true;
    GO_MainExit();
}

void frmMain::bringForward() {
    if (exiting_) return;
    frmStart* current = currentBrowserWindow(app_);
    for (frmStart* b : app_.browsers.inOrder())
        if (b != current && b->window().visible()) b->window().bringToTop();
    if (current && current->window().visible()) current->window().bringToTop();
}

frmMain& Sub_Main(Application& app) {
    frmMain& main = app.load<frmMain>();
    main.window().show();
    return main;
}

frmMain* mainForm(const Application& app) {
    for (Form* f : app.openWindows())
        if (f->role() == WindowRole::Main) return static_cast<frmMain*>(f);
    return nullptr;
}

void frmMain::Form_TextsChanged() { labelShortcuts(app_.bars, app_.platform); }

void frmMain::Form_Shortcut(Shortcut which) {
    if (which == Shortcut::NewWindow) app_.commands.run(keyCommandName(which));
}

}  // namespace corvano
