#pragma once

#include <memory>

#include "platform/Platform.h"

namespace corvano::qt {

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    std::unique_ptr<Window> createWindow(WindowRole role, WindowEvents& events) override;
    std::unique_ptr<Timer> createTimer() override;
    Size screenSize() const override;
    Clipboard& clipboard() override;
    Dialogs& dialogs() override;
    void post(std::function<void()> task) override;
    void quit() override;
    void setTexts(std::function<std::string(int)> lookup) override;
    void textsChanged() override;
    ScreenCapture& screenCapture() override;
    bool windowPlacesKnown() const override;
    EngineVersions engineVersions() const override;
    Shell& shell() override;

    // Shortcuts and screens.
    std::string shortcutText(Shortcut which) const override;
    std::vector<Rect> screens() const override;
    std::vector<Monitor> monitors() const override;
    double twipsPerPixel() const override;

    // Page export.
    void setBusyCursor(bool busy) override;

    long long clockMs() const override;
    std::string timeOfDay(long long atClockMs) const override;
    long long epochMsAt(long long atClockMs) const override;
    void postJson(const std::string& url, const std::string& body) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    bool busyCursor_ = false;
};

// The steady clock of clockMs(), for the platform's own parts.
long long steadyClockMs();

// The application folder: the folder of the executable.
std::string applicationFolder();

}  // namespace corvano::qt
