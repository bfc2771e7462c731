#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/SiteAnswers.h"
#include "app/StringTable.h"

namespace corvano {

// The process-wide record every window reads and writes by name.
struct AppState {
    std::string appPath;
    // The language files as shipped; empty: the application folder.
    std::string shippedPath;
    int16_t maxBrowsers = 0;
    int16_t browserCount = 0;
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
    bool wordLayout = false;
    int16_t dimOpacity = 0;
    int16_t fullOpacity = 0;
    // Height of the main window's bar strip: browser windows tile below it.
    int16_t stripHeight = 395;

    // Placement and values the browser windows share through their settings files.
    int16_t winTop = 0;
    int16_t winLeft = 0;
    int16_t winHeight = 0;
    int16_t winWidth = 0;
    std::array<double, 8> reservedReals{};
    int16_t windowMode = 0;
    std::string homeAddress;
    std::string templatePath1;
    std::string templatePath2;

    // Language names found at start-up, for the language drop-down.
    std::vector<std::string> languages;

    // What the pages asked for in this run, and what decides it.
    SiteAnswers siteAnswers;
    // A show mode brings the windows forward in turn: no page may ask meanwhile.
    bool showModeOn = false;
    // The show modes raise each window full screen until the next turn.
    bool showFullScreen = false;
    // True when the last source view call, in whichever window, showed a source.
    bool sourceShown = false;
};

}  // namespace corvano
