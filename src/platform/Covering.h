#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace corvano {

// A window as another window can hide it: its outer frame, and whether it is
// on the screen at all (shown and not minimized).
struct StackedWindow {
    Rect frame;
    bool onScreen = false;
};

// For windows listed from the bottom of the stack to the top: which ones no
// part of can be seen, because the windows above them together cover every
// point of their frame. A window off the screen covers nothing and counts as
// not covered (it is hidden another way).
std::vector<bool> coveredWindows(const std::vector<StackedWindow>& bottomToTop);

}  // namespace corvano
