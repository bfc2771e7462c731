#include "mainwin/Screenshot.h"

#include <algorithm>
#include <limits>

namespace corvano {

namespace {
constexpr int kNames = 1000;
constexpr int kLimit = std::numeric_limits<int16_t>::max();
}  // namespace

std::string screenshotDigits(int counter) {
    const std::string s = "00" + std::to_string(counter);
    return s.substr(s.size() - 3);
}

std::string screenshotPath(const std::string& appPath, int counter) {
    return appPath + "/Images/Corvano" + screenshotDigits(counter) + ".bmp";
}

std::optional<ScreenshotName> freeScreenshotName(const std::string& appPath, int16_t counter,
                                                 const std::function<bool(const std::string&)>& taken) {
    const int start = std::max<int>(0, counter);
    // A thousand steps meet every name once; at the limit the counter stays
    // put while the name moves on.
    for (int step = 0; step < kNames; ++step) {
        const int n = start + step;
        const std::string path = screenshotPath(appPath, n);
        if (!taken(path)) return ScreenshotName{static_cast<int16_t>(std::min(n, kLimit)), path};
    }
    return std::nullopt;
}

int16_t nextScreenshotCounter(int16_t counter) {
    return counter >= kLimit ? static_cast<int16_t>(kLimit) : static_cast<int16_t>(std::max<int>(0, counter) + 1);
}

}  // namespace corvano
