#include <gtest/gtest.h>

#include "app/Application.h"
#include "platform/CommandBars.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "browser/frmStart.h"
#include "mainwin/frmMain.h"

#include <algorithm>

using namespace corvano;
using fake::FakePlatform;
using fake::FakeWindow;

namespace {

constexpr int kTick = 30000;

struct ShowModes : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;
    frmMain* main = nullptr;

    // Main window, browser A, the hidden editor at position 2, then B and C.
    ShowModes() {
        std::string lang;
        for (int n = 1; n <= 230; ++n) lang += "\"t" + std::to_string(n) + "\"\r\n";
        dir.write("/Lang_english.txt", lang);
        app = std::make_unique<Application>(platform, dir.path());
        main = &Sub_Main(*app);
        click(3, "NEW");
        click(3, "NEW");
        platform.raised.clear();
        app->App.currentBrowser = 0;
    }
    void click(int index, const std::string& key) { main->cmdBar_Click(index, app->bars.at(key)); }
    FakeWindow* at(size_t position) { return static_cast<FakeWindow*>(&app->openWindows().at(position)->window()); }
    void ticks(int n) { platform.advance(static_cast<long long>(n) * kTick); }
};

}  // namespace

TEST_F(ShowModes, ThirtySecondsRaisesEachWindowInTurnTheHiddenEditorIncluded) {
    ASSERT_EQ(at(2)->role, WindowRole::Editor);
    click(5, "SHOW:30S");
    platform.advance(kTick - 1);
    EXPECT_TRUE(platform.raised.empty());
    // A, the editor's turn, B, C, A again; the raised browser becomes the target.
    const size_t positions[] = {1, 2, 3, 4, 1};
    const int targets[] = {1, 1, 2, 3, 1};
    for (int i = 0; i < 5; ++i) {
        ticks(1);
        ASSERT_EQ(platform.raised.size(), static_cast<size_t>(i + 1));
        EXPECT_EQ(platform.raised.back(), at(positions[i])) << "rotation " << i;
        EXPECT_TRUE(platform.raised.back()->topmost);
        EXPECT_EQ(app->App.currentBrowser, targets[i]) << "rotation " << i;
    }
    EXPECT_FALSE(at(2)->shown) << "the editor's turn shows nothing";
}

TEST_F(ShowModes, PeriodsCountTicksAndAModeChangeKeepsTheCount) {
    click(5, "SHOW:1M");
    ticks(1);
    EXPECT_TRUE(platform.raised.empty());
    ticks(3);
    EXPECT_EQ(platform.raised.size(), 2u) << "every second tick";

    // Five ticks into "10 minutes" the user picks "5 minutes": five more ticks.
    click(5, "SHOW:10M");
    ticks(20 + 5);
    ASSERT_EQ(platform.raised.size(), 3u);
    click(5, "SHOW:5M");
    ticks(4);
    EXPECT_EQ(platform.raised.size(), 3u);
    ticks(1);
    ASSERT_EQ(platform.raised.size(), 4u);
    EXPECT_EQ(platform.raised.back(), at(1)) << "a new mode starts at position 1";
}

TEST_F(ShowModes, ShowOffStopsAndKeepsEverythingUntilTheNextMode) {
    click(5, "SHOW:1M");
    ticks(3);  // A raised at the second tick, then one tick of the next period
    click(5, "SHOW:0");
    ticks(100);
    EXPECT_EQ(platform.raised.size(), 1u);
    EXPECT_EQ(app->App.rotationPos, 2);
    EXPECT_EQ(app->App.rotationPeriod, 2);
    click(5, "SHOW:1M");
    ticks(1);
    ASSERT_EQ(platform.raised.size(), 2u) << "the tick before the pause still counts";
    EXPECT_EQ(platform.raised.back(), at(1));
}

TEST_F(ShowModes, ClosedWindowsShrinkTheListAndTheLoneMainWindowRaisesNothing) {
    click(5, "SHOW:30S");
    ticks(3);  // A, the editor, B: the next turn is position 4
    app->openWindows().at(4)->Form_QueryUnload();
    platform.runPosted();
    ASSERT_EQ(app->openWindows().size(), 4u);
    ticks(1);
    EXPECT_EQ(platform.raised.back(), at(1)) << "wraps with the count at the moment of the rotation";

    click(5, "SHOW:1M");
    ticks(1);  // half a period, then the main window alone for a while
    while (app->openWindows().size() > 1) app->openWindows().back()->Form_QueryUnload();
    platform.runPosted();
    platform.raised.clear();
    const int16_t position = app->App.rotationPos;
    ticks(5);
    EXPECT_TRUE(platform.raised.empty());
    EXPECT_EQ(app->App.rotationPos, position);
    click(3, "NEW");
    platform.raised.clear();
    ticks(1);
    EXPECT_EQ(platform.raised.size(), 1u) << "the lone ticks counted nothing; the half period did";
}

TEST_F(ShowModes, AWindowWhosePageWouldBeStaleOnItsTurnRefreshesOneTickAhead) {
    auto* a = static_cast<frmStart*>(app->openWindows().at(1));
    auto* b = static_cast<frmStart*>(app->openWindows().at(3));
    auto refreshes = [](frmStart* w) {
        const auto& calls = static_cast<fake::FakeWebView&>(w->Web()).calls;
        return std::count(calls.begin(), calls.end(), "Refresh2");
    };
    // A's page is 150 s old at its second turn, more than its 140 s; B's never is.
    a->setRefresh(140);
    b->setRefresh(3600);
    a->Web_LoadEnd({LoadEnd::Loaded, 200, "http://127.0.0.1/a"});
    b->Web_LoadEnd({LoadEnd::Loaded, 200, "http://127.0.0.1/b"});
    click(5, "SHOW:30S");
    platform.advance(4 * kTick - 1);
    EXPECT_EQ(refreshes(a), 0);
    platform.advance(1);
    EXPECT_EQ(refreshes(a), 1) << "a tick before its turn at 150 s";
    platform.advance(kTick);
    EXPECT_EQ(platform.raised.back(), &a->window());
    EXPECT_EQ(refreshes(a), 1) << "not again while it is shown";
    EXPECT_EQ(refreshes(b), 0);
}
