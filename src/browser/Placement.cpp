#include "browser/Placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "browser/Arrange.h"

namespace corvano {

namespace {

long long overlap(const Rect& a, const Rect& b) {
    const long long w = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const long long h = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from the window's centre to the nearest point of the screen.
long long distance(const Rect& window, const Rect& screen) {
    const long long cx = window.left + window.width / 2, cy = window.top + window.height / 2;
    const long long dx = std::max<long long>({screen.left - cx, 0, cx - (screen.left + screen.width)});
    const long long dy = std::max<long long>({screen.top - cy, 0, cy - (screen.top + screen.height)});
    return dx * dx + dy * dy;
}

int pixels(int twips, double tpp) { return static_cast<int>(std::lround(twips / tpp)); }
int twips(int pixels, double tpp) { return static_cast<int>(std::lround(pixels * tpp)); }

Rect inPixels(const Rect& r, double tpp) {
    return {pixels(r.left, tpp), pixels(r.top, tpp), pixels(r.width, tpp), pixels(r.height, tpp)};
}

}  // namespace

MonitorPlace monitorPlace(const Rect& window, const std::vector<Monitor>& monitors, double twipsPerPixel) {
    std::vector<Rect> rects;
    for (const Monitor& m : monitors) rects.push_back(m.rect);
    const int i = areaHolding(window, rects);
    if (i < 0 || twipsPerPixel <= 0) return {};
    const Monitor& m = monitors[static_cast<size_t>(i)];
    const Rect screen = inPixels(m.rect, twipsPerPixel);
    Rect place = inPixels(window, twipsPerPixel);
    place.left -= screen.left;
    place.top -= screen.top;
    return {m.name, screen, place};
}

int findMonitor(const std::string& name, const Rect& screenRectPixels, const std::vector<Monitor>& monitors,
                double twipsPerPixel) {
    auto find = [&](auto&& match) {
        for (size_t i = 0; i < monitors.size(); ++i)
            if (match(monitors[i], inPixels(monitors[i].rect, twipsPerPixel))) return static_cast<int>(i);
        return -1;
    };
    const Rect& want = screenRectPixels;
    auto sameSize = [&](const Rect& r) { return r.width == want.width && r.height == want.height; };
    for (int i : {find([&](const Monitor& m, const Rect& r) { return m.name == name && r == want; }),
                  find([&](const Monitor&, const Rect& r) { return r == want; }),
                  find([&](const Monitor& m, const Rect& r) { return m.name == name && sameSize(r); }),
                  find([&](const Monitor& m, const Rect&) { return !name.empty() && m.name == name; })})
        if (i >= 0) return i;
    return -1;
}

Rect placeOnMonitor(const Rect& placePixels, const Monitor& monitor, double twipsPerPixel) {
    const Rect screen = inPixels(monitor.rect, twipsPerPixel);
    return {twips(screen.left + placePixels.left, twipsPerPixel), twips(screen.top + placePixels.top, twipsPerPixel),
            twips(placePixels.width, twipsPerPixel), twips(placePixels.height, twipsPerPixel)};
}

Rect placeOnScreens(const Rect& place, const std::vector<Rect>& screens) {
    if (screens.empty() || place.width <= 0 || place.height <= 0) return place;
    // Screens do not overlap on a desktop, so the parts on each add up.
    long long inside = 0;
    for (const Rect& s : screens) inside += overlap(place, s);
    const long long area = static_cast<long long>(place.width) * place.height;
    if (inside * 2 >= area) return place;

    // The screen that holds most of the window, else the one nearest to it.
    const Rect* best = nullptr;
    long long bestOverlap = 0, bestDistance = std::numeric_limits<long long>::max();
    for (const Rect& s : screens) {
        const long long o = overlap(place, s), d = distance(place, s);
        if (o > bestOverlap || (o == bestOverlap && bestOverlap == 0 && d < bestDistance)) {
            best = &s;
            bestOverlap = o;
            bestDistance = d;
        }
    }
    if (!best) return place;
    const Rect& s = *best;
    Rect r = place;
    r.width = std::min(r.width, s.width);
    r.height = std::min(r.height, s.height);
    r.left = std::clamp(r.left, s.left, s.left + s.width - r.width);
    r.top = std::clamp(r.top, s.top, s.top + s.height - r.height);
    return r;
}

}  // namespace corvano
