#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Geometry.h"

namespace corvano {

// Per-window files of browser number n under the application folder.
std::string settingsFilePath(const std::string& appPath, int number);  // "/Data/Corvano" n ".Ini"
std::string historyFilePath(const std::string& appPath, int number);   // ".Hys"
std::string optionsFilePath(const std::string& appPath, int number);   // ".Opt"

// Line breaks would split one value over two lines of a file: drop them.
std::string withoutLineBreaks(std::string text);

// Placement of a window that has no usable settings file: two columns,
// odd counts left, even counts right, each pair 350 twips below the last.
struct TilingDefaults {
    int16_t top = 0;
    int16_t left = 0;
    int16_t height = 0;
    int16_t width = 0;
};
TilingDefaults tilingDefaults(int count, Size screen, int stripHeight);

// What one window's settings file holds besides its address: its place as
// read, eight reserved numbers, its mode (2: the whole screen) and its home
// address. Each window has its own, so one window's values never reach
// another window's file.
struct WindowSettings {
    int16_t top = 0;
    int16_t left = 0;
    int16_t height = 0;
    int16_t width = 0;
    std::array<double, 8> reservedReals{};
    int16_t windowMode = 0;
    std::string homeAddress;
};

// Reads a settings file into the window's settings and address. On any
// failure (missing file, fewer than 15 lines, a number outside 16 bits) the
// values read so far stay and the defaults replace placement and addresses.
// False when the defaults were used.
bool readSettingsFile(const std::string& path, WindowSettings& settings, std::string& currentAddress, Size screen,
                      const TilingDefaults& defaults);

// The 15 lines the settings file holds for a window with this outer geometry.
std::string settingsFileText(const WindowSettings& settings, const Rect& outer, const std::string& currentAddress);

// Writes the file atomically; false (old file untouched) when it cannot.
bool saveSettingsFile(const std::string& path, const WindowSettings& settings, const Rect& outer,
                      const std::string& currentAddress);

}  // namespace corvano
