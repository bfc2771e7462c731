#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "e2e/RealCorvano.h"
#include "e2e/TinyHttpServer.h"

using namespace corvano::test;

namespace {

std::string browserTitle(int n) { return "^Browser  N\\.  " + std::to_string(n) + "( \\[.*\\])?$"; }

// The caption shows a page's title only while it loads, so the server tells
// which page a window went to.
bool pageFetched(TinyHttpServer& server, const std::string& path, int times) {
    return eventually([&] { return server.hits(path) >= times; });
}

std::string line(const std::string& text, int n) {
    size_t pos = 0;
    for (int i = 1; i < n; ++i) pos = text.find("\r\n", pos) + 2;
    return text.substr(pos, text.find("\r\n", pos) - pos);
}

}  // namespace

TEST(EndToEnd, WindowsComeBackUnderTheirNumbersAtTheirPlacesOnTheirPagesWithTheirHistory) {
    TinyHttpServer server;
    const std::map<int, std::string> titles{{1, "One"}, {2, "Two"}, {3, "Three"}};
    for (const auto& [n, t] : titles) server.page("/p" + std::to_string(n) + ".html", t, "page " + t);

    RealCorvano corvano;
    corvano.start();
    const std::string main = corvano.findWindow("^Corvano$");
    ASSERT_FALSE(main.empty());
    ASSERT_FALSE(corvano.findWindow(browserTitle(1)).empty()) << "a first run opens window 1";

    // "New" pressed by its name, as a screen reader does.
    ASSERT_TRUE(RealCorvano::press("Corvano", "New"));
    ASSERT_FALSE(corvano.findWindow(browserTitle(2), 30).empty());
    ASSERT_TRUE(RealCorvano::press("Corvano", "New"));
    ASSERT_FALSE(corvano.findWindow(browserTitle(3), 30).empty());

    std::map<int, std::string> ids;
    std::map<int, WindowGeometry> places;
    for (const auto& [n, t] : titles) {
        ids[n] = corvano.findWindow(browserTitle(n), 10);
        ASSERT_FALSE(ids[n].empty()) << n;
        RealCorvano::typeAddress(ids[n], server.hostAndPath("/p" + std::to_string(n) + ".html"));
        ASSERT_TRUE(pageFetched(server, "/p" + std::to_string(n) + ".html", 1)) << n;
        places[n] = RealCorvano::geometry(ids[n]);
    }
    RealCorvano::key(main, "Escape");
    ASSERT_EQ(corvano.wait(), 0);
    for (const auto& [n, t] : titles)
        EXPECT_EQ(line(corvano.folder.read("/Data/Corvano" + std::to_string(n) + ".Ini"), 15),
                  server.url("/p" + std::to_string(n) + ".html"));

    // The next start: one window at once, the others 800 ms apart.
    corvano.start();
    std::map<int, std::chrono::steady_clock::time_point> appeared;
    ASSERT_TRUE(eventually([&] {
        for (const auto& [n, t] : titles)
            if (!appeared.count(n) && !corvano.windows(browserTitle(n)).empty())
                appeared[n] = std::chrono::steady_clock::now();
        return appeared.size() == titles.size();
    }, 60000));
    using std::chrono::milliseconds;
    EXPECT_GE(std::chrono::duration_cast<milliseconds>(appeared[2] - appeared[1]).count(), 500);
    EXPECT_GE(std::chrono::duration_cast<milliseconds>(appeared[3] - appeared[2]).count(), 500);
    for (const auto& [n, t] : titles) {
        const std::string id = corvano.findWindow(browserTitle(n), 10);
        EXPECT_TRUE(pageFetched(server, "/p" + std::to_string(n) + ".html", 2)) << n;
        const WindowGeometry g = RealCorvano::geometry(id);
        EXPECT_EQ(g.x, places[n].x) << n;
        EXPECT_EQ(g.y, places[n].y) << n;
        EXPECT_EQ(g.width, places[n].width) << n;
        EXPECT_EQ(g.height, places[n].height) << n;
    }
    RealCorvano::key(corvano.findWindow("^Corvano$"), "Escape");
    EXPECT_EQ(corvano.wait(), 0);
    // Each typed address went into its window's history with its scheme, was
    // listed again after the restart and saved from that list at this exit.
    for (const auto& [n, t] : titles)
        EXPECT_EQ(corvano.folder.read("/Data/Corvano" + std::to_string(n) + ".Hys"),
                  server.url("/p" + std::to_string(n) + ".html") + "\r\n");
}
