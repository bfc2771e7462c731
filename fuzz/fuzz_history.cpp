// Any bytes as a window's history file: no crash, and what the window keeps
// of it is at most 16 lines, none empty, that read back as they were.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzFolder.h"

#include "app/TextFile.h"
#include "browser/BrowserSettings.h"
#include "browser/History.h"

namespace {
const std::string& folder() { return corvano::fuzz::folder("history"); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvano;
    const std::string path = historyFilePath(folder(), 1);
    corvano::fuzz::writeInput(path, data, size);
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
