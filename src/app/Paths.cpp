#include "app/Paths.h"

#include <filesystem>

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

}  // namespace corvano
