#include "mainwin/frmMain.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "app/Application.h"
#include "platform/CommandBars.h"
#include "browser/frmStart.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"

using namespace corvano;
using fake::FakePlatform;
using fake::FakeWindow;

namespace {

std::string iniWith(int count, std::initializer_list<int> used, const std::string& lang = "english", int style = 1) {
    std::string s = " " + std::to_string(count) + " \r\n" + lang + "\r\n " + std::to_string(style) + " \r\n";
    for (int n = 1; n <= 20; ++n) s += std::find(used.begin(), used.end(), n) != used.end() ? " 1 \r\n" : " 0 \r\n";
    return s;
}

struct MainWindow : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;

    MainWindow() { dir.write("/Lang_english.txt", "\"one\"\r\n"); }
    frmMain& start() {
        app = std::make_unique<Application>(platform, dir.path());
        Sub_Main(*app);
        return *mainForm(*app);
    }
    int browsers() const {
        int n = 0;
        for (Form* f : app->openWindows()) n += f->role() == WindowRole::Browser;
        return n;
    }
    FakeWindow& mainWindow() { return *platform.windowByRole(WindowRole::Main); }
};

}  // namespace

TEST_F(MainWindow, FirstRunCreatesDataAndOpensOneWindow) {
    dir.write("/Data/Corvano1.Opt", "old");
    dir.write("/Data/Corvano1.Ini", "old");
    start();
    EXPECT_TRUE(dir.exists("/Data"));
    EXPECT_FALSE(dir.exists("/Data/Corvano1.Opt"));
    EXPECT_FALSE(dir.exists("/Data/Corvano1.Ini"));
    EXPECT_EQ(app->App.browserCount, 1);
    EXPECT_EQ(app->App.browserSlots[1], 1);
    EXPECT_EQ(app->App.maxBrowsers, 20);
    EXPECT_EQ(app->App.dimOpacity, 205);
    EXPECT_EQ(app->App.fullOpacity, 255);
    EXPECT_EQ(browsers(), 1);
    EXPECT_FALSE(platform.timers.empty());
    EXPECT_FALSE(mainForm(*app)->Timer1().enabled());
    EXPECT_EQ(mainForm(*app)->Timer2().interval(), 30000);
    EXPECT_FALSE(mainForm(*app)->Timer2().enabled());
}

TEST_F(MainWindow, CoversTheScreenWithTheStripOnTop) {
    frmMain& main = start();
    FakeWindow& w = mainWindow();
    EXPECT_EQ(w.r, (Rect{0, 0, platform.screen.width, platform.screen.height}));
    EXPECT_TRUE(w.shown);
    EXPECT_EQ(main.Dock1().top(), 0);
    EXPECT_EQ(main.Dock1().left(), 0);
    EXPECT_EQ(main.Dock1().width(), platform.screen.width);
    EXPECT_EQ(main.Dock1().height(), 395);
    EXPECT_EQ(w.background, (std::vector<int>{140, 170, 228}));  // no picture
    // The main window is first in the list, the first browser window next.
    ASSERT_GE(app->openWindows().size(), 2u);
    EXPECT_EQ(app->openWindows()[0], &main);
    EXPECT_EQ(app->openWindows()[1]->role(), WindowRole::Browser);
    EXPECT_TRUE(app->openWindows()[1]->window().visible());
}

TEST_F(MainWindow, BackgroundPictureWhenPresentAndColourWhenBroken) {
    dir.write("/Corvano.jpg", "\xFF\xD8\xFF");
    start();
    EXPECT_EQ(mainWindow().picture, dir.file("/Corvano.jpg"));
    EXPECT_TRUE(mainWindow().background.empty());
    app.reset();
    dir.write("/Corvano.jpg", "");  // unreadable: plain colour instead
    start();
    EXPECT_EQ(mainWindow().background, (std::vector<int>{140, 170, 228}));
}

