#include "browser/NumberChoice.h"

#include <algorithm>
#include <utility>

namespace corvano {

BrowserNumber chooseBrowserNumber(AppState& App) {
    const int last = std::min<int>(App.maxBrowsers, static_cast<int>(App.browserSlots.size()) - 1);
    int inUse = 0;
    for (int n = 1; n <= last; ++n)
        if (App.browserSlots[static_cast<size_t>(n)] == 1 && ++inUse == App.browserCount) return {n, false};
    const int wanted = std::exchange(App.wantedNumber, 0);
    if (wanted >= 1 && wanted <= last && App.browserSlots[static_cast<size_t>(wanted)] == 0) {
        App.browserSlots[static_cast<size_t>(wanted)] = 1;
        return {wanted, true};
    }
    for (int n = 1; n <= last; ++n)
        if (App.browserSlots[static_cast<size_t>(n)] == 0) {
            App.browserSlots[static_cast<size_t>(n)] = 1;
            return {n, true};
        }
    return {};
}

}  // namespace corvano
