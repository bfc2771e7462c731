#include "app/AppFolder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>

#include "app/TextFile.h"

namespace corvano {

namespace fs = std::filesystem;
namespace tf = textfile;

namespace {

constexpr const char* kRecord = "/Data/Shipped.lst";

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool holdsLanguageFiles(const std::string& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = tf::toLower(it->path().filename().string());
        std::error_code typeEc;
        if (name.rfind("lang_", 0) == 0 && endsWith(name, ".txt") && it->is_regular_file(typeEc)) return true;
    }
    return false;
}

// FNV-1a: tells whether a file is still the copy that was made, not a defence.
std::string fingerprint(const std::string& bytes) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
    return buf;
}

// "FINGERPRINT NAME" per line; unreadable lines are dropped.
std::map<std::string, std::string> readRecord(const std::string& appPath) {
    std::map<std::string, std::string> record;
    const auto data = tf::readAll(appPath + kRecord);
    if (!data) return record;
    for (const std::string& line : tf::splitLines(*data)) {
        const size_t blank = line.find(' ');
        if (blank != 16 || line.size() <= 17) continue;
        record[line.substr(17)] = line.substr(0, 16);
    }
    return record;
}

}  // namespace

std::string userDataHome(const std::string& xdgDataHome, const std::string& home) {
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') return xdgDataHome;
    if (home.empty()) return {};
    return home + "/.local/share";
}

AppFolders chooseAppFolders(const std::string& exeDir, const std::string& dataHome) {
    if (holdsLanguageFiles(exeDir)) return {exeDir, exeDir, false};
    const std::string shipped = (fs::path(exeDir) / ".." / "share" / "corvano").lexically_normal().string();
    if (!dataHome.empty() && holdsLanguageFiles(shipped)) return {dataHome + "/corvano", shipped, true};
    return {exeDir, exeDir, false};
}

bool isShippedFileName(const std::string& name) {
    const std::string n = tf::toLower(name);
    return (n.rfind("lang_", 0) == 0 && endsWith(n, ".txt")) || (n.rfind("template", 0) == 0 && endsWith(n, ".doc"));
}

std::vector<std::string> seedAppFolder(const std::string& shippedPath, const std::string& appPath) {
    std::vector<std::string> failed;
    std::error_code ec;
    fs::create_directories(appPath + "/Data", ec);
    auto record = readRecord(appPath);
    bool recordChanged = false;
    std::vector<std::string> names;
    for (fs::directory_iterator it(shippedPath, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        const std::string name = it->path().filename().string();
        if (isShippedFileName(name) && it->is_regular_file(typeEc)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const auto shipped = tf::readAll(shippedPath + "/" + name);
        if (!shipped) continue;
        const std::string shippedPrint = fingerprint(*shipped);
        const std::string target = appPath + "/" + name;
        const auto present = tf::readAll(target);
        const auto known = record.find(name);
        bool copy = false;
        if (!present) {
            copy = !fs::exists(target, ec);
        } else {
            const std::string presentPrint = fingerprint(*present);
            if (presentPrint == shippedPrint) {
                // Already the shipped text: remember it so a newer one replaces it.
                if (known == record.end() || known->second != shippedPrint) {
                    record[name] = shippedPrint;
                    recordChanged = true;
                }
                continue;
            }
            // Replaced only when it is still the copy made earlier.
            copy = known != record.end() && known->second == presentPrint;
        }
        if (!copy) continue;
        if (!tf::writeAtomic(target, *shipped)) {
            failed.push_back(name);
            continue;
        }
        record[name] = shippedPrint;
        recordChanged = true;
    }
    if (recordChanged) {
        std::vector<std::string> lines;
        for (const auto& [name, print] : record) lines.push_back(print + " " + name);
        if (!tf::writeAtomic(appPath + kRecord, tf::joinCrlf(lines))) failed.push_back(std::string(kRecord).substr(1));
    }
    return failed;
}

}  // namespace corvano
