#include <gtest/gtest.h>

#include "browser/Placement.h"

using namespace corvano;

namespace {
// 1920 x 1080 and a 1280 x 1024 screen to its right, at 15 twips a pixel.
const Rect kLeftScreen{0, 0, 28800, 16200};
const Rect kRightScreen{28800, 0, 19200, 15360};
}  // namespace

TEST(Placement, WhatLiesMostlyOnTheScreensStaysExactly) {
    const std::vector<Rect> one{kLeftScreen};
    for (const Rect r : {Rect{600, 600, 9000, 6000},           // inside
                         Rect{0, 0, 28800, 16200},             // the whole screen, on the edges
                         Rect{24000, 600, 9000, 6000},         // half off the right edge
                         Rect{-2000, 10000, 9000, 8000}})      // a little off two edges
        EXPECT_EQ(placeOnScreens(r, one), r) << r.left << "," << r.top;
    // Across two screens and on neither wholly: still on the screens.
    const Rect across{24000, 600, 9000, 6000};
    EXPECT_EQ(placeOnScreens(across, {kLeftScreen, kRightScreen}), across);
}

TEST(Placement, WhatLiesMostlyOffComesBackOntoTheNearestScreenKeepingItsSize) {
    // Saved on a right-hand monitor that is gone now: wholly off.
    EXPECT_EQ(placeOnScreens({30000, 600, 9000, 6000}, {kLeftScreen}), (Rect{19800, 600, 9000, 6000}));
    // Mostly off the bottom.
    EXPECT_EQ(placeOnScreens({600, 14000, 9000, 6000}, {kLeftScreen}), (Rect{600, 10200, 9000, 6000}));
    // Two screens: it goes to the one it is nearest to, not the primary.
    EXPECT_EQ(placeOnScreens({50000, 2000, 9000, 6000}, {kLeftScreen, kRightScreen}),
              (Rect{39000, 2000, 9000, 6000}));
    EXPECT_EQ(placeOnScreens({-20000, 2000, 9000, 6000}, {kLeftScreen, kRightScreen}),
              (Rect{0, 2000, 9000, 6000}));
}

TEST(Placement, AWindowLargerThanItsScreenShrinksOntoIt) {
    // Saved on a 4K screen, back on a 1920 x 1080 one.
    EXPECT_EQ(placeOnScreens({1000, 1000, 57600, 32400}, {kLeftScreen}), kLeftScreen);
    // Off the screen and taller than it: moved, only the height shrinks.
    EXPECT_EQ(placeOnScreens({40000, 0, 9000, 20000}, {kLeftScreen}), (Rect{19800, 0, 9000, 16200}));
    // No screens known: left alone.
    EXPECT_EQ(placeOnScreens({40000, 0, 9000, 20000}, {}), (Rect{40000, 0, 9000, 20000}));
}
