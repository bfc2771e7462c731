// The session is kept on disk while the application runs: coalesced writes,
// the reopen rule, the exit writing the same bytes, failures told once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "app/Application.h"
#include "app/SessionFiles.h"
#include "platform/CommandBars.h"
#include "browser/frmStart.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "mainwin/frmMain.h"
#include "platform/TextId.h"

using namespace corvano;
using fake::FakePlatform;
namespace fs = std::filesystem;

namespace {

std::string iniWith(int count, std::initializer_list<int> used) {
    std::string s = " " + std::to_string(count) + " \r\nenglish\r\n 1 \r\n";
    for (int n = 1; n <= 20; ++n) s += std::find(used.begin(), used.end(), n) != used.end() ? " 1 \r\n" : " 0 \r\n";
    return s;
}

std::string windowIni(int top, int left, const std::string& address) {
    std::string s = " " + std::to_string(top) + " \r\n " + std::to_string(left) + " \r\n 6000 \r\n 9000 \r\n";
    for (int i = 0; i < 9; ++i) s += " 0 \r\n";
    return s + "http://home.example/\r\n" + address + "\r\n";
}

// A write to this path fails: its temporary file cannot be made.
std::string line(const std::string& text, int n) {
    size_t pos = 0;
    for (int i = 1; i < n; ++i) pos = text.find("\r\n", pos) + 2;
    return text.substr(pos, text.find("\r\n", pos) - pos);
}

void blockWrites(const std::string& path) { fs::create_directories(path + ".tmp" + std::to_string(::getpid())); }
void unblockWrites(const std::string& path) { fs::remove_all(path + ".tmp" + std::to_string(::getpid())); }

struct Coalescing : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    SaveFailures failures;
    std::string text = "a";
    std::vector<std::vector<std::string>> reports;
    SessionFiles files{platform, failures, [this] { return std::vector<FileText>{{dir.file("/f.txt"), text}}; },
                       [this](const std::vector<std::string>& p) { reports.push_back(p); }};
};

struct Session : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;

    Session() { dir.write("/Lang_english.txt", "\"one\"\r\n"); }
    frmMain& start() {
        app = std::make_unique<Application>(platform, dir.path());
        return Sub_Main(*app);
    }
    std::vector<frmStart*> browsers() const {
        std::vector<frmStart*> out;
        for (Form* f : app->openWindows())
            if (f->role() == WindowRole::Browser) out.push_back(static_cast<frmStart*>(f));
        return out;
    }
    std::string ini() const { return dir.read("/Data/Corvano.Ini"); }
};

}  // namespace

TEST_F(Coalescing, ManyChangesGiveOneWriteASecondAndNoChangeNone) {
    files.start();
    for (int i = 0; i < 50; ++i) {
        text = "change " + std::to_string(i);
        platform.advance(20);
    }
    // 1000 ms passed: one write, with the last text.
    EXPECT_EQ(files.writes(), 1);
    EXPECT_EQ(dir.read("/f.txt"), "change 49");
    platform.advance(10000);
    EXPECT_EQ(files.writes(), 1) << "nothing changed, nothing written";
    text = "again";
    platform.advance(1000);
    EXPECT_EQ(files.writes(), 2);
    files.stop();
    text = "after the stop";
    platform.advance(5000);
    EXPECT_EQ(dir.read("/f.txt"), "again");
}

TEST_F(Coalescing, AFileThatAlreadyHoldsTheTextIsNotWritten) {
    dir.write("/f.txt", "a");
    files.start();
    platform.advance(3000);
    EXPECT_EQ(files.writes(), 0);
}

