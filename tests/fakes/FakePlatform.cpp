#include "fakes/FakePlatform.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

namespace corvano::fake {

namespace {

template <class T, class Base>
std::unique_ptr<Base> track(std::vector<T*>& list, std::unique_ptr<T> p) {
    list.push_back(p.get());
    return p;
}

}  // namespace

FakeCommandBar* FakeChildren::barByIndex(int index) const {
    for (auto* b : bars)
        if (b->index() == index) return b;
    for (auto* p : panels)
        if (auto* b = p->barByIndex(index)) return b;
    return nullptr;
}

std::unique_ptr<Button> FakePanel::createButton() {
    return track<FakeButton, Button>(buttons, std::make_unique<FakeButton>());
}
std::unique_ptr<Picture> FakePanel::createPicture() {
    return track<FakePicture, Picture>(pictures, std::make_unique<FakePicture>());
}
std::unique_ptr<Button> FakeWindow::createButton() {
    return track<FakeButton, Button>(buttons, std::make_unique<FakeButton>());
}
std::unique_ptr<Picture> FakeWindow::createPicture() {
    return track<FakePicture, Picture>(pictures, std::make_unique<FakePicture>());
}

void FakeWindow::showModal(std::function<void()> closed) {
    modal = true;
    modalClosed = std::move(closed);
    show();
    if (platform.onModal) platform.onModal(*this);
}

void FakeScreenCapture::saveScreenAsBmp(const std::string& path, Done done) {
    auto run = [this, path, done] {
        if (cancel) return done({false, {}, true});
        if (!error.empty()) return done({false, error});
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) return done({false, "exists"});
        std::ofstream(path, std::ios::binary) << "BM";
        written.push_back(path);
        done({true, {}});
    };
    if (hold) {
        held.push_back(run);
    } else {
        run();
    }
}

std::unique_ptr<Panel> FakePanel::createPanel() { return track<FakePanel, Panel>(panels, std::make_unique<FakePanel>()); }
std::unique_ptr<CommandBarControl> FakePanel::createCommandBar(int index, BarClickHandler onClick) {
    return track<FakeCommandBar, CommandBarControl>(bars, std::make_unique<FakeCommandBar>(index, std::move(onClick)));
}
std::unique_ptr<ComboBox> FakePanel::createComboBox() {
    return track<FakeComboBox, ComboBox>(combos, std::make_unique<FakeComboBox>());
}
std::unique_ptr<Label> FakePanel::createLabel() { return track<FakeLabel, Label>(labels, std::make_unique<FakeLabel>()); }
std::unique_ptr<WebView> FakePanel::createWebView(const WebProfile&) {
    return track<FakeWebView, WebView>(webs, std::make_unique<FakeWebView>());
}
std::unique_ptr<MarkupBox> FakePanel::createMarkupBox() {
    return track<FakeMarkupBox, MarkupBox>(markupBoxes, std::make_unique<FakeMarkupBox>());
}

void FakeWebView::copyTextToClipboard(Done done) {
    calls.push_back("CopyText");
    if (copyOk && clipboard && !fallbackText.empty()) clipboard->text_ = fallbackText;
    done(copyOk);
}

void FakeWebView::copyPageToClipboard(Done done) {
    calls.push_back("CopyPage");
    if (!copyPageOk || !clipboard) return done(false);
    clipboard->text_ = pageText;
    clipboard->rich = pageRich;
    clipboard->image = pageImage;
    done(!pageText.empty() || pageImage);
}

FakeWindow::FakeWindow(FakePlatform& p, WindowRole role, WindowEvents& events)
    : platform(p), role(role), events(events), frameWidth(p.frameWidth), frameHeight(p.frameHeight) {
    p.windows.push_back(this);
}

FakeWindow::~FakeWindow() {
    std::erase(platform.windows, this);
    if (auto closed = std::exchange(modalClosed, {})) closed();
}

