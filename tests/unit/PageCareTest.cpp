#include <gtest/gtest.h>

#include <algorithm>

#include "BrowserTestFixture.h"
#include "bars/BrowserBars.h"
#include "platform/CommandBars.h"
#include "browser/PageCare.h"
#include "browser/WindowOptions.h"

using namespace corvano;

namespace {

constexpr const char* kPage = "http://127.0.0.1:8080/wall";

LoadEnd unreachable(const std::string& url = kPage) { return {LoadEnd::Unreachable, 0, url}; }
LoadEnd status(int code) { return {LoadEnd::HttpError, code, kPage}; }
LoadEnd loaded() { return {LoadEnd::Loaded, 200, kPage}; }

class PageCareTest : public test::BrowserTestFixture {
protected:
    PageCareTest() {
        app->App.strings.set(TextId::WaitingToRetry, "no page; next try %1, last %2");
        app->App.strings.set(TextId::NotLoadedYet, "never");
    }
    // Calls of the page that load it (a navigation or a refresh) since the last look.
    static int loadsSince(frmStart& b, size_t& seen) {
        const auto& calls = web(b).calls;
        const int n = static_cast<int>(std::count_if(calls.begin() + static_cast<long>(seen), calls.end(), [](const std::string& c) {
            return c.rfind("Navigate", 0) == 0 || c.rfind("Refresh", 0) == 0;
        }));
        seen = calls.size();
        return n;
    }
    // How long the window waits after a failure before it loads again (ms), or -1 within the limit.
    int waitAfter(frmStart& b, const LoadEnd& end, int limitMs = 10 * 60000) {
        size_t seen = web(b).calls.size();
        web(b).events->Web_LoadEnd(end);
        for (int t = 0; t < limitMs; t += 500) {
            fp.advance(500);
            if (loadsSince(b, seen) > 0) return t + 500;
        }
        return -1;
    }
};

}  // namespace

TEST_F(PageCareTest, WhatIsWorthAnotherTry) {
    EXPECT_TRUE(worthRetrying(unreachable()));
    EXPECT_TRUE(worthRetrying(status(500)));
    EXPECT_TRUE(worthRetrying(status(503)));
    EXPECT_FALSE(worthRetrying(status(404)));
    EXPECT_FALSE(worthRetrying(status(403)));
    EXPECT_FALSE(worthRetrying({LoadEnd::Failed, 0, kPage}));
    EXPECT_FALSE(worthRetrying({LoadEnd::Stopped, 0, kPage}));
    EXPECT_FALSE(worthRetrying(loaded()));
}

TEST_F(PageCareTest, WaitsGrowAreCappedAndStartAgainAfterAGoodLoad) {
    frmStart& b = open();
    std::vector<int> waits;
    for (int i = 0; i < 7; ++i) waits.push_back(waitAfter(b, unreachable()));
    EXPECT_EQ(waits.front(), 5000) << "the first try comes soon";
    for (size_t i = 1; i < waits.size(); ++i) {
        EXPECT_GE(waits[i], waits[i - 1]) << i;
        EXPECT_LE(waits[i], 60000) << "never longer than a minute";
    }
    EXPECT_GT(waits[2], waits[1]) << "the waits grow";
    EXPECT_EQ(waits[5], 60000);
    EXPECT_EQ(waits[6], 60000) << "then every minute";
    for (int n = 1; n < 40; ++n) EXPECT_LE(retryDelayMs(n), retryDelayMs(n + 1));

    web(b).events->Web_LoadEnd(loaded());
    EXPECT_EQ(waitAfter(b, status(503)), 5000) << "a good load starts the waits again";
    EXPECT_EQ(waitAfter(b, status(404)), -1) << "a missing page is not tried again";
}

TEST_F(PageCareTest, RetryGoesToTheAskedAddressAndTheFilesKeepIt) {
    frmStart& b = open();
    // The engine shows its error page; the window still means the asked address.
    web(b).url_ = "chrome-error://chromewebdata/";
    web(b).errorPage = true;
    web(b).events->Web_TitleChange("127.0.0.1");
    EXPECT_EQ(waitAfter(b, unreachable()), 5000);
    EXPECT_EQ(web(b).calls.back(), std::string("Navigate ") + kPage);
    EXPECT_EQ(b.settingsText().find("chrome-error"), std::string::npos);
}

