#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "browser/Arrange.h"

using namespace corvano;

namespace {

// Monitors at 15 twips a pixel, each with the work area the grid gets.
struct Monitor {
    const char* name;
    Rect whole;
    Rect area;
};
const Monitor kMonitors[] = {
    {"1920x1080 under a bar strip", {0, 0, 28800, 16200}, {0, 395, 28800, 15805}},
    {"1280x1024", {28800, 0, 19200, 15360}, {28800, 0, 19200, 15360}},
    {"portrait 1080x1920", {0, 0, 16200, 28800}, {0, 0, 16200, 28800}},
    {"3840x1080", {0, 0, 57600, 16200}, {0, 0, 57600, 16200}},
    {"960x1000 with a panel", {14400, 0, 14400, 15000}, {14400, 0, 14400, 14400}},
};

long long areaOf(const Rect& r) { return static_cast<long long>(r.width) * r.height; }
bool inside(const Rect& r, const Rect& a) {
    return r.left >= a.left && r.top >= a.top && r.left + r.width <= a.left + a.width &&
           r.top + r.height <= a.top + a.height;
}
bool overlap(const Rect& a, const Rect& b) {
    return std::min(a.left + a.width, b.left + b.width) > std::max(a.left, b.left) &&
           std::min(a.top + a.height, b.top + b.height) > std::max(a.top, b.top);
}
// Reading order: rows from the top, left to right within a row.
bool readsBefore(const Rect& a, const Rect& b) {
    return a.top + a.height <= b.top || (a.top == b.top && a.left + a.width <= b.left);
}

}  // namespace

TEST(Arrange, TilesTheWorkAreaInNumberOrderForOneToTwentyWindows) {
    for (const Monitor& m : kMonitors)
        for (Arrangement how : {Arrangement::Grid, Arrangement::Columns, Arrangement::Rows})
            for (int n = 1; n <= 20; ++n) {
                const std::vector<Rect> places = arrangeWindows(how, n, m.area, m.whole);
                const std::string where = std::string(m.name) + ", " + std::to_string(n) + " windows, kind " +
                                          std::to_string(static_cast<int>(how));
                ASSERT_EQ(static_cast<size_t>(n), places.size()) << where;
                long long covered = 0;
                for (size_t i = 0; i < places.size(); ++i) {
                    EXPECT_TRUE(inside(places[i], m.area)) << where << ", window " << i + 1;
                    EXPECT_GT(places[i].width, 0) << where;
                    covered += areaOf(places[i]);
                    for (size_t j = i + 1; j < places.size(); ++j) {
                        EXPECT_FALSE(overlap(places[i], places[j])) << where << ": " << i + 1 << " and " << j + 1;
                        EXPECT_TRUE(readsBefore(places[i], places[j])) << where << ": " << i + 1 << " before " << j + 1;
                    }
                }
                // Inside and not overlapping: the same area means no gap at all.
                EXPECT_EQ(areaOf(m.area), covered) << where;
            }
}

TEST(Arrange, GridCellsFollowTheMonitorsShape) {
    const Monitor& hd = kMonitors[0];
    auto shape = [](int n, const Monitor& m) {
        const GridShape s = gridShape(n, m.area, m.whole);
        return std::make_pair(s.columns, s.rows);
    };
    EXPECT_EQ(std::make_pair(5, 4), shape(20, hd));
    EXPECT_EQ(std::make_pair(2, 2), shape(4, hd));
    EXPECT_EQ(std::make_pair(2, 1), shape(2, hd)) << "side by side on a wide monitor";
    EXPECT_EQ(std::make_pair(1, 2), shape(2, kMonitors[2])) << "one above the other on a tall one";
    EXPECT_EQ(std::make_pair(2, 2), shape(4, kMonitors[3])) << "a double-wide desktop has double-wide cells";
    // From four windows on, no cell is more than twice as wide or as tall as the monitor's shape.
    for (const Monitor& m : kMonitors)
        for (int n = 4; n <= 20; ++n) {
            const Rect cell = arrangeWindows(Arrangement::Grid, n, m.area, m.whole).front();
            const double ratio = (static_cast<double>(cell.width) / cell.height) /
                                 (static_cast<double>(m.whole.width) / m.whole.height);
            EXPECT_LT(std::abs(std::log(ratio)), std::log(2.0)) << m.name << ", " << n << " windows";
        }
}

TEST(Arrange, CascadeStepsDownRightInsideTheArea) {
    for (const Monitor& m : kMonitors)
        for (int n = 1; n <= 20; ++n) {
            const std::vector<Rect> places = arrangeWindows(Arrangement::Cascade, n, m.area, m.whole);
            ASSERT_EQ(static_cast<size_t>(n), places.size());
            EXPECT_EQ(m.area.left, places[0].left);
            EXPECT_EQ(m.area.top, places[0].top);
            for (size_t i = 0; i < places.size(); ++i) {
                EXPECT_TRUE(inside(places[i], m.area)) << m.name << ", " << n << " windows, window " << i + 1;
                if (i == 0) continue;
                // Every title bar stays visible: each window lower and further right, all the same size.
                EXPECT_GT(places[i].top, places[i - 1].top);
                EXPECT_GT(places[i].left, places[i - 1].left);
                EXPECT_EQ(places[0].width, places[i].width);
            }
        }
}

TEST(Arrange, GridOnEveryScreenSharesTheWindowsInOrder) {
    const std::vector<Rect> areas{kMonitors[0].area, kMonitors[1].area};
    const std::vector<Rect> shapes{kMonitors[0].whole, kMonitors[1].whole};
    for (int n = 1; n <= 20; ++n) {
        const std::vector<Rect> places = gridOnEveryArea(n, areas, shapes);
        ASSERT_EQ(static_cast<size_t>(n), places.size());
        int onFirst = 0;
        for (size_t i = 0; i < places.size(); ++i) {
            const int a = areaHolding(places[i], areas);
            ASSERT_GE(a, 0);
            EXPECT_TRUE(inside(places[i], areas[static_cast<size_t>(a)])) << n << " windows, window " << i + 1;
            // The lower numbers fill the first screen.
            if (a == 0) {
                EXPECT_EQ(static_cast<int>(i), onFirst++) << n << " windows";
            }
        }
        EXPECT_LE(std::abs(onFirst - (n - onFirst)), 1) << n << " windows";
    }
    EXPECT_TRUE(gridOnEveryArea(3, {}, {}).empty());
}

TEST(Arrange, TheAreaHoldingAWindowIsTheOneUnderItsCentre) {
    const std::vector<Rect> areas{{0, 0, 28800, 16200}, {28800, 0, 19200, 15360}};
    EXPECT_EQ(0, areaHolding({1000, 1000, 9000, 6000}, areas));
    EXPECT_EQ(1, areaHolding({26000, 1000, 9000, 6000}, areas)) << "mostly on the right one";
    EXPECT_EQ(1, areaHolding({60000, 1000, 9000, 6000}, areas)) << "off to the right: the nearest";
    EXPECT_EQ(-1, areaHolding({0, 0, 10, 10}, {}));
}
