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
    void pause(int ms) override;
    void quit() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// The application folder: the folder of the executable.
std::string applicationFolder();

// Prepares Qt and the web engine, runs the application until its last window closes.
int runCorvano(int argc, char* argv[]);

}  // namespace corvano::qt