TEST_F(MainWindow, ReopensOneWindowAtOnceAndTheOthersEvery800ms) {
    dir.write("/Data/Corvano.Ini", iniWith(3, {2, 5, 9}));
    start();
    EXPECT_EQ(browsers(), 1);
    EXPECT_EQ(app->App.reopenCount, 3);
    EXPECT_EQ(app->App.browserCount, 2);
    EXPECT_TRUE(mainForm(*app)->Timer1().enabled());
    platform.advance(799);
    EXPECT_EQ(browsers(), 1);
    platform.advance(1);
    EXPECT_EQ(browsers(), 2);
    EXPECT_EQ(app->App.browserCount, 3);
    platform.advance(800);
    EXPECT_EQ(browsers(), 3);
    EXPECT_EQ(app->App.browserCount, 3);
    EXPECT_FALSE(mainForm(*app)->Timer1().enabled());
    platform.advance(5000);
    EXPECT_EQ(browsers(), 3);
}

TEST_F(MainWindow, CountAboveTheMaximumOpensOneWindow) {
    dir.write("/Data/Corvano.Ini", iniWith(25, {4}));
    start();
    EXPECT_EQ(app->App.reopenCount, 1);
    EXPECT_FALSE(mainForm(*app)->Timer1().enabled());
    EXPECT_EQ(browsers(), 1);
}

TEST_F(MainWindow, MissingLanguageFileFallsBackToEnglish) {
    dir.write("/Data/Corvano.Ini", iniWith(1, {1}, "klingon"));
    start();
    EXPECT_EQ(app->App.language, "english");
    EXPECT_EQ(app->App.strings.byNumber(1), "one");
}

TEST_F(MainWindow, ExitWritesSettingsFirstThenClosesLastOpenedFirst) {
    dir.write("/Data/Corvano.Ini", iniWith(3, {2, 5, 9}, "english", 3));
    frmMain& main = start();
    platform.advance(1600);
    ASSERT_EQ(browsers(), 3);
    const std::vector<Form*> before = app->openWindows();
    std::vector<Form*> closed;
    std::string iniAtFirstClose;
    platform.onHide = [&](FakeWindow& w) {
        if (closed.empty()) iniAtFirstClose = dir.read("/Data/Corvano.Ini");
        for (Form* f : before)
            if (&f->window() == &w) closed.push_back(f);
    };
    main.GO_MainExit();
    EXPECT_EQ(iniAtFirstClose, iniWith(3, {2, 5, 9}, "english", 3));
    ASSERT_EQ(closed.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(closed[i], before[before.size() - 1 - i]);
    EXPECT_TRUE(app->openWindows().empty());
    EXPECT_EQ(platform.quitCount, 1);
    platform.runPosted();
}

TEST_F(MainWindow, EscapeAndTheCloseBoxEndTheSessionLikeExit) {
    start();
    mainWindow().events.Form_KeyDown(keys::Escape, 0);
    EXPECT_TRUE(dir.exists("/Data/Corvano.Ini"));
    EXPECT_TRUE(app->openWindows().empty());

    app.reset();
    dir.write("/Data/Corvano.Ini", "");
    start();
    mainWindow().events.Form_KeyDown('A', 0);
    EXPECT_FALSE(app->openWindows().empty());
    mainWindow().events.Form_QueryUnload();
    EXPECT_EQ(dir.read("/Data/Corvano.Ini").substr(0, 4), " 1 \r");
    EXPECT_TRUE(app->openWindows().empty());
}

TEST_F(MainWindow, BackgroundClickTogglesTheStrip) {
    frmMain& main = start();
    main.Form_Click();
    EXPECT_FALSE(main.Dock1().visible());
    EXPECT_FALSE(app->App.barsShown);
    main.Form_Click();
    EXPECT_TRUE(main.Dock1().visible());
    EXPECT_TRUE(app->App.barsShown);
}

TEST_F(MainWindow, FailedSettingsWriteIsReportedAndTheSessionStillEnds) {
    frmMain& main = start();
    std::filesystem::create_directories(dir.file("/Data/Corvano.Ini.tmp" + std::to_string(::getpid())));
    main.GO_MainExit();
    ASSERT_EQ(platform.dialog.messages.size(), 1u);
    EXPECT_NE(platform.dialog.messages[0].find("Corvano.Ini"), std::string::npos);
    EXPECT_TRUE(app->openWindows().empty());
}