std::unique_ptr<Panel> FakeWindow::createPanel() { return track<FakePanel, Panel>(panels, std::make_unique<FakePanel>()); }
std::unique_ptr<CommandBarControl> FakeWindow::createCommandBar(int index, BarClickHandler onClick) {
    return track<FakeCommandBar, CommandBarControl>(bars, std::make_unique<FakeCommandBar>(index, std::move(onClick)));
}
std::unique_ptr<ComboBox> FakeWindow::createComboBox() {
    return track<FakeComboBox, ComboBox>(combos, std::make_unique<FakeComboBox>());
}
std::unique_ptr<Label> FakeWindow::createLabel() { return track<FakeLabel, Label>(labels, std::make_unique<FakeLabel>()); }
std::unique_ptr<WebView> FakeWindow::createWebView(const WebProfile& profile) {
    auto web = std::make_unique<FakeWebView>();
    web->profile = profile;
    web->clipboard = &platform.clip;
    return track<FakeWebView, WebView>(webs, std::move(web));
}
std::unique_ptr<MarkupBox> FakeWindow::createMarkupBox() {
    return track<FakeMarkupBox, MarkupBox>(markupBoxes, std::make_unique<FakeMarkupBox>());
}

std::unique_ptr<TextEditBox> FakePanel::createTextEditBox() {
    return track<FakeTextEditBox, TextEditBox>(textBoxes, std::make_unique<FakeTextEditBox>());
}
std::unique_ptr<TextEditBox> FakeWindow::createTextEditBox() {
    return track<FakeTextEditBox, TextEditBox>(textBoxes, std::make_unique<FakeTextEditBox>());
}

void FakeWindow::hide() {
    shown = false;
    if (platform.onHide) platform.onHide(*this);
    // A modal showing ends here.
    if (auto closed = std::exchange(modalClosed, {})) closed();
}

void FakeWindow::setGeometry(const Rect& g) {
    const bool changed = g != r;
    r = g;
    if (changed && resizeEvents) events.Form_Resize();
}

void FakeWindow::bringToTop() {
    topmost = true;
    ++raisedCount;
    platform.raised.push_back(this);
    events.Form_Activate();
}

bool FakeWindow::setBackgroundPicture(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) == 0) return false;
    picture = path;
    background.clear();
    return true;
}

FakeTimer::FakeTimer(FakePlatform& p) : platform(p) { p.timers.push_back(this); }
FakeTimer::~FakeTimer() { std::erase(platform.timers, this); }

void FakeTimer::setInterval(int ms) {
    interval_ = ms;
    if (enabled_) due = platform.now + ms;
}

void FakeTimer::setEnabled(bool on) {
    if (on && !enabled_) due = platform.now + interval_;
    enabled_ = on;
}

FakePlatform::FakePlatform() = default;
FakePlatform::~FakePlatform() = default;

std::unique_ptr<Window> FakePlatform::createWindow(WindowRole role, WindowEvents& events) {
    return std::make_unique<FakeWindow>(*this, role, events);
}

std::string FakePlatform::timeOfDay(long long atClockMs) const {
    const long long s = atClockMs / 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", s / 3600 % 24, s / 60 % 60, s % 60);
    return text;
}

std::unique_ptr<Timer> FakePlatform::createTimer() { return std::make_unique<FakeTimer>(*this); }

void FakePlatform::advance(long long ms) {
    const long long end = now + ms;
    for (;;) {
        FakeTimer* next = nullptr;
        for (FakeTimer* t : timers)
            if (t->enabled_ && t->interval_ > 0 && t->due <= end && (!next || t->due < next->due)) next = t;
        if (!next) break;
        now = next->due;
        next->due = now + next->interval_;
        if (next->onTick) next->onTick();
        runPosted();
    }
    now = end;
}

void FakePlatform::runPosted() {
    while (!posted.empty()) {
        auto tasks = std::move(posted);
        posted.clear();
        for (auto& t : tasks) t();
    }
}

FakeWindow* FakePlatform::windowByRole(WindowRole role, int nth) const {
    for (FakeWindow* w : windows)
        if (w->role == role && nth-- == 0) return w;
    return nullptr;
}

}  // namespace corvano::fake
