// Any bytes as a window's settings file: no crash, the values stay in their
// ranges, and what the window would write back reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFolder.h"

#include "app/TextFile.h"
#include "browser/BrowserSettings.h"

namespace {
const std::string& folder() { return corvano::fuzz::folder("settings"); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvano;
    const std::string path = settingsFilePath(folder(), 1);
    corvano::fuzz::writeInput(path, data, size);
    const Size screen{28800, 16200};
    const TilingDefaults defaults = tilingDefaults(3, screen, 395);
    WindowSettings App;
    std::string address;
    readSettingsFile(path, App, address, screen, defaults);
    if (App.top < 0 || App.left < 0) std::abort();
    if (!textfile::isValidUtf8(address) || !textfile::isValidUtf8(App.homeAddress)) std::abort();

    const Rect outer{App.left, App.top, App.width, App.height};
    const std::string text = settingsFileText(App, outer, address);
    if (textfile::splitLines(text).size() != 15) std::abort();
    if (!saveSettingsFile(path, App, outer, address)) return 0;
    WindowSettings again;
    std::string addressAgain;
    if (!readSettingsFile(path, again, addressAgain, screen, defaults)) std::abort();
    if (settingsFileText(again, {again.left, again.top, again.width, again.height}, addressAgain) != text)
        std::abort();
    return 0;
}
