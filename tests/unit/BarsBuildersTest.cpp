#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bars/BrowserBars.h"
#include "bars/Commands.h"
#include "bars/EditorBars.h"
#include "bars/EditorImageList.h"
#include "bars/LanguageList.h"
#include "bars/MainBars.h"
#include "unit/BarsTestFixture.h"

namespace corvano::test {
namespace {

using Keys = std::vector<std::string>;

class BarsBuilders : public ::testing::Test, public BarsFixtureApp {
protected:
    void build() {
        Build_MainButtons(*app);
        Build_MainBars(*app);
    }
    CommandBars& bars() { return app->bars; }
    Entry& at(const std::string& key) { return app->bars.at(key); }
};

TEST(BarsImageLists, CountsKeysAndFlags) {
    const ImageList main = mainImageList();
    ASSERT_EQ(51, main.count());
    const Keys flagKeys = {"pea", "it", "en", "uk", "us", "fr", "ger", "esp", "por", "rus", "nl", "bel", "can"};
    for (int n = 1; n <= 51; ++n) {
        const bool flag = n >= 30 && n <= 42;
        EXPECT_EQ(flag ? flagKeys[static_cast<size_t>(n - 30)] : "", main.key(n)) << "image " << n;
    }
    EXPECT_EQ("res:peace", main.sourceOfIcon(29));
    EXPECT_EQ("flag:gb", main.sourceOfIcon(31));
    EXPECT_EQ("flag:gb", main.sourceOfIcon(32));
    EXPECT_EQ("flag:de", main.sourceOfIcon(35));
    EXPECT_EQ("", main.sourceOfIcon(51)) << "past the end: no picture";
    EXPECT_EQ("", main.sourceOfIcon(-1));
    // Every icon a main entry shows has a picture.
    for (int icon : {0, 1, 10, 15, 18, 28, 42, 43, 44, 45, 46, 47, 48, 49, 50})
        EXPECT_FALSE(main.sourceOfIcon(icon).empty()) << "icon " << icon;

    const ImageList browser = browserImageList();
    ASSERT_EQ(119, browser.count());
    for (int n = 1; n <= 119; ++n) {
        const bool flag = n >= 107;
        EXPECT_EQ(flag ? flagKeys[static_cast<size_t>(n - 107)] : "", browser.key(n)) << "image " << n;
    }
    for (int icon : {1, 2, 4, 5, 6, 7, 10, 11, 12, 13, 17, 26, 27, 28, 58, 59, 60, 61, 62, 63, 64, 67, 68, 69, 75, 79, 86})
        EXPECT_FALSE(browser.sourceOfIcon(icon).empty()) << "icon " << icon;

    const ImageList editor = editorImageList();
    ASSERT_EQ(2, editor.count());
    EXPECT_EQ("theme:media-floppy", editor.sourceOfIcon(1));
}

TEST(BarsLanguageNames, NameIconAndCase) {
    std::string name;
    EXPECT_TRUE(languageNameOf("Lang_english.txt", name));
    EXPECT_EQ("english", name);
    EXPECT_TRUE(languageNameOf("Lang_pt_BR.txt", name));
    EXPECT_EQ("pt_BR", name);
    EXPECT_TRUE(languageNameOf("Lang_de.backup.txt", name));
    EXPECT_EQ("de", name);
    EXPECT_TRUE(languageNameOf("Lang_.txt", name));
    EXPECT_EQ("", name);
    EXPECT_FALSE(languageNameOf("Lang_english", name));

    const ImageList images = mainImageList();
    EXPECT_EQ(31, languageIcon(images, "english"));
    EXPECT_EQ(31, languageIcon(images, "ENglish"));
    EXPECT_EQ(30, languageIcon(images, "italiano"));
    EXPECT_EQ(35, languageIcon(images, "german"));
    EXPECT_EQ(29, languageIcon(images, "Deutsch"));
    EXPECT_EQ(29, languageIcon(images, "e")) << "one letter never equals a two-letter key";
    EXPECT_EQ(27, languageIcon(images, "")) << "the empty name matches unkeyed image 28";

    EXPECT_EQ("English", properCase("english"));
    EXPECT_EQ("Pt_br", properCase("pt_BR"));
    EXPECT_EQ("Nederlands Vlaams", properCase("nederlands VLAAMS"));
}

TEST_F(BarsBuilders, MainEntriesBarsAndDropDowns) {
    touch("Lang_english.txt");
    build();
    // Kinds, icons and flags as the catalogue gives them.
    struct Want {
        const char* key;
        int style, icon;
        bool caption, dropDown;
    };
    const Want wants[] = {
        {"NEW", 0, 0, true, false},         {"EXIT", 0, 1, true, false},       {"EXIT2", 0, 1, true, false},
        {"BRAMBLE", 0, 15, true, false},    {"SHOW", 0, 42, true, true},       {"SCREENSHOT", 0, 18, true, false},
        {"LANG", 0, 28, true, true},        {"SHOW:0", 0, 44, false, false},   {"SHOW:30S", 0, 43, false, false},
        {"SHOW:30M", 0, 43, false, false},  {"STYLE", 0, 45, true, true},      {"STYLE:OFFICE", 6, 10, false, false},
        {"STYLE:XP", 6, 46, false, false},  {"STYLE:MONEY", 6, 47, false, false}, {"STYLE:SYSTEM", 6, 48, false, false},
        {"NOTE1", 0, 50, true, false},      {"LANG:NEW", 0, 49, false, false}, {"SEP013", 1, -1, false, false},
    };
    for (const Want& w : wants) {
        const Entry& e = at(w.key);
        EXPECT_EQ(w.style, e.style()) << w.key;
        EXPECT_EQ(w.icon, e.icon()) << w.key;
        EXPECT_EQ(w.caption, e.captionOnBar()) << w.key;
        EXPECT_EQ(w.dropDown, e.dropDown()) << w.key;
        EXPECT_FALSE(e.checked()) << w.key;
    }
    for (const char* sep : {"SEP01", "SEP02", "SEP03", "SEP04", "SEP05", "SEP06", "SEP07", "SEP08", "SEP09", "SEP010",
                            "SEP011", "SEP013"})
        EXPECT_EQ(entrystyle::Separator, at(sep).style()) << sep;
    EXPECT_EQ(nullptr, bars().entry("SEP012"));

    EXPECT_EQ((Keys{"EXIT", "SEP01", "NEW", "SEP02", "SCREENSHOT", "SEP07", "STYLE", "SEP011", "LANG", "SEP08", "SHOW",
                    "SEP014", "ARRANGE", "SEP010", "NOTE1", "SEP013"}),
              keysOf(bars().bar("STANDARD3")));
    EXPECT_EQ((Keys{"SEP03", "BRAMBLE", "SEP04", "EXIT2"}), keysOf(bars().bar("STANDARD4")));
    EXPECT_EQ((Keys{"SHOW:0", "SHOW:30S", "SHOW:1M", "SHOW:5M", "SHOW:10M", "SHOW:30M", "SEP015", "SHOW:FULL"}),
              keysOf(bars().bar("SHOW")));
    EXPECT_EQ(bars().bar("ARRANGE"), at("ARRANGE").bar());
    EXPECT_EQ((Keys{"STYLE:SYSTEM", "STYLE:OFFICE", "STYLE:XP", "STYLE:MONEY"}), keysOf(bars().bar("STYLE")));
    EXPECT_EQ((Keys{"LANG:ENGLISH", "LANG:NEW"}), keysOf(bars().bar("LANG")));
    EXPECT_EQ(bars().bar("SHOW"), at("SHOW").bar());
    EXPECT_EQ(bars().bar("STYLE"), at("STYLE").bar());
    EXPECT_EQ(bars().bar("LANG"), at("LANG").bar());

    // The style drop-down shows one choice at a time.
    at("STYLE:XP").setChecked(true);
    at("STYLE:MONEY").setChecked(true);
    EXPECT_FALSE(at("STYLE:XP").checked());
    EXPECT_TRUE(at("STYLE:MONEY").checked());
}

TEST_F(BarsBuilders, EveryCommandIsAnEntryOnABar) {
    build();
    Build_BrowserButtons(*app);
    Build_BrowserBars(*app);
    Build_EditorButtons(*app);
    Build_EditorBar(*app);
    const char* const barNames[] = {"STANDARD0", "STANDARD2", "STANDARD3", "STANDARD4", "STANDARD5", "SHOW",
                                    "STYLE",     "LANG",      "SEARCH",    "SAVE",      "EDIT",      "ARRANGE"};
    for (int i = 0; i <= static_cast<int>(Command::EditorExit); ++i) {
        const auto command = static_cast<Command>(i);
        const std::string key = commandKey(command);
        EXPECT_EQ(commandOf(key), command) << key;
        bool placed = false;
        for (const char* name : barNames)
            for (const std::string& k : keysOf(bars().bar(name))) placed = placed || k == key;
        EXPECT_TRUE(placed) << key;
    }
    // Language entries are data; keys are compared exactly.
    for (const char* key : {"LANG:ENGLISH", "new", "EDIT", "SEP01", ""}) EXPECT_FALSE(commandOf(key)) << key;
}

TEST_F(BarsBuilders, BuildingTwiceIsRefusedAndChangesNothing) {
    build();
    const size_t entries = bars().entryCount(), barCount = bars().barCount();
    EXPECT_THROW(Build_MainButtons(*app), std::logic_error);
    EXPECT_THROW(Build_MainBars(*app), std::logic_error);
    EXPECT_EQ(entries, bars().entryCount());
    EXPECT_EQ(barCount, bars().barCount());
}

TEST_F(BarsBuilders, LanguageEntriesFromTheFolder) {
    touch("Lang_english.txt");
    touch("Lang_Deutsch.txt");
    touch("Lang_pt_BR.txt");
    touch("Lang_.txt");
    touch("lang_italiano.TXT");
    touch("readme.txt");
    touch("Language.txt");
    touch("xLang_french.txt");
    std::filesystem::create_directory(folder() + "/Lang_folder.d");
    build();
    // Name order without regard to case, as a Windows folder listing gives it.
    EXPECT_EQ((Keys{"", "Deutsch", "english", "italiano", "pt_BR"}), app->App.languages);
    EXPECT_EQ((Keys{"LANG:", "LANG:DEUTSCH", "LANG:ENGLISH", "LANG:ITALIANO", "LANG:PT_BR", "LANG:NEW"}),
              keysOf(bars().bar("LANG")));

    const Entry& english = at("LANG:ENGLISH");
    EXPECT_EQ(entrystyle::Option, english.style());
    EXPECT_EQ("English", english.caption());
    EXPECT_EQ("Lang_english.txt", english.toolTip());
    EXPECT_EQ(31, english.icon());
    EXPECT_FALSE(english.captionOnBar());
    EXPECT_EQ(29, at("LANG:DEUTSCH").icon());
    EXPECT_EQ("Deutsch", at("LANG:DEUTSCH").caption());
    EXPECT_EQ("Pt_br", at("LANG:PT_BR").caption());
    EXPECT_EQ("lang_italiano.TXT", at("LANG:ITALIANO").toolTip());
    EXPECT_EQ(30, at("LANG:ITALIANO").icon());
    EXPECT_EQ(27, at("LANG:").icon());
}

TEST_F(BarsBuilders, NoLanguageFileLeavesOnlyTheNewLanguageEntry) {
    build();
    EXPECT_TRUE(app->App.languages.empty());
    EXPECT_EQ((Keys{"LANG:NEW"}), keysOf(bars().bar("LANG")));
}

TEST_F(BarsBuilders, DuplicateNamesMissingDotsAndTheTwentyLimit) {
    touch("Lang_English.TXT");
    touch("lang_english.txt");   // same key: the first one found stands
    touch("Lang_noextension");   // no "." after the "_": left out
    for (int i = 0; i < 22; ++i) touch("Lang_l" + std::string(1, static_cast<char>('a' + i)) + ".txt");
    build();
    const Keys& langs = app->App.languages;
    ASSERT_EQ(20u, langs.size());
    EXPECT_EQ("English", langs[0]);
    EXPECT_EQ("Lang_English.TXT", at("LANG:ENGLISH").toolTip());
    EXPECT_EQ("la", langs[1]);
    EXPECT_EQ("ls", langs[19]);
    EXPECT_EQ(nullptr, bars().entry("LANG:LT")) << "past the limit";
    EXPECT_EQ(nullptr, bars().entry("LANG:NOEXTENSION"));
    EXPECT_EQ(21u, bars().bar("LANG")->entries().size());
}

TEST_F(BarsBuilders, BrowserEntriesAndBars) {
    build();
    Build_BrowserButtons(*app);
    Build_BrowserBars(*app);
    for (const char* key : {"FILE", "SAVE", "TOOLS", "EDIT", "SEARCH"}) EXPECT_TRUE(at(key).dropDown()) << key;
    for (const char* key : {"BACK", "NEXT", "PRINT", "REFRESH", "GOOGLE", "GO", "FILE", "EDIT"}) {
        EXPECT_FALSE(at(key).captionOnBar()) << key;
        EXPECT_EQ(entrystyle::Plain, at(key).style()) << key;
    }
    EXPECT_EQ(81, at("FILE").icon());
    EXPECT_EQ(17, at("GO").icon());
    EXPECT_EQ(68, at("EDIT:DELETE").icon());
    EXPECT_EQ(86, at("SEARCH:LYGO").icon());
    EXPECT_EQ(28, at("SAVE:WORDV").icon());
    EXPECT_EQ(entrystyle::Numeric, at("NIL2").style());
    EXPECT_EQ(0, at("NIL2").value());
    EXPECT_EQ(entrystyle::Numeric, at("MOVE2").style());
    EXPECT_EQ(12, at("MOVE2").value());
    for (const char* key : {"EDIT:FIND:SEPARATOR", "EDIT:EXIT:SEPARATOR", "SEP1", "SEP16"})
        EXPECT_EQ(entrystyle::Separator, at(key).style()) << key;
    int icon = 1;
    for (const char* key : {"ADDURL", "EDITURL", "GOURL", "NEXTGRP", "PREVGRP", "SORT", "SAVE2", "HELP2", "TITLE"})
        EXPECT_EQ(icon++, at(key).icon()) << key;

    EXPECT_EQ((Keys{"BACK", "NEXT", "REFRESH", "EVERY", "PRINT", "EDIT", "SAVE", "SEARCH", "LANG"}),
              keysOf(bars().bar("STANDARD0")));
    EXPECT_EQ((Keys{"GO", "SEP6", "GOOGLE"}), keysOf(bars().bar("STANDARD2")));
    ASSERT_NE(nullptr, bars().bar("STANDARD1"));
    EXPECT_TRUE(bars().bar("STANDARD1")->entries().empty());
    ASSERT_NE(nullptr, bars().bar("TOOLS"));
    EXPECT_TRUE(bars().bar("TOOLS")->entries().empty());
    EXPECT_EQ(nullptr, at("TOOLS").bar()) << "shown nowhere";
    EXPECT_EQ(nullptr, at("FILE").bar());
    const Keys edit = keysOf(bars().bar("EDIT"));
    EXPECT_EQ((Keys{"EDIT:CUT", "EDIT:COPY", "EDIT:PASTE", "EDIT:DELETE", "EDIT:SELECT", "EDIT:SELECT:SEPARATOR",
                    "EDIT:PAGESET", "EDIT:PREVIEW", "EDIT:PRINT", "EDIT:PROPERTIES", "EDIT:FINDDOC",
                    "EDIT:VIEW:SEPARATOR", "EDIT:VIEW"}),
              edit);
    EXPECT_EQ(bars().bar("EDIT"), at("EDIT").bar());
    EXPECT_EQ((Keys{"SEARCH:SEARCH", "SEARCH:ALTAV", "SEARCH:YAHOO", "SEARCH:GOOGLE", "SEARCH:LIVE", "SEARCH:LYGO"}),
              keysOf(at("SEARCH").bar()));
    EXPECT_EQ((Keys{"SAVE:HTML", "SAVE:WORDH", "SAVE:WORDV"}), keysOf(at("SAVE").bar()));

    const size_t entries = bars().entryCount();
    EXPECT_THROW(Build_BrowserButtons(*app), std::logic_error);
    EXPECT_THROW(Build_BrowserBars(*app), std::logic_error);
    EXPECT_EQ(entries, bars().entryCount());
}

TEST_F(BarsBuilders, BrowserBarsWithoutTheMainCatalogueLeaveLanguageOut) {
    Build_BrowserButtons(*app);
    Build_BrowserBars(*app);
    EXPECT_EQ((Keys{"BACK", "NEXT", "REFRESH", "EVERY", "PRINT", "EDIT", "SAVE", "SEARCH"}), keysOf(bars().bar("STANDARD0")));
}

}  // namespace
}  // namespace corvano::test
