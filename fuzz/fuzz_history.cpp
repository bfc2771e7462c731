// Any bytes as a window's history file: no crash, and what the window keeps
// of it is at most 16 lines, none empty, that read back as they were.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/TextFile.h"
#include "browser/BrowserSettings.h"
#include "browser/History.h"

namespace {

const std::string& folder() {
    static const std::string dir = [] {
        std::string d = std::filesystem::temp_directory_path().string() + "/corvano-fuzz-history-" +
                        std::to_string(::getpid());
        std::filesystem::create_directories(d + "/Data");
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvano;
    const std::string path = historyFilePath(folder(), 1);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::vector<std::string> entries = readHistoryFile(path);
    for (const auto& e : entries)
        if (!textfile::isValidUtf8(e) || e.find_first_of("\r\n") != std::string::npos) std::abort();
    const std::vector<std::string> kept = historyToSave(entries);
    if (kept.size() > 16) std::abort();
    for (const auto& e : kept)
        if (e.empty()) std::abort();
    if (!saveHistoryFile(path, entries)) return 0;
    if (readHistoryFile(path) != kept) std::abort();
    return 0;
}
