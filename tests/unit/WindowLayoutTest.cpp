// Arrangements from the main bar, full screen, hidden bars, the show modes'
// full screen, and windows that come back on their own monitor.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Application.h"
#include "platform/CommandBars.h"
#include "browser/frmStart.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "mainwin/frmMain.h"

using namespace corvano;
using fake::FakePlatform;
using fake::FakeWindow;

namespace {

constexpr int kStrip = 395;
const Rect kScreen{0, 0, 28800, 16200};
const Monitor kLeft{"HDMI-1", {0, 0, 28800, 16200}, {0, 0, 28800, 16200}};
const Monitor kRight{"DP-2", {28800, 0, 19200, 15360}, {28800, 0, 19200, 15360}};

bool overlap(const Rect& a, const Rect& b) {
    return std::min(a.left + a.width, b.left + b.width) > std::max(a.left, b.left) &&
           std::min(a.top + a.height, b.top + b.height) > std::max(a.top, b.top);
}

// Value n (1-based) of a settings file, as written.
int settingsValue(const std::string& text, int n) {
    size_t pos = 0;
    for (int i = 1; i < n; ++i) pos = text.find("\r\n", pos) + 2;
    return std::stoi(text.substr(pos));
}

struct Layout : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;

    Layout() { dir.write("/Lang_english.txt", "\"one\"\r\n"); }
    ~Layout() override { stop(); }
    void stop() {
        if (app && mainForm(*app)) mainForm(*app)->GO_MainExit();
        platform.runPosted();
    }
    // A fresh run on the same folder, every window of the last one reopened.
    frmMain& restart() {
        stop();
        app = std::make_unique<Application>(platform, dir.path());
        frmMain& main = Sub_Main(*app);
        platform.advance(20 * 800);
        return main;
    }
    void click(int index, const std::string& key) { mainForm(*app)->cmdBar_Click(index, app->bars.at(key)); }
    std::vector<frmStart*> browsers() const {
        std::vector<frmStart*> out;
        for (Form* f : app->openWindows())
            if (f->role() == WindowRole::Browser && !f->unloaded()) out.push_back(static_cast<frmStart*>(f));
        std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->number() < b->number(); });
        return out;
    }
    void openUpTo(size_t n) {
        while (browsers().size() < n) click(3, "NEW");
    }
    static FakeWindow& win(frmStart* b) { return static_cast<FakeWindow&>(b->window()); }
    std::string options(int n) const { return dir.read("/Data/Corvano" + std::to_string(n) + ".Opt"); }
    std::string settings(int n) const { return dir.read("/Data/Corvano" + std::to_string(n) + ".Ini"); }
    // A move by the user: the window system reports it, the session writes it.
    void moveBy(frmStart* b, const Rect& to) {
        win(b).setGeometry(to);
        platform.advance(3000);
    }
};

}  // namespace

TEST_F(Layout, GridOfFourFillsTheQuartersUnderTheStripAndIsKeptAcrossARun) {
    restart();
    openUpTo(4);
    click(5, "ARRANGE:GRID");
    std::vector<Rect> places;
    for (frmStart* b : browsers()) places.push_back(win(b).r);
    ASSERT_EQ(4u, places.size());
    const Rect area{0, kStrip, kScreen.width, kScreen.height - kStrip};
    long long covered = 0;
    for (size_t i = 0; i < places.size(); ++i) {
        EXPECT_NEAR(places[i].width, area.width / 2, 1) << i;
        EXPECT_NEAR(places[i].height, area.height / 2, 1) << i;
        covered += static_cast<long long>(places[i].width) * places[i].height;
        for (size_t j = i + 1; j < places.size(); ++j) EXPECT_FALSE(overlap(places[i], places[j])) << i << " " << j;
    }
    EXPECT_EQ(static_cast<long long>(area.width) * area.height, covered) << "no gap";
    EXPECT_EQ(area.top, places[0].top);
    EXPECT_EQ(0, places[0].left) << "window 1 top left, window 2 top right";
    EXPECT_GT(places[1].left, places[0].left);
    EXPECT_GT(places[2].top, places[0].top);

    // Recorded like a move: the settings files follow, and the next run has them.
    platform.advance(3000);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(places[n - 1].top, settingsValue(settings(n), 1)) << n;
        EXPECT_EQ(places[n - 1].left, settingsValue(settings(n), 2)) << n;
    }
    restart();
    ASSERT_EQ(4u, browsers().size());
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(places[n - 1], win(browsers()[n - 1]).r) << n;
}

