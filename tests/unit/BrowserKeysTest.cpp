#include <gtest/gtest.h>

#include "platform/CommandBars.h"
#include "unit/BrowserTestFixture.h"

namespace {

using corvano::Entry;
using corvano::Form;
using corvano::frmStart;
using corvano::Rect;
using corvano::Shortcut;
using corvano::TextId;

class BrowserKeysTest : public corvano::test::BrowserTestFixture {
protected:
    BrowserKeysTest() {
        // The main window's entries the browser bars and keys use.
        app->bars.addEntry("LANG", 28, 0);
        app->bars.addEntry("NEW", 0, 0);
        // The main window's command the browser window's keys reach.
        app->commands.add({"NEW", corvano::CommandTarget::Wall, corvano::CommandArg::None, 3,
                           [this](const corvano::CommandCall&) { ++newWindows; }});
    }
    int newWindows = 0;
};

}  // namespace

TEST_F(BrowserKeysTest, EveryShortcutRunsItsCommandTheWayItsEntryDoes) {
    frmStart& b = open();
    frmStart& other = open();
    other.Form_Activate();
    const std::pair<Shortcut, std::string> toWeb[] = {
        {Shortcut::Back, "GoBack"},          {Shortcut::Forward, "GoForward"},
        {Shortcut::Reload, "Refresh2"},      {Shortcut::ReloadBypassingCache, "ReloadBypassingCache"},
        {Shortcut::Print, "ExecWB 6 0"},     {Shortcut::FindNext, "FindNext"},
        {Shortcut::FindPrevious, "FindPrevious"}, {Shortcut::Stop, "Stop"},
    };
    for (const auto& [key, call] : toWeb) {
        web(b).calls.clear();
        b.Form_Shortcut(key);
        EXPECT_EQ(web(b).calls, std::vector<std::string>{call}) << call;
    }
    EXPECT_TRUE(web(other).calls.size() == 1) << "only the first page load";
    // The drop-downs' commands act on the window the key was pressed in.
    other.Form_Activate();
    web(b).calls.clear();
    web(b).html = "<html></html>";
    for (Shortcut key : {Shortcut::Find, Shortcut::Save, Shortcut::ViewSource, Shortcut::NewWindow}) b.Form_Shortcut(key);
    EXPECT_EQ(web(b).calls, (std::vector<std::string>{"FindBar", "ExecWB 4 1"}));
    EXPECT_TRUE(b.txtSource().visible());
    EXPECT_EQ(newWindows, 1);
    EXPECT_EQ(app->App.currentBrowser, b.number());

    b.Form_Shortcut(Shortcut::FocusAddress);
    EXPECT_EQ(box(b).focusCount, 1);
    EXPECT_EQ(box(b).selectAllCount, 1);

    // The tooltips name the keys: every entry a key runs shows it.
    for (const char* key : {"BACK", "NEXT", "REFRESH", "PRINT", "EDIT:FINDDOC", "SAVE:HTML", "EDIT:VIEW", "NEW", "EDIT:PRINT"})
        EXPECT_FALSE(app->bars.at(key).shortcut().empty()) << key;
    EXPECT_TRUE(app->bars.at("GO").shortcut().empty());

    b.Form_Shortcut(Shortcut::CloseWindow);
    EXPECT_TRUE(b.unloaded());
    EXPECT_EQ(app->App.browserCount, 1);
}

TEST_F(BrowserKeysTest, ZoomStepsShowsInTheCaptionAndComesBackWithTheWindow) {
    app->App.strings.set(TextId::Zoom, "Zoom");
    frmStart& b = open();
    b.Form_Shortcut(Shortcut::ZoomIn);
    b.Form_Shortcut(Shortcut::ZoomIn);
    EXPECT_EQ(web(b).zoom, 125);
    EXPECT_EQ(b.window().caption(), "Browser  N.  1 [Zoom 125 %]");
    fp.advance(2500);
    EXPECT_EQ(b.window().caption(), "Browser  N.  1") << "the zoom shows while it changes";
    for (int i = 0; i < 30; ++i) b.Form_Shortcut(Shortcut::ZoomOut);
    EXPECT_EQ(web(b).zoom, 25);
    b.Form_Shortcut(Shortcut::ZoomReset);
    b.Form_Shortcut(Shortcut::ZoomOut);
    EXPECT_EQ(b.zoom(), 90);

    app->App.browserSlots[1] = 1;
    b.GO_Exit();
    app->App.browserSlots[1] = 1;  // taken again at the next start, not fresh
    frmStart& again = open();
    EXPECT_EQ(again.number(), 1);
    EXPECT_EQ(web(again).zoom, 90);
}

TEST_F(BrowserKeysTest, TypingOffersMatchingHistoryNewestFirstAndCompletesOnlyOnward) {
    frmStart& b = open();
    for (const char* h : {"http://alpha.example/a", "https://www.beta.example/", "http://alpha.example/b"})
        b.addressHistory().add(h);
    box(b).edit("alp");
    EXPECT_EQ(box(b).offered, (std::vector<std::string>{"http://alpha.example/b", "http://alpha.example/a"}));
    EXPECT_EQ(box(b).inlineOffered, "alpha.example/b");
    box(b).edit("");
    box(b).edit("beta");
    EXPECT_EQ(box(b).inlineOffered, "beta.example/");
    box(b).edit("bet");  // a deletion: offered, not completed
    EXPECT_EQ(box(b).offered, std::vector<std::string>{"https://www.beta.example/"});
    EXPECT_EQ(box(b).inlineOffered, "");
    box(b).edit("EXAMPLE/A");
    EXPECT_EQ(box(b).offered, std::vector<std::string>{"http://alpha.example/a"});
    box(b).edit("");
    EXPECT_TRUE(box(b).offered.empty());
}

TEST_F(BrowserKeysTest, AWindowSavedOnAScreenThatIsGoneComesBackOnToday) {
    // Saved on a wider screen than today's 960 x 720.
    fp.screen = {14400, 10800};
    std::string ini = " 600 \r\n 20000 \r\n 6000 \r\n 9000 \r\n";
    for (int i = 0; i < 9; ++i) ini += " 0 \r\n";
    app->App.browserSlots[1] = 1;
    write("/Data/Corvano1.Ini", ini + "\r\nhttp://a.example/\r\n");
    frmStart& b = open();
    EXPECT_EQ(b.window().geometry(), (Rect{14400 - 9000, 600, 9000, 6000}));
}
