// Rules every shipped language keeps, checked over the files and the bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "app/Application.h"
#include "app/LangFile.h"
#include "app/TextArgs.h"
#include "app/TextFile.h"
#include "platform/CommandBars.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "langedit/frmLang.h"
#include "mainwin/frmMain.h"

using namespace corvano;

namespace {

const std::string kShare = CORVANO_SHARE_DIR;

std::vector<std::string> shippedLanguages() {
    std::vector<std::string> files;
    for (const auto& f : std::filesystem::directory_iterator(kShare)) {
        const std::string name = f.path().filename().string();
        if (name.rfind("Lang_", 0) == 0) files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

AppState readShipped(const std::string& file) {
    AppState App;
    Read_CFG_Text(App, textfile::readAll(kShare + "/" + file).value_or(""));
    return App;
}

// A caption says something when it holds more than a count prefix.
bool saysSomething(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return !std::isdigit(static_cast<unsigned char>(c)) && c != ' '; });
}

// The whole application on the fake platform with the shipped languages.
struct Shipped {
    test::TempFolder dir;
    fake::FakePlatform platform;
    std::unique_ptr<Application> app;
    frmMain* main = nullptr;

    explicit Shipped(const std::string& language = "english") {
        for (const auto& f : shippedLanguages()) std::filesystem::copy_file(kShare + "/" + f, dir.file("/" + f));
        std::string ini = " 1 \r\n" + language + "\r\n 1 \r\n 1 \r\n";
        for (int i = 0; i < 19; ++i) ini += " 0 \r\n";
        dir.write("/Data/Corvano.Ini", ini);
        app = std::make_unique<Application>(platform, dir.path());
        main = &Sub_Main(*app);
    }
    void choose(const std::string& key) { main->cmdBar_Click(5, app->bars.at(key)); }
    // Every entry's texts and every window's title.
    std::vector<std::string> onScreen() const {
        std::vector<std::string> texts;
        for (const Entry* e : app->bars.allEntries())
            texts.push_back(e->key() + "|" + e->caption() + "|" + e->toolTip());
        for (const Form* f : app->openWindows()) texts.push_back(f->window().caption());
        return texts;
    }
};

}  // namespace

TEST(ShippedLanguages, FillEveryNumberTheEnglishFileFills) {
    const auto files = shippedLanguages();
    ASSERT_GE(files.size(), 4u);
    const AppState english = readShipped("Lang_english.txt");
    int filled = 0;
    for (const auto& file : files) {
        const AppState other = readShipped(file);
        for (int n = 1; n <= StringTable::kSize; ++n) {
            if (english.strings.byNumber(n).empty()) continue;
            ++filled;
            EXPECT_FALSE(other.strings.byNumber(n).empty()) << file << " lacks text " << n;
            // A text with values keeps their markers.
            for (const char* marker : {"%1", "%2"}) {
                if (english.strings.byNumber(n).find(marker) == std::string::npos) continue;
                EXPECT_NE(other.strings.byNumber(n).find(marker), std::string::npos)
                    << file << " text " << n << " lacks " << marker;
            }
        }
    }
    EXPECT_GT(filled, 0);
}

TEST(ShippedLanguages, EveryEntryOnABarSaysSomethingInEveryLanguage) {
    Shipped s;
    for (const std::string& language : s.app->App.languages) {
        s.choose("LANG:" + textfile::toUpper(language));
        ASSERT_EQ(s.app->App.language, textfile::toLower(language));
        for (const Bar* bar : s.app->bars.allBars())
            for (const Entry* e : bar->entries()) {
                if (e->style() == entrystyle::Separator) continue;
                EXPECT_TRUE(saysSomething(e->caption()) || saysSomething(e->toolTip()))
                    << language << ": " << e->key() << " on " << bar->key();
            }
        for (const Form* f : s.app->openWindows()) EXPECT_TRUE(saysSomething(f->window().caption())) << language;
    }
}

TEST(ShippedLanguages, SwitchingTwiceShowsWhatStartingWithTheSecondShows) {
    Shipped twice;
    twice.choose("LANG:DEUTSCH");
    twice.choose("LANG:FRANCAIS");
    Shipped once("francais");
    EXPECT_EQ(twice.onScreen(), once.onScreen());
    // The language entries keep the names their files give them.
    EXPECT_EQ(twice.app->bars.at("LANG:DEUTSCH").caption(), "Deutsch");
    EXPECT_EQ(twice.app->bars.at("LANG:DEUTSCH").toolTip(), "Lang_deutsch.txt");
    EXPECT_EQ(twice.main->languageEditor()->window().caption(), once.app->App.strings[corvano::TextId::NewLanguage]);
    EXPECT_NE(twice.app->App.strings[corvano::TextId::NewLanguage], readShipped("Lang_english.txt").strings[corvano::TextId::NewLanguage]);
}

TEST(TextArgs, FillsMarkersOnceAndNeverLosesTheValues) {
    EXPECT_EQ(withArgs("%2 of %1", {"3", "1"}), "1 of 3");
    EXPECT_EQ(withArgs("file %1", {"%2"}), "file %2") << "a value is not read again";
    EXPECT_EQ(withArgs("100% %3", {"a"}), "100% %3");
    EXPECT_EQ(withArgs("", {"/a/Lang_x.txt", "b"}), "/a/Lang_x.txt b") << "a missing text still names the file";
}
