#include <gtest/gtest.h>

#include <filesystem>

#include "app/Application.h"
#include "app/TextFile.h"
#include "platform/CommandBars.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "langedit/frmLang.h"
#include "mainwin/frmMain.h"

using namespace corvano;
using fake::FakePlatform;
using fake::FakeWindow;

namespace {

std::string shipped(const std::string& name) {
    return textfile::readAll(std::string(CORVANO_SHARE_DIR) + "/" + name).value_or("");
}

std::vector<std::string> keysOf(const Bar* bar) {
    std::vector<std::string> keys;
    if (bar)
        for (const Entry* e : bar->entries()) keys.push_back(e->key());
    return keys;
}

struct LanguageEditor : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;
    frmMain* main = nullptr;
    const std::string english = shipped("Lang_english.txt");

    void start(const std::string& templateName = "Lang_english.txt") {
        if (!templateName.empty()) dir.write("/" + templateName, english);
        app = std::make_unique<Application>(platform, dir.path());
        main = &Sub_Main(*app);
    }
    frmLang* editor() const { return main->languageEditor(); }
    // "LANG:NEW"; `user` plays the user while the editor is shown.
    void openEditor(const std::function<void(frmLang&)>& user) {
        platform.onModal = [&](FakeWindow&) { user(*editor()); };
        main->cmdBar_Click(5, app->bars.at("LANG:NEW"));
        platform.onModal = nullptr;
        platform.runPosted();
    }
    void click(frmLang& e, const std::string& key, int index = 5) { e.cmdBar_Click(index, app->bars.at(key)); }
    std::string save(frmLang& e, std::vector<std::optional<std::string>> answers) {
        platform.dialog.inputs = std::move(answers);
        std::string written = "(no answer)";
        e.SaveLanguage([&written](const std::string& path) { written = path; });
        return written;
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& f : std::filesystem::directory_iterator(dir.path()))
            if (f.is_regular_file()) names.push_back(f.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST_F(LanguageEditor, WaitsHiddenAfterTheFirstBrowserWindowWithTheTemplate) {
    start();
    const auto& open = app->openWindows();
    ASSERT_GE(open.size(), 3u);
    EXPECT_EQ(open[1]->role(), WindowRole::Browser);
    ASSERT_EQ(open[2], editor());
    frmLang& e = *editor();
    EXPECT_FALSE(e.window().visible());
    EXPECT_EQ(e.window().caption(), app->App.strings[TextId::NewLanguage]);
    EXPECT_EQ(e.Text1().text(), english);
    EXPECT_FALSE(e.modified());
    const Size screen = platform.screen;
    EXPECT_EQ(e.window().geometry().width, screen.width / 2);
    EXPECT_EQ(e.window().geometry().height, screen.height / 2);
    EXPECT_EQ(e.cmdBar().bar(), "STANDARD5");
    EXPECT_EQ(e.cmdBar().barStyle(), app->App.barStyle);
    EXPECT_EQ(e.Text1().top(), e.cmdBar().height());
    // Close and save, between separators; captions from the table.
    const Bar* bar = app->bars.bar("STANDARD5");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->entries().front()->style(), entrystyle::Separator);
    EXPECT_EQ(bar->entries().back()->style(), entrystyle::Separator);
    EXPECT_EQ(app->bars.at("EXIT3").caption(), app->App.strings[TextId::Close]);
    EXPECT_EQ(app->bars.at("SAVE3").caption(), app->App.strings[TextId::Save]);
}

TEST_F(LanguageEditor, OpensModallyBuildsOnceAndStartsAgainFromTheTemplate) {
    start();
    const size_t entries = app->bars.entryCount(), bars = app->bars.barCount();
    const auto barKeys = keysOf(app->bars.bar("STANDARD5"));
    for (int round = 0; round < 3; ++round) {
        bool shown = false;
        main->cmdBar_Click(5, app->bars.at(round == 1 ? "STYLE:MONEY" : "STYLE:XP"));
        openEditor([&](frmLang& e) {
            shown = e.window().visible() && static_cast<FakeWindow&>(e.window()).modal &&
                    static_cast<FakeWindow&>(e.window()).topmost;
            EXPECT_EQ(e.cmdBar().barStyle(), app->App.barStyle) << "the current style";
            EXPECT_EQ(e.Text1().text(), english) << round;
            EXPECT_EQ(e.cmdBar().bar(), "STANDARD5");
            e.Text1().setText("\"Hallo\"\r\n");
            EXPECT_EQ(save(e, {"neu" + std::to_string(round)}), dir.file("/Lang_neu" + std::to_string(round) + ".Txt"));
            // Clicks of any other bar are not the editor's.
            click(e, "EXIT3", 3);
            EXPECT_FALSE(e.unloaded());
            click(e, "EXIT3");
        });
        EXPECT_TRUE(shown);
        EXPECT_EQ(editor(), nullptr) << "discarded once closed";
    }
    EXPECT_EQ(app->bars.entryCount(), entries + 3) << "only the three new languages";
    EXPECT_EQ(app->bars.barCount(), bars);
    EXPECT_EQ(keysOf(app->bars.bar("STANDARD5")), barKeys);
    EXPECT_TRUE(platform.dialog.questions.empty()) << "saved text closes without a question";
}

TEST_F(LanguageEditor, SaveWritesTheBoxAndTheLanguageCanBePickedAtOnce) {
    start();
    frmLang& e = *editor();
    std::string text = english;
    text.replace(text.find("\"Back\""), 6, "\"Indietro\"");
    e.Text1().setText(text);
    EXPECT_TRUE(e.modified());
    EXPECT_EQ(save(e, {"italiano"}), dir.file("/Lang_italiano.Txt"));
    EXPECT_EQ(dir.read("/Lang_italiano.Txt"), text);
    EXPECT_FALSE(e.modified());
    EXPECT_TRUE(platform.dialog.messages.empty());
    EXPECT_EQ(platform.dialog.prompts, std::vector<std::string>{app->App.strings[TextId::LanguageNamePrompt] + ": "});
    // In the menu before "LANG:NEW", named as the start-up would name it.
    const auto menu = keysOf(app->bars.bar("LANG"));
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2], "LANG:ITALIANO");
    EXPECT_EQ(app->bars.at("LANG:ITALIANO").caption(), "Italiano");
    EXPECT_EQ(app->bars.at("LANG:ITALIANO").toolTip(), "Lang_italiano.Txt");
    main->cmdBar_Click(5, app->bars.at("LANG:ITALIANO"));
    EXPECT_EQ(app->App.language, "italiano");
    EXPECT_EQ(app->bars.at("BACK").toolTip(), "Indietro") << "Lang_italiano.txt is read from Lang_italiano.Txt";

    // A "." ends the language name; a "_" stays in it.
    save(e, {"my.lang"});
    save(e, {"pt_BR"});
    EXPECT_TRUE(dir.exists("/Lang_my.lang.Txt"));
    EXPECT_EQ(app->bars.at("LANG:MY").caption(), "My");
    main->cmdBar_Click(5, app->bars.at("LANG:MY"));
    EXPECT_EQ(app->App.language, "my");
    EXPECT_TRUE(platform.dialog.messages.empty()) << "Lang_my.lang.Txt is the file of \"my\"";
    EXPECT_EQ(app->bars.at("LANG:PT_BR").caption(), "Pt_br");
    EXPECT_EQ(keysOf(app->bars.bar("LANG")).back(), "LANG:NEW");
}

