#include "browser/WindowPlace.h"

#include <cstdlib>
#include <vector>

#include "browser/Arrange.h"
#include "browser/Placement.h"

namespace corvano {

namespace {
// A window manager may place a window a pixel or two off what was asked.
constexpr int kPlaceSlack = 45;
}  // namespace

void WindowPlace::placeAtLoad(const WindowSettings& s, const WindowOptions& options) {
    if (s.windowMode == 2) return coverScreen();
    Rect r{s.left, s.top, s.width, s.height};
    if (options.hasPlace()) {
        // The options file's place has no 16-bit limit and follows its monitor.
        const std::vector<Monitor> monitors = platform_.monitors();
        const double tpp = platform_.twipsPerPixel();
        const int i = findMonitor(options.screen, options.screenRect, monitors, tpp);
        if (i >= 0) {
            r = placeOnMonitor(options.place, monitors[static_cast<size_t>(i)], tpp);
        } else if (!monitors.empty()) {
            // Its monitor is missing: onto the primary, keeping the record.
            r = placeOnMonitor(options.place, monitors.front(), tpp);
            away_ = true;
        }
        arrangedWidth_ = r.width;
    }
    // A place saved on other screens is brought back onto today's.
    r = placeOnScreens(r, platform_.screens());
    awayPlace_ = r;
    window_.setGeometry(r);
}

void WindowPlace::coverScreen() {
    const Size screen = platform_.screenSize();
    window_.setGeometry({0, 0, screen.width, screen.height});
}

bool WindowPlace::setFullScreen(bool on, bool kept) {
    if (on == fullScreen_) {
        // The user's F11 on a show mode's turn keeps it.
        if (on) fullScreenKept_ = fullScreenKept_ || kept;
        return false;
    }
    if (on) {
        normalPlace_ = window_.geometry();
        std::vector<Rect> screens;
        for (const Monitor& m : platform_.monitors()) screens.push_back(m.rect);
        const int i = areaHolding(normalPlace_, screens);
        const Size whole = platform_.screenSize();
        const Rect screen = i >= 0 ? screens[static_cast<size_t>(i)] : Rect{0, 0, whole.width, whole.height};
        fullScreen_ = true;
        fullScreenKept_ = kept;
        window_.setFrameless(true);
        window_.setGeometry(screen);
    } else {
        fullScreen_ = false;
        window_.setFrameless(false);
        window_.setGeometry(normalPlace_);
    }
    return true;
}

void WindowPlace::arrangeTo(const Rect& place) {
    if (fullScreen_) setFullScreen(false, true);
    away_ = false;
    arrangedWidth_ = place.width;
    window_.setGeometry(place);
}

bool WindowPlace::mayBeNarrow(int width) const {
    return fullScreen_ || (arrangedWidth_ > 0 && width >= arrangedWidth_ - kPlaceSlack);
}

void WindowPlace::screensAdded(const WindowOptions& options) {
    if (!away_ || fullScreen_) return;
    if (movedSince(awayPlace_)) {
        away_ = false;
        return;
    }
    const std::vector<Monitor> monitors = platform_.monitors();
    const double tpp = platform_.twipsPerPixel();
    const int i = findMonitor(options.screen, options.screenRect, monitors, tpp);
    if (i < 0) return;
    away_ = false;
    const Rect r =
        placeOnScreens(placeOnMonitor(options.place, monitors[static_cast<size_t>(i)], tpp), platform_.screens());
    if (arrangedWidth_ > 0) arrangedWidth_ = r.width;
    window_.setGeometry(r);
}

Rect WindowPlace::normalPlace() const { return fullScreen_ ? normalPlace_ : window_.geometry(); }

bool WindowPlace::movedSince(const Rect& place) const {
    const Rect now = normalPlace();
    return std::abs(now.left - place.left) > kPlaceSlack || std::abs(now.top - place.top) > kPlaceSlack ||
           std::abs(now.width - place.width) > kPlaceSlack || std::abs(now.height - place.height) > kPlaceSlack;
}

Rect WindowPlace::placeToSave(const WindowSettings& loaded) const {
    Rect outer = normalPlace();
    if (!platform_.windowPlacesKnown()) {
        outer.top = loaded.top;
        outer.left = loaded.left;
    }
    return outer;
}

void WindowPlace::recordInto(WindowOptions& o) const {
    // Where the window system keeps places to itself, and for a window put
    // aside that has not moved since, the record read stays.
    if (!platform_.windowPlacesKnown() || (away_ && !movedSince(awayPlace_))) return;
    const MonitorPlace mp = monitorPlace(normalPlace(), platform_.monitors(), platform_.twipsPerPixel());
    o.screen = mp.screen;
    o.screenRect = mp.screenRect;
    o.place = mp.place;
}

}  // namespace corvano
