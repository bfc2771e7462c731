#include <gtest/gtest.h>

#include "e2e/RealCorvano.h"
#include "e2e/TinyHttpServer.h"

using namespace corvano::test;

// The refresh interval chosen from the keyboard on the window's bar: kept in
// its options file, and the server sees the page come again on its own.
TEST(EndToEnd, ARefreshIntervalChosenWithTheKeyboardIsKeptAndReloadsThePage) {
    TinyHttpServer server;
    server.page("/live.html", "Live", "live");
    RealCorvano corvano;
    corvano.start();
    const std::string main = corvano.findWindow("^Corvano$");
    const std::string id = corvano.findWindow("^Browser  N\\.  1( \\[.*\\])?$");
    ASSERT_FALSE(id.empty());
    RealCorvano::typeAddress(id, server.hostAndPath("/live.html"));
    ASSERT_TRUE(eventually([&] { return server.hits("/live.html") >= 1; }));

    // F10, Right to the interval's drop-down beside Refresh, Down opens it on
    // "Never", Down again to "30 seconds", Return.
    RealCorvano::key(id, "F10");
    RealCorvano::key(id, "Right Right Right Down");
    RealCorvano::key(id, "Down Return");
    EXPECT_TRUE(eventually([&] { return corvano.folder.read("/Data/Corvano1.Opt").find("refresh=30\r\n") != std::string::npos; },
                           10000))
        << corvano.folder.read("/Data/Corvano1.Opt");

    // Nobody uses the window now: it comes again every 30 seconds.
    RealCorvano::key(main, "shift");
    const int before = server.hits("/live.html");
    EXPECT_TRUE(eventually([&] { return server.hits("/live.html") >= before + 2; }, 100000));
    RealCorvano::key(main, "Escape");
    ASSERT_EQ(corvano.wait(), 0);
    EXPECT_NE(corvano.folder.read("/Data/Corvano1.Opt").find("refresh=30\r\n"), std::string::npos);
}
