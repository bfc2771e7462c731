#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CommandBars.h"
#include "unit/BrowserTestFixture.h"

namespace {

using corvano::frmStart;
using corvano::fake::FakeWebView;

class CommandGoTest : public corvano::test::BrowserTestFixture {};

using corvano::Entry;

std::vector<std::string> lastCall(frmStart& b) {
    auto& calls = static_cast<FakeWebView&>(b.Web()).calls;
    return calls.empty() ? std::vector<std::string>{} : std::vector<std::string>{calls.back()};
}

TEST_F(CommandGoTest, CompletesTheSchemeIgnoringCase) {
    frmStart& b = open();
    const std::pair<const char*, const char*> cases[] = {
        {"example.com", "http://example.com"},        {"HTTPS://X.ORG/", "HTTPS://X.ORG/"},
        {"HtTp://mixed.example/", "HtTp://mixed.example/"}, {"fTp://host/file", "fTp://host/file"},
        {"mailto:x@y", "http://mailto:x@y"},          {"https:/one-slash", "http://https:/one-slash"},
        {"   ", "http://   "},
    };
    for (const auto& [typed, sent] : cases) {
        box(b).setText(typed);
        b.CommandGo(0);
        EXPECT_EQ(lastCall(b), std::vector<std::string>{std::string("Navigate2 ") + sent}) << typed;
        EXPECT_EQ(b.Text1().text(), sent);
        EXPECT_EQ(b.currentAddress(), sent);
    }
    EXPECT_EQ(box(b).itemCount(), 0);
}

TEST_F(CommandGoTest, EmptyBoxGoesToTheNewBrowserAddressOnly) {
    app->App.newBrowserUrl = "http://new.example/";
    frmStart& b = open();
    const std::string before = b.currentAddress();
    box(b).setText("");
    b.CommandGo(1);
    EXPECT_EQ(lastCall(b), std::vector<std::string>{"Navigate http://new.example/"});
    EXPECT_EQ(b.currentAddress(), before);
    EXPECT_EQ(box(b).itemCount(), 0);
}

TEST_F(CommandGoTest, HistoryTakesOnlyQualifyingAddressesWithFlagOne) {
    frmStart& b = open();
    auto go = [&](const std::string& text, int flag) {
        box(b).setText(text);
        b.CommandGo(flag);
    };
    go("http://a", 1);                 // 8 characters: not added
    go("http://ab", 1);                // 9: added
    go("ftp://files.example/", 1);     // not http
    go("  HTTP://x.example/", 1);      // completed to "http://  HTTP://..."
    go("HTTPS://Y.example/", 1);
    go("http://ab", 0);
    go("http://ab", 1);                // duplicates are kept
    EXPECT_EQ(box(b).items, (std::vector<std::string>{"http://ab", "http://  HTTP://x.example/",
                                                      "HTTPS://Y.example/", "http://ab"}));
}

TEST_F(CommandGoTest, EnterAndListChoice) {
    frmStart& b = open();
    EXPECT_TRUE(box(b).type('w'));
    EXPECT_EQ(b.Text1().text(), "w");
    box(b).setText("example.org");
    EXPECT_FALSE(box(b).type(13));  // consumed
    EXPECT_EQ(b.Text1().text(), "http://example.org");
    EXPECT_EQ(box(b).items, std::vector<std::string>{"http://example.org"});
    box(b).choose(0);
    EXPECT_EQ(lastCall(b), std::vector<std::string>{"Navigate2 http://example.org"});
    EXPECT_EQ(box(b).itemCount(), 1);
    box(b).type(13);
    EXPECT_EQ(box(b).itemCount(), 2);
}

TEST_F(CommandGoTest, BarClicksActOnlyOnTheirBar) {
    frmStart& b = open();
    auto& calls = web(b).calls;
    auto click = [&](int index, const char* key) {
        Entry e(app->bars, key, 0, 0, "");
        bar(b, index).click(e);
    };
    calls.clear();
    click(0, "BACK");
    click(0, "NEXT");
    click(0, "REFRESH");
    click(0, "PRINT");
    EXPECT_EQ(calls, (std::vector<std::string>{"GoBack", "GoForward", "Refresh2", "ExecWB 6 0"}));
    calls.clear();
    for (int index : {1, 2}) click(index, "BACK");
    click(0, "back");
    click(0, "GO");
    click(0, "GOOGLE");
    click(1, "GO");
    click(2, "PRINT");
    EXPECT_TRUE(calls.empty());

    box(b).setText("go.example");
    click(2, "GO");
    EXPECT_EQ(calls, std::vector<std::string>{"Navigate2 http://go.example"});
    EXPECT_EQ(box(b).itemCount(), 1);
    click(2, "GOOGLE");
    EXPECT_EQ(lastCall(b), std::vector<std::string>{"Navigate2 https://www.google.com/"});
    EXPECT_EQ(b.Text1().text(), "https://www.google.com/");
    EXPECT_EQ(box(b).itemCount(), 1);
}

}  // namespace
