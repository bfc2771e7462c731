#pragma once

// A scratch application folder for one fuzzer process, removed when it ends,
// and the fuzzer's input written into it as a file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace corvano::fuzz {

// The folder goes with the process's static objects at its end.
struct ScratchFolder {
    explicit ScratchFolder(const char* name)
        : path(std::filesystem::temp_directory_path().string() + "/corvano-fuzz-" + name + "-" +
               std::to_string(::getpid())) {
        std::filesystem::create_directories(path + "/Data");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

inline const std::string& folder(const char* name) {
    static const ScratchFolder scratch(name);
    return scratch.path;
}

inline void writeInput(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace corvano::fuzz
