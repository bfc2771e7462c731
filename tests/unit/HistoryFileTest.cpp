#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TextFile.h"
#include "browser/History.h"
#include "unit/BrowserTestFixture.h"

namespace {

using corvano::frmStart;

class HistoryFileTest : public corvano::test::BrowserTestFixture {};

std::vector<std::string> numbered(int from, int to) {
    std::vector<std::string> v;
    for (int i = from; i <= to; ++i) v.push_back("http://site" + std::to_string(i) + ".example/");
    return v;
}

std::string crlf(const std::vector<std::string>& v) { return corvano::textfile::joinCrlf(v); }

TEST_F(HistoryFileTest, KeepsTheNewestSixteenAndDropsEmptyEntries) {
    EXPECT_EQ(corvano::historyToSave(numbered(1, 20)), numbered(5, 20));
    EXPECT_EQ(corvano::historyToSave(numbered(1, 3)), numbered(1, 3));
    // The range is chosen first: an empty entry among the newest 16 is not replaced.
    auto entries = numbered(1, 17);
    entries[10] = "";
    auto expected = numbered(2, 17);
    expected.erase(expected.begin() + 9);
    EXPECT_EQ(corvano::historyToSave(entries), expected);
    EXPECT_EQ(corvano::historyToSave({"http://a.example/\r\nx", "\r\n", "http://b\n"}),
              (std::vector<std::string>{"http://a.example/x", "http://b"}));
}

TEST_F(HistoryFileTest, ReadsEveryLineAndMissingFileIsEmpty) {
    EXPECT_TRUE(corvano::readHistoryFile(path("/Data/none.Hys")).empty());
    write("/Data/Corvano1.Hys", "a\r\n\r\nb\r\n");
    EXPECT_EQ(corvano::readHistoryFile(path("/Data/Corvano1.Hys")), (std::vector<std::string>{"a", "", "b"}));
    write("/Data/Corvano1.Hys", crlf(numbered(1, 30)));
    EXPECT_EQ(corvano::readHistoryFile(path("/Data/Corvano1.Hys")).size(), 30u);
}

TEST_F(HistoryFileTest, WindowAppendsAndSavesTheNewest) {
    app->App.browserSlots[1] = 1;
    write("/Data/Corvano1.Hys", crlf(numbered(1, 16)));
    frmStart& b = open();
    EXPECT_EQ(box(b).items, numbered(1, 16));
    for (int i = 17; i <= 19; ++i) {
        box(b).setText("site" + std::to_string(i) + ".example/");
        box(b).type('\r');
    }
    b.GO_Exit();
    EXPECT_EQ(read("/Data/Corvano1.Hys"), crlf(numbered(4, 19)));
}

TEST_F(HistoryFileTest, EmptyLineIsReadButNotWrittenBack) {
    app->App.browserSlots[2] = 1;
    write("/Data/Corvano2.Hys", "http://a.example/\r\n\r\nhttp://b.example/\r\n");
    frmStart& b = open();
    EXPECT_EQ(box(b).itemCount(), 3);
    b.GO_Exit();
    EXPECT_EQ(read("/Data/Corvano2.Hys"), "http://a.example/\r\nhttp://b.example/\r\n");
}

TEST_F(HistoryFileTest, AddressWithLineBreaksIsStoredWithoutThem) {
    frmStart& b = open();
    box(b).setText("http://a.example/\r\npath");
    b.CommandGo(1);
    EXPECT_EQ(box(b).items, std::vector<std::string>{"http://a.example/path"});
    b.GO_Exit();
    EXPECT_EQ(read("/Data/Corvano1.Hys"), "http://a.example/path\r\n");
    EXPECT_EQ(corvano::textfile::splitLines(read("/Data/Corvano1.Ini")).at(14), "http://a.example/path");
}

}  // namespace
