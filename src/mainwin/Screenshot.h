#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace corvano {

// The three digits of a screenshot's name: the last three characters of
// "00" followed by the counter (7 gives 007, 1234 gives 234).
std::string screenshotDigits(int counter);
// Application path + "/Images/Corvano" + the digits + ".bmp".
std::string screenshotPath(const std::string& appPath, int counter);

struct ScreenshotName {
    int16_t counter = 0;  // the counter that gives this name
    std::string path;
};

// The first name, from the counter on, that no file has taken yet: an
// earlier screenshot is never replaced. Nothing when all 1000 are taken.
std::optional<ScreenshotName> freeScreenshotName(const std::string& appPath, int16_t counter,
                                                 const std::function<bool(const std::string&)>& taken);

// The counter after a screenshot; it stays at its 16-bit limit.
int16_t nextScreenshotCounter(int16_t counter);

}  // namespace corvano
