#include <gtest/gtest.h>

#include <string>

#include "e2e/RealCorvano.h"
#include "e2e/TinyHttpServer.h"
#include "fakes/FreePort.h"

using namespace corvano::test;

namespace {

// Width and height from a PNG's header; 0 when it is not a PNG.
std::pair<int, int> pngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    auto be = [&png](size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    return {static_cast<int>(be(16)), static_cast<int>(be(20))};
}

}  // namespace

// The wall driven from a script: `corvano ctl` and curl against the running
// Corvano, each command doing what its bar entry does.
TEST(EndToEnd, TheWallIsDrivenFromCtlAndCurlAndAWrongTokenChangesNothing) {
    TinyHttpServer pages;
    pages.page("/a.html", "Page A", "a");
    pages.page("/b.html", "Page B", "b");
    RealCorvano corvano;
    const int port = freeLoopbackPort();
    corvano.folder.write("/Data/Control.conf", "version=1\nlisten=127.0.0.1:" + std::to_string(port) + "\n");
    corvano.start();
    const std::string ctl = corvano.folder.file("/corvano") + " ctl ";
    const std::string api = "http://127.0.0.1:" + std::to_string(port);
    ASSERT_TRUE(eventually([&] { return shell(ctl + "list >/dev/null 2>&1; echo $?") == "0"; }, 60000));
    const std::string token = corvano.folder.read("/Data/Control.key").substr(0, 64);
    auto curl = [&](const std::string& args, const std::string& auth) {
        return shell("curl -s -o /dev/null -w '%{http_code}' -H 'Authorization: Bearer " + auth + "' " + args);
    };

    EXPECT_EQ(shell(ctl + "open 3 " + pages.url("/a.html")), "ok: window 3");
    ASSERT_TRUE(eventually([&] { return pages.hits("/a.html") >= 1; }));
    ASSERT_TRUE(eventually([&] { return shell(ctl + "window 3").find("title: Page A") != std::string::npos; }));

    // A wrong token: refused, and nothing moves.
    const std::string before = shell(ctl + "--json list");
    EXPECT_EQ(curl("-d '{\"command\":\"close\",\"window\":3}' " + api + "/v1/command", std::string(64, '0')), "401");
    EXPECT_EQ(curl(api + "/v1/windows", ""), "401");
    EXPECT_EQ(shell(ctl + "--json list"), before);

    EXPECT_EQ(shell(ctl + "navigate 3 " + pages.url("/b.html")), "ok");
    ASSERT_TRUE(eventually([&] { return pages.hits("/b.html") >= 1; }));
    EXPECT_EQ(curl("-d '{\"command\":\"reload\",\"window\":3}' " + api + "/v1/command", token), "200");
    EXPECT_TRUE(eventually([&] { return pages.hits("/b.html") >= 2; }));
    EXPECT_EQ(shell(ctl + "arrange columns; echo $?"), "ok\n0");
    EXPECT_EQ(shell(ctl + "close 9 2>&1; echo $?"), "corvano ctl: window 9 is not open (404)\n1");

    // The window's picture is as big as the window.
    const std::string id = corvano.findWindow("^Browser  N\\.  3( \\[.*\\])?$");
    ASSERT_FALSE(id.empty());
    const std::string file = corvano.folder.file("/w3.png");
    ASSERT_TRUE(eventually([&] {
        const WindowGeometry g = RealCorvano::geometry(id);
        shell(ctl + "shot 3 " + file);
        return pngSize(corvano.folder.read("/w3.png")) == std::make_pair(g.width, g.height);
    }, 10000)) << RealCorvano::geometry(id).width << "x" << RealCorvano::geometry(id).height;
    EXPECT_NE(shell(ctl + "version").find("chromium: "), std::string::npos);
}