TEST_F(PageCareTest, UserNavigationStopAndClosingEndTheTries) {
    frmStart& b = open();
    size_t seen = 0;
    // The user goes elsewhere while a try waits.
    web(b).events->Web_LoadEnd(unreachable());
    web(b).events->Web_BeforeNavigate2();
    loadsSince(b, seen);
    fp.advance(10 * 60000);
    EXPECT_EQ(loadsSince(b, seen), 0) << "navigating elsewhere";

    web(b).events->Web_LoadEnd(unreachable());
    b.Form_Shortcut(Shortcut::Stop);
    loadsSince(b, seen);
    fp.advance(10 * 60000);
    EXPECT_EQ(loadsSince(b, seen), 0) << "Stop";

    web(b).events->Web_LoadEnd(unreachable());
    b.GO_Exit();
    fp.advance(10 * 60000);
    SUCCEED() << "closing with a try waiting leaves nothing behind";
}

TEST_F(PageCareTest, NetworkBackTriesAtOnceAndTheCaptionSaysWhileItWaits) {
    frmStart& b = open();
    const std::string plain = win(b).caption();
    web(b).events->Web_LoadEnd(unreachable());
    EXPECT_NE(win(b).caption().find("no page; next try 00:00:05, last never"), std::string::npos) << win(b).caption();
    // The engine's own events do not take the message away while it waits.
    web(b).events->Web_TitleChange("Error");
    web(b).events->Web_DocumentComplete();
    EXPECT_NE(win(b).caption().find("next try"), std::string::npos);

    size_t seen = web(b).calls.size();
    b.networkBack();
    EXPECT_EQ(loadsSince(b, seen), 1) << "the waiting window tries at once";
    b.networkBack();
    EXPECT_EQ(loadsSince(b, seen), 0) << "nothing waits now";
    EXPECT_EQ(win(b).caption().find("next try"), std::string::npos) << win(b).caption();

    fp.advance(60000);
    web(b).events->Web_LoadEnd(loaded());
    web(b).events->Web_LoadEnd(unreachable());
    EXPECT_NE(win(b).caption().find("last 00:01:00"), std::string::npos) << win(b).caption();
}

TEST_F(PageCareTest, CrashedPageLoadsAgainUntilThreeCrashesInFiveMinutes) {
    frmStart& b = open();
    size_t seen = web(b).calls.size();
    EXPECT_TRUE(web(b).events->Web_RendererGone());
    fp.advance(1900);
    EXPECT_EQ(loadsSince(b, seen), 0);
    fp.advance(100);
    EXPECT_EQ(loadsSince(b, seen), 1) << "loaded again after two seconds";

    // Crashes far apart never give up.
    for (int i = 0; i < 4; ++i) {
        fp.advance(3 * 60000);
        web(b).events->Web_RendererGone();
    }
    fp.advance(2000);
    EXPECT_EQ(web(b).crashPanels, 0);

    // Three within five minutes: the panel, and no more loads by itself.
    fp.advance(10 * 60000);
    for (int i = 0; i < 3; ++i) {
        web(b).events->Web_RendererGone();
        fp.advance(60000);
    }
    EXPECT_EQ(web(b).crashPanels, 1);
    loadsSince(b, seen);
    fp.advance(10 * 60000);
    EXPECT_EQ(loadsSince(b, seen), 0);
}

