#include <gtest/gtest.h>

#include <string>

#include "bars/BrowserBars.h"
#include "bars/Captions.h"
#include "bars/MainBars.h"
#include "unit/BarsTestFixture.h"

namespace corvano::test {
namespace {

class CaptionsTest : public ::testing::Test, public BarsFixtureApp {
protected:
    void SetUp() override {
        touch("Lang_english.txt");
        Build_MainButtons(*app);
        Build_MainBars(*app);
        Build_BrowserButtons(*app);
        Build_BrowserBars(*app);
    }
    // Every text reads "<tag> <number>", so each row shows which text it got.
    void fill(const std::string& tag) {
        for (int n = 1; n <= StringTable::kSize; ++n) app->App.strings.set(n, tag + " " + std::to_string(n));
    }
    const Entry& at(const std::string& key) { return app->bars.at(key); }
};

TEST_F(CaptionsTest, EveryRowGetsItsText) {
    fill("en");
    Set_Captions(*app);
    const std::pair<const char*, int> tips[] = {{"FILE", 131}, {"BACK", 123}, {"NEXT", 124}, {"PRINT", 43},
                                                {"REFRESH", 126}, {"GOOGLE", 154}, {"SAVE", 128}, {"EDIT", 129},
                                                {"SEARCH", 132}, {"GO", 136}, {"EXIT", 213}, {"EXIT2", 213},
                                                {"NEW", 211}, {"BRAMBLE", 215}, {"SCREENSHOT", 217}, {"LANG", 219},
                                                {"SHOW", 221}, {"STYLE", 226}};
    for (const auto& [key, n] : tips) EXPECT_EQ("en " + std::to_string(n), at(key).toolTip()) << key;
    const std::pair<const char*, int> captions[] = {
        {"EDIT:CUT", 157},      {"EDIT:COPY", 158},   {"EDIT:PASTE", 159},     {"EDIT:DELETE", 18},
        {"EDIT:PAGESET", 41},   {"EDIT:PREVIEW", 42}, {"EDIT:PRINT", 43},      {"EDIT:PROPERTIES", 177},
        {"EDIT:FINDDOC", 166},  {"EDIT:SELECT", 23},  {"EDIT:VIEW", 35},       {"SEARCH:SEARCH", 151},
        {"SEARCH:ALTAV", 152},  {"SEARCH:YAHOO", 153}, {"SEARCH:GOOGLE", 154}, {"SEARCH:LIVE", 88},
        {"SEARCH:LYGO", 92},    {"SAVE:HTML", 145},   {"SAVE:WORDH", 146},     {"SAVE:WORDV", 147},
        {"EXIT", 212},          {"EXIT2", 212},       {"NEW", 210},            {"BRAMBLE", 214},
        {"SCREENSHOT", 216},    {"LANG", 218},        {"SHOW", 220},           {"SHOW:0", 224},
        {"STYLE", 225},         {"STYLE:SYSTEM", 180}, {"STYLE:OFFICE", 172},  {"STYLE:XP", 173},
        {"STYLE:MONEY", 174},   {"LANG:NEW", 227},    {"NOTE1", 230}};
    for (const auto& [key, n] : captions) EXPECT_EQ("en " + std::to_string(n), at(key).caption()) << key;
    EXPECT_EQ("30 en 222", at("SHOW:30S").caption());
    EXPECT_EQ("1 en 223", at("SHOW:1M").caption());
    EXPECT_EQ("5 en 223", at("SHOW:5M").caption());
    EXPECT_EQ("10 en 223", at("SHOW:10M").caption());
    EXPECT_EQ("30 en 223", at("SHOW:30M").caption());
    // Left alone: separators, language entries, entries on no bar but "FILE".
    EXPECT_EQ("", at("SEP01").caption());
    EXPECT_EQ("", at("TOOLS").toolTip());
    EXPECT_EQ("", at("ADDURL").caption());
    EXPECT_EQ("English", at("LANG:ENGLISH").caption());
    EXPECT_EQ("Lang_english.txt", at("LANG:ENGLISH").toolTip());
}

TEST_F(CaptionsTest, ALanguageSwitchReplacesEveryTextAndRepaintsOnce) {
    fill("en");
    Set_Captions(*app);
    int repaints = 0;
    app->bars.subscribe([&] { ++repaints; });
    fill("it");
    Set_Captions(*app);
    EXPECT_EQ(1, repaints);
    EXPECT_EQ("it 212", at("EXIT").caption());
    EXPECT_EQ("it 136", at("GO").toolTip());
    EXPECT_EQ("30 it 222", at("SHOW:30S").caption());
    EXPECT_EQ("1 it 223", at("SHOW:1M").caption());
    EXPECT_EQ("English", at("LANG:ENGLISH").caption());

    // A text the new file leaves out empties its caption; the prefix stays.
    app->App.strings.clear();
    Set_Captions(*app);
    EXPECT_EQ("", at("EXIT").caption());
    EXPECT_EQ("", at("BACK").toolTip());
    EXPECT_EQ("30 ", at("SHOW:30S").caption());
}

TEST_F(CaptionsTest, EditorEntriesGetTextsOnceTheyExist) {
    fill("en");
    Set_Captions(*app);  // no editor yet: its rows are passed over
    EXPECT_EQ(nullptr, app->bars.entry("EXIT3"));
    app->bars.addEntry("EXIT3", 0, entrystyle::Plain);
    app->bars.addEntry("SAVE3", 1, entrystyle::Plain);
    Set_Captions(*app);
    EXPECT_EQ("en 228", at("EXIT3").caption());
    EXPECT_EQ("en 128", at("SAVE3").caption());
}

TEST(CaptionsAlone, NothingBuiltIsNoError) {
    fake::FakePlatform platform;
    Application app(platform, "/nonexistent");
    app.App.strings.set(212, "Exit");
    Set_Captions(app);
    EXPECT_EQ(0u, app.bars.entryCount());
}

}  // namespace
}  // namespace corvano::test
