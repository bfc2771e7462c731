#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "browser/PageCommands.h"
#include "unit/BrowserTestFixture.h"

namespace {

using corvano::frmStart;

class PageCommandTest : public corvano::test::BrowserTestFixture {};

using corvano::runPageCommand;

TEST_F(PageCommandTest, ActsOnTheWindowActivatedLast) {
    frmStart& one = open();
    frmStart& two = open();
    win(one).bringToTop();
    win(two).bringToTop();
    web(one).calls.clear();
    web(two).calls.clear();
    const std::pair<const char*, const char*> edits[] = {
        {"EDIT:PAGESET", "ExecWB 8 0"}, {"EDIT:PREVIEW", "ExecWB 7 0"}, {"EDIT:PRINT", "ExecWB 6 0"},
        {"EDIT:PROPERTIES", "ExecWB 10 0"}, {"EDIT:CUT", "ExecWB 11 0"}, {"EDIT:COPY", "ExecWB 12 0"},
        {"EDIT:PASTE", "ExecWB 13 0"}, {"EDIT:SELECT", "ExecWB 17 0"}, {"EDIT:DELETE", "ExecWB 33 0"},
        {"SEARCH:SEARCH", "GoSearch"},
    };
    for (const auto& [key, call] : edits) {
        EXPECT_TRUE(runPageCommand(*app, key)) << key;
        EXPECT_EQ(web(two).calls.back(), call) << key;
    }
    EXPECT_TRUE(web(one).calls.empty());

    EXPECT_TRUE(runPageCommand(*app, "EDIT:FINDDOC"));
    EXPECT_EQ(web(two).focusCount, 1);
    EXPECT_EQ(web(two).calls.back(), "FindBar");
}

TEST_F(PageCommandTest, SearchEnginesNavigateAndFillTheAddressBox) {
    frmStart& one = open();
    frmStart& two = open();
    win(two).bringToTop();
    const std::string before = one.Text1().text();
    for (const char* key : {"SEARCH:ALTAV", "SEARCH:YAHOO", "SEARCH:GOOGLE", "SEARCH:LIVE", "SEARCH:LYGO"}) {
        EXPECT_TRUE(runPageCommand(*app, key));
        const std::string& call = web(two).calls.back();
        ASSERT_EQ(call.rfind("Navigate ", 0), 0u) << key;
        const std::string url = call.substr(9);
        EXPECT_EQ(url.rfind("https://", 0), 0u) << key;
        EXPECT_EQ(url.back(), '/') << key;
        EXPECT_EQ(two.Text1().text(), url);
    }
    EXPECT_EQ(std::set<std::string>(web(two).calls.end() - 5, web(two).calls.end()).size(), 5u);
    EXPECT_EQ(one.Text1().text(), before);
}

TEST_F(PageCommandTest, NothingHappensWithoutATarget) {
    frmStart& one = open();
    frmStart& two = open();
    web(one).calls.clear();
    EXPECT_TRUE(runPageCommand(*app, "EDIT:COPY"));  // none activated yet
    EXPECT_TRUE(runPageCommand(*app, "SAVE:WORDV"));
    EXPECT_FALSE(one.state().exportLandscape || two.state().exportLandscape);
    win(two).bringToTop();
    two.GO_Exit();
    EXPECT_TRUE(runPageCommand(*app, "EDIT:COPY"));  // the target was closed
    EXPECT_TRUE(web(one).calls.empty());
    win(one).bringToTop();
    EXPECT_TRUE(runPageCommand(*app, "EDIT:COPY"));
    EXPECT_EQ(web(one).calls, std::vector<std::string>{"ExecWB 12 0"});
}

TEST_F(PageCommandTest, ExportCommandsAreRecognisedAndOtherKeysAreNot) {
    frmStart& b = open();
    win(b).bringToTop();
    web(b).calls.clear();
    EXPECT_TRUE(runPageCommand(*app, "SAVE:WORDV"));
    EXPECT_TRUE(b.state().exportLandscape);
    EXPECT_EQ(web(b).calls.front(), "CopyPage");
    EXPECT_TRUE(runPageCommand(*app, "SAVE:WORDH"));
    EXPECT_FALSE(b.state().exportLandscape);
    EXPECT_TRUE(runPageCommand(*app, "SAVE:HTML"));
    EXPECT_EQ(web(b).calls.back(), "ExecWB 4 1");
    web(b).html = "<html></html>";
    EXPECT_TRUE(runPageCommand(*app, "EDIT:VIEW"));
    EXPECT_TRUE(b.txtSource().visible());
    web(b).calls.clear();
    for (const char* key : {"LANG:ENGLISH", "edit:copy", "EDIT:", "SEARCH:BING", "SAVE", "STYLE:XP", ""})
        EXPECT_FALSE(runPageCommand(*app, key)) << key;
    EXPECT_TRUE(web(b).calls.empty());
}

}  // namespace
