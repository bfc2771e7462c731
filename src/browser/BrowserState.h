#pragma once

#include <string>

#include "browser/BrowserSettings.h"
#include "browser/WindowOptions.h"

namespace corvano {

// One browser window's own state: what its files hold and what its commands
// set. No other window reads or writes it.
struct BrowserState {
    int number = 0;  // 0 only if none could be had
    // The address the window shows or was last sent to.
    std::string currentAddress;
    // What its settings file held at load (its place, mode and home address).
    WindowSettings settings;
    // What its options file holds besides.
    WindowOptions options;
    // The two document templates of its export, and which one the export uses.
    std::string templatePath1;
    std::string templatePath2;
    bool exportLandscape = false;
};

}  // namespace corvano
