#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace corvano::test {

// A fresh application folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("corvano-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return path_.string(); }
    std::string file(const std::string& rel) const { return path_.string() + rel; }

    void write(const std::string& rel, const std::string& content) const {
        std::filesystem::create_directories(std::filesystem::path(file(rel)).parent_path());
        std::ofstream(file(rel), std::ios::binary) << content;
    }
    std::string read(const std::string& rel) const {
        std::ifstream in(file(rel), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& rel) const { return std::filesystem::exists(file(rel)); }

private:
    std::filesystem::path path_;
};

}  // namespace corvano::test
