// What a browser window decides when its page asks for something: where a
// download goes, the sites' permissions, certificate overrides, the page menu.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/TextFile.h"
#include "browser/Downloads.h"
#include "browser/PagePrompts.h"
#include "mainwin/frmMain.h"
#include "unit/BrowserTestFixture.h"

namespace {

using corvano::CertificateProblem;
using corvano::frmStart;
using corvano::WebPermission;
using corvano::TextId;

class WebRequestsTest : public corvano::test::BrowserTestFixture {
protected:
    WebRequestsTest() {
        auto& t = app->App.strings;
        t.set(TextId::PermissionTitle, "Permission");
        t.set(TextId::AsksNotifications, "%1 asks to show notifications.");
        t.set(TextId::AsksLocation, "%1 asks to know your location.");
        t.set(TextId::Allow, "Allow");
        t.set(TextId::Deny, "Deny");
        t.set(TextId::CertificateTitle, "Certificate error");
        t.set(TextId::CertificateQuestion, "The certificate of %1 is not valid: %2.");
        t.set(TextId::CertificateAuthority, "not from a trusted authority");
        t.set(TextId::GoOnToSite, "Go on to %1");
        t.set(TextId::Back, "Back");
    }
    frmStart& shown() {
        frmStart& b = open();
        win(b).show();
        return b;
    }
    bool ask(frmStart& b, const std::string& site, WebPermission what = WebPermission::Notifications) {
        bool allow = false;
        b.Web_PermissionRequest(site, what, [&allow](bool yes) { allow = yes; });
        return allow;
    }
    std::vector<std::string>& questions() { return fp.dialog.questions; }
    std::vector<bool>& answers() { return fp.dialog.answers; }
};

TEST(DownloadNames, AreSafeToSaveUnder) {
    using corvano::safeDownloadName;
    EXPECT_EQ(safeDownloadName("report.pdf"), "report.pdf");
    EXPECT_EQ(safeDownloadName("../../etc/passwd"), "passwd");
    EXPECT_EQ(safeDownloadName("C:\\temp\\a.zip"), "a.zip");
    EXPECT_EQ(safeDownloadName("a:b?c*.csv"), "a_b_c_.csv");
    EXPECT_EQ(safeDownloadName(std::string("x\ny\x01.txt")), "x_y_.txt");
    EXPECT_EQ(safeDownloadName(".bashrc"), "bashrc") << "no hidden file";
    EXPECT_EQ(safeDownloadName("name. . "), "name");
    for (const char* nothing : {"", "..", "/", " . "}) EXPECT_EQ(safeDownloadName(nothing), "download") << nothing;
    const std::string longName = std::string(300, 'a') + ".pdf";
    const std::string cut = safeDownloadName(longName);
    EXPECT_LE(cut.size(), 200u);
    EXPECT_EQ(cut.substr(cut.size() - 4), ".pdf") << "the type survives the cut";
    std::string accented(151, 'a');
    for (int i = 0; i < 40; ++i) accented += "\xC3\xA9";
    EXPECT_TRUE(corvano::textfile::isValidUtf8(safeDownloadName(accented + ".txt"))) << "no character cut in half";
}

TEST(DownloadNames, GoToTheFolderUnderAFreeName) {
    std::set<std::string> taken{"/dl/report.pdf", "/dl/report (1).pdf", "/dl/notes"};
    auto isTaken = [&](const std::string& p) { return taken.count(p) > 0; };
    EXPECT_EQ(corvano::proposeDownloadPath("/dl", "data.csv", isTaken), "/dl/data.csv");
    EXPECT_EQ(corvano::proposeDownloadPath("/dl/", "report.pdf", isTaken), "/dl/report (2).pdf");
    EXPECT_EQ(corvano::proposeDownloadPath("/dl", "notes", isTaken), "/dl/notes (1)");
    EXPECT_EQ(corvano::proposeDownloadPath("/dl", "../x/report.pdf", isTaken), "/dl/report (2).pdf");
}

TEST_F(WebRequestsTest, ADownloadIsProposedInTheFolderUnlessTheWindowCloses) {
    frmStart& b = shown();
    write("/report.pdf", "old");
    std::string proposed;
    b.Web_DownloadBegin(dir, "report.pdf", proposed);
    EXPECT_EQ(proposed, dir + "/report (1).pdf") << "an existing file is not proposed for replacing";
    b.GO_Exit();
    proposed.clear();
    b.Web_DownloadBegin(dir, "other.pdf", proposed);
    EXPECT_TRUE(proposed.empty()) << "a closing window takes no download";
}

TEST_F(WebRequestsTest, EachSiteIsAskedOnceAndItsAnswerHoldsInEveryWindow) {
    frmStart& first = shown();
    frmStart& second = shown();
    answers() = {true, false};
    EXPECT_TRUE(ask(first, "https://a.example"));
    ASSERT_EQ(questions().size(), 1u);
    EXPECT_EQ(questions()[0], "Permission: https://a.example asks to show notifications. [Allow|Deny]");
    EXPECT_TRUE(ask(second, "https://a.example")) << "the answer holds for the site, not the window";
    EXPECT_FALSE(ask(first, "https://b.example"));
    EXPECT_FALSE(ask(second, "https://b.example"));
    EXPECT_EQ(questions().size(), 2u) << "a refusal is kept too";

    answers() = {true};
    EXPECT_TRUE(ask(first, "https://a.example", WebPermission::Location)) << "each request is its own question";
    EXPECT_NE(questions().back().find("know your location"), std::string::npos);
}

TEST_F(WebRequestsTest, NoOneIsAskedWhileTheWindowIsUnseenOrAShowRuns) {
    frmStart& b = shown();
    answers() = {true};
    EXPECT_TRUE(ask(b, "https://known.example"));

    win(b).hide();
    EXPECT_FALSE(ask(b, "https://known.example")) << "hidden: no, even for an allowed site";
    win(b).show();
    win(b).windowState = corvano::WindowState::Minimized;
    EXPECT_FALSE(ask(b, "https://other.example"));
    win(b).windowState = corvano::WindowState::Normal;
    app->App.showModeOn = true;
    EXPECT_FALSE(ask(b, "https://other.example"));
    bool goOn = true;
    b.Web_CertificateError("https://self.example", CertificateProblem::Authority, [&goOn](bool yes) { goOn = yes; });
    EXPECT_FALSE(goOn);
    EXPECT_EQ(questions().size(), 1u);

    app->App.showModeOn = false;
    answers() = {true};
    EXPECT_TRUE(ask(b, "https://other.example")) << "the silent no was not kept as the site's answer";
}

TEST_F(WebRequestsTest, TheCertificateQuestionNamesSiteAndProblemAndIsAskedEachTime) {
    frmStart& b = shown();
    answers() = {false, true};
    for (bool expected : {false, true}) {
        bool goOn = !expected;
        b.Web_CertificateError("https://self.example:8443", CertificateProblem::Authority,
                               [&goOn](bool yes) { goOn = yes; });
        EXPECT_EQ(goOn, expected);
    }
    ASSERT_EQ(questions().size(), 2u);
    EXPECT_EQ(questions()[0],
              "Certificate error: The certificate of https://self.example:8443 is not valid: not from a trusted "
              "authority. [Go on to https://self.example:8443|Back]");
}

TEST(FillIn, ReplacesEachPlaceOnce) {
    EXPECT_EQ(corvano::fillIn("%2 and %1", "a%2", "b"), "b and a%2");
    EXPECT_EQ(corvano::fillIn("100% sure: %1", "x"), "100% sure: x");
}

TEST_F(WebRequestsTest, OpenLinkInNewWindowOpensTheNextNumberOnTheLinkUpToTwenty) {
    frmStart& first = shown();
    first.Web_OpenLinkInNewWindow("JavaScript:alert(1)");
    EXPECT_EQ(app->openWindows().size(), 1u) << "a script link opens nothing";
    first.Web_OpenLinkInNewWindow("http://link.example/page");
    ASSERT_EQ(app->openWindows().size(), 2u);
    auto& opened = static_cast<frmStart&>(*app->openWindows()[1]);
    EXPECT_EQ(opened.number(), 2);
    EXPECT_TRUE(win(opened).visible());
    EXPECT_EQ(web(opened).calls, std::vector<std::string>{"Navigate http://link.example/page"})
        << "the link is the first page, not the window's last one";
    EXPECT_EQ(app->App.browserCount, 2);

    while (app->App.browserCount < 20) first.Web_OpenLinkInNewWindow("http://link.example/more");
    ASSERT_EQ(app->openWindows().size(), 20u);
    first.Web_OpenLinkInNewWindow("http://link.example/one-too-many");
    EXPECT_EQ(app->openWindows().size(), 20u) << "refused silently at twenty";
    EXPECT_EQ(app->App.browserCount, 20);
    EXPECT_TRUE(fp.dialog.messages.empty());
}

TEST_F(WebRequestsTest, ThePageMenuCommandsActOnTheirOwnWindow) {
    frmStart& first = shown();
    frmStart& second = shown();
    second.Form_Activate();
    first.Web_PageCommand("EDIT:COPY");
    EXPECT_EQ(web(first).calls.back(), "ExecWB 12 0");
    EXPECT_NE(web(second).calls.back(), "ExecWB 12 0");
    EXPECT_EQ(app->App.currentBrowser, first.number());
}

TEST(WebRequestsInTheApp, APageAsksNothingWhileAShowModeRuns) {
    corvano::test::TempFolder dir;
    dir.write("/Lang_english.txt", "\"x\"\r\n");
    corvano::fake::FakePlatform platform;
    corvano::Application app(platform, dir.path());
    corvano::frmMain& main = corvano::Sub_Main(app);
    auto& first = static_cast<frmStart&>(*app.openWindows().at(1));
    auto asks = [&] {
        const size_t before = platform.dialog.questions.size();
        first.Web_PermissionRequest("https://a.example", WebPermission::Camera, [](bool) {});
        return platform.dialog.questions.size() > before;
    };
    main.cmdBar_Click(5, app.bars.at("SHOW:1M"));
    EXPECT_FALSE(asks());
    main.cmdBar_Click(5, app.bars.at("SHOW:0"));
    EXPECT_TRUE(asks()) << "the show is over";
}

}  // namespace
