#include "browser/Arrange.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvano {

namespace {

// A title bar and a frame's edge, in twips: one cascade step.
constexpr int kCascadeStep = 450;

double aspect(const Rect& r) { return r.height > 0 ? static_cast<double>(r.width) / r.height : 1.0; }

// Cell i of n along a length: the edges are rounded once, so neighbours abut.
int edge(int start, int length, int i, int n) {
    return start + static_cast<int>(static_cast<long long>(length) * i / n);
}

}  // namespace

GridShape gridShape(int count, const Rect& area, const Rect& like) {
    if (count <= 0) return {};
    const double want = aspect(like);
    GridShape best{count, 1};
    double bestScore = std::numeric_limits<double>::max();
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        // An empty column or row would leave a gap.
        if ((columns - 1) * rows >= count || columns * (rows - 1) >= count) continue;
        const double cell = (static_cast<double>(area.width) / columns) / (static_cast<double>(area.height) / rows);
        const double score = std::abs(std::log(cell / want));
        if (score < bestScore - 1e-9) {
            bestScore = score;
            best = {columns, rows};
        }
    }
    return best;
}

std::vector<Rect> arrangeWindows(Arrangement how, int count, const Rect& area, const Rect& like) {
    std::vector<Rect> places;
    if (count <= 0 || area.width <= 0 || area.height <= 0) return places;
    GridShape shape;
    switch (how) {
        case Arrangement::Grid: shape = gridShape(count, area, like); break;
        case Arrangement::Columns: shape = {count, 1}; break;
        case Arrangement::Rows: shape = {1, count}; break;
        case Arrangement::Cascade: {
            const int w = std::max(1, area.width * 2 / 3), h = std::max(1, area.height * 2 / 3);
            const int room = std::min(area.width - w, area.height - h);
            const int step = count > 1 ? std::min(kCascadeStep, room / (count - 1)) : 0;
            for (int i = 0; i < count; ++i) places.push_back({area.left + i * step, area.top + i * step, w, h});
            return places;
        }
    }
    for (int row = 0; row < shape.rows; ++row) {
        const int first = row * shape.columns;
        // The last row may hold fewer windows; they share its whole width.
        const int inRow = std::min(shape.columns, count - first);
        const int top = edge(area.top, area.height, row, shape.rows);
        const int bottom = edge(area.top, area.height, row + 1, shape.rows);
        for (int col = 0; col < inRow; ++col) {
            const int left = edge(area.left, area.width, col, inRow);
            const int right = edge(area.left, area.width, col + 1, inRow);
            places.push_back({left, top, right - left, bottom - top});
        }
    }
    return places;
}

std::vector<Rect> gridOnEveryArea(int count, const std::vector<Rect>& areas, const std::vector<Rect>& shapes) {
    std::vector<Rect> places;
    const int n = static_cast<int>(areas.size());
    if (n == 0) return places;
    for (int i = 0; i < n; ++i) {
        const int share = count / n + (i < count % n ? 1 : 0);
        const Rect& like = i < static_cast<int>(shapes.size()) ? shapes[static_cast<size_t>(i)] : areas[static_cast<size_t>(i)];
        for (const Rect& r : arrangeWindows(Arrangement::Grid, share, areas[static_cast<size_t>(i)], like))
            places.push_back(r);
    }
    return places;
}

int areaHolding(const Rect& window, const std::vector<Rect>& areas) {
    const long long cx = window.left + window.width / 2, cy = window.top + window.height / 2;
    int best = -1;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (size_t i = 0; i < areas.size(); ++i) {
        const Rect& a = areas[i];
        const long long dx = std::max<long long>({a.left - cx, 0, cx - (a.left + a.width)});
        const long long dy = std::max<long long>({a.top - cy, 0, cy - (a.top + a.height)});
        const long long d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

}  // namespace corvano
