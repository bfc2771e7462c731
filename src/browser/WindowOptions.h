#pragma once

#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace corvano {

// What a browser window keeps in its options file besides its settings.
struct WindowOptions {
    int zoomPercent = 100;
    // Seconds between two refreshes of the page; 0 never.
    int refreshSeconds = 0;
    // Over its whole monitor, the page alone.
    bool fullScreen = false;
    bool barsShown = true;
    // The web profile the window's page lives in; empty: the shared one.
    std::string profile;
    // The monitor the window was on (its name and its place and size on the
    // desktop) and the window's outer place relative to it, all in logical
    // pixels. Empty name: not recorded.
    std::string screen;
    Rect screenRect;
    Rect place;
    // Lines of keys this build does not know, written back as they came.
    std::vector<std::string> otherLines;
    bool hasPlace() const { return !screen.empty() && place.width > 0 && place.height > 0; }
};

// The page zoom steps, in percent, as the web engine's own menus step.
constexpr int kZoomMin = 25;
constexpr int kZoomMax = 500;
// The next step up (direction > 0) or down from the given zoom; stays at the ends.
int zoomStep(int percent, int direction);

// The options file is key=value lines under a first line "version=N".
// A missing, empty, oversized or unreadable file, one without a version line,
// and any value that does not parse or lies out of range read as the default;
// keys this build does not know are kept as they are, so a later version
// still reads and loses nothing when this one writes the file again.
WindowOptions readWindowOptions(const std::string& path);
std::string windowOptionsText(const WindowOptions& options);
// Written atomically; false (old file untouched) when it cannot be.
bool saveWindowOptions(const std::string& path, const WindowOptions& options);

}  // namespace corvano
