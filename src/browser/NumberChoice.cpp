#include "browser/NumberChoice.h"

#include <algorithm>

namespace corvano {

BrowserNumber chooseBrowserNumber(AppState& App) {
    const int last = std::min<int>(App.maxBrowsers, static_cast<int>(App.browserSlots.size()) - 1);
    int inUse = 0;
    for (int n = 1; n <= last; ++n)
        if (App.browserSlots[static_cast<size_t>(n)] == 1 && ++inUse == App.browserCount) return {n, false};
    for (int n = 1; n <= last; ++n)
        if (App.browserSlots[static_cast<size_t>(n)] == 0) {
            App.browserSlots[static_cast<size_t>(n)] = 1;
            return {n, true};
        }
    return {};
}

}  // namespace corvano
