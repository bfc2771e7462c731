#include "app/Paths.h"

#include <filesystem>

#include "app/TextFile.h"

namespace corvano {

void deleteQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

void createFolderQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directory(path, ec);
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string findIgnoringCase(const std::string& folder, const std::string& name) {
    const std::string exact = folder + "/" + name;
    if (fileExists(exact)) return exact;
    const std::string wanted = textfile::toLower(name);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (textfile::toLower(it->path().filename().string()) == wanted && it->is_regular_file(typeEc))
            return it->path().string();
    }
    return {};
}

}  // namespace corvano
