#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/EngineVersions.h"
#include "platform/Geometry.h"
#include "platform/ScreenCapture.h"
#include "platform/Shell.h"
#include "platform/RichText.h"
#include "platform/Timer.h"
#include "platform/Window.h"

namespace corvano {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;

    // Page export: a picture, and the rich text (its HTML) read into blocks;
    // an empty document when the clipboard holds no rich text or picture.
    virtual bool hasImage() const { return false; }
    virtual RichDocument richContent() const { return {}; }
};

// The dialogs do not wait: each one opens and returns at once, and what
// follows it runs in its continuation once the user has answered. A
// continuation may be empty when nothing follows.
class Dialogs {
public:
    using Done = std::function<void()>;
    using Yes = std::function<void(bool)>;
    using Text = std::function<void(std::optional<std::string>)>;

    virtual ~Dialogs() = default;
    virtual void message(const std::string& text, const std::string& title, Done done = {}) = 0;

    // Questions for the language editor.
    // A line of text, asked with a title; nothing when the user cancels.
    // A platform that cannot ask answers as a user who cancels.
    virtual void input(const std::string& prompt, const std::string& title, Text answer) {
        (void)prompt, (void)title;
        if (answer) answer(std::nullopt);
    }
    // A yes-or-no question; true for yes.
    virtual void confirm(const std::string& text, const std::string& title, Yes answer) {
        (void)text, (void)title;
        if (answer) answer(false);
    }
    // A failure the user should know of: the same box with a warning icon.
    virtual void warning(const std::string& text, const std::string& title, Done done = {}) {
        message(text, title, std::move(done));
    }
    // A question with two answers: true for the first. Closing the box
    // answers with the second.
    virtual void ask(const std::string& /*text*/, const std::string& /*title*/, const std::string& /*yes*/,
                     const std::string& /*no*/, Yes answer) {
        if (answer) answer(false);
    }
    // One of the items, by index; nothing when the user cancels.
    virtual void choose(const std::string& text, const std::string& title, const std::vector<std::string>& items,
                        std::function<void(std::optional<size_t>)> answer) {
        (void)text, (void)title, (void)items;
        if (answer) answer(std::nullopt);
    }
    // Page export: asks for a file to save, proposing a name; the filter is
    // "description|pattern". Nothing when the user cancels.
    virtual void saveFileName(const std::string& title, const std::string& filter, const std::string& proposedName,
                              Text answer) {
        (void)title, (void)filter, (void)proposedName;
        if (answer) answer(std::nullopt);
    }
};

// One monitor of the desktop.
struct Monitor {
    // The window system's name ("HDMI-1", "XWAYLAND0").
    std::string name;
    // Place and size on the desktop, in twips, and the part windows may use
    // (without the desktop's panels).
    Rect rect;
    Rect workArea;
};

// Everything outside the logic that is not a window's child control.
class Platform {
public:
    virtual ~Platform() = default;
    virtual std::unique_ptr<Window> createWindow(WindowRole role, WindowEvents& events) = 0;
    virtual std::unique_ptr<Timer> createTimer() = 0;
    // The screen, in twips.
    virtual Size screenSize() const = 0;
    virtual Clipboard& clipboard() = 0;
    virtual Dialogs& dialogs() = 0;
    // Runs the task later on the user-interface thread, after the current event.
    virtual void post(std::function<void()> task) = 0;
    // Ends the event loop once the last window is gone.
    virtual void quit() = 0;

    // Texts a user reads, by number in the current language: the platform's
    // own widgets (dialogs, panels) take theirs from here.
    virtual void setTexts(std::function<std::string(int)> lookup) { (void)lookup; }
    // The language changed: the platform's own widgets take their texts again.
    virtual void textsChanged() {}

    // Screenshots and the desktop's handlers for links.
    virtual ScreenCapture& screenCapture() = 0;
    virtual Shell& shell() = 0;
    // Shortcuts and screens.
    // The desktop's text of a shortcut's first key sequence ("Ctrl+S"), for tooltips.
    virtual std::string shortcutText(Shortcut which) const {
        (void)which;
        return {};
    }
    // Every screen of today, in twips on the common desktop, the primary first.
    virtual std::vector<Rect> screens() const {
        const Size s = screenSize();
        return {Rect{0, 0, s.width, s.height}};
    }
    // Every monitor, the primary first.
    virtual std::vector<Monitor> monitors() const {
        std::vector<Monitor> all;
        for (const Rect& r : screens()) all.push_back({"", r, r});
        return all;
    }
    // Twips in one logical pixel.
    virtual double twipsPerPixel() const { return 15.0; }
    // False where the window system keeps windows' places to itself (a
    // Wayland session without X): what the windows report then is no place.
    virtual bool windowPlacesKnown() const { return true; }
    // Qt's and the web engine's versions, for the About window.
    virtual EngineVersions engineVersions() const { return {}; }
    // Page export: the busy pointer over the whole application, or the arrow.
    virtual void setBusyCursor(bool busy) { (void)busy; }
    // Requests from outside the application, delivered on the user-interface
    // thread; the logic sets them. The desktop asks the application to end
    // (a termination signal, the session manager at logout).
    std::function<void()> onEndRequest;
    // Another start on the same application folder asks this one to come forward.
    std::function<void()> onRaiseRequest;

    // Time: a steady clock in milliseconds, and the local time of day as
    // the user reads it ("14:05:09") at a point of that clock.
    virtual long long clockMs() const = 0;
    virtual std::string timeOfDay(long long atClockMs) const = 0;
    // The same point of that clock as milliseconds since 1970 (UTC).
    virtual long long epochMsAt(long long atClockMs) const { return atClockMs; }
    // Posts JSON to an http(s) address in the background; the answer is not
    // waited for, and a failure is dropped.
    virtual void postJson(const std::string& url, const std::string& body) { (void)url, (void)body; }
    // The system reports that the network is reachable again.
    std::function<void()> onNetworkBack;
    // A monitor was plugged in (or switched on) while the application runs.
    std::function<void()> onScreenAdded;
};

}  // namespace corvano
