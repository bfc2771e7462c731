#pragma once

#include <functional>
#include <string>

#include "platform/Container.h"
#include "platform/Geometry.h"
#include "platform/Shortcuts.h"

namespace corvano {

enum class WindowState { Normal, Minimized, Maximized };

// Key codes as the logic sees them.
namespace keys {
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int F11 = 122;
constexpr int F12 = 123;
}  // namespace keys

enum class WindowRole { Main, Browser, Editor, About };

class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_KeyDown(int /*keyCode*/, int /*shift*/) {}
    // A click on the window's background.
    virtual void Form_Click() {}
    // A request from outside to close the window (close box, window manager).
    // The window stays until the form destroys it.
    virtual void Form_QueryUnload() {}

    // Keyboard and mouse shortcuts of a browser window.
    virtual void Form_Shortcut(Shortcut /*which*/) {}
};

// A top-level window. Destroying the object removes the window.
class Window : public Container {
public:
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool visible() const = 0;
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& text) = 0;

    // Outer frame, in twips.
    virtual Rect geometry() const = 0;
    virtual void setGeometry(const Rect& r) = 0;
    // Inner (client) area, in twips.
    virtual int scaleWidth() const = 0;
    virtual int scaleHeight() const = 0;
    virtual WindowState state() const = 0;

    // Without the window manager's frame and title bar (full screen), or with them again.
    virtual void setFrameless(bool frameless) { (void)frameless; }

    // Above every window that is not topmost; position and size unchanged.
    virtual void setTopmost() = 0;
    // Top of the topmost group and activated.
    virtual void bringToTop() = 0;

    // Stretched over the client area; false when the picture cannot be loaded.
    virtual bool setBackgroundPicture(const std::string& path) = 0;
    virtual void setBackgroundColor(int red, int green, int blue) = 0;

    // Shows the window modally: the other windows take no user input until
    // it has been hidden or has gone; then `closed` runs, from the event loop.
    // The call itself returns at once.
    virtual void showModal(std::function<void()> closed = {}) = 0;
    // Page export: 0 transparent to 255 opaque. False when the window system
    // cannot make windows translucent.
    virtual bool setOpacity(int alpha) = 0;

    // Someone using the window: it has the keyboard focus, and when the user
    // last pressed a key or a mouse button in it (the platform's clock, ms;
    // negative: never). A dialog of this window is open.
    virtual bool hasKeyboardFocus() const { return false; }
    virtual long long lastInputMs() const { return -1; }
    virtual bool dialogOpen() const { return false; }

    // Other windows hide every part of it.
    virtual bool covered() const { return false; }
    // A picture of the window's inside as PNG bytes, later; empty when none
    // can be taken. Never answers once the window is gone.
    virtual void grabPng(std::function<void(std::string png)> done) {
        if (done) done({});
    }
};

}  // namespace corvano
