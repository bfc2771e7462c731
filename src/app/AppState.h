#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "app/SiteAnswers.h"
#include "app/StringTable.h"

namespace corvano {

// The process-wide record: what belongs to the whole wall. What one browser
// window holds (its place, addresses, export and source view) is its own.
struct AppState {
    std::string appPath;
    // The language files as shipped; empty: the application folder.
    std::string shippedPath;
    int16_t maxBrowsers = 0;
    int16_t browserCount = 0;
    // The free number a caller from outside asked the next new window to take; 0 none.
    int16_t wantedNumber = 0;
    int16_t reopenCount = 0;
    std::array<int16_t, 33> browserSlots{};  // entries 1..maxBrowsers used
    int16_t currentBrowser = 0;
    std::string language;
    int16_t barStyle = 0;
    StringTable strings;
    std::string newBrowserUrl;
    int16_t lockAdvertising = 0;
    bool barsShown = true;
    int16_t rotationPos = 0;
    int16_t rotationPeriod = 0;
    int16_t screenshotCounter = 0;
    int16_t dimOpacity = 0;
    int16_t fullOpacity = 0;
    // Height of the main window's bar strip: browser windows tile below it.
    int16_t stripHeight = 395;

    // Language names found at start-up, for the language drop-down.
    std::vector<std::string> languages;

    // What the pages asked for in this run, and what decides it.
    SiteAnswers siteAnswers;
    // The named web profiles a window has used in this run: their files are
    // not removed while Corvano runs.
    std::set<std::string> profilesUsed;
    // A show mode brings the windows forward in turn: no page may ask meanwhile.
    bool showModeOn = false;
    // The show modes raise each window full screen until the next turn.
    bool showFullScreen = false;
};

}  // namespace corvano
