#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace corvano {

// Where a window stored at `place` comes back on today's screens. A window
// that lies at least half on the screens stays exactly where it was; one that
// lies wholly or mostly outside (a monitor unplugged, a smaller resolution)
// moves onto the screen nearest to it, shrunk only where it does not fit.
// No screens at all leaves it unchanged.
Rect placeOnScreens(const Rect& place, const std::vector<Rect>& screens);

}  // namespace corvano
