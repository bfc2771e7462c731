#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Application.h"
#include "browser/frmStart.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "mainwin/frmMain.h"

using namespace corvano;

namespace {

struct WallCommands : ::testing::Test {
    test::TempFolder dir;
    fake::FakePlatform platform;
    std::unique_ptr<Application> app;

    WallCommands() {
        std::string english;
        for (int n = 1; n <= 230; ++n) english += "\"en " + std::to_string(n) + "\"\r\n";
        dir.write("/Lang_english.txt", english);
        app = std::make_unique<Application>(platform, dir.path());
        Sub_Main(*app);
    }
    frmStart& window(int n) { return *app->browsers.find(n); }
    fake::FakeWebView& web(int n) { return static_cast<fake::FakeWebView&>(window(n).Web()); }
    CommandResult run(const std::string& name, CommandCall call = {}) { return app->commands.run(name, call); }
    static CommandCall with(int window, std::string address, int number = 0) {
        CommandCall call = onWindow(window);
        call.address = std::move(address);
        call.number = number;
        return call;
    }
};

}  // namespace

TEST_F(WallCommands, EveryKindOfCommandRunsOnTheWindowItNames) {
    // The wall's own commands open windows; window 3 on an address.
    EXPECT_EQ(run("NEW"), CommandResult::Done);
    EXPECT_EQ(run("OPEN", with(0, "http://three.example/")), CommandResult::Done);
    ASSERT_EQ(app->browsers.size(), 3u);
    EXPECT_EQ(window(3).currentAddress(), "http://three.example/");
    window(3).Form_Activate();
    for (int n = 1; n <= 3; ++n) web(n).calls.clear();

    // By number, not on the window activated last.
    EXPECT_EQ(run("EDIT:COPY", onWindow(2)), CommandResult::Done);
    EXPECT_EQ(web(2).calls, std::vector<std::string>{"ExecWB 12 0"});
    EXPECT_TRUE(web(3).calls.empty());
    // With an address, as if typed and sent; with a number.
    EXPECT_EQ(run("PAGE:GO", with(1, "example.org/a")), CommandResult::Done);
    EXPECT_EQ(window(1).currentAddress(), "http://example.org/a");
    EXPECT_EQ(window(1).history().back(), "http://example.org/a");
    EXPECT_EQ(run("PAGE:ZOOM", with(2, "", 150)), CommandResult::Done);
    EXPECT_EQ(window(2).zoom(), 150);
    EXPECT_EQ(window(1).zoom(), 100);
    // No number: the window activated last, as the drop-downs do.
    EXPECT_EQ(run("EDIT:SELECT"), CommandResult::Done);
    EXPECT_EQ(web(3).calls, std::vector<std::string>{"ExecWB 17 0"});

    // Refused, and nothing changes.
    EXPECT_EQ(run("NO:SUCH", onWindow(1)), CommandResult::UnknownCommand);
    EXPECT_EQ(run("EDIT:COPY", onWindow(7)), CommandResult::NoWindow);
    EXPECT_EQ(run("PAGE:GO", onWindow(1)), CommandResult::BadArgument);
    EXPECT_EQ(window(1).currentAddress(), "http://example.org/a");
    window(3).GO_Exit();
    EXPECT_EQ(run("EDIT:COPY", onWindow(3)), CommandResult::NoWindow);
    EXPECT_EQ(run("EDIT:COPY"), CommandResult::NoWindow) << "the window activated last has closed";
    EXPECT_EQ(web(2).calls.size(), 1u);
}

TEST_F(WallCommands, OneWindowsExportAndSourceViewLeaveTheOthersAlone) {
    run("NEW");
    web(1).html = "<p>one</p>";
    web(2).html = "<p>two</p>";
    run("SAVE:WORDV", onWindow(1));
    EXPECT_TRUE(window(1).state().exportLandscape);
    EXPECT_FALSE(window(2).state().exportLandscape);
    run("EDIT:VIEW", onWindow(1));
    run("EDIT:VIEW", onWindow(2));
    EXPECT_TRUE(window(1).txtSource().visible());
    EXPECT_TRUE(window(2).txtSource().visible()) << "window 2 shows its own source at its first call";
    run("EDIT:VIEW", onWindow(2));
    EXPECT_TRUE(window(1).txtSource().visible());
    EXPECT_FALSE(window(2).txtSource().visible());
}
