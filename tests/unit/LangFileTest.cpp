#include "app/LangFile.h"

#include <gtest/gtest.h>

#include "fakes/TempFolder.h"

using namespace corvano;

namespace {

struct LangFile : ::testing::Test {
    test::TempFolder dir;
    AppState App;
    LangFile() {
        App.appPath = dir.path();
        App.language = "english";
    }
    bool read(const std::string& content, const std::string& language = "english") {
        dir.write("/Lang_" + language + ".txt", content);
        App.language = language;
        return Read_CFG(App);
    }
};

}  // namespace

TEST_F(LangFile, TextLinesFillTheTableInOrder) {
    ASSERT_TRUE(read("[Heading]\r\n\"Hello\"\r\n  \"World\"  \r\n\"\"\r\n\"Say \"hi\" now\"\r\n\"Hello\r\n"));
    EXPECT_EQ(App.strings.byNumber(1), "Hello");
    EXPECT_EQ(App.strings.byNumber(2), "World");
    EXPECT_EQ(App.strings.byNumber(3), "");
    EXPECT_EQ(App.strings.byNumber(4), "Say \"hi\" now");
    EXPECT_EQ(App.strings.byNumber(5), "Hell");  // the last character goes, quote or not
    EXPECT_EQ(App.strings.byNumber(6), "");
    EXPECT_EQ(App.strings.byNumber(0), "");
}

TEST_F(LangFile, TabsAreNotStrippedAndBareCrEndsALine) {
    ASSERT_TRUE(read("\t\"A\"\r\"B\"\r\"C\""));
    EXPECT_EQ(App.strings.byNumber(1), "B");  // a line opening with a tab is no text line
    EXPECT_EQ(App.strings.byNumber(2), "C");
}

TEST_F(LangFile, SingleQuoteLineGivesAnEmptyEntryAndKeepsCounting) {
    ASSERT_TRUE(read("\"\r\n\"Next\"\r\n"));
    EXPECT_EQ(App.strings.byNumber(1), "");
    EXPECT_EQ(App.strings.byNumber(2), "Next");
}

TEST_F(LangFile, Keys) {
    ASSERT_TRUE(read("lock_advertising=no\r\nNEW_BROWSER_URL=a=b\r\n"));
    EXPECT_EQ(App.lockAdvertising, 0);
    EXPECT_EQ(App.newBrowserUrl, "a=b");

    ASSERT_TRUE(read("LOCK_ADVERTISING=Yes\r\nNEW_BROWSER_URL =http://x/\r\n"));
    EXPECT_EQ(App.lockAdvertising, 1);
    EXPECT_EQ(App.newBrowserUrl, "a=b");  // the key with a blank matches nothing

    ASSERT_TRUE(read("LOCK_ADVERTISING=No\r\n"));
    ASSERT_TRUE(read("LOCK_ADVERTISING=\r\nNEW_BROWSER_URL= http://y/\r\nOTHER=1\r\n"));
    EXPECT_EQ(App.lockAdvertising, 1);
    EXPECT_EQ(App.newBrowserUrl, " http://y/");

    ASSERT_TRUE(read("\"only text\"\r\n"));  // keys keep what earlier files set
    EXPECT_EQ(App.lockAdvertising, 1);
    EXPECT_EQ(App.newBrowserUrl, " http://y/");
}

TEST_F(LangFile, EachCallRebuildsTheWholeTable) {
    std::string big, small;
    for (int n = 1; n <= 300; ++n) big += "\"big " + std::to_string(n) + "\"\r\n";
    for (int n = 1; n <= 120; ++n) small += "\"small " + std::to_string(n) + "\"\r\n";
    ASSERT_TRUE(read(big, "big"));
    EXPECT_EQ(App.strings.byNumber(300), "big 300");
    ASSERT_TRUE(read(small, "small"));
    EXPECT_EQ(App.strings.byNumber(120), "small 120");
    EXPECT_EQ(App.strings.byNumber(121), "");
    EXPECT_EQ(App.strings.byNumber(300), "");
}

TEST_F(LangFile, TextLinesBeyondTheTableAreIgnored) {
    std::string s;
    for (int n = 1; n <= StringTable::kSize + 10; ++n) s += "\"t" + std::to_string(n) + "\"\r\n";
    s += "LOCK_ADVERTISING=n\r\n";
    ASSERT_TRUE(read(s));
    EXPECT_EQ(App.strings.byNumber(StringTable::kSize), "t" + std::to_string(StringTable::kSize));
    EXPECT_EQ(App.lockAdvertising, 0);  // keys after the overflow still count
}

