#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/CommandBars.h"
#include "unit/BrowserTestFixture.h"

namespace {

namespace fs = std::filesystem;
using corvano::frmStart;
using corvano::fake::FakeWindow;

class BrowserWindowTest : public corvano::test::BrowserTestFixture {};

// Files of a browser number, as the window names them.
std::string ini(int n) { return "/Data/Corvano" + std::to_string(n) + ".Ini"; }
std::string hys(int n) { return "/Data/Corvano" + std::to_string(n) + ".Hys"; }
std::string opt(int n) { return "/Data/Corvano" + std::to_string(n) + ".Opt"; }

// Top 100, left 200, height 6000, width 9000, reals 0, the mode and two addresses.
std::string settingsWith(const std::string& address, int mode = 0) {
    std::string text = " 100 \r\n 200 \r\n 6000 \r\n 9000 \r\n";
    for (int i = 0; i < 8; ++i) text += " 0 \r\n";
    return text + " " + std::to_string(mode) + " \r\nhttps://home.example/\r\n" + address + "\r\n";
}

TEST_F(BrowserWindowTest, ReopenedWindowsTakeTheNumbersInUseInOrder) {
    for (int n : {2, 5, 9}) {
        app->App.browserSlots[static_cast<size_t>(n)] = 1;
        write(ini(n), settingsWith("http://page" + std::to_string(n) + ".example/"));
        write(hys(n), "http://h" + std::to_string(n) + ".example/\r\n");
    }
    std::vector<int> numbers;
    for (int i = 0; i < 3; ++i) {
        frmStart& b = open();
        numbers.push_back(b.number());
        const std::string n = std::to_string(b.number());
        EXPECT_EQ(b.currentAddress(), "http://page" + n + ".example/");
        EXPECT_EQ(web(b).calls.at(0), "Navigate http://page" + n + ".example/");
        EXPECT_EQ(box(b).items, std::vector<std::string>{"http://h" + n + ".example/"});
        EXPECT_EQ(b.labCount().text(), " " + n);
    }
    EXPECT_EQ(numbers, (std::vector<int>{2, 5, 9}));
    EXPECT_TRUE(exists(ini(5)));
}

TEST_F(BrowserWindowTest, FreshNumberDeletesTheOldFiles) {
    // Numbers 1 and 2 in use, a third window: number 3, taken fresh.
    app->App.browserSlots[1] = app->App.browserSlots[2] = 1;
    app->App.browserCount = 2;
    for (const auto& f : {ini(3), hys(3), opt(3)}) write(f, "old\r\n");
    write(ini(2), settingsWith("http://two.example/"));
    frmStart& b = open();
    EXPECT_EQ(b.number(), 3);
    EXPECT_EQ(app->App.browserSlots[3], 1);
    EXPECT_FALSE(exists(ini(3)));
    EXPECT_FALSE(exists(hys(3)));
    EXPECT_FALSE(exists(opt(3)));
    EXPECT_EQ(b.currentAddress(), "https://www.corvano.net/");
    EXPECT_EQ(box(b).itemCount(), 0);
    EXPECT_TRUE(exists(ini(2)));
}

TEST_F(BrowserWindowTest, ClosedNumberIsReusedFreshWithDefaults) {
    frmStart& one = open();
    frmStart& two = open();
    ASSERT_EQ(one.number(), 1);
    ASSERT_EQ(two.number(), 2);
    one.window().setGeometry({3000, 3000, 7000, 5000});
    box(one).setText("http://closed.example/");
    one.CommandGo(1);
    one.GO_Exit();
    EXPECT_EQ(app->App.browserCount, 1);
    EXPECT_EQ(app->App.browserSlots[1], 0);
    ASSERT_TRUE(exists(ini(1)));
    ASSERT_TRUE(exists(hys(1)));
    frmStart& again = open();
    EXPECT_EQ(app->App.browserCount, 2);
    EXPECT_EQ(again.number(), 1);
    EXPECT_EQ(again.currentAddress(), "https://www.corvano.net/");
    EXPECT_EQ(box(again).itemCount(), 0);
    // Count 2 tiles into the right-hand column.
    EXPECT_EQ(again.window().geometry(), (corvano::Rect{14400, 415, 14350, 7900}));
}

TEST_F(BrowserWindowTest, EachWindowWritesBackItsOwnFilesByteForByte) {
    // Two windows whose files differ in every value a window reads and keeps.
    for (int n : {1, 2}) {
        const std::string v = std::to_string(n);
        std::string text = " 100 \r\n " + v + "00 \r\n 6000 \r\n 9000 \r\n";
        for (int i = 0; i < 8; ++i) text += " " + v + ".5 \r\n";
        write(ini(n), text + " " + v + " \r\nhttps://home" + v + ".example/\r\nhttp://page" + v + ".example/\r\n");
        write(hys(n), "http://h" + v + ".example/\r\n");
    }
    auto run = [this] {
        app->App.browserSlots[1] = app->App.browserSlots[2] = 1;
        frmStart& one = open();
        frmStart& two = open();
        two.GO_Exit();
        one.GO_Exit();
    };
    // The first run writes them in the form the windows write; the next keeps every byte.
    run();
    std::vector<std::string> before;
    for (int n : {1, 2})
        for (const std::string& f : {ini(n), hys(n), opt(n)}) before.push_back(read(f));
    EXPECT_NE(before[0].find("home1.example"), std::string::npos);
    EXPECT_NE(before[3].find("home2.example"), std::string::npos);
    EXPECT_NE(before[0].find(" 1.5"), std::string::npos);
    run();
    size_t i = 0;
    for (int n : {1, 2})
        for (const std::string& f : {ini(n), hys(n), opt(n)}) EXPECT_EQ(read(f), before[i++]) << f;
}

TEST_F(BrowserWindowTest, FirstWindowOfAFreshStartTakesNumberOne) {
    write(ini(1), settingsWith("http://stale.example/"));
    frmStart& b = open();
    EXPECT_EQ(b.number(), 1);
    EXPECT_FALSE(exists(ini(1)));
    EXPECT_EQ(b.currentAddress(), "https://www.corvano.net/");
}

TEST_F(BrowserWindowTest, LoadSetsUpTheWindow) {
    app->App.barStyle = 2;
    app->App.screenshotCounter = 7;
    app->App.browserSlots[3] = 1;
    write(ini(3), settingsWith("http://three.example/"));
    frmStart& b = open();
    ASSERT_EQ(b.number(), 3);
    FakeWindow& w = win(b);
    EXPECT_TRUE(w.topmost);
    EXPECT_EQ(app->App.screenshotCounter, 0);
    EXPECT_FALSE(b.labCount().visible());
    EXPECT_EQ(b.picBar().height(), 400);
    EXPECT_EQ(b.picBar().top(), 0);
    EXPECT_EQ(b.picBar().left(), 20);
    EXPECT_EQ(b.Text1().top(), 20);
    EXPECT_EQ(bar(b, 0).bar(), "STANDARD0");
    EXPECT_EQ(bar(b, 0).width(), 3220);
    EXPECT_EQ(bar(b, 0).left(), 0);
    EXPECT_EQ(bar(b, 0).imageList(), &b.ImageList1());
    EXPECT_EQ(bar(b, 2).bar(), "STANDARD2");
    EXPECT_EQ(bar(b, 2).width(), 1100);
    EXPECT_EQ(bar(b, 2).imageList(), &b.ImageList1());
    EXPECT_EQ(bar(b, 1).bar(), "STANDARD1");
    EXPECT_EQ(bar(b, 1).top(), -10);
    EXPECT_EQ(bar(b, 1).left(), 3220);
    EXPECT_EQ(bar(b, 1).imageList(), nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bar(b, i).barStyle(), 2);
    EXPECT_EQ(w.geometry(), (corvano::Rect{200, 100, 9000, 6000}));
    EXPECT_EQ(b.Text1().left(), 3180);
    EXPECT_EQ(w.caption(), "Browser  N.  3");
    EXPECT_EQ(web(b).calls, std::vector<std::string>{"Navigate http://three.example/"});
    EXPECT_TRUE(b.Web().visible());
    EXPECT_EQ(b.state().templatePath1, dir + "/Template.Doc");
    EXPECT_EQ(b.state().templatePath2, dir + "/TemplateH.Doc");
    EXPECT_EQ(b.state().settings.homeAddress, "https://home.example/");
}

TEST_F(BrowserWindowTest, WindowModeTwoCoversTheScreenAndEmptyAddressGoesToTheSecondSite) {
    app->App.browserSlots[1] = 1;
    write(ini(1), settingsWith("", 2));
    frmStart& b = open();
    EXPECT_EQ(b.window().geometry(), (corvano::Rect{0, 0, 28800, 16200}));
    EXPECT_EQ(b.currentAddress(), "https://www.corvano.net/");
    EXPECT_EQ(b.state().settings.homeAddress, "https://www.corvano.net/");
}

TEST_F(BrowserWindowTest, BarsAreBuiltOnlyOnce) {
    open();
    const size_t entries = app->bars.entryCount(), barCount = app->bars.barCount();
    EXPECT_NO_THROW(open());
    EXPECT_EQ(app->bars.entryCount(), entries);
    EXPECT_EQ(app->bars.barCount(), barCount);
}

TEST_F(BrowserWindowTest, ResizeLaysOutWithTheExactFormulas) {
    fp.frameWidth = 120;
    fp.frameHeight = 450;
    frmStart& b = open();
    b.window().setGeometry({0, 0, 10120, 8450});  // inner 10000 x 8000
    EXPECT_EQ(b.picBar().width(), 9980);
    EXPECT_EQ(b.cmdBar(1).width(), 9980 - 3220 - 1100 + 150);
    EXPECT_EQ(b.cmdBar(2).left(), 9980 - 1100 + 150);
    EXPECT_EQ(b.Text1().width(), 5810 - 100);
    EXPECT_EQ(b.Text1().left(), 3220 + 50);
    EXPECT_EQ(b.Web().left(), 0);
    EXPECT_EQ(b.Web().width(), 10010);
    EXPECT_EQ(b.Web().top(), 400);
    EXPECT_EQ(b.Web().height(), 8000 - 400 + 35);
}

TEST_F(BrowserWindowTest, ResizeKeepsTheMinimumWidthAndMinimizedCaption) {
    frmStart& b = open();
    b.window().setGeometry({10, 20, 3000, 6000});
    EXPECT_EQ(b.window().geometry(), (corvano::Rect{10, 20, 5000, 6000}));
    EXPECT_EQ(b.picBar().width(), 4980);  // laid out by the resize the new width caused
    win(b).windowState = corvano::WindowState::Minimized;
    b.Form_Resize();
    EXPECT_EQ(b.window().caption(), "Browser");
    b.Web_DocumentComplete();
    EXPECT_EQ(b.window().caption(), "Browser  N.  1");
}

TEST_F(BrowserWindowTest, F12CoversTheScreenAndOtherKeysDoNothing) {
    frmStart& b = open();
    const corvano::Rect before = b.window().geometry();
    b.Form_KeyDown(122, 0);
    EXPECT_EQ(b.window().geometry(), before);
    b.Form_KeyDown(corvano::keys::F12, 0);
    EXPECT_EQ(b.window().geometry(), (corvano::Rect{0, 0, 28800, 16200}));
    EXPECT_TRUE(win(b).topmost);
}

TEST_F(BrowserWindowTest, ActivationSetsTheCurrentBrowser) {
    frmStart& one = open();
    frmStart& two = open();
    win(two).bringToTop();
    EXPECT_EQ(app->App.currentBrowser, 2);
    win(one).bringToTop();
    EXPECT_EQ(app->App.currentBrowser, 1);
}

TEST_F(BrowserWindowTest, CloseRunsOnceSavesAndDeletesTheTextFiles) {
    frmStart& one = open();
    open();
    write("/html.txt", "x");
    write("/doc.txt", "y");
    one.GO_Exit();
    EXPECT_TRUE(one.unloaded());
    EXPECT_EQ(app->App.browserCount, 1);
    EXPECT_EQ(app->App.browserSlots[1], 0);
    EXPECT_FALSE(exists("/html.txt"));
    EXPECT_FALSE(exists("/doc.txt"));
    EXPECT_TRUE(exists(ini(1)));
    EXPECT_TRUE(exists(hys(1)));
    one.GO_Exit();
    one.Form_QueryUnload();
    EXPECT_EQ(app->App.browserCount, 1);
    EXPECT_EQ(app->openWindows().size(), 1u);
    EXPECT_TRUE(fp.dialog.messages.empty());
}

TEST_F(BrowserWindowTest, RefusedWritesStillCloseAndKeepTheOldFiles) {
    app->App.browserSlots[1] = 1;
    write(ini(1), settingsWith("http://kept.example/"));
    write(hys(1), "http://kept.example/\r\n");
    frmStart& b = open();
    box(b).setText("http://new.example/");
    b.CommandGo(1);
    // The temporary file beside each target cannot be created: a directory is in its way.
    const std::string pid = std::to_string(::getpid());
    fs::create_directory(path(ini(1) + ".tmp" + pid));
    fs::create_directory(path(hys(1) + ".tmp" + pid));
    const std::string oldIni = read(ini(1));
    b.Form_QueryUnload();
    EXPECT_TRUE(b.unloaded());
    EXPECT_EQ(app->App.browserSlots[1], 0);
    EXPECT_EQ(app->App.browserCount, 0);
    EXPECT_EQ(read(ini(1)), oldIni);
    EXPECT_EQ(read(hys(1)), "http://kept.example/\r\n");
    ASSERT_EQ(fp.dialog.messages.size(), 1u);
    EXPECT_NE(fp.dialog.messages[0].find("Corvano1.Ini"), std::string::npos);
}

TEST_F(BrowserWindowTest, ATitleChangeLeavesWhatTheUserIsTyping) {
    frmStart& b = open();
    web(b).url_ = "http://dashboard.example/";
    b.Text1().setFocus();
    box(b).edit("http://typ");
    b.Web_TitleChange("(3) alerts");
    EXPECT_EQ(b.Text1().text(), "http://typ");
    EXPECT_EQ(b.currentAddress(), "http://dashboard.example/") << "the session keeps the page shown";
    // Focus elsewhere, the box shows the page again.
    box(b).focused = false;
    b.Web_TitleChange("(4) alerts");
    EXPECT_EQ(b.Text1().text(), "http://dashboard.example/");
    // Focused but not typed in: the box follows the page; so it does after Enter.
    b.Text1().setFocus();
    web(b).url_ = "http://next.example/";
    b.Web_TitleChange("(5) alerts");
    EXPECT_EQ(b.Text1().text(), "http://next.example/");
    box(b).edit("http://typed.example/");
    box(b).type(13);
    web(b).url_ = "http://typed.example/landed";
    b.Web_TitleChange("Typed");
    EXPECT_EQ(b.Text1().text(), "http://typed.example/landed");
}

TEST_F(BrowserWindowTest, TheHistoryIsTheWindowsOwnAndTheBoxListsIt) {
    app->App.browserSlots[1] = 1;
    std::string file;
    for (int i = 1; i <= 20; ++i) file += "http://h" + std::to_string(i) + ".example/\r\n";
    write("/Data/Corvano1.Hys", file);
    frmStart& b = open();
    ASSERT_EQ(b.history().size(), 16u);
    EXPECT_EQ(b.history().front(), "http://h5.example/");
    EXPECT_EQ(box(b).items, b.history());
    const auto before = b.addressHistory().changes();
    box(b).setText("http://h21.example/");
    box(b).type(13);
    EXPECT_GT(b.addressHistory().changes(), before);
    EXPECT_EQ(b.history().front(), "http://h6.example/");
    EXPECT_EQ(b.history().back(), "http://h21.example/");
    EXPECT_EQ(box(b).items, b.history());
    // What the files get comes from the history, whatever the widget holds.
    box(b).items.clear();
    EXPECT_EQ(b.historyText().substr(0, 20), "http://h6.example/\r\n");
}

TEST_F(BrowserWindowTest, CaptionFollowsTheWebEvents) {
    app->App.browserSlots[1] = app->App.browserSlots[2] = app->App.browserSlots[3] = 1;
    app->App.browserCount = 2;
    frmStart& b = open();
    ASSERT_EQ(b.number(), 3);
    b.Web_StatusTextChange("Done");
    EXPECT_EQ(b.window().caption(), "Browser  N.  3 [Done]");
    b.Web_StatusTextChange("");
    EXPECT_EQ(b.window().caption(), "Browser  N.  3");
    web(b).url_ = "http://shown.example/";
    b.Web_TitleChange("A [bracketed] title");
    EXPECT_EQ(b.window().caption(), "Browser  N.  3 [A [bracketed] title]");
    EXPECT_EQ(b.currentAddress(), "http://shown.example/");
    EXPECT_EQ(b.Text1().text(), "http://shown.example/");
    web(b).url_ = "http://other.example/";
    b.Web_TitleChange("");
    EXPECT_EQ(b.window().caption(), "Browser  N.  3");
    EXPECT_EQ(b.Text1().text(), "http://other.example/");
    for (auto event : {&frmStart::Web_BeforeNavigate2, &frmStart::Web_NavigateComplete2,
                       &frmStart::Web_DownloadComplete}) {
        b.Web_StatusTextChange("x");
        (b.*event)();
        EXPECT_EQ(b.window().caption(), "Browser  N.  3");
    }
}

TEST_F(BrowserWindowTest, PopUpsAndScriptClosing) {
    frmStart& b = open();
    bool cancel = false;
    b.Web_NewWindow2(cancel);
    EXPECT_FALSE(cancel);
    app->App.lockAdvertising = 1;
    b.Web_NewWindow2(cancel);
    EXPECT_TRUE(cancel);
    cancel = false;
    b.Web_WindowClosing(true, cancel);
    EXPECT_FALSE(cancel);
    b.Web_WindowClosing(false, cancel);
    EXPECT_TRUE(cancel);
}

// Starts the wait and lets the virtual clock run until it answers (or a minute passed).
std::optional<bool> attend(corvano::fake::FakePlatform& fp, frmStart& b, int limitMs = frmStart::kWebAttendLimitMs) {
    std::optional<bool> answer;
    b.WebAttend([&answer](bool loaded) { answer = loaded; }, limitMs);
    for (int i = 0; i < 600 && !answer; ++i) fp.advance(100);
    return answer;
}

TEST_F(BrowserWindowTest, WebAttendAnswersWhenTheLoadEndsWithABound) {
    frmStart& b = open();
    EXPECT_EQ(attend(fp, b), true);
    EXPECT_EQ(fp.now, 0) << "a loaded page answers at once";

    // Busy until the page's load ends 2 s later: the load's end answers.
    web(b).busy = true;
    auto done = fp.createTimer();
    done->setInterval(2000);
    done->onTick = [&] {
        done->setEnabled(false);
        web(b).busy = false;
        b.Web_LoadEnd({});
    };
    done->setEnabled(true);
    const long long start = fp.now;
    EXPECT_EQ(attend(fp, b), true);
    EXPECT_EQ(fp.now - start, 2000);

    web(b).ready = "loading";
    EXPECT_EQ(attend(fp, b, 10000), false);
    EXPECT_EQ(fp.now - start - 2000, 10000);

    web(b).ready = std::nullopt;
    EXPECT_EQ(attend(fp, b), false);
}

TEST_F(BrowserWindowTest, WebAttendNeverAnswersOnceTheWindowHasGone) {
    frmStart& b = open();
    web(b).busy = true;
    auto closer = fp.createTimer();
    closer->setInterval(1200);
    closer->onTick = [&] { closer->setEnabled(false), b.Form_QueryUnload(); };
    closer->setEnabled(true);
    EXPECT_EQ(attend(fp, b), std::nullopt);
    EXPECT_TRUE(app->openWindows().empty());
}

}  // namespace