TEST_F(Layout, AnArrangementMayBeNarrowerThanTheMinimumUntilTheUserSizesTheWindow) {
    platform.monitorList = {kLeft};
    restart();
    openUpTo(8);
    click(5, "ARRANGE:COLUMNS");
    frmStart* first = browsers().front();
    EXPECT_EQ(kScreen.width / 8, win(first).r.width);
    platform.advance(3000);
    restart();
    first = browsers().front();
    EXPECT_EQ(kScreen.width / 8, win(first).r.width) << "a restored arrangement stays narrow";
    // The user makes it narrower still: the minimum applies again.
    Rect r = win(first).r;
    r.width = 2000;
    win(first).setGeometry(r);
    EXPECT_EQ(5000, win(first).r.width);
}

TEST_F(Layout, ArrangementsUseTheMonitorOfTheCurrentWindowOrEveryMonitor) {
    platform.monitorList = {kLeft, kRight};
    restart();
    openUpTo(3);
    frmStart* second = browsers()[1];
    moveBy(second, {30000, 1000, 9000, 6000});
    second->Form_Activate();
    click(5, "ARRANGE:ROWS");
    for (frmStart* b : browsers()) {
        EXPECT_EQ(kRight.rect.left, win(b).r.left) << "on the right monitor, under no strip";
        EXPECT_EQ(kRight.rect.width, win(b).r.width);
    }
    EXPECT_EQ(0, win(browsers()[0]).r.top);

    click(5, "ARRANGE:EVERY");
    const auto all = browsers();
    EXPECT_LT(win(all[0]).r.left, kRight.rect.left) << "the first ones on the left monitor";
    EXPECT_LT(win(all[1]).r.left, kRight.rect.left);
    EXPECT_GE(win(all[2]).r.left, kRight.rect.left);
    EXPECT_GE(win(all[0]).r.top, kStrip);
}

TEST_F(Layout, FullScreenCoversTheMonitorAloneAndComesBackToItsPlaceAcrossARun) {
    restart();
    frmStart* b = browsers().front();
    const Rect place = win(b).r;
    b->Form_Shortcut(Shortcut::FullScreen);
    EXPECT_EQ(kScreen, win(b).r);
    EXPECT_TRUE(win(b).frameless);
    EXPECT_FALSE(b->picBar().visible());
    EXPECT_EQ(0, b->Web().top());
    EXPECT_EQ(win(b).scaleHeight(), b->Web().height()) << "the page alone";

    platform.advance(2000);
    EXPECT_NE(std::string::npos, options(1).find("fullscreen=1"));
    EXPECT_EQ(place.top, settingsValue(settings(1), 1)) << "the settings file keeps the place it returns to";
    EXPECT_EQ(place.width, settingsValue(settings(1), 4));

    restart();
    b = browsers().front();
    EXPECT_EQ(kScreen, win(b).r);
    // The page menu's entry does what F11 does.
    b->Web_PageCommand("PAGE:FULLSCREEN");
    EXPECT_EQ(place, win(b).r);
    EXPECT_FALSE(win(b).frameless);
    EXPECT_TRUE(b->picBar().visible());
    platform.advance(2000);
    EXPECT_EQ(std::string::npos, options(1).find("fullscreen"));
}

TEST_F(Layout, HiddenBarsLeaveThePageAloneAndCtrlLBringsTheAddressBoxBack) {
    restart();
    frmStart* b = browsers().front();
    b->Form_Shortcut(Shortcut::ToggleBars);
    EXPECT_FALSE(b->picBar().visible());
    EXPECT_EQ(0, b->Web().top());
    b->Form_Shortcut(Shortcut::FocusAddress);
    EXPECT_TRUE(b->picBar().visible());
    EXPECT_TRUE(b->Text1().hasFocus());
    b->Text1().setText("http://127.0.0.1/next");
    b->Text1_KeyPress(keys::Enter);
    EXPECT_FALSE(b->picBar().visible()) << "hidden again once the address went";
    platform.advance(2000);
    EXPECT_NE(std::string::npos, options(1).find("bars=0"));
    restart();
    EXPECT_FALSE(browsers().front()->picBar().visible());
    browsers().front()->Web_PageCommand("PAGE:BARS");
    EXPECT_TRUE(browsers().front()->picBar().visible());
}

