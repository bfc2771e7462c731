#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "platform/CommandBars.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"

namespace corvano::test {

// An application on the fake platform with its own empty application folder.
class BarsFixtureApp {
public:
    BarsFixtureApp() : app(std::make_unique<Application>(platform, dir_.path())) {}

    void touch(const std::string& name) const { std::ofstream(std::filesystem::path(dir_.path()) / name) << "1 x\r\n"; }
    std::string folder() const { return dir_.path(); }

    static std::vector<std::string> keysOf(const Bar* bar) {
        std::vector<std::string> keys;
        if (bar)
            for (const Entry* e : bar->entries()) keys.push_back(e->key());
        return keys;
    }

private:
    // Declared first: made before the application, removed after it has closed its files.
    TempFolder dir_;

public:
    fake::FakePlatform platform;
    std::unique_ptr<Application> app;
};

}  // namespace corvano::test