TEST_F(PageCareTest, RefreshWaitsWhileTheWindowIsInUse) {
    write("/Data/Corvano1.Opt", "version=1\r\nzoom=100\r\nrefresh=60\r\n");
    app->App.browserSlots[1] = 1;
    frmStart& b = open();
    ASSERT_EQ(b.refresh(), 60);
    web(b).events->Web_LoadEnd(loaded());
    size_t seen = web(b).calls.size();
    fp.advance(59000);
    EXPECT_EQ(loadsSince(b, seen), 0);
    fp.advance(1000);
    EXPECT_EQ(loadsSince(b, seen), 1) << "refreshed on its interval";
    EXPECT_EQ(web(b).calls.back(), "Refresh2") << "as F5 does";
    web(b).events->Web_LoadEnd(loaded());

    // Typing in the window: the refresh waits a minute from the last key.
    win(b).keyboardFocus = true;
    win(b).lastInput = fp.now + 50000;
    fp.advance(109000);
    EXPECT_EQ(loadsSince(b, seen), 0);
    fp.advance(2000);
    EXPECT_EQ(loadsSince(b, seen), 1);
    web(b).events->Web_LoadEnd(loaded());
    win(b).keyboardFocus = false;

    // A dialog, a download, the find bar or the source view hold it until closed.
    auto hold = [&](bool on, int which) {
        if (which == 0) win(b).dialog = on;
        if (which == 1) web(b).downloads = on;
        if (which == 2) web(b).findBar = on;
        if (which == 3) b.txtSource().setVisible(on);
    };
    for (int which = 0; which < 4; ++which) {
        hold(true, which);
        fp.advance(5 * 60000);
        EXPECT_EQ(loadsSince(b, seen), 0) << which;
        hold(false, which);
        fp.advance(1000);
        EXPECT_EQ(loadsSince(b, seen), 1) << "as soon as it ends " << which;
        web(b).events->Web_LoadEnd(loaded());
    }
}

TEST_F(PageCareTest, TheRefreshChoiceIsSetCheckedAndKept) {
    frmStart& b = open();
    b.Form_Activate();
    b.Web_PageCommand(refreshChoiceKey(300));
    EXPECT_EQ(b.refresh(), 300);
    EXPECT_TRUE(app->bars.at(refreshChoiceKey(300)).checked());
    EXPECT_FALSE(app->bars.at(refreshChoiceKey(0)).checked());
    int checked = 0;
    for (const MenuChoice& c : b.Web_PageMenuChoices()) checked += c.checked ? 1 : 0;
    EXPECT_EQ(checked, 1);
    b.GO_Exit();
    EXPECT_NE(read("/Data/Corvano1.Opt").find("refresh=300\r\n"), std::string::npos);

    // A value between the choices, written by hand, is used and checks none.
    write("/Data/Corvano1.Opt", "version=1\r\nrefresh=45\r\n");
    app->App.browserSlots[1] = 1;
    frmStart& again = open();
    again.Form_Activate();
    EXPECT_EQ(again.refresh(), 45);
    for (int c : kRefreshChoices) EXPECT_FALSE(app->bars.at(refreshChoiceKey(c)).checked()) << c;
}

TEST(WindowOptionsRefresh, HostileValuesReadAsNeverAndUnknownKeysAreKept) {
    test::TempFolder dir;
    const std::string file = dir.file("/Corvano2.Opt");
    const std::pair<const char*, int> cases[] = {{"29", 0}, {"30", 30}, {"45", 45}, {"86400", 86400}, {"86401", 0},
                                                 {"-60", 0}, {"60s", 0}, {"", 0}, {"99999999999999", 0}};
    for (const auto& [text, seconds] : cases) {
        dir.write("/Corvano2.Opt", std::string("version=1\r\nrefresh=") + text + "\r\n");
        EXPECT_EQ(readWindowOptions(file).refreshSeconds, seconds) << text;
    }
    dir.write("/Corvano2.Opt", "version=1\r\nzoom=110\r\nlayout=grid 2x2\r\nrefresh=60\r\nbad\x01key=1\r\n");
    WindowOptions o = readWindowOptions(file);
    o.zoomPercent = 125;
    ASSERT_TRUE(saveWindowOptions(file, o));
    const std::string text = dir.read("/Corvano2.Opt");
    EXPECT_NE(text.find("layout=grid 2x2\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("zoom=125\r\n"), std::string::npos);
    EXPECT_NE(text.find("refresh=60\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\x01'), std::string::npos);
    EXPECT_EQ(readWindowOptions(file).otherLines, o.otherLines) << "kept once, not piled up";
}
