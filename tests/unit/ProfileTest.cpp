#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "browser/LoginWatch.h"
#include "browser/PageCommands.h"
#include "browser/Profiles.h"
#include "browser/WindowOptions.h"
#include "platform/LoginFile.h"
#include "unit/BrowserTestFixture.h"

namespace {

using namespace corvano;

class ProfileTest : public test::BrowserTestFixture {
protected:
    // Everything under the application folder, so a refused name is seen to create nothing.
    std::set<std::string> allPaths() const {
        std::set<std::string> all;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) all.insert(e.path().string());
        return all;
    }
    fake::FakeDialogs& dialogs() { return fp.dialog; }
    void use(frmStart& w, const std::string& name) {
        CommandCall c = onWindow(w.number());
        c.address = name;
        app->commands.run("PAGE:PROFILE", c);
    }
};

TEST_F(ProfileTest, RefusedNamesChangeNothingAndCreateNothing) {
    frmStart& w = open();
    const std::set<std::string> before = allPaths();
    const size_t views = win(w).webs.size();
    const std::string refused[] = {"../x", std::string(200, 'a'), std::string(33, 'b'), "", "a b", "x/y", "café",
                                   ".", ".."};
    for (const std::string& name : refused) {
        dialogs().inputs.push_back(name);
        app->commands.run("PAGE:NEWPROFILE", onWindow(w.number()));
        app->commands.run("PAGE:PROFILE", [&] {
            CommandCall c = onWindow(w.number());
            c.address = name;
            return c;
        }());
    }
    EXPECT_EQ(w.profile(), "");
    EXPECT_EQ(win(w).webs.size(), views) << "the view was not made again";
    EXPECT_EQ(allPaths(), before);
    // Every refusal was said; the empty name through the command is no argument at all.
    EXPECT_EQ(dialogs().messages.size(), std::size(refused) * 2 - 1);

    // An options file naming a path reads as the shared profile.
    write("/Data/Corvano5.Opt", "version=1\r\nprofile=../../etc\r\n");
    EXPECT_EQ(readWindowOptions(path("/Data/Corvano5.Opt")).profile, "");
    EXPECT_EQ(windowOptionsText(readWindowOptions(path("/Data/Corvano5.Opt"))), "version=1\r\nzoom=100\r\n");
}

TEST_F(ProfileTest, AChosenProfileMakesTheViewAgainAndIsKept) {
    frmStart& w = open();
    w.navigate("http://example.org/a");
    w.Web_TitleChange("A");
    w.setZoom(150);
    w.setRefresh(300);
    dialogs().inputs.push_back(" Team_2 ");
    app->commands.run("PAGE:NEWPROFILE", onWindow(w.number()));
    ASSERT_EQ(w.profile(), "Team_2");
    EXPECT_EQ(web(w).profile.name, "Team_2");
    EXPECT_EQ(web(w).profile.folder, dir + "/Data/Profiles/Team_2");
    EXPECT_NE(std::find(web(w).calls.begin(), web(w).calls.end(), "Navigate http://example.org/a"), web(w).calls.end());
    EXPECT_EQ(w.zoom(), 150) << "what the user set stays with the window";
    EXPECT_EQ(web(w).zoom, 150);
    EXPECT_EQ(w.refresh(), 300);
    EXPECT_NE(read("/Data/Corvano1.Opt").find("profile=Team_2\r\n"), std::string::npos);

    // The menu lists it, checked, and offers no removal of a profile in use.
    const std::vector<PageSubmenu> menus = w.Web_PageSubmenus();
    ASSERT_EQ(menus.size(), 1u);
    int checked = 0;
    for (const MenuChoice& c : menus[0].choices) {
        checked += c.checked;
        EXPECT_EQ(c.key.find("REMOVE"), std::string::npos) << c.key;
    }
    EXPECT_EQ(checked, 1);

    // A profile left on disk from another run may go, after the question; one used in this run may not.
    std::filesystem::create_directories(path("/Data/Profiles/old/Cookies"));
    dialogs().confirms = {true};
    CommandCall c = onWindow(w.number());
    c.address = "old";
    app->commands.run("PAGE:REMOVEPROFILE", c);
    EXPECT_FALSE(exists("/Data/Profiles/old"));
    c.address = "Team_2";
    app->commands.run("PAGE:REMOVEPROFILE", c);
    EXPECT_EQ(dialogs().questions.size(), 1u);
}

