// Any bytes as the global settings file: no crash, and the values stay in range.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFolder.h"

#include "app/IniSettings.h"

namespace {
const std::string& folder() { return corvano::fuzz::folder("ini"); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    corvano::fuzz::writeInput(folder() + "/Data/Corvano.Ini", data, size);
    corvano::AppState App;
    App.appPath = folder();
    App.maxBrowsers = 20;
    corvano::Read_IniSetting(App);
    if (App.browserCount < 0 || App.language.empty() || !corvano::isSafeLanguageName(App.language)) std::abort();
    corvano::Save_IniSetting(App);
    return 0;
}