TEST_F(Coalescing, AFailedWriteKeepsTheOldFileRetriesAtTheNextChangeAndIsToldOnce) {
    dir.write("/f.txt", "old");
    blockWrites(dir.file("/f.txt"));
    files.start();
    for (int i = 0; i < 5; ++i) {
        text = "try " + std::to_string(i);
        platform.advance(1000);
        platform.runPosted();
    }
    EXPECT_EQ(files.writes(), 5) << "one try per change";
    platform.advance(5000);
    EXPECT_EQ(files.writes(), 5) << "no retry while nothing changed";
    EXPECT_EQ(dir.read("/f.txt"), "old");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], std::vector<std::string>{dir.file("/f.txt")});

    unblockWrites(dir.file("/f.txt"));
    text = "saved";
    platform.advance(1000);
    EXPECT_EQ(dir.read("/f.txt"), "saved");
    // A new failure after a success is news again.
    blockWrites(dir.file("/f.txt"));
    text = "refused";
    platform.advance(1000);
    platform.runPosted();
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(Session, RunTimeFilesFollowTheSessionAndTheExitWritesTheSameBytes) {
    frmMain& main = start();
    platform.advance(1000);
    // A first start writes its files at once, not only at the exit.
    EXPECT_EQ(ini(), iniWith(1, {1}));
    ASSERT_TRUE(dir.exists("/Data/Corvano1.Ini"));

    frmStart& w = *browsers().at(0);
    static_cast<fake::FakeWindow&>(w.window()).r = {3000, 2000, 9000, 6000};
    w.Text1().setText("http://127.0.0.1/a.html");
    w.CommandGo(1);
    w.setZoom(110);
    // The move is written once the window has kept its place for a pass.
    platform.advance(1000);
    EXPECT_EQ(dir.read("/Data/Corvano1.Hys"), "http://127.0.0.1/a.html\r\n");
    EXPECT_EQ(dir.read("/Data/Corvano1.Opt"), "version=1\r\nzoom=110\r\n");
    EXPECT_NE(dir.read("/Data/Corvano1.Ini").substr(0, 14), " 2000 \r\n 3000 ");
    platform.advance(1000);
    const std::string settings = dir.read("/Data/Corvano1.Ini");
    const std::string history = dir.read("/Data/Corvano1.Hys");
    const std::string options = dir.read("/Data/Corvano1.Opt");
    EXPECT_EQ(settings.substr(0, 14), " 2000 \r\n 3000 ");
    EXPECT_EQ(history, "http://127.0.0.1/a.html\r\n");

    const int writes = main.sessionFiles()->writes();
    main.GO_MainExit();
    EXPECT_EQ(dir.read("/Data/Corvano1.Ini"), settings);
    EXPECT_EQ(dir.read("/Data/Corvano1.Hys"), history);
    EXPECT_EQ(dir.read("/Data/Corvano1.Opt"), options);
    EXPECT_EQ(ini(), iniWith(1, {1})) << "the count before the window closed";
    platform.runPosted();
    EXPECT_EQ(writes, 7) << "four files at the first pass, three at the change";
}

TEST_F(Session, WindowsNotYetReopenedStayInTheSession) {
    dir.write("/Data/Corvano.Ini", iniWith(5, {1, 2, 3, 4, 5}));
    for (int n = 1; n <= 5; ++n)
        dir.write("/Data/Corvano" + std::to_string(n) + ".Ini", windowIni(100 * n, 50, "http://127.0.0.1/" + std::to_string(n)));
    start();
    platform.advance(1000);
    ASSERT_EQ(browsers().size(), 2u);
    EXPECT_EQ(ini(), iniWith(5, {1, 2, 3, 4, 5}));
    for (int n = 3; n <= 5; ++n)
        EXPECT_EQ(dir.read("/Data/Corvano" + std::to_string(n) + ".Ini"),
                  windowIni(100 * n, 50, "http://127.0.0.1/" + std::to_string(n)));
    // An exit halfway through the reopening keeps them too.
    mainForm(*app)->GO_MainExit();
    EXPECT_EQ(ini(), iniWith(5, {1, 2, 3, 4, 5}));
}

TEST_F(Session, TheExitStopsTheRunTimeWritesSoTheCountDoesNotFall) {
    dir.write("/Data/Corvano.Ini", iniWith(3, {1, 2, 3}));
    frmMain& main = start();
    platform.advance(2000);
    ASSERT_EQ(browsers().size(), 3u);
    // Ticks while the windows close (a window that waits in its close lets time pass).
    platform.onHide = [&](fake::FakeWindow&) { platform.advance(1000); };
    main.GO_MainExit();
    EXPECT_EQ(ini(), iniWith(3, {1, 2, 3}));
    platform.runPosted();
}

