#include "browser/WindowOptions.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>

#include "app/TextFile.h"
#include "browser/PageCare.h"
#include "browser/Profiles.h"

namespace corvano {

namespace tf = textfile;

namespace {

constexpr int kVersion = 1;
constexpr int kSteps[] = {25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400, 500};
// An options file is a few short lines; anything bigger is not ours.
constexpr size_t kMaxBytes = 64 * 1024;
constexpr size_t kMaxOtherLines = 64;

// A key another version may have written: plain letters, digits and a few marks.
bool plausibleKey(const std::string& key) {
    if (key.empty() || key.size() > 64) return false;
    return std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.';
    });
}

bool printable(const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// A whole decimal number and nothing else around it but blanks.
std::optional<int> wholeNumber(const std::string& text) {
    const std::string t = tf::trimBlanks(text);
    int v = 0;
    const char* end = t.data() + t.size();
    auto [p, ec] = std::from_chars(t.data(), end, v);
    if (t.empty() || ec != std::errc() || p != end) return std::nullopt;
    return v;
}

// "left,top,width,height" with a positive size.
std::optional<Rect> rectOf(const std::string& text) {
    int v[4];
    size_t from = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? text.find(',', from) : text.size();
        if (comma == std::string::npos) return std::nullopt;
        const auto n = wholeNumber(text.substr(from, comma - from));
        if (!n) return std::nullopt;
        v[i] = *n;
        from = comma + 1;
    }
    if (v[2] <= 0 || v[3] <= 0) return std::nullopt;
    return Rect{v[0], v[1], v[2], v[3]};
}

std::string rectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}

}  // namespace

int zoomStep(int percent, int direction) {
    if (direction > 0) {
        for (int s : kSteps)
            if (s > percent) return s;
        return kZoomMax;
    }
    for (auto it = std::rbegin(kSteps); it != std::rend(kSteps); ++it)
        if (*it < percent) return *it;
    return kZoomMin;
}

WindowOptions readWindowOptions(const std::string& path) {
    WindowOptions options;
    const auto data = tf::readAll(path, kMaxBytes);
    if (!data) return options;
    const std::vector<std::string> lines = tf::splitLines(*data);
    bool versioned = false;
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = tf::trimBlanks(line.substr(0, eq));
        const std::string text = line.substr(eq + 1);
        const auto value = wholeNumber(text);
        if (!versioned) {
            // The version line comes first; a file without one is not an options file.
            if (key != "version" || !value || *value < 1) return options;
            versioned = true;
            continue;
        }
        if (key == "zoom") {
            if (value && *value >= kZoomMin && *value <= kZoomMax) options.zoomPercent = *value;
        } else if (key == "refresh") {
            if (value) options.refreshSeconds = refreshFromFile(*value);
        } else if (key == "fullscreen") {
            options.fullScreen = value == 1;
        } else if (key == "bars") {
            options.barsShown = value != 0;
        } else if (key == "profile") {
            // A name that is not one reads as the shared profile, never as a path.
            const std::string name = tf::trimBlanks(text);
            options.profile = validProfileName(name) ? name : std::string();
        } else if (key == "screen") {
            options.screen = tf::trimBlanks(text);
        } else if (key == "screenrect") {
            if (auto r = rectOf(text)) options.screenRect = *r;
        } else if (key == "place") {
            if (auto r = rectOf(text)) options.place = *r;
        } else if (key != "version" && plausibleKey(key) && printable(line) &&
                   options.otherLines.size() < kMaxOtherLines) {
            options.otherLines.push_back(line);
        }
    }
    // A place means nothing without the monitor it is relative to.
    if (!options.hasPlace() || options.screenRect.width <= 0) {
        options.screen.clear();
        options.screenRect = options.place = Rect{};
    }
    return options;
}

std::string windowOptionsText(const WindowOptions& options) {
    std::vector<std::string> lines{"version=" + std::to_string(kVersion), "zoom=" + std::to_string(options.zoomPercent)};
    // Only what differs from the defaults: older files stay as they were.
    if (const int r = refreshFromFile(options.refreshSeconds); r > 0) lines.push_back("refresh=" + std::to_string(r));
    if (options.fullScreen) lines.push_back("fullscreen=1");
    if (!options.barsShown) lines.push_back("bars=0");
    if (validProfileName(options.profile)) lines.push_back("profile=" + options.profile);
    if (options.hasPlace()) {
        std::string name = options.screen;
        std::erase_if(name, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        lines.push_back("screen=" + name);
        lines.push_back("screenrect=" + rectText(options.screenRect));
        lines.push_back("place=" + rectText(options.place));
    }
    for (const std::string& line : options.otherLines) lines.push_back(line);
    return tf::joinCrlf(lines);
}

bool saveWindowOptions(const std::string& path, const WindowOptions& options) {
    return tf::writeAtomic(path, windowOptionsText(options));
}

}  // namespace corvano