TEST_F(LanguageEditor, CancelledEmptyOrRefusedNamesWriteNothing) {
    start();
    frmLang& e = *editor();
    const auto before = files();
    EXPECT_EQ(save(e, {std::nullopt}), "");
    EXPECT_EQ(save(e, {""}), "");
    EXPECT_EQ(save(e, {"   "}), "");
    EXPECT_TRUE(platform.dialog.messages.empty()) << "nothing to say about nothing";
    // Each refused name says why and asks again, until the user gives up.
    platform.dialog.prompts.clear();
    EXPECT_EQ(save(e, {"../up", "a/b", "a\\b", "x..y", "two\nlines", "tab\t", "a:b", "why?", std::nullopt}), "");
    EXPECT_EQ(platform.dialog.prompts.size(), 9u);
    ASSERT_EQ(platform.dialog.messages.size(), 8u);
    for (const auto& m : platform.dialog.messages) EXPECT_GT(m.size(), app->App.strings[TextId::NewLanguage].size() + 10) << m;
    EXPECT_NE(platform.dialog.messages[6].find(':', app->App.strings[TextId::NewLanguage].size() + 2), std::string::npos)
        << "names the character";
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/../Lang_.._up.Txt"));

    // A name the file system cannot take: said, nothing written, editor open.
    platform.dialog.messages.clear();
    EXPECT_EQ(save(e, {std::string(300, 'x')}), "");
    ASSERT_EQ(platform.dialog.messages.size(), 1u);
    EXPECT_EQ(files(), before);
    EXPECT_FALSE(e.unloaded());
}

