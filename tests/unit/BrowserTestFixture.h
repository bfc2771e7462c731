#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/Application.h"
#include "browser/frmStart.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"

namespace corvano::test {

// An application over the fake platform, in a fresh folder with its "Data" folder,
// ready to open browser windows.
class BrowserTestFixture : public ::testing::Test {
protected:
    BrowserTestFixture() {
        std::filesystem::create_directory(folder.file("/Data"));
        app = std::make_unique<Application>(fp, dir);
        app->App.maxBrowsers = 20;
        app->App.strings.set(TextId::BrowserCaption, "Browser");
    }

    // Opens one more window the way the main window does: count raised first.
    frmStart& open() {
        ++app->App.browserCount;
        return app->load<frmStart>();
    }
    static fake::FakeWindow& win(frmStart& b) { return static_cast<fake::FakeWindow&>(b.window()); }
    static fake::FakeWebView& web(frmStart& b) { return static_cast<fake::FakeWebView&>(b.Web()); }
    static fake::FakeComboBox& box(frmStart& b) { return static_cast<fake::FakeComboBox&>(b.Text1()); }
    static fake::FakeCommandBar& bar(frmStart& b, int i) { return static_cast<fake::FakeCommandBar&>(b.cmdBar(i)); }

    std::string path(const std::string& rel) const { return folder.file(rel); }
    void write(const std::string& rel, const std::string& data) const { folder.write(rel, data); }
    std::string read(const std::string& rel) const { return folder.read(rel); }
    bool exists(const std::string& rel) const { return folder.exists(rel); }

    // Declared first so it is removed last, after the application has closed its files.
    TempFolder folder;
    const std::string dir = folder.path();
    fake::FakePlatform fp;
    std::unique_ptr<Application> app;
};

}  // namespace corvano::test
