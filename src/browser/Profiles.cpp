#include "browser/Profiles.h"

#include <algorithm>
#include <filesystem>

namespace corvano {

namespace fs = std::filesystem;

namespace {

std::string profilesRoot(const std::string& appPath) { return appPath + "/Data/Profiles"; }

}  // namespace

bool validProfileName(const std::string& name) {
    if (name.empty() || name.size() > kProfileNameMax) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

std::string profileFolder(const std::string& appPath, const std::string& name) {
    if (!validProfileName(name)) return {};
    return profilesRoot(appPath) + "/" + name;
}

std::vector<std::string> profilesOnDisk(const std::string& appPath) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(profilesRoot(appPath), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        const std::string name = it->path().filename().string();
        if (validProfileName(name) && it->is_directory(typeEc) && !it->is_symlink(typeEc)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> profilesKnown(const std::string& appPath, const std::set<std::string>& inUse) {
    std::set<std::string> all(inUse.begin(), inUse.end());
    for (const std::string& n : profilesOnDisk(appPath)) all.insert(n);
    all.erase(std::string());
    return {all.begin(), all.end()};
}

bool removeProfileFiles(const std::string& appPath, const std::string& name) {
    const std::string folder = profileFolder(appPath, name);
    if (folder.empty()) return false;
    std::error_code ec;
    // A link in place of the folder goes, not what it points to.
    fs::remove_all(folder, ec);
    return !ec && !fs::exists(fs::symlink_status(folder, ec));
}

}  // namespace corvano
