#pragma once

#include <string>

namespace corvano {

// What became of a screenshot: the reason is for the user when it failed.
struct CaptureResult {
    bool ok = false;
    std::string reason;
};

// Takes the picture of the whole desktop (every screen, as one picture)
// straight from the window system and writes it as a 24-bit BMP file.
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;
    // Never replaces an existing file, and leaves nothing behind on failure.
    virtual CaptureResult saveScreenAsBmp(const std::string& path) = 0;
};

}  // namespace corvano
