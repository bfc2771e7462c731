#pragma once

// A platform for tests: every control is plain data, timers run on a
// virtual clock, posted tasks run on runPosted().

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/CommandBars.h"
#include "platform/Platform.h"

namespace corvano::fake {

template <class Base>
class FakeControl : public Base {
public:
    int left() const override { return r.left; }
    int top() const override { return r.top; }
    int width() const override { return r.width; }
    int height() const override { return r.height; }
    void setLeft(int v) override { r.left = v; }
    void setTop(int v) override { r.top = v; }
    void setWidth(int v) override { r.width = v; }
    void setHeight(int v) override { r.height = v; }
    bool visible() const override { return shown; }
    void setVisible(bool on) override { shown = on; }
    void setFocus() override { ++focusCount; }

    Rect r;
    bool shown = true;
    int focusCount = 0;
};

class FakeCommandBar : public FakeControl<CommandBarControl> {
public:
    FakeCommandBar(int index, BarClickHandler onClick) : handler(std::move(onClick)), index_(index) {}
    int index() const override { return index_; }
    void setBar(const std::string& key) override { bar_ = key; }
    std::string bar() const override { return bar_; }
    void setBarStyle(int style) override { style_ = style; }
    int barStyle() const override { return style_; }
    void setImageList(const ImageList* images) override { images_ = images; }
    const ImageList* imageList() const { return images_; }
    // What a user's click on an entry of this bar delivers.
    void click(Entry& e) { handler(index_, e); }

    BarClickHandler handler;

private:
    int index_;
    std::string bar_;
    int style_ = -1;
    const ImageList* images_ = nullptr;
};

class FakeComboBox : public FakeControl<ComboBox> {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }
    void addItem(const std::string& item) override { items.push_back(item); }
    void clearItems() override { items.clear(); }
    int itemCount() const override { return static_cast<int>(items.size()); }
    std::string item(int i) const override { return items.at(static_cast<size_t>(i)); }
    void setFocus() override {
        ++focusCount;
        focused = true;
    }
    bool hasFocus() const override { return focused; }
    bool focused = false;
    // Types one character as the user would; true when it reached the box.
    bool type(int ch) {
        if (onKeyPress && onKeyPress(ch)) return false;
        text_.push_back(static_cast<char>(ch));
        return true;
    }
    void choose(int i) {
        text_ = item(i);
        if (onClick) onClick();
    }

    std::vector<std::string> items;

    // Address completion.
    void selectAll() override { ++selectAllCount; }
    void offerCompletions(const std::vector<std::string>& list, const std::string& inlineText) override {
        offered = list;
        inlineOffered = inlineText;
    }
    // Types the text as a whole, as an edit the user made.
    void edit(const std::string& t) {
        text_ = t;
        if (onEdited) onEdited(t);
    }
    int selectAllCount = 0;
    std::vector<std::string> offered;
    std::string inlineOffered;

private:
    std::string text_;
};

class FakeLabel : public FakeControl<Label> {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }
    void setLink(bool on) override { link = on; }
    void click() {
        if (onClick) onClick();
    }
    bool link = false;

private:
    std::string text_;
};

class FakeClipboard;

class FakeWebView : public FakeControl<WebView> {
public:
    // The profile it was made on.
    WebProfile profile;
    void setEvents(WebViewEvents* e) override { events = e; }
    void Navigate(const std::string& url) override { calls.push_back("Navigate " + url), url_ = url; }
    void Navigate2(const std::string& url) override { calls.push_back("Navigate2 " + url), url_ = url; }
    void GoBack() override { calls.push_back("GoBack"); }
    void GoForward() override { calls.push_back("GoForward"); }
    void Refresh() override { calls.push_back("Refresh"); }
    void Refresh2() override { calls.push_back("Refresh2"); }
    void Stop() override { calls.push_back("Stop"); }
    void GoSearch() override { calls.push_back("GoSearch"); }
    // The command's dialog closes at once.
    bool ExecWB(int command, int option, std::function<void()> finished = {}) override {
        calls.push_back("ExecWB " + std::to_string(command) + " " + std::to_string(option));
        if (finished) finished();
        return true;
    }
    bool Busy() const override { return busy; }
    std::string LocationName() const override { return title; }
    std::string LocationURL() const override { return url_; }
    bool errorPageShown() const override { return errorPage; }
    // The engine's answers come at once.
    void readyState(Answer answer) override { answer(ready); }
    void outerHtml(Answer answer) override { answer(html); }
    void copyTextToClipboard(Done done) override;
    void showFindBar() override { calls.push_back("FindBar"); }

