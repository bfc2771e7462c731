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
    static std::string tagged(const std::string& tag, TextId id) { return tag + " " + std::to_string(textNumber(id)); }
};

TEST_F(CaptionsTest, EveryRowGetsItsText) {
    fill("en");
    Set_Captions(*app);
    const std::pair<const char*, TextId> tips[] = {{"FILE", TextId::File}, {"BACK", TextId::Back}, {"NEXT", TextId::Forward}, {"PRINT", TextId::Print},
                                                {"REFRESH", TextId::Refresh}, {"GOOGLE", TextId::Google}, {"SAVE", TextId::Save}, {"EDIT", TextId::Edit},
                                                {"SEARCH", TextId::Search}, {"GO", TextId::Go}, {"EXIT", TextId::ExitTip}, {"EXIT2", TextId::ExitTip},
                                                {"NEW", TextId::NewTip}, {"BRAMBLE", TextId::AboutTip}, {"SCREENSHOT", TextId::ScreenshotTip}, {"LANG", TextId::LanguageTip},
                                                {"SHOW", TextId::ShowTip}, {"STYLE", TextId::StyleTip}};
    for (const auto& [key, n] : tips) EXPECT_EQ(tagged("en", n), at(key).toolTip()) << key;
    const std::pair<const char*, TextId> captions[] = {
        {"EDIT:CUT", TextId::Cut},      {"EDIT:COPY", TextId::Copy},   {"EDIT:PASTE", TextId::Paste},     {"EDIT:DELETE", TextId::EditDelete},
        {"EDIT:PAGESET", TextId::EditPageSetup},   {"EDIT:PREVIEW", TextId::EditPrintPreview}, {"EDIT:PRINT", TextId::Print},      {"EDIT:PROPERTIES", TextId::Properties},
        {"EDIT:FINDDOC", TextId::FindInPageMenu},  {"EDIT:SELECT", TextId::EditSelectAll},  {"EDIT:VIEW", TextId::ViewSource},       {"SEARCH:SEARCH", TextId::SearchPage},
        {"SEARCH:ALTAV", TextId::SearchAltaVista},  {"SEARCH:YAHOO", TextId::SearchYahoo}, {"SEARCH:GOOGLE", TextId::Google}, {"SEARCH:LIVE", TextId::SearchLive},
        {"SEARCH:LYGO", TextId::SearchLygo},    {"SAVE:HTML", TextId::SaveAsHtml},   {"SAVE:WORDH", TextId::ExportToWord},     {"SAVE:WORDV", TextId::ExportToWordLandscape},
        {"EXIT", TextId::Exit},          {"EXIT2", TextId::Exit},       {"NEW", TextId::New},            {"BRAMBLE", TextId::About},
        {"SCREENSHOT", TextId::Screenshot},    {"LANG", TextId::Language},        {"SHOW", TextId::Show},           {"SHOW:0", TextId::ShowOff},
        {"STYLE", TextId::Style},         {"STYLE:SYSTEM", TextId::StyleSystem}, {"STYLE:OFFICE", TextId::StyleOffice},  {"STYLE:XP", TextId::StyleXp},
        {"STYLE:MONEY", TextId::StyleMoney},   {"LANG:NEW", TextId::NewLanguage},    {"NOTE1", TextId::HideBars}};
    for (const auto& [key, n] : captions) EXPECT_EQ(tagged("en", n), at(key).caption()) << key;
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
    app.App.strings.set(TextId::Exit, "Exit");
    Set_Captions(app);
    EXPECT_EQ(0u, app.bars.entryCount());
}

}  // namespace
}  // namespace corvano::test
