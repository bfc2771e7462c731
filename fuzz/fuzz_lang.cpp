// Any bytes as a language file: no crash, and the output is always UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/LangFile.h"
#include "app/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    corvano::AppState App;
    corvano::Read_CFG_Text(App, std::string(reinterpret_cast<const char*>(data), size));
    for (int n = 0; n <= corvano::StringTable::kSize; ++n)
        if (!corvano::textfile::isValidUtf8(App.strings.byNumber(n))) std::abort();
    if (App.lockAdvertising != 0 && App.lockAdvertising != 1) std::abort();
    return 0;
}
