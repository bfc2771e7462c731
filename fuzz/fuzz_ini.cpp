// Any bytes as the global settings file: no crash, and the values stay in range.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/IniSettings.h"

namespace {

const std::string& folder() {
    static const std::string dir = [] {
        std::string d = std::filesystem::temp_directory_path().string() + "/corvano-fuzz-ini-" + std::to_string(::getpid());
        std::filesystem::create_directories(d + "/Data");
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream out(folder() + "/Data/Corvano.Ini", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    corvano::AppState App;
    App.appPath = folder();
    App.maxBrowsers = 20;
    corvano::Read_IniSetting(App);
    if (App.browserCount < 0 || App.language.empty() || !corvano::isSafeLanguageName(App.language)) std::abort();
    corvano::Save_IniSetting(App);
    return 0;
}
