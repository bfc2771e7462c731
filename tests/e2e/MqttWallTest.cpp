#include <gtest/gtest.h>

#include <string>

#include "e2e/RealCorvano.h"
#include "e2e/TinyHttpServer.h"
#include "net/MosquittoBroker.h"

using namespace corvano::test;

// A wall PC on a broker: a command on the group topic every PC of the wall
// shares reloads its window, each window's state waits retained on the
// broker, and a broker that went away is found again.
TEST(EndToEnd, AGroupCommandFromTheBrokerReloadsTheWallAndItsStateStaysRetained) {
    TinyHttpServer pages;
    pages.page("/live.html", "Live", "live");
    MosquittoBroker broker;
    broker.start();
    RealCorvano corvano;
    const std::string mqtt = " -h 127.0.0.1 -p " + std::to_string(broker.port());
    corvano.folder.write("/Data/Control.conf", "version=1\nlisten=off\nmqtt=mqtt://127.0.0.1:" +
                                                   std::to_string(broker.port()) + "\ntopic=pc1\ngroup=wall\n");
    corvano.start();
    const std::string id = corvano.findWindow("^Browser  N\\.  1( \\[.*\\])?$");
    ASSERT_FALSE(id.empty());
    auto retained = [&](const std::string& topic) {
        return shell("mosquitto_sub" + mqtt + " -t " + topic + " -C 1 -W 2 2>/dev/null");
    };
    ASSERT_TRUE(eventually([&] { return retained("pc1/status") == "online"; }));

    shell("mosquitto_pub" + mqtt + " -t wall/cmd -m '{\"command\":\"navigate\",\"window\":1,\"address\":\"" +
          pages.url("/live.html") + "\"}'");
    ASSERT_TRUE(eventually([&] { return pages.hits("/live.html") >= 1; }));
    EXPECT_TRUE(eventually([&] { return retained("pc1/window/1/state").find("/live.html") != std::string::npos; }));
    shell("mosquitto_pub" + mqtt + " -t wall/cmd -m '{\"command\":\"reload\",\"window\":\"all\"}'");
    EXPECT_TRUE(eventually([&] { return pages.hits("/live.html") >= 2; }));

    // The broker goes and comes back: Corvano says it is there again, and
    // takes commands again.
    broker.stop();
    broker.start();
    ASSERT_TRUE(eventually([&] { return retained("pc1/status") == "online"; }, 60000));
    const int before = pages.hits("/live.html");
    shell("mosquitto_pub" + mqtt + " -t pc1/cmd -m '{\"command\":\"reload\",\"window\":1}'");
    EXPECT_TRUE(eventually([&] { return pages.hits("/live.html") > before; }));
}