TEST_F(Session, TheDesktopEndingTheSessionExitsWithoutWaitingMessages) {
    start();
    blockWrites(dir.file("/Data/Corvano.Ini"));
    blockWrites(dir.file("/Data/Corvano1.Ini"));
    ASSERT_TRUE(platform.onEndRequest);
    platform.onEndRequest();
    EXPECT_TRUE(app->openWindows().empty());
    EXPECT_EQ(platform.quitCount, 1);
    EXPECT_TRUE(platform.dialog.messages.empty());
    platform.runPosted();
}

TEST_F(Session, AFileThatCannotBeWrittenIsToldOnceAtRunTimeAndNotAgainAtTheExit) {
    frmMain& main = start();
    blockWrites(dir.file("/Data/Corvano1.Ini"));
    frmStart& w = *browsers().at(0);
    for (int i = 1; i <= 3; ++i) {
        static_cast<fake::FakeWindow&>(w.window()).r = {1000 * i, 1000, 9000, 6000};
        platform.advance(1000);
        platform.runPosted();
    }
    ASSERT_EQ(platform.dialog.messages.size(), 1u);
    EXPECT_NE(platform.dialog.messages[0].find("Corvano1.Ini"), std::string::npos);
    main.GO_MainExit();
    EXPECT_EQ(platform.dialog.messages.size(), 1u);
    platform.runPosted();
}

TEST_F(Session, ASecondStartBringsTheBrowserWindowsForwardTheCurrentOneLast) {
    dir.write("/Data/Corvano.Ini", iniWith(2, {1, 2}));
    start();
    platform.advance(800);
    auto open = browsers();
    ASSERT_EQ(open.size(), 2u);
    open[0]->Form_Activate();
    ASSERT_TRUE(platform.onRaiseRequest);
    platform.onRaiseRequest();
    for (frmStart* b : open) EXPECT_EQ(static_cast<fake::FakeWindow&>(b->window()).raisedCount, 1);
    mainForm(*app)->GO_MainExit();
    platform.runPosted();
}

TEST_F(Session, HostileDataFilesGiveAWorkingStartAndTouchNoOtherWindowsFiles) {
    std::mt19937 rng(11);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    dir.write("/Data/Corvano.Ini", iniWith(4, {1, 2, 3, 4}));
    dir.write("/Data/Corvano1.Ini", noise);
    dir.write("/Data/Corvano1.Hys", "");
    fs::resize_file(dir.file("/Data/Corvano1.Hys"), 50u << 20);
    fs::create_directories(dir.file("/Data/Corvano2.Ini"));
    ASSERT_EQ(::mkfifo(dir.file("/Data/Corvano3.Hys").c_str(), 0600), 0);
    const std::string good = windowIni(700, 50, "http://127.0.0.1/4");
    dir.write("/Data/Corvano4.Ini", good);
    dir.write("/Data/Corvano4.Hys", "http://127.0.0.1/4\r\n");
    dir.write("/Data/Corvano4.Opt", noise);
    start();
    platform.advance(3000);
    ASSERT_EQ(browsers().size(), 4u);
    for (frmStart* b : browsers()) {
        EXPECT_GT(b->number(), 0);
        EXPECT_FALSE(b->currentAddress().empty());
    }
    EXPECT_EQ(browsers()[0]->history().size(), 0u);
    EXPECT_EQ(dir.read("/Data/Corvano4.Ini"), good);
    EXPECT_EQ(dir.read("/Data/Corvano4.Hys"), "http://127.0.0.1/4\r\n");
    // The broken files that could be replaced hold a readable session again.
    EXPECT_LT(fs::file_size(dir.file("/Data/Corvano1.Hys")), 100u);
    EXPECT_EQ(ini(), iniWith(4, {1, 2, 3, 4}));
    EXPECT_EQ(browsers()[3]->zoom(), 100);

    // Random bytes, 50 MB or a folder as the global settings file: a fresh start.
    const std::string global = dir.file("/Data/Corvano.Ini");
    for (int round = 0; round < 3; ++round) {
        mainForm(*app)->GO_MainExit();
        platform.runPosted();
        fs::remove_all(global);
        if (round < 2) dir.write("/Data/Corvano.Ini", round == 0 ? noise : "");
        if (round == 1) fs::resize_file(global, 50u << 20);
        if (round == 2) fs::create_directories(global);
        start();
        EXPECT_EQ(browsers().size(), 1u) << "round " << round;
    }
    mainForm(*app)->GO_MainExit();
    platform.runPosted();
}

