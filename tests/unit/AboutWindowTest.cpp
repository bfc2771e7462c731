#include <gtest/gtest.h>

#include "about/AboutTexts.h"
#include "about/VersionReport.h"
#include "about/frmAbout.h"
#include "app/Application.h"
#include "platform/CommandBars.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "mainwin/frmMain.h"

using namespace corvano;
using fake::FakePlatform;
using fake::FakeWebView;
using fake::FakeWindow;

TEST(AboutTexts, VersionFromTheBuildAndHelpPageByLanguage) {
    EXPECT_EQ(versionText("Version"), std::string("Version ") + CORVANO_PROJECT_VERSION);
    const std::string prefix = urls::kHelpPrefix;
    EXPECT_EQ(helpPageAddress("english"), prefix + "eng.html");
    EXPECT_EQ(helpPageAddress("italiano"), prefix + "ita.html");
    EXPECT_EQ(helpPageAddress("it"), prefix + "it.html");
    EXPECT_EQ(helpPageAddress("\xC3\xBC" "ber"), prefix + "\xC3\xBC" "be.html") << "characters, not bytes";
    EXPECT_EQ(siteName("https://www.corvano.net/a/b"), "www.corvano.net");
}

namespace {

struct AboutWindow : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;
    frmMain* main = nullptr;
    frmAbout* about = nullptr;
    FakeWindow* win = nullptr;

    AboutWindow() {
        std::string lang;
        for (int n = 1; n <= 340; ++n) lang += "\"t" + std::to_string(n) + "\"\r\n";
        dir.write("/Lang_english.txt", lang);
        app = std::make_unique<Application>(platform, dir.path());
        main = &Sub_Main(*app);
        // The window is examined while it is open, as a user would see it.
        platform.onModal = [this](FakeWindow& w) {
            win = &w;
            about = static_cast<frmAbout*>(app->openWindows().back());
        };
        main->cmdBar_Click(4, app->bars.at("BRAMBLE"));
    }
};

}  // namespace

TEST_F(AboutWindow, OpensModalTopmostCentredWithEveryText) {
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->role, WindowRole::About);
    EXPECT_TRUE(win->modal);
    EXPECT_TRUE(win->topmost);
    const Rect r = win->geometry();
    EXPECT_EQ(r.left, platform.screen.width / 2 - r.width / 2);
    EXPECT_EQ(r.top, platform.screen.height / 2 - r.height / 2);
    EXPECT_EQ(about->lblTitle().text(), "Corvano");
    EXPECT_EQ(about->lblVersion().text(), std::string("t198 ") + CORVANO_PROJECT_VERSION);
    EXPECT_EQ(about->lblDisclaimer().text(), "t202");
    EXPECT_EQ(about->cmdSysInfo().text(), "t205");
    EXPECT_EQ(about->lblDescription().text(), "t197");
    EXPECT_EQ(about->lbVisit2().text(), "t197");
    EXPECT_EQ(about->lbDescr().text(), "t199");
    EXPECT_EQ(about->lbDescr2().text(), "t200");
    EXPECT_EQ(about->picIcon().source(), "res:corvano");
    EXPECT_FALSE(about->WebHelp().visible());
}

TEST_F(AboutWindow, LinksGoToTheDesktopAndHelpCoversTheWindow) {
    ASSERT_NE(about, nullptr);
    static_cast<fake::FakeLabel&>(about->Label1()).click();
    static_cast<fake::FakeLabel&>(about->Label3()).click();
    static_cast<fake::FakeLabel&>(about->lbSite()).click();
    static_cast<fake::FakeLabel&>(about->lblDescription()).click();
    const std::vector<std::string> opened = {std::string("Open mailto:") + urls::kMakerMail,
                                             std::string("Open ") + urls::kPartnerSite,
                                             "Open https://www.corvano.net/", " https://www.corvano.net/"};
    EXPECT_EQ(platform.shellFake.opened, opened);

    app->App.language = "italiano";
    static_cast<fake::FakeButton&>(about->cmdSysInfo()).click();
    auto& web = static_cast<FakeWebView&>(about->WebHelp());
    EXPECT_TRUE(web.visible());
    EXPECT_EQ(web.calls.back(), "Navigate " + helpPageAddress("italiano"));
    EXPECT_EQ(web.r, (Rect{0, 0, win->scaleWidth(), win->scaleHeight()}));
    win->setGeometry({0, 0, 9000, 8000});
    EXPECT_EQ(web.r, (Rect{0, 0, win->scaleWidth(), win->scaleHeight()})) << "follows a resize";

    // Closing leaves the list of open windows; the next showing loads anew.
    about->Form_KeyDown(keys::Escape, 0);
    platform.runPosted();
    for (Form* f : app->openWindows()) EXPECT_NE(f->role(), WindowRole::About);
    main->cmdBar_Click(4, app->bars.at("BRAMBLE"));
    EXPECT_FALSE(about->WebHelp().visible());
}

TEST(VersionReport, NamesEveryVersionGivenInTheUsersLanguage) {
    test::TempFolder dir;
    // German chosen, from a file older than the engine's texts: those come in English.
    dir.write("/Data/Corvano.Ini", "0\r\ndeutsch\r\n1\r\n");
    dir.write("/Lang_deutsch.txt", "\"Zur\xC3\xBC" "ck\"\r\n");
    const StringTable t = startupTexts(dir.path(), CORVANO_SHARE_DIR);
    EXPECT_EQ(t.byNumber(1), "Zur\xC3\xBC" "ck");

    const EngineVersions v{"6.4.2", "6.4.2", "102.0.5005.177", "108.0.5359.94"};
    EXPECT_EQ(versionReport(t, v), std::string("Corvano ") + CORVANO_PROJECT_VERSION +
                                       "\nQt 6.4.2\nWeb engine: Chromium 102.0.5005.177\n"
                                       "Security fixes up to Chromium 108.0.5359.94\n");
    // The engine module can come apart from Qt's; what a library does not tell is left out.
    EXPECT_EQ(engineLines(t, {"6.8.2", "6.8.3", "122.0.6261.171", ""}),
              "Qt 6.8.2 (Qt WebEngine 6.8.3)\nWeb engine: Chromium 122.0.6261.171\n");
    EXPECT_EQ(engineLines(t, {}), "");
}
