#include "browser/BrowserSettings.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/TextFile.h"
#include "browser/ProductUrls.h"

namespace corvano {

namespace tf = textfile;

namespace {

std::string perWindowFile(const std::string& appPath, int number, const char* ext) {
    return appPath + "/Data/Corvano" + std::to_string(number) + ext;
}

// Rounds half to even and keeps the value inside 16 bits (huge screens).
int16_t clamp16(double v) {
    const double r = std::nearbyint(v);
    return static_cast<int16_t>(std::clamp(r, -32768.0, 32767.0));
}

std::optional<int16_t> readInteger(const std::string& line) { return tf::toInt16(tf::leadingNumber(tf::trimBlanks(line))); }

// Stores the values line by line; false at the first line that fails.
bool parse(const std::vector<std::string>& lines, WindowSettings& s, std::string& currentAddress, Size screen) {
    auto line = [&lines](size_t n) -> const std::string* { return n <= lines.size() ? &lines[n - 1] : nullptr; };

    for (size_t n = 1; n <= 4; ++n) {
        const std::string* text = line(n);
        if (!text) return false;
        auto v = readInteger(*text);
        if (!v) return false;
        switch (n) {
            case 1: s.top = std::max<int16_t>(*v, 0); break;
            case 2: s.left = std::max<int16_t>(*v, 0); break;
            case 3: s.height = *v < 1000 ? clamp16(screen.height) : *v; break;
            case 4: s.width = *v < 2000 ? clamp16(screen.width) : *v; break;
        }
    }
    for (size_t i = 0; i < s.reservedReals.size(); ++i) {
        const std::string* text = line(5 + i);
        if (!text) return false;
        const double v = tf::leadingNumber(*text);
        if (!std::isfinite(v)) return false;  // overflows a double
        s.reservedReals[i] = v;
    }
    const std::string* text = line(13);
    if (!text) return false;
    auto mode = readInteger(*text);
    if (!mode) return false;
    s.windowMode = *mode;

    if (!(text = line(14))) return false;
    s.homeAddress = *text;
    if (!(text = line(15))) return false;
    currentAddress = *text;
    return true;
}

}  // namespace

std::string settingsFilePath(const std::string& appPath, int number) { return perWindowFile(appPath, number, ".Ini"); }
std::string historyFilePath(const std::string& appPath, int number) { return perWindowFile(appPath, number, ".Hys"); }
std::string optionsFilePath(const std::string& appPath, int number) { return perWindowFile(appPath, number, ".Opt"); }

std::string withoutLineBreaks(std::string text) {
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

TilingDefaults tilingDefaults(int c, Size screen, int stripHeight) {
    TilingDefaults d;
    if (c == 1 || c == 2)
        d.top = clamp16(stripHeight + 20);
    else if (c % 2 != 0)
        d.top = clamp16((c / 2.0 + 0.5) * 350);
    else
        d.top = clamp16((c / 2.0) * 350);
    d.left = c % 2 != 0 ? int16_t{50} : clamp16(screen.width / 2.0);
    d.height = clamp16(screen.height / 2.0 - 200);
    d.width = clamp16(screen.width / 2.0 - 50);
    return d;
}

bool readSettingsFile(const std::string& path, WindowSettings& s, std::string& currentAddress, Size screen,
                      const TilingDefaults& defaults) {
    auto data = tf::readAll(path, 1u << 20);
    if (data && parse(tf::splitLines(tf::toUtf8(*data)), s, currentAddress, screen)) return true;
    s.top = defaults.top;
    s.left = defaults.left;
    s.height = defaults.height;
    s.width = defaults.width;
    s.homeAddress = urls::kMakerHomePage;
    currentAddress = urls::kMakerSecondSite;
    return false;
}

std::string settingsFileText(const WindowSettings& s, const Rect& outer, const std::string& currentAddress) {
    // Kept inside 16 bits so the file always reads back.
    auto whole = [](int v) { return tf::printNumber(static_cast<long long>(std::min(v, 32767))); };
    std::vector<std::string> lines;
    lines.push_back(whole(outer.top >= 0 ? outer.top : 0));
    lines.push_back(whole(outer.left >= 0 ? outer.left : 0));
    lines.push_back(whole(outer.height > 1000 ? outer.height : 1000));
    lines.push_back(whole(outer.width > 2000 ? outer.width : 2000));
    for (double r : s.reservedReals) lines.push_back(tf::printNumber(r));
    lines.push_back(tf::printNumber(static_cast<long long>(s.windowMode)));
    lines.push_back(withoutLineBreaks(s.homeAddress));
    lines.push_back(withoutLineBreaks(currentAddress));
    return tf::joinCrlf(lines);
}

bool saveSettingsFile(const std::string& path, const WindowSettings& settings, const Rect& outer,
                      const std::string& currentAddress) {
    return tf::writeAtomic(path, settingsFileText(settings, outer, currentAddress));
}

}  // namespace corvano
