#include "app/SaveFailures.h"

namespace corvano {

std::vector<std::string> SaveFailures::untold(const std::vector<std::string>& failed) {
    std::vector<std::string> fresh;
    for (const auto& path : failed)
        if (told_.insert(path).second) fresh.push_back(path);
    if (quiet) fresh.clear();
    return fresh;
}

std::string saveFailureMessage(const std::string& lead, const std::vector<std::string>& paths) {
    std::string text = lead;
    for (const auto& path : paths) text += "\n" + path;
    return text;
}

}  // namespace corvano
