#include <gtest/gtest.h>

#include <filesystem>

#include "app/Application.h"
#include "platform/CommandBars.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "mainwin/frmMain.h"

using namespace corvano;
using fake::FakeCommandBar;
using fake::FakePlatform;

namespace {

std::string langFile(const std::string& word) {
    std::string s;
    for (int n = 1; n <= 230; ++n) s += "\"" + word + " " + std::to_string(n) + "\"\r\n";
    return s;
}

struct MainDispatch : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;
    frmMain* main = nullptr;

    MainDispatch() {
        dir.write("/Lang_english.txt", langFile("en"));
        dir.write("/Lang_italiano.txt", langFile("it"));
        app = std::make_unique<Application>(platform, dir.path());
        Sub_Main(*app);
        main = mainForm(*app);
    }
    void click(int index, const std::string& key) { main->cmdBar_Click(index, app->bars.at(key)); }
    FakeCommandBar* bar(int index) { return static_cast<FakeCommandBar*>(main->cmdBar(index)); }
    int browsers() const {
        int n = 0;
        for (Form* f : app->openWindows()) n += f->role() == WindowRole::Browser;
        return n;
    }
};

}  // namespace

TEST_F(MainDispatch, BarsAreSetUpInTheStrip) {
    ASSERT_NE(bar(3), nullptr);
    ASSERT_NE(bar(4), nullptr);
    const int client = platform.windowByRole(WindowRole::Main)->scaleWidth();
    EXPECT_EQ(bar(4)->bar(), "STANDARD4");
    EXPECT_EQ(bar(4)->r, (Rect{client - 1960 - 20, 20, 1960, 0}));
    EXPECT_EQ(bar(3)->bar(), "STANDARD3");
    EXPECT_EQ(bar(3)->r, (Rect{20, 20, client - 1960, 0}));
    EXPECT_EQ(bar(3)->barStyle(), 1);
    EXPECT_EQ(bar(3)->imageList(), &main->ImageList1());
    EXPECT_TRUE(app->bars.at("STYLE:OFFICE").checked());
}

TEST_F(MainDispatch, NewOpensWindowsUpToTwenty) {
    for (int i = 0; i < 25; ++i) click(3, "NEW");
    EXPECT_EQ(browsers(), 20);
    EXPECT_EQ(app->App.browserCount, 20);
    // Only the main bar's index opens windows.
    click(4, "NEW");
    click(5, "NEW");
    EXPECT_EQ(browsers(), 20);
}

TEST_F(MainDispatch, StyleStepsReachTheCornerBarAndTheDropDownHostOnly) {
    CommandBarControl* host = app->bars.host();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->index(), 5);
    EXPECT_EQ(app->bars.host(), host);  // asked once, kept
    click(5, "STYLE:MONEY");
    EXPECT_EQ(app->App.barStyle, 2);
    EXPECT_EQ(bar(4)->barStyle(), 2);
    EXPECT_EQ(host->barStyle(), 2);
    EXPECT_EQ(bar(3)->barStyle(), 1);  // the main bar waits for the next start
    EXPECT_TRUE(app->bars.at("STYLE:MONEY").checked());
    EXPECT_FALSE(app->bars.at("STYLE:OFFICE").checked());
    click(5, "STYLE:XP");
    EXPECT_EQ(app->App.barStyle, 3);
    click(5, "STYLE:SYSTEM");
    EXPECT_EQ(app->App.barStyle, 0);
    // Style keys from another bar index do nothing.
    click(3, "STYLE:OFFICE");
    EXPECT_EQ(app->App.barStyle, 0);
}

TEST_F(MainDispatch, NoteHidesTheStripUntilABackgroundClick) {
    click(3, "NOTE1");
    EXPECT_FALSE(main->Dock1().visible());
    EXPECT_FALSE(app->App.barsShown);
    main->Form_Click();
    EXPECT_TRUE(main->Dock1().visible());
}

TEST_F(MainDispatch, LanguageChoiceReadsTheFileAndRenamesEveryEntry) {
    EXPECT_EQ(app->bars.at("NEW").caption(), "en 210");
    click(5, "LANG:ITALIANO");
    EXPECT_EQ(app->App.language, "italiano");
    EXPECT_EQ(app->App.strings.byNumber(1), "it 1");
    EXPECT_EQ(app->bars.at("NEW").caption(), "it 210");
    EXPECT_EQ(app->bars.at("SHOW:30S").caption(), "30 it 222");
    EXPECT_EQ(app->bars.at("LANG:ITALIANO").caption(), "Italiano");  // file-derived, kept
}

TEST_F(MainDispatch, MissingLanguageFileKeepsTheTextsAndSaysWhichFile) {
    dir.write("/Lang_gone.txt", langFile("gone"));
    std::filesystem::remove(dir.file("/Lang_gone.txt"));
    main->cmdBar_Click(5, app->bars.addEntry("LANG:GONE", -1, entrystyle::Option));
    EXPECT_EQ(app->App.language, "english");
    EXPECT_EQ(app->App.strings.byNumber(1), "en 1");
    ASSERT_EQ(platform.dialog.messages.size(), 1u);
    EXPECT_NE(platform.dialog.messages[0].find("Lang_gone.txt"), std::string::npos);
}

TEST_F(MainDispatch, ShowModesDriveTheRotationTimer) {
    click(5, "SHOW:1M");
    EXPECT_EQ(app->App.rotationPeriod, 2);
    EXPECT_EQ(app->App.rotationPos, 1);
    EXPECT_TRUE(main->Timer2().enabled());
    click(5, "SHOW:0");
    EXPECT_FALSE(main->Timer2().enabled());
    EXPECT_EQ(app->App.rotationPeriod, 2);
    click(5, "SHOW:30M");
    EXPECT_EQ(app->App.rotationPeriod, 60);
    EXPECT_TRUE(main->Timer2().enabled());
}

TEST_F(MainDispatch, ExitFromEitherBarEndsTheSession) {
    click(4, "EXIT2");
    EXPECT_TRUE(app->openWindows().empty());
    EXPECT_TRUE(dir.exists("/Data/Corvano.Ini"));
}

TEST_F(MainDispatch, StyleAndLanguageComeBackAtTheNextStart) {
    app->bars.host();
    click(5, "STYLE:MONEY");
    click(5, "LANG:ITALIANO");
    main->GO_MainExit();
    platform.runPosted();
    app = std::make_unique<Application>(platform, dir.path());
    Sub_Main(*app);
    main = mainForm(*app);
    EXPECT_EQ(app->App.barStyle, 2);
    EXPECT_EQ(app->App.language, "italiano");
    EXPECT_EQ(app->bars.at("NEW").caption(), "it 210");
    EXPECT_EQ(bar(3)->barStyle(), 2);
    EXPECT_EQ(bar(4)->barStyle(), 2);
    EXPECT_TRUE(app->bars.at("STYLE:MONEY").checked());
}