TEST_F(Layout, AWindowComesBackOnItsMonitorWhereverItNowStands) {
    platform.monitorList = {kLeft, kRight};
    restart();
    moveBy(browsers().front(), {30000, 1500, 9000, 6000});
    const std::string opt = options(1);
    EXPECT_NE(std::string::npos, opt.find("screen=DP-2\r\n"));
    EXPECT_NE(std::string::npos, opt.find("screenrect=1920,0,1280,1024\r\n"));
    EXPECT_NE(std::string::npos, opt.find("place=80,100,600,400\r\n"));

    // The monitors changed sides.
    stop();
    platform.monitorList = {{"HDMI-1", {19200, 0, 28800, 16200}, {19200, 0, 28800, 16200}},
                            {"DP-2", {0, 0, 19200, 15360}, {0, 0, 19200, 15360}}};
    restart();
    EXPECT_EQ((Rect{1200, 1500, 9000, 6000}), win(browsers().front()).r);
}

TEST_F(Layout, AWindowWhoseMonitorIsMissingWaitsOnThePrimaryAndReturnsWhenItComes) {
    platform.monitorList = {kLeft, kRight};
    restart();
    moveBy(browsers().front(), {30000, 1500, 9000, 6000});
    const std::string record = options(1);

    stop();
    platform.monitorList = {kLeft};
    restart();
    EXPECT_EQ((Rect{1200, 1500, 9000, 6000}), win(browsers().front()).r) << "on the primary, at its place there";
    platform.advance(3000);
    EXPECT_EQ(record, options(1)) << "its record is kept";
    platform.addMonitor(kRight);
    EXPECT_EQ((Rect{30000, 1500, 9000, 6000}), win(browsers().front()).r);

    // Moved by the user meanwhile, it stays where the user put it.
    stop();
    platform.monitorList = {kLeft};
    restart();
    moveBy(browsers().front(), {4000, 4000, 9000, 6000});
    platform.addMonitor(kRight);
    EXPECT_EQ((Rect{4000, 4000, 9000, 6000}), win(browsers().front()).r);
}

TEST_F(Layout, APlaceBeyondSixteenBitTwipsComesBackOnAWideDesktop) {
    platform.screen = {57600, 16200};
    platform.monitorList = {{"screen", {0, 0, 57600, 16200}, {0, 0, 57600, 16200}}};
    restart();
    moveBy(browsers().front(), {45000, 1500, 9000, 6000});
    EXPECT_EQ(32767, settingsValue(settings(1), 2)) << "the settings file keeps its 16 bits";
    restart();
    EXPECT_EQ(45000, win(browsers().front()).r.left);
}

TEST_F(Layout, FullScreenShowModeShowsEachTurnFullScreenUntilTheNext) {
    restart();
    openUpTo(2);
    const auto b = browsers();
    const Rect place0 = win(b[0]).r, place1 = win(b[1]).r;
    click(5, "SHOW:FULL");
    EXPECT_TRUE(app->bars.at("SHOW:FULL").checked());
    click(5, "SHOW:30S");
    platform.advance(30000);
    EXPECT_EQ(kScreen, win(b[0]).r);
    EXPECT_EQ(std::string::npos, options(1).find("fullscreen")) << "a turn is not recorded";
    platform.advance(30000);  // the hidden editor's turn
    EXPECT_EQ(place0, win(b[0]).r);
    platform.advance(30000);
    EXPECT_EQ(kScreen, win(b[1]).r);
    click(5, "SHOW:0");
    EXPECT_EQ(place1, win(b[1]).r);

    // Unchecked, the rotation leaves places and sizes alone.
    click(5, "SHOW:FULL");
    EXPECT_FALSE(app->bars.at("SHOW:FULL").checked());
    click(5, "SHOW:30S");
    platform.advance(30000);
    EXPECT_EQ(place0, win(b[0]).r);
}