TEST_F(Session, TheGlobalFileFollowsOpenedAndClosedWindowsTheLanguageAndTheStyle) {
    frmMain& main = start();
    Entry* add = app->bars.entry("NEW");
    ASSERT_NE(add, nullptr);
    main.cmdBar_Click(3, *add);
    platform.advance(1000);
    EXPECT_EQ(ini(), iniWith(2, {1, 2}));
    browsers().at(0)->GO_Exit();
    platform.runPosted();
    platform.advance(1000);
    EXPECT_EQ(ini(), iniWith(1, {2}));
    app->App.language = "deutsch";
    app->App.barStyle = 3;
    platform.advance(1000);
    EXPECT_EQ(ini().substr(0, 19), " 1 \r\ndeutsch\r\n 3 \r\n");
    main.GO_MainExit();
    platform.runPosted();
}

TEST_F(Session, AWindowKeptMovingIsWrittenEveryTwoSecondsAndOnceTheMoveEnds) {
    start();
    platform.advance(1000);
    auto& w = static_cast<fake::FakeWindow&>(browsers().at(0)->window());
    std::vector<std::string> seen{dir.read("/Data/Corvano1.Ini")};
    for (int step = 1; step <= 24; ++step) {  // six seconds of dragging
        w.r.left = 1000 + 100 * step;
        platform.advance(250);
        if (dir.read("/Data/Corvano1.Ini") != seen.back()) seen.push_back(dir.read("/Data/Corvano1.Ini"));
    }
    EXPECT_LE(seen.size(), 4u) << "at most one write every two seconds while the drag lasts";
    EXPECT_GE(seen.size(), 3u) << "a long drag is not held back for good";
    platform.advance(2000);
    EXPECT_EQ(line(dir.read("/Data/Corvano1.Ini"), 2), " 3400 ") << "the place where the move ended";
    mainForm(*app)->GO_MainExit();
    platform.runPosted();
}

TEST_F(Session, WhereTheDesktopKeepsWindowPlacesToItselfTheStoredPlaceStaysAndSaysSoOnce) {
    platform.placesKnown = false;
    std::string lang;
    for (int n = 1; n <= 421; ++n) lang += "\"t" + std::to_string(n) + "\"\r\n";
    dir.write("/Lang_english.txt", lang);
    dir.write("/Data/Corvano.Ini", iniWith(1, {1}));
    dir.write("/Data/Corvano1.Ini", windowIni(1500, 3000, "http://127.0.0.1/a"));
    frmMain& main = start();
    platform.runPosted();
    platform.runPosted();
    ASSERT_EQ(platform.dialog.messages.size(), 1u);
    EXPECT_EQ(platform.dialog.messages[0], "Corvano: t" + std::to_string(textNumber(TextId::WindowPlacesUnknown)));

    // What the window reports is no place; its size still counts.
    static_cast<fake::FakeWindow&>(browsers().at(0)->window()).r = {0, 0, 9900, 6600};
    platform.advance(3000);
    main.GO_MainExit();
    const std::string settings = dir.read("/Data/Corvano1.Ini");
    EXPECT_EQ(line(settings, 1), " 1500 ");
    EXPECT_EQ(line(settings, 2), " 3000 ");
    EXPECT_EQ(line(settings, 3), " 6600 ");
    EXPECT_EQ(line(settings, 4), " 9900 ");
    EXPECT_EQ(platform.dialog.messages.size(), 1u);
}