    WebViewEvents* events = nullptr;
    std::vector<std::string> calls;
    bool busy = false;
    std::string title;
    std::string url_;
    bool errorPage = false;
    std::optional<std::string> ready = "complete";
    std::optional<std::string> html;
    bool copyOk = true;

    // Page export: what the engine's copy and the text fallback put on the clipboard.
    void copyPageToClipboard(Done done) override;
    FakeClipboard* clipboard = nullptr;
    bool copyPageOk = true;
    std::string pageText;      // the plain text of both copies
    RichDocument pageRich;     // the rich text of the engine's copy
    bool pageImage = false;    // the engine's copy gives a picture
    std::string fallbackText;  // what the text fallback adds to the clipboard
    // Keyboard and zoom.
    void ReloadBypassingCache() override { calls.push_back("ReloadBypassingCache"); }
    void findAgain(bool backward) override { calls.push_back(backward ? "FindPrevious" : "FindNext"); }
    void setZoomPercent(int percent) override { zoom = percent; }
    int zoomPercent() const override { return zoom; }
    int zoom = 100;
    // Pages that heal themselves.
    void showCrashPanel() override { ++crashPanels; }
    bool findBarShown() const override { return findBar; }
    bool downloadsOpen() const override { return downloads; }
    int crashPanels = 0;
    bool findBar = false;
    bool downloads = false;
};

class FakeMarkupBox : public FakeControl<MarkupBox> {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }
    void showFindBar() override { ++findBarCount; }
    void findAgain(bool backward) override { finds.push_back(backward ? "FindPrevious" : "FindNext"); }
    int findBarCount = 0;
    std::vector<std::string> finds;

private:
    std::string text_;
};

class FakeTextEditBox : public FakeControl<TextEditBox> {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }

private:
    std::string text_;
};

class FakeButton : public FakeControl<Button> {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }
    void click() {
        if (onClick) onClick();
    }

private:
    std::string text_;
};

class FakePicture : public FakeControl<Picture> {
public:
    std::string source() const override { return source_; }
    void setSource(const std::string& s) override { source_ = s; }

private:
    std::string source_;
};

class FakePanel;

// Child-control factory shared by the fake window and panel.
class FakeChildren {
public:
    std::vector<FakeCommandBar*> bars;
    std::vector<FakeComboBox*> combos;
    std::vector<FakeLabel*> labels;
    std::vector<FakeWebView*> webs;
    std::vector<FakePanel*> panels;
    std::vector<FakeMarkupBox*> markupBoxes;
    std::vector<FakeTextEditBox*> textBoxes;
    std::vector<FakeButton*> buttons;
    std::vector<FakePicture*> pictures;

    FakeCommandBar* barByIndex(int index) const;
};

class FakePanel : public FakeControl<Panel>, public FakeChildren {
public:
    std::unique_ptr<Panel> createPanel() override;
    std::unique_ptr<CommandBarControl> createCommandBar(int index, BarClickHandler onClick) override;
    std::unique_ptr<ComboBox> createComboBox() override;
    std::unique_ptr<Label> createLabel() override;
    std::unique_ptr<WebView> createWebView(const WebProfile& profile) override;
    std::unique_ptr<MarkupBox> createMarkupBox() override;
    std::unique_ptr<TextEditBox> createTextEditBox() override;
    std::unique_ptr<Button> createButton() override;
    std::unique_ptr<Picture> createPicture() override;
};

class FakePlatform;

class FakeWindow : public Window, public FakeChildren {
public:
    FakeWindow(FakePlatform& platform, WindowRole role, WindowEvents& events);
    ~FakeWindow() override;

    std::unique_ptr<Panel> createPanel() override;
    std::unique_ptr<CommandBarControl> createCommandBar(int index, BarClickHandler onClick) override;
    std::unique_ptr<ComboBox> createComboBox() override;
    std::unique_ptr<Label> createLabel() override;
    std::unique_ptr<WebView> createWebView(const WebProfile& profile) override;
    std::unique_ptr<MarkupBox> createMarkupBox() override;
    std::unique_ptr<TextEditBox> createTextEditBox() override;
    std::unique_ptr<Button> createButton() override;
    std::unique_ptr<Picture> createPicture() override;

