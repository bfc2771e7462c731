#include "platform/Covering.h"

#include <algorithm>

namespace corvano {

namespace {

bool empty(const Rect& r) { return r.width <= 0 || r.height <= 0; }

// What is left of r outside cut: up to four rectangles.
void subtract(const Rect& r, const Rect& cut, std::vector<Rect>& out) {
    const int left = std::max(r.left, cut.left), right = std::min(r.left + r.width, cut.left + cut.width);
    const int top = std::max(r.top, cut.top), bottom = std::min(r.top + r.height, cut.top + cut.height);
    if (left >= right || top >= bottom) {
        out.push_back(r);
        return;
    }
    const int rRight = r.left + r.width, rBottom = r.top + r.height;
    if (top > r.top) out.push_back({r.left, r.top, r.width, top - r.top});
    if (bottom < rBottom) out.push_back({r.left, bottom, r.width, rBottom - bottom});
    if (left > r.left) out.push_back({r.left, top, left - r.left, bottom - top});
    if (right < rRight) out.push_back({right, top, rRight - right, bottom - top});
}

}  // namespace

std::vector<bool> coveredWindows(const std::vector<StackedWindow>& bottomToTop) {
    std::vector<bool> covered(bottomToTop.size(), false);
    for (size_t i = 0; i < bottomToTop.size(); ++i) {
        const StackedWindow& w = bottomToTop[i];
        if (!w.onScreen || empty(w.frame)) continue;
        std::vector<Rect> left{w.frame}, next;
        for (size_t j = i + 1; j < bottomToTop.size() && !left.empty(); ++j) {
            const StackedWindow& above = bottomToTop[j];
            if (!above.onScreen || empty(above.frame)) continue;
            next.clear();
            for (const Rect& r : left) subtract(r, above.frame, next);
            left.swap(next);
        }
        covered[i] = left.empty();
    }
    return covered;
}

}  // namespace corvano
