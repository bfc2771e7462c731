#pragma once

#include <cstdint>

#include "browser/BrowserSettings.h"
#include "browser/WindowOptions.h"
#include "platform/Platform.h"

namespace corvano {

// Where a browser window stands: its place at load, full screen, an
// arrangement's place, its monitor, and the place its files keep.
class WindowPlace {
public:
    WindowPlace(Window& window, const Platform& platform) : window_(window), platform_(platform) {}

    // At load: the whole screen for mode 2; else the options file's place on
    // its monitor (the primary while that one is missing), else the settings
    // file's; always onto today's screens.
    void placeAtLoad(const WindowSettings& settings, const WindowOptions& options);
    // F12: over the whole screen.
    void coverScreen();

    // Full screen: over the window's own monitor. `kept` false is a show
    // mode's turn, which the options file does not record. False when nothing changed.
    bool setFullScreen(bool on, bool kept);
    bool fullScreen() const { return fullScreen_; }
    bool fullScreenKept() const { return fullScreen_ && fullScreenKept_; }

    // An arrangement's place; it may be narrower than a window the user sizes.
    void arrangeTo(const Rect& place);
    // The window may stay this narrow: full screen, or as an arrangement left it.
    bool mayBeNarrow(int width) const;
    // The user made it narrower than its arrangement: the minimum holds again.
    void forgetArrangement() { arrangedWidth_ = 0; }

    // A monitor came: a window put aside for want of its own goes back to
    // it, unless it was moved since.
    void screensAdded(const WindowOptions& options);

    // Where the window is, or returns to from full screen.
    Rect normalPlace() const;
    // The settings file's place: where the window system keeps places to
    // itself, the one read at load.
    Rect placeToSave(const WindowSettings& loaded) const;
    // The options file's monitor and place, into `options`.
    void recordInto(WindowOptions& options) const;

private:
    bool movedSince(const Rect& place) const;
    Window& window_;
    const Platform& platform_;
    bool fullScreen_ = false;
    bool fullScreenKept_ = true;
    Rect normalPlace_;
    // The width an arrangement or a restored arrangement gave; 0: none.
    int arrangedWidth_ = 0;
    // Put on the primary monitor because its own was missing, at awayPlace_.
    bool away_ = false;
    Rect awayPlace_;
};

}  // namespace corvano
