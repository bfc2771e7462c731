#include "app/IniSettings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "fakes/TempFolder.h"

using namespace corvano;

namespace {

std::string iniOf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

std::vector<std::string> goodLines() {
    std::vector<std::string> l{" 3 ", "italiano", " 2 "};
    for (int n = 1; n <= 20; ++n) l.push_back(n == 1 || n == 2 || n == 7 ? " 1 " : " 0 ");
    return l;
}

struct IniSettings : ::testing::Test {
    test::TempFolder dir;
    AppState App;
    IniSettings() {
        App.appPath = dir.path();
        App.maxBrowsers = 20;
    }
    void read(const std::string& content) {
        dir.write("/Data/Corvano.Ini", content);
        Read_IniSetting(App);
    }
    void expectDefaults() const {
        EXPECT_EQ(App.browserCount, 0);
        EXPECT_EQ(App.language, "english");
        EXPECT_EQ(App.barStyle, 1);
    }
};

}  // namespace

TEST_F(IniSettings, ReadsAWellFormedFile) {
    read(iniOf(goodLines()));
    EXPECT_EQ(App.browserCount, 3);
    EXPECT_EQ(App.language, "italiano");
    EXPECT_EQ(App.barStyle, 2);
    for (int n = 1; n <= 20; ++n) EXPECT_EQ(App.browserSlots[n], (n == 1 || n == 2 || n == 7) ? 1 : 0) << n;
}

TEST_F(IniSettings, MissingFileGivesDefaults) {
    Read_IniSetting(App);
    expectDefaults();
    for (int n = 1; n <= 20; ++n) EXPECT_EQ(App.browserSlots[n], 0);
}

TEST_F(IniSettings, NumberRules) {
    auto lines = goodLines();
    lines[0] = "-4";
    lines[2] = "7";
    read(iniOf(lines));
    EXPECT_EQ(App.browserCount, 0);  // negative becomes 0
    EXPECT_EQ(App.barStyle, 7);      // stored as read

    lines[0] = "  2.5abc ";  // leading number, half to even
    lines[2] = "x";
    read(iniOf(lines));
    EXPECT_EQ(App.browserCount, 2);
    EXPECT_EQ(App.barStyle, 0);

    lines[0] = "3.5";
    read(iniOf(lines));
    EXPECT_EQ(App.browserCount, 4);
}

TEST_F(IniSettings, EmptyLanguageLineIsEnglishAndOthersKeepTheirBlanks) {
    auto lines = goodLines();
    lines[1] = "";
    read(iniOf(lines));
    EXPECT_EQ(App.language, "english");
    lines[1] = " deutsch ";
    read(iniOf(lines));
    EXPECT_EQ(App.language, " deutsch ");
}

TEST_F(IniSettings, LanguageThatLeavesTheFolderIsEnglish) {
    for (const char* bad : {"../../etc/passwd", "sub/name", "a\\b", ".."}) {
        auto lines = goodLines();
        lines[1] = bad;
        read(iniOf(lines));
        EXPECT_EQ(App.language, "english") << bad;
        EXPECT_EQ(App.browserCount, 3) << bad;  // the rest of the file still counts
    }
}

TEST_F(IniSettings, ShortFileKeepsSlotsReadSoFar) {
    App.browserSlots[9] = 1;  // what the process held before
    auto lines = goodLines();
    lines[5] = " 1 ";  // slot 3
    lines.resize(10);  // slots 1..7 present
    read(iniOf(lines));
    expectDefaults();
    EXPECT_EQ(App.browserSlots[1], 1);
    EXPECT_EQ(App.browserSlots[3], 1);
    EXPECT_EQ(App.browserSlots[7], 1);
    EXPECT_EQ(App.browserSlots[9], 1);  // not reached: unchanged
}

TEST_F(IniSettings, SixteenBitOverflowIsAFailure) {
    auto lines = goodLines();
    lines[3 + 4] = "40000";  // slot 5
    read(iniOf(lines));
    expectDefaults();
    EXPECT_EQ(App.browserSlots[1], 1);
    EXPECT_EQ(App.browserSlots[5], 0);

    lines = goodLines();
    lines[0] = "32767.5";  // rounds to 32768
    read(iniOf(lines));
    expectDefaults();
}

TEST_F(IniSettings, HostileContentNeverCrashes) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
    read(garbage);
    EXPECT_GE(App.browserCount, 0);

    read(std::string(10 << 20, '9') + "\r\n");
    expectDefaults();

    auto lines = goodLines();
    lines[1] = std::string("ital\0iano", 9);
    read(iniOf(lines));
    EXPECT_EQ(App.language, "english");

    // CR-only line ends and no final line end.
    std::string crOnly;
    for (const auto& l : goodLines()) crOnly += l + "\r";
    crOnly.pop_back();
    read(crOnly);
    EXPECT_EQ(App.browserCount, 3);
    EXPECT_EQ(App.browserSlots[7], 1);
}

TEST_F(IniSettings, WritesPrintStyleNumbersWithCrLf) {
    App.browserCount = 2;
    App.language = "english";
    App.barStyle = -1;
    App.browserSlots[2] = 1;
    App.browserSlots[5] = 1;
    dir.write("/Data/.keep", "");
    ASSERT_TRUE(Save_IniSetting(App));
    std::string expected = " 2 \r\nenglish\r\n-1 \r\n 0 \r\n 1 \r\n 0 \r\n 0 \r\n 1 \r\n";
    for (int i = 0; i < 15; ++i) expected += " 0 \r\n";
    EXPECT_EQ(dir.read("/Data/Corvano.Ini"), expected);

    AppState back;
    back.appPath = dir.path();
    back.maxBrowsers = 20;
    Read_IniSetting(back);
    EXPECT_EQ(back.browserCount, 2);
    EXPECT_EQ(back.barStyle, -1);
    EXPECT_EQ(back.browserSlots, App.browserSlots);
}

TEST_F(IniSettings, RefusedWriteKeepsTheOldFile) {
    dir.write("/Data/Corvano.Ini", iniOf(goodLines()));
    // Something in the way of the temporary file: the write cannot start.
    std::filesystem::create_directories(dir.file("/Data/Corvano.Ini.tmp" + std::to_string(::getpid())));
    App.browserCount = 9;
    EXPECT_FALSE(Save_IniSetting(App));
    EXPECT_EQ(dir.read("/Data/Corvano.Ini"), iniOf(goodLines()));
}