    void show() override { shown = true, ++showCount; }
    void hide() override;
    bool visible() const override { return shown; }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& t) override { caption_ = t; }
    Rect geometry() const override { return r; }
    void setGeometry(const Rect& g) override;
    int scaleWidth() const override { return r.width - frameWidth; }
    int scaleHeight() const override { return r.height - frameHeight; }
    WindowState state() const override { return windowState; }
    void setTopmost() override { topmost = true; }
    void setFrameless(bool f) override { frameless = f; }
    bool frameless = false;
    void bringToTop() override;
    bool setBackgroundPicture(const std::string& path) override;
    void setBackgroundColor(int red, int green, int blue) override { background = {red, green, blue}, picture.clear(); }
    void showModal(std::function<void()> closed) override;

    FakePlatform& platform;
    WindowRole role;
    WindowEvents& events;
    Rect r;
    int frameWidth = 0;   // outer minus inner, in twips
    int frameHeight = 0;
    bool shown = false;
    int showCount = 0;
    bool topmost = false;
    int raisedCount = 0;
    WindowState windowState = WindowState::Normal;
    std::string caption_;
    std::vector<int> background;
    std::string picture;
    // Geometry changes are reported to the form as a resize.
    bool resizeEvents = true;

    // Page export: opacities set, in order.
    bool setOpacity(int alpha) override {
        opacities.push_back(alpha);
        return true;
    }
    std::vector<int> opacities;
    // Someone using the window.
    bool hasKeyboardFocus() const override { return keyboardFocus; }
    long long lastInputMs() const override { return lastInput; }
    bool dialogOpen() const override { return dialog; }
    bool keyboardFocus = false;
    long long lastInput = -1;
    bool dialog = false;
    bool modal = false;
    std::function<void()> modalClosed;
};

class FakeTimer : public Timer {
public:
    explicit FakeTimer(FakePlatform& p);
    ~FakeTimer() override;
    int interval() const override { return interval_; }
    void setInterval(int ms) override;
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override;

    FakePlatform& platform;
    int interval_ = 0;
    bool enabled_ = false;
    long long due = 0;
};

class FakeClipboard : public Clipboard {
public:
    void clear() override { text_.clear(), rich = {}, image = false; }
    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }
    std::string text_;

    bool hasImage() const override { return image; }
    RichDocument richContent() const override { return rich; }
    RichDocument rich;
    bool image = false;
};

// Every dialog answers at once, as the user would.
class FakeDialogs : public Dialogs {
public:
    void message(const std::string& text, const std::string& title, Done done) override {
        messages.push_back(title + ": " + text);
        if (done) done();
    }
    std::vector<std::string> messages;

    // The save dialog: what it was asked, and the name it answers (nothing: cancel).
    void saveFileName(const std::string& title, const std::string& filter, const std::string& proposedName,
                      Text answer) override {
        saveAsked.push_back(title + "|" + filter + "|" + proposedName);
        if (onSaveAsked) onSaveAsked();
        answer(saveAnswer);
    }
    std::vector<std::string> saveAsked;
    std::optional<std::string> saveAnswer;
    std::function<void()> onSaveAsked;
    // Answers given in turn; an empty queue cancels the prompt and says no.
    void input(const std::string& prompt, const std::string& title, Text answer) override {
        prompts.push_back(title + ": " + prompt);
        if (inputs.empty()) return answer(std::nullopt);
        auto given = inputs.front();
        inputs.erase(inputs.begin());
        answer(given);
    }
    void confirm(const std::string& text, const std::string& title, Yes answer) override {
        questions.push_back(title + ": " + text);
        if (confirms.empty()) return answer(false);
        const bool yes = confirms.front();
        confirms.erase(confirms.begin());
        answer(yes);
    }
    std::vector<std::optional<std::string>> inputs;
    std::vector<bool> confirms;
    std::vector<std::string> prompts;
    // Every question, confirm or ask, in order.
    std::vector<std::string> questions;

    // Questions: each is recorded as title, text and the two answers; the
    // answers are given in turn, then no.
    void ask(const std::string& text, const std::string& title, const std::string& yes, const std::string& no,
             Yes answer) override {
        questions.push_back(title + ": " + text + " [" + yes + "|" + no + "]");
        if (answers.empty()) return answer(false);
        const bool a = answers.front();
        answers.erase(answers.begin());
        answer(a);
    }
    std::vector<bool> answers;
    // Lists to choose from: the indexes given in turn, then cancel.
    void choose(const std::string&, const std::string&, const std::vector<std::string>&,
                std::function<void(std::optional<size_t>)> answer) override {
        ++chooseAsked;
        if (chosen.empty()) return answer(std::nullopt);
        const size_t i = chosen.front();
        chosen.erase(chosen.begin());
        answer(i);
    }
    std::vector<size_t> chosen;
    int chooseAsked = 0;
};

