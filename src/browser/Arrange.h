#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace corvano {

enum class Arrangement { Grid, Columns, Rows, Cascade };

struct GridShape {
    int columns = 0;
    int rows = 0;
};

// The columns and rows for `count` windows in `area`: the cells as close to
// the shape `like` (the monitor's) as the count allows, with no row or column
// left empty.
GridShape gridShape(int count, const Rect& area, const Rect& like);

// The outer places of `count` windows in `area`, in the order of their
// numbers: left to right, top to bottom. The places tile the area with no
// overlap and no gap (a short last row stretches across the width), except
// Cascade, where each window lies one title bar below and right of the one
// before, all inside the area. `like` is the monitor's shape for the grid.
std::vector<Rect> arrangeWindows(Arrangement how, int count, const Rect& area, const Rect& like);

// A grid over several work areas in turn: the windows are shared out as
// evenly as possible, the first areas taking one more where it does not
// divide, and laid out on each in the order of their numbers.
std::vector<Rect> gridOnEveryArea(int count, const std::vector<Rect>& areas, const std::vector<Rect>& shapes);

// The area of `areas` that holds the centre of `window`, else the one nearest
// to it; -1 when there is none.
int areaHolding(const Rect& window, const std::vector<Rect>& areas);

}  // namespace corvano