TEST_F(LanguageEditor, AnExistingLanguageIsReplacedOnlyWhenTheUserSaysSo) {
    start();
    dir.write("/Lang_deutsch.txt", "\"Alt\"\r\n");
    frmLang& e = *editor();
    e.Text1().setText("\"Neu\"\r\n");
    // Another letter case names the same language: that file is the one asked about.
    platform.dialog.confirms = {false};
    EXPECT_EQ(save(e, {"Deutsch", std::nullopt}), "");
    EXPECT_EQ(platform.dialog.questions.size(), 1u);
    EXPECT_NE(platform.dialog.questions[0].find("Lang_deutsch.txt"), std::string::npos);
    EXPECT_EQ(dir.read("/Lang_deutsch.txt"), "\"Alt\"\r\n");
    EXPECT_EQ(platform.dialog.prompts.size(), 2u) << "no: the prompt comes back";

    platform.dialog.confirms = {true};
    EXPECT_EQ(save(e, {"Deutsch"}), dir.file("/Lang_deutsch.txt"));
    EXPECT_EQ(dir.read("/Lang_deutsch.txt"), "\"Neu\"\r\n");
    EXPECT_FALSE(dir.exists("/Lang_Deutsch.Txt"));
}

TEST_F(LanguageEditor, UnsavedChangesAskBeforeTheyAreLost) {
    start();
    openEditor([&](frmLang& e) {
        e.Text1().setText("\"changed\"");
        platform.dialog.confirms = {false};
        click(e, "EXIT3");
        EXPECT_FALSE(e.unloaded()) << "kept open";
        platform.dialog.confirms = {true};
        e.Form_QueryUnload();  // the close box
        EXPECT_TRUE(e.unloaded());
    });
    EXPECT_EQ(platform.dialog.questions.size(), 2u);
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(LanguageEditor, TemplateInAnyLetterCaseAndAMissingOneIsToldWhenShown) {
    start("LANG_ENGLISH.TXT");
    EXPECT_EQ(editor()->Text1().text(), english);
    std::filesystem::remove(dir.file("/LANG_ENGLISH.TXT"));
    openEditor([&](frmLang& e) { click(e, "EXIT3"); });  // loaded at start-up, with the text
    EXPECT_TRUE(platform.dialog.messages.empty());
    openEditor([&](frmLang& e) {
        ASSERT_EQ(platform.dialog.messages.size(), 1u);
        EXPECT_NE(platform.dialog.messages[0].find("lang_english.txt"), std::string::npos);
        EXPECT_EQ(e.Text1().text(), "");
        click(e, "EXIT3");
    });
    EXPECT_EQ(editor(), nullptr);
}
