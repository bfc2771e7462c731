#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/Timer.h"
#include "platform/Window.h"

namespace corvano {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const std::string& text, const std::string& title) = 0;
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
    // Lets events run for the given time (the engine keeps loading meanwhile).
    virtual void pause(int ms) = 0;
    // Ends the event loop once the last window is gone.
    virtual void quit() = 0;

    // Texts a user reads, by number in the current language: the platform's
    // own widgets (dialogs, panels) take theirs from here.
    virtual void setTexts(std::function<std::string(int)> lookup) { (void)lookup; }
    // The language changed: the platform's own widgets take their texts again.
    virtual void textsChanged() {}

    // Requests from outside the application, delivered on the user-interface
    // thread; the logic sets them. The desktop asks the application to end
    // (a termination signal, the session manager at logout).
    std::function<void()> onEndRequest;
    // Another start on the same application folder asks this one to come forward.
    std::function<void()> onRaiseRequest;
};

}  // namespace corvano