TEST_F(LangFile, AnOlderFileShowsTheLaterTextsInEnglish) {
    const int later = StringTable::kOriginalLast + 1;
    std::string english, older;
    for (int n = 1; n <= later; ++n) english += "\"en " + std::to_string(n) + "\"\r\n";
    for (int n = 1; n <= 120; ++n) older += "\"old " + std::to_string(n) + "\"\r\n";
    dir.write("/Lang_english.txt", english);
    ASSERT_TRUE(read(older, "older"));
    EXPECT_EQ(App.strings.byNumber(120), "old 120");
    EXPECT_EQ(App.strings.byNumber(121), "");  // the original texts stay as the file has them
    EXPECT_EQ(App.strings.byNumber(later), "en " + std::to_string(later));
}

TEST_F(LangFile, EightBitAndUtf8FilesBothRead) {
    ASSERT_TRUE(read("\"Propriet\xE0\"\r\n\"\x80 5\"\r\n"));  // Windows-1252
    EXPECT_EQ(App.strings.byNumber(1), "Propriet\xC3\xA0");
    EXPECT_EQ(App.strings.byNumber(2), "\xE2\x82\xAC 5");
    ASSERT_TRUE(read("\xEF\xBB\xBF\"Propriet\xC3\xA0\"\r\n"));  // UTF-8 with a byte order mark
    EXPECT_EQ(App.strings.byNumber(1), "Propriet\xC3\xA0");
    // No closing quote: the last character goes whole, not its last byte.
    ASSERT_TRUE(read("\"Citt\xC3\xA0\r\n\"\xE2\x82\xAC\r\n"));
    EXPECT_EQ(App.strings.byNumber(1), "Citt");
    EXPECT_EQ(App.strings.byNumber(2), "");
}

TEST_F(LangFile, MissingFileChangesNothing) {
    ASSERT_TRUE(read("\"Kept\"\r\n"));
    App.language = "klingon";
    EXPECT_FALSE(Read_CFG(App));
    EXPECT_EQ(App.strings.byNumber(1), "Kept");
}

TEST_F(LangFile, FileFoundWhateverTheLetterCaseOfItsName) {
    dir.write("/Lang_Deutsch.txt", "\"Hallo\"\r\n");
    App.language = "deutsch";
    ASSERT_TRUE(Read_CFG(App));
    EXPECT_EQ(App.strings.byNumber(1), "Hallo");
}

TEST_F(LangFile, HostileContentNeverCrashes) {
    std::string nul("\"a\0b\"\r\n", 7);
    ASSERT_TRUE(read(nul));
    EXPECT_EQ(App.strings.byNumber(1), std::string("a\0b", 3));
    ASSERT_TRUE(read("\"" + std::string(10 << 20, 'x') + "\"\r\n\"after\""));
    EXPECT_EQ(App.strings.byNumber(1).size(), size_t(10 << 20));
    EXPECT_EQ(App.strings.byNumber(2), "after");
    App.language = "../escape";
    dir.write("/Lang_english.txt", "\"safe\"\r\n");
    ASSERT_TRUE(Read_CFG(App));
    EXPECT_EQ(App.strings.byNumber(1), "safe");
}

TEST_F(LangFile, ShippedLanguagesFillEveryText) {
    for (const char* lang : {"english", "italiano", "deutsch", "francais"}) {
        AppState shipped;
        shipped.appPath = CORVANO_SHARE_DIR;
        shipped.language = lang;
        ASSERT_TRUE(Read_CFG(shipped)) << lang;
        for (TextId id : {TextId::EditDelete, TextId::Print, TextId::NothingToExport, TextId::Back, TextId::BrowserCaption,
                          TextId::ScreenshotSaved, TextId::AboutHelp, TextId::New, TextId::Seconds, TextId::Minutes,
                          TextId::LanguageNamePrompt, TextId::HideBars})
            EXPECT_FALSE(shipped.strings[id].empty()) << lang << " " << textNumber(id);
        EXPECT_EQ(shipped.lockAdvertising, 1);
    }
}
