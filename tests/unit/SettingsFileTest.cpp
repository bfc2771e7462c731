#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "app/TextFile.h"
#include "browser/BrowserSettings.h"
#include "unit/BrowserTestFixture.h"

namespace {

using corvano::frmStart;

class BrowserSettingsFileTest : public corvano::test::BrowserTestFixture {};

using corvano::WindowSettings;
using corvano::Rect;
using corvano::Size;
using corvano::TilingDefaults;

const Size kScreen{28800, 16200};

std::string lines(std::initializer_list<const char*> ls) {
    std::string out;
    for (const char* l : ls) out += std::string(l) + "\r\n";
    return out;
}

TEST_F(BrowserSettingsFileTest, WritesFifteenLinesByteExact) {
    WindowSettings App;
    App.reservedReals = {0, 1.5, -2.25, 0.1, 3, -4, 1e-7, 123456789.125};
    App.windowMode = -4;
    App.homeAddress = "https://home.example/";
    EXPECT_EQ(corvano::settingsFileText(App, {200, 100, 9000, 6000}, "http://a.example/?q=1"),
              lines({" 100 ", " 200 ", " 6000 ", " 9000 ", " 0 ", " 1.5 ", "-2.25 ", " 0.1 ", " 3 ", "-4 ",
                     " 1e-07 ", " 123456789.125 ", "-4 ", "https://home.example/", "http://a.example/?q=1"}));
    // Off the top-left edge, too small, or beyond 16 bits: kept readable.
    const std::string clamped = lines({" 0 ", " 0 ", " 1000 ", " 2000 "});
    EXPECT_EQ(corvano::settingsFileText(App, {-30, -1, 1500, 900}, "").substr(0, clamped.size()), clamped);
    const std::string wide = lines({" 0 ", " 32767 ", " 2000 ", " 32767 "});
    EXPECT_EQ(corvano::settingsFileText(App, {40000, 0, 50000, 2000}, "").substr(0, wide.size()), wide);
}

TEST_F(BrowserSettingsFileTest, LineBreaksNeverReachTheFile) {
    WindowSettings App;
    App.homeAddress = "http://home\r\n.example/";
    const auto text = corvano::settingsFileText(App, {0, 0, 5000, 5000}, "http://a.example/\nrest\r");
    const auto split = corvano::textfile::splitLines(text);
    ASSERT_EQ(split.size(), 15u);
    EXPECT_EQ(split[13], "http://home.example/");
    EXPECT_EQ(split[14], "http://a.example/rest");
}

TEST_F(BrowserSettingsFileTest, ReadsBackEveryValueExactly) {
    WindowSettings out;
    out.reservedReals = {0.1, 1.0 / 3, -1e300, 5e-324, 2.5, -0.0, 1234567.891, 6.02214076e23};
    out.windowMode = 2;
    out.homeAddress = "https://home.example/";
    write("/Data/Corvano4.Ini", corvano::settingsFileText(out, {123, 456, 7890, 12345}, "http://x.example/"));
    WindowSettings in;
    std::string address;
    EXPECT_TRUE(corvano::readSettingsFile(path("/Data/Corvano4.Ini"), in, address, kScreen, {}));
    EXPECT_EQ(in.left, 123);
    EXPECT_EQ(in.top, 456);
    EXPECT_EQ(in.width, 7890);
    EXPECT_EQ(in.height, 12345);
    EXPECT_EQ(in.reservedReals, out.reservedReals);
    EXPECT_EQ(in.windowMode, 2);
    EXPECT_EQ(in.homeAddress, "https://home.example/");
    EXPECT_EQ(address, "http://x.example/");
}

TEST_F(BrowserSettingsFileTest, ReadRulesForNumbers) {
    write("/Data/Corvano1.Ini", lines({"   -20  ", "12.5xyz", "  999", "13.5e3", "  7.25", "abc", "", "1e400x",
                                       " 0 ", " 0 ", " 0 ", " 0 ", "  2.5 ", "home", ""}));
    WindowSettings App;
    std::string address = "unchanged";
    const TilingDefaults d{1, 2, 3, 4};
    // Line 8 overflows a double: the file counts as unreadable from there.
    EXPECT_FALSE(corvano::readSettingsFile(path("/Data/Corvano1.Ini"), App, address, kScreen, d));
    EXPECT_EQ(App.reservedReals[0], 7.25);
    EXPECT_EQ(App.reservedReals[1], 0);

    write("/Data/Corvano1.Ini", lines({"   -20  ", "12.5xyz", "  999", "13.5e3", "  7.25", "abc", "", "8",
                                       " 0 ", " 0 ", " 0 ", " 0 ", "  2.5 ", "home", ""}));
    EXPECT_TRUE(corvano::readSettingsFile(path("/Data/Corvano1.Ini"), App, address, kScreen, d));
    EXPECT_EQ(App.top, 0);             // negative becomes 0
    EXPECT_EQ(App.left, 12);           // half to even
    EXPECT_EQ(App.height, 16200);      // below 1000: the screen height
    EXPECT_EQ(App.width, 13500);
    EXPECT_EQ(App.reservedReals[0], 7.25);
    EXPECT_EQ(App.reservedReals[1], 0);   // no leading number
    EXPECT_EQ(App.windowMode, 2);         // 2.5 rounds to the even 2
    EXPECT_EQ(App.homeAddress, "home");
    EXPECT_EQ(address, "");

    write("/Data/Corvano1.Ini", lines({"0", "0", "1000", "2000", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                                       "h", "a"}));
    EXPECT_TRUE(corvano::readSettingsFile(path("/Data/Corvano1.Ini"), App, address, kScreen, d));
    EXPECT_EQ(App.height, 1000);
    EXPECT_EQ(App.width, 2000);
}

TEST_F(BrowserSettingsFileTest, TilingDefaultsForTheFirstSixCounts) {
    const int tops[] = {415, 415, 700, 700, 1050, 1050};
    for (int c = 1; c <= 6; ++c) {
        const TilingDefaults d = corvano::tilingDefaults(c, kScreen, 395);
        EXPECT_EQ(d.top, tops[c - 1]) << c;
        EXPECT_EQ(d.left, c % 2 ? 50 : 14400) << c;
        EXPECT_EQ(d.height, 7900) << c;
        EXPECT_EQ(d.width, 14350) << c;
    }
    // A screen too large for 16 bits is clamped, not wrapped.
    EXPECT_EQ(corvano::tilingDefaults(2, {90000, 90000}, 395).left, 32767);
}

TEST_F(BrowserSettingsFileTest, OverflowAndShortFilesFallBackToDefaults) {
    WindowSettings App;
    App.windowMode = 9;
    App.reservedReals.fill(-1);
    std::string address;
    const TilingDefaults d = corvano::tilingDefaults(3, kScreen, 395);
    write("/Data/Corvano3.Ini", lines({" 10 ", " 20 ", " 3000 ", " 40000 ", " 1 ", " 1 "}));
    EXPECT_FALSE(corvano::readSettingsFile(path("/Data/Corvano3.Ini"), App, address, kScreen, d));
    EXPECT_EQ(App.top, 700);
    EXPECT_EQ(App.left, 50);
    EXPECT_EQ(App.height, 7900);
    EXPECT_EQ(App.width, 14350);
    EXPECT_EQ(App.reservedReals[0], -1);  // never reached
    EXPECT_EQ(App.homeAddress, "https://www.corvano.org/");
    EXPECT_EQ(address, "https://www.corvano.net/");

    // Ten lines: the reals of lines 5 to 10 stay, the rest is defaults or untouched.
    write("/Data/Corvano3.Ini", lines({" 10 ", " 20 ", " 3000 ", " 4000 ", " 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 "}));
    EXPECT_FALSE(corvano::readSettingsFile(path("/Data/Corvano3.Ini"), App, address, kScreen, d));
    EXPECT_EQ(App.reservedReals, (std::array<double, 8>{1, 2, 3, 4, 5, 6, -1, -1}));
    EXPECT_EQ(App.windowMode, 9);
    EXPECT_EQ(App.top, 700);
    EXPECT_EQ(address, "https://www.corvano.net/");

    EXPECT_FALSE(corvano::readSettingsFile(path("/Data/missing.Ini"), App, address, kScreen, d));
}

TEST_F(BrowserSettingsFileTest, WindowComesBackTenTimesWithoutDrift) {
    fp.frameWidth = 180;
    fp.frameHeight = 690;
    const corvano::Rect placed{1234, 567, 9001, 7003};
    for (int round = 0; round < 10; ++round) {
        // As at a restart: number 4 in use, the first window reopened.
        app->App.browserSlots[4] = 1;
        app->App.browserCount = 0;
        frmStart& b = open();
        ASSERT_EQ(b.number(), 4);
        if (round == 0) {
            b.window().setGeometry(placed);
            box(b).setText("http://stay.example/");
            b.CommandGo(1);
        } else {
            EXPECT_EQ(b.window().geometry(), placed) << round;
            EXPECT_EQ(b.currentAddress(), "http://stay.example/");
        }
        b.GO_Exit();
    }
    EXPECT_EQ(corvano::textfile::splitLines(read("/Data/Corvano4.Ini"))[0], " 567 ");
}

}  // namespace