// Pictures are written as small marker files; a set error makes every write fail.
class FakeScreenCapture : public ScreenCapture {
public:
    void saveScreenAsBmp(const std::string& path, Done done) override;
    void screenPng(Png done) override {
        if (hold) held.push_back([done] { done("PNG", {}); });
        else done("PNG", {});
    }
    std::vector<std::string> written;
    std::string error;
    // Held answers arrive when the test calls answer().
    bool hold = false;
    std::vector<std::function<void()>> held;
    void answer() {
        auto now = std::move(held);
        held.clear();
        for (auto& a : now) a();
    }
    bool cancel = false;
};

class FakeShell : public Shell {
public:
    void open(const std::string& document, const std::string& verb) override { opened.push_back(verb + " " + document); }
    std::vector<std::string> opened;
};

class FakePlatform : public Platform {
public:
    FakePlatform();
    ~FakePlatform() override;

    std::unique_ptr<Window> createWindow(WindowRole role, WindowEvents& events) override;
    std::unique_ptr<Timer> createTimer() override;
    Size screenSize() const override { return screen; }
    Clipboard& clipboard() override { return clip; }
    Dialogs& dialogs() override { return dialog; }
    void post(std::function<void()> task) override { posted.push_back(std::move(task)); }
    void quit() override { ++quitCount; }
    ScreenCapture& screenCapture() override { return capture; }
    bool windowPlacesKnown() const override { return placesKnown; }
    bool placesKnown = true;
    Shell& shell() override { return shellFake; }

    // Moves the virtual clock, firing due timers in time order.
    void advance(long long ms);
    void runPosted();

    Size screen{28800, 16200};  // 1920 x 1080 at 15 twips a pixel
    long long now = 0;
    std::vector<FakeWindow*> windows;  // alive, in creation order
    std::vector<FakeTimer*> timers;
    std::vector<std::function<void()>> posted;
    FakeClipboard clip;
    FakeDialogs dialog;
    int quitCount = 0;
    // Called whenever a window is hidden (unloading hides it first).
    std::function<void(FakeWindow&)> onHide;
    // Runs while a window is shown modally, as the user would act then.
    std::function<void(FakeWindow&)> onModal;
    // Added to every new window's frame (outer minus inner size).
    int frameWidth = 0;
    int frameHeight = 0;

    // Page export: the busy pointer's changes, in order.
    void setBusyCursor(bool busy) override { busyCursor.push_back(busy); }
    std::vector<bool> busyCursor;

    FakeWindow* windowByRole(WindowRole role, int nth = 0) const;

    FakeScreenCapture capture;
    FakeShell shellFake;
    // Every window raised to the top, in order.
    std::vector<FakeWindow*> raised;
    // Shortcuts and screens: none set means the one screen of screenSize().
    std::string shortcutText(Shortcut which) const override { return "Key" + std::to_string(static_cast<int>(which)); }
    std::vector<Rect> screens() const override {
        if (!monitorList.empty()) {
            std::vector<Rect> rects;
            for (const Monitor& m : monitorList) rects.push_back(m.rect);
            return rects;
        }
        return screenRects.empty() ? Platform::screens() : screenRects;
    }
    std::vector<Rect> screenRects;
    // The virtual clock; the time of day starts at midnight.
    long long clockMs() const override { return now; }
    std::string timeOfDay(long long atClockMs) const override;
    // The virtual clock's zero is 2026-01-01 00:00:00 UTC.
    long long epochMsAt(long long atClockMs) const override { return 1767225600000LL + atClockMs; }
    void postJson(const std::string& url, const std::string& body) override { posts.push_back({url, body}); }
    std::vector<std::pair<std::string, std::string>> posts;
    // Named monitors with work areas; none set means one per screen above.
    std::vector<Monitor> monitors() const override {
        return monitorList.empty() ? Platform::monitors() : monitorList;
    }
    std::vector<Monitor> monitorList;
    // Plugs in a monitor as the window system reports it.
    void addMonitor(const Monitor& m) {
        monitorList.push_back(m);
        if (onScreenAdded) onScreenAdded();
    }
};

}  // namespace corvano::fake
