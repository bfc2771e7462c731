#pragma once

#include <functional>
#include <string>

namespace corvano {

// What became of a screenshot: the reason is for the user when it failed. A
// cancelled one (the user closed the desktop's own screenshot dialog) wrote
// nothing and needs no word.
struct CaptureResult {
    bool ok = false;
    std::string reason;
    bool cancelled = false;
};

// Takes the picture of the whole desktop (every screen, as one picture) and
// writes it as a 24-bit BMP file. The picture may come later (a desktop that
// asks the user first): the answer always arrives through `done`, at most
// once, and never after the capture object is gone.
class ScreenCapture {
public:
    using Done = std::function<void(const CaptureResult&)>;
    virtual ~ScreenCapture() = default;
    // Never replaces an existing file, and leaves nothing behind on failure.
    virtual void saveScreenAsBmp(const std::string& path, Done done) = 0;
    // The whole desktop as PNG bytes, with no dialog: empty (and the reason)
    // where the window system gives no picture that way.
    using Png = std::function<void(std::string png, std::string reason)>;
    virtual void screenPng(Png done) {
        if (done) done({}, "no screenshot here");
    }
};

}  // namespace corvano