TEST_F(ProfileTest, ALoginPageTheSiteSentTheWindowToIsNotWhereItGoesNextTime) {
    frmStart& w = open();
    w.navigate("http://h/d/wall");
    w.Web_TitleChange("Wall");
    web(w).url_ = "http://h/login?next=%2Fd%2Fwall";
    w.Web_TitleChange("Log in");
    EXPECT_EQ(w.currentAddress(), "http://h/d/wall");
    // Sent there by the user, it is the window's page.
    w.Text1().setText("http://h/users/sign_in");
    w.CommandGo(1);
    w.Web_TitleChange("Sign in");
    EXPECT_EQ(w.currentAddress(), "http://h/users/sign_in");
}

TEST(LoginPage, ReportedAfterTheWindowHadItsPageUntilAGoodLoad) {
    EXPECT_TRUE(namesLogin("https://grafana.example/login?redirect=%2Fd%2Fx"));
    EXPECT_TRUE(namesLogin("https://gitlab.example/users/sign_in"));
    EXPECT_TRUE(namesLogin("http://h/Account/Login.aspx"));
    EXPECT_FALSE(namesLogin("https://blog.example/blogin/logins"));
    EXPECT_FALSE(namesLogin("https://login.example/dashboard")) << "the host is not the path";

    LoginState first;
    first.pageShown("http://h/d", "http://h/d", true);
    EXPECT_FALSE(first.required()) << "a first page may have a password field of its own";
    first.pageShown("http://h/d", "http://h/login", false);
    EXPECT_TRUE(first.required()) << "sent on to a login page";

    LoginState s;
    s.pageShown("http://h/d", "http://h/d", false);
    s.pageShown("http://h/d", "http://h/d", true);
    EXPECT_TRUE(s.required()) << "the page it had became a login form";
    s.pageShown("http://h/d", "http://h/d", false);
    EXPECT_FALSE(s.required());
}

TEST(LoginFile, HostileFieldsRoundTripAndGarbageIsDropped) {
    RememberedLogins logins;
    logins[loginKey("team", "http://h:8080", "realm\twith\nlines %41", false)] = {"ana", "p\ta%s\r\n\x01w\xc3\xa9"};
    logins[loginKey("", "proxy.local:3128", "", true)] = {"bo", ""};
    const std::string text = loginFileText(logins);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << "one line each";
    EXPECT_EQ(readLoginFile(text), logins);
    EXPECT_TRUE(readLoginFile("zoom=1\nx\ty\tz\n").empty()) << "not a login file";
    EXPECT_EQ(readLoginFile(text + "broken%4\tana\tpw\nk\t\tpw\nk\tana\n").size(), 2u);
}

}  // namespace

namespace {

TEST_F(ProfileTest, AClientCertificateChosenOnceIsSentAgainPerHostAndProfile) {
    frmStart& w = open();
    win(w).show();
    const std::vector<ClientCertificate> offered = {{"Wall A", std::string(64, 'a')}, {"Wall B", std::string(64, 'b')}};
    std::vector<std::optional<size_t>> sent;
    auto send = [&](std::optional<size_t> i) { sent.push_back(i); };
    dialogs().chosen = {1};
    w.Web_ClientCertificate("grafana.local:443", offered, send);
    // The certificates may come in another order next time: the choice is the certificate, not its place.
    w.Web_ClientCertificate("grafana.local:443", {offered[1], offered[0]}, send);
    ASSERT_EQ(sent, (std::vector<std::optional<size_t>>{1, 0}));
    EXPECT_EQ(dialogs().chooseAsked, 1);

    // Another profile, or another host, is asked again: not while nobody can see the window.
    use(w, "other");
    win(w).hide();
    w.Web_ClientCertificate("grafana.local:443", offered, send);
    EXPECT_EQ(sent.back(), std::nullopt);
    EXPECT_EQ(dialogs().chooseAsked, 1);
}

}  // namespace
