#include "browser/AddressCompletion.h"

#include <algorithm>

#include "app/TextFile.h"

namespace corvano {

namespace tf = textfile;

std::vector<std::string> addressCompletions(const std::vector<std::string>& history, const std::string& typed,
                                            size_t limit) {
    std::vector<std::string> found;
    if (tf::trimBlanks(typed).empty()) return found;
    const std::string needle = tf::toLower(typed);
    for (auto it = history.rbegin(); it != history.rend() && found.size() < limit; ++it) {
        if (tf::toLower(*it).find(needle) == std::string::npos) continue;
        if (std::find(found.begin(), found.end(), *it) == found.end()) found.push_back(*it);
    }
    return found;
}

std::string inlineCompletion(const std::vector<std::string>& history, const std::string& typed) {
    if (tf::trimBlanks(typed).empty()) return {};
    const std::string needle = tf::toLower(typed);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        const std::string lower = tf::toLower(*it);
        // The address as typed, then without its scheme, then without "www." too.
        std::vector<size_t> starts{0};
        const size_t scheme = lower.find("://");
        if (scheme != std::string::npos) {
            starts.push_back(scheme + 3);
            if (lower.compare(scheme + 3, 4, "www.") == 0) starts.push_back(scheme + 7);
        }
        for (size_t start : starts)
            if (lower.compare(start, needle.size(), needle) == 0 && lower.size() > start + needle.size())
                return typed + it->substr(start + needle.size());
    }
    return {};
}

}  // namespace corvano
