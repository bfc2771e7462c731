#include "browser/Downloads.h"

#include <string_view>

namespace corvano {

namespace {

constexpr size_t kMaxNameBytes = 200;
constexpr int kMaxTries = 999;

bool refused(unsigned char c) {
    return c < 0x20 || c == 0x7f || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

// Cuts to at most n bytes without splitting a UTF-8 character.
std::string cutUtf8(const std::string& s, size_t n) {
    if (s.size() <= n) return s;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

}  // namespace

std::string safeDownloadName(const std::string& suggested) {
    const size_t slash = suggested.find_last_of("/\\");
    std::string name = slash == std::string::npos ? suggested : suggested.substr(slash + 1);
    for (char& c : name)
        if (refused(static_cast<unsigned char>(c))) c = '_';
    const size_t first = name.find_first_not_of(". ");
    if (first == std::string::npos) return "download";
    name.erase(0, first);
    name.erase(name.find_last_not_of(". ") + 1);
    if (name.size() > kMaxNameBytes) {
        const size_t dot = name.rfind('.');
        const std::string ext = (dot != std::string::npos && name.size() - dot <= 16) ? name.substr(dot) : "";
        name = cutUtf8(name.substr(0, name.size() - ext.size()), kMaxNameBytes - ext.size()) + ext;
    }
    return name;
}

std::string proposeDownloadPath(const std::string& folder, const std::string& suggested,
                                const std::function<bool(const std::string&)>& taken) {
    const std::string name = safeDownloadName(suggested);
    std::string base = folder;
    if (!base.empty() && base.back() != '/') base += '/';
    std::string path = base + name;
    if (!taken || !taken(path)) return path;
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
    for (int n = 1; n <= kMaxTries; ++n) {
        path = base + stem + " (" + std::to_string(n) + ")" + ext;
        if (!taken(path)) return path;
    }
    // Every name taken: the save dialog asks before replacing.
    return base + name;
}

}  // namespace corvano
