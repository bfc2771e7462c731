#pragma once

#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Platform.h"

namespace corvano {

// Where a window stored at `place` comes back on today's screens. A window
// that lies at least half on the screens stays exactly where it was; one that
// lies wholly or mostly outside (a monitor unplugged, a smaller resolution)
// moves onto the screen nearest to it, shrunk only where it does not fit.
// No screens at all leaves it unchanged.
Rect placeOnScreens(const Rect& place, const std::vector<Rect>& screens);

// A window's place as the options file keeps it: the monitor under its
// centre (else the nearest), by name and by place and size, and the window
// relative to that monitor; all in logical pixels. No monitors: empty name.
struct MonitorPlace {
    std::string screen;
    Rect screenRect;
    Rect place;
};
MonitorPlace monitorPlace(const Rect& window, const std::vector<Monitor>& monitors, double twipsPerPixel);

// The monitor a recorded one is today, wherever it now stands on the
// desktop: the same name, place and size; else the same place and size
// (names like XWAYLAND0 follow the order of the monitors, so a name may now
// belong to another); else the same name and size; else the same name.
// -1 when it is missing.
int findMonitor(const std::string& name, const Rect& screenRectPixels, const std::vector<Monitor>& monitors,
                double twipsPerPixel);

// A place relative to a monitor, in logical pixels, on the desktop in twips.
Rect placeOnMonitor(const Rect& placePixels, const Monitor& monitor, double twipsPerPixel);

}  // namespace corvano
