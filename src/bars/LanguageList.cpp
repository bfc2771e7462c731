#include "bars/LanguageList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "app/TextFile.h"

namespace corvano {

namespace fs = std::filesystem;

std::vector<std::string> languageFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder.empty() ? std::string(".") : folder), ec);
    if (ec) return names;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code typeEc;
        // A folder listing of files: sub-folders named Lang_* do not count.
        if (!it->is_regular_file(typeEc)) continue;
        std::string name = it->path().filename().string();
        if (name.size() >= 5 && textfile::toLower(name.substr(0, 5)) == "lang_") names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        // NTFS orders names by their upper-case form.
        const std::string la = textfile::toUpper(a), lb = textfile::toUpper(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

bool languageNameOf(const std::string& fileName, std::string& name) {
    const size_t underscore = fileName.find('_');
    if (underscore == std::string::npos) return false;
    const size_t dot = fileName.find('.');
    if (dot == std::string::npos || dot < underscore) return false;
    name = fileName.substr(underscore + 1, dot - underscore - 1);
    return true;
}

int languageIcon(const ImageList& images, const std::string& name) {
    const std::string wanted = textfile::toLower(name.substr(0, std::min<size_t>(2, name.size())));
    for (int n = 28; n <= images.count(); ++n) {
        const std::string& key = images.key(n);
        if (key.substr(0, std::min<size_t>(2, key.size())) == wanted) return n - 1;
    }
    return 29;
}

std::string properCase(const std::string& text) {
    std::string out = text;
    bool wordStart = true;
    for (char& c : out) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u == ' ' || u == '\t') {
            wordStart = true;
            continue;
        }
        if (u < 0x80) c = static_cast<char>(wordStart ? std::toupper(u) : std::tolower(u));
        wordStart = false;
    }
    return out;
}

}  // namespace corvano
