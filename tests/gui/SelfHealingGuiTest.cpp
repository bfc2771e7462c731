// Pages that load again by themselves: a server that comes late or answers
// 503, and a page process that is killed.
#include <signal.h>

#include <QWebEnginePage>
#include <QWidget>

#include "AppFixture.h"
#include "platform/qt/QtWebHost.h"
#include "platform/qt/QtWebPage.h"

namespace corvano::test {
namespace {

const QByteArray kPage = "<html><head><title>Wall</title></head><body>up</body></html>";

class SelfHealing : public AppFixture {
protected:
    bool waiting(frmStart& b) { return b.window().caption().find(app->App.strings[TextId::NotLoadedYet]) != std::string::npos; }
};

TEST_F(SelfHealing, APageWhoseServerComesLateLoadsByItselfAnd503IsTriedAgainButNot404) {
    server.addPage("/wall", kPage);
    LocalHttpServer::Route busy;
    busy.status = 503;
    busy.body = "<html><head><title>Busy</title></head><body>busy</body></html>";
    server.addRoute("/busy", busy);
    LocalHttpServer::Route missing;
    missing.status = 404;
    missing.body = "<html><head><title>Missing</title></head><body>missing</body></html>";
    server.addRoute("/missing", missing);

    // The server is down when Corvano starts: the window says it waits.
    server.stop();
    start("/wall");
    frmStart& b = browser();
    ASSERT_TRUE(waitUntil([&] { return waiting(b); }, 10000)) << b.window().caption();
    ASSERT_TRUE(server.start(server.port()));
    EXPECT_TRUE(loaded(b, "/wall", "Wall")) << "within the first wait";
    EXPECT_TRUE(waitUntil([&] { return !waiting(b); }, 2000)) << b.window().caption();

    // The server's own trouble is tried again; a missing page is not, and
    // going elsewhere ends the tries of the page before.
    b.Text1().setText(server.address("/busy").toStdString());
    b.CommandGo(0);
    EXPECT_TRUE(waitUntil([&] { return server.hits("/busy") >= 2; }, 12000));
    b.Text1().setText(server.address("/missing").toStdString());
    b.CommandGo(0);
    ASSERT_TRUE(loaded(b, "/missing", "Missing"));
    const int busyHits = server.hits("/busy");
    EXPECT_FALSE(waitUntil([&] { return server.hits("/missing") >= 2 || server.hits("/busy") > busyHits; }, 7000));
    EXPECT_EQ(b.currentAddress(), server.address("/missing").toStdString());
}

TEST_F(SelfHealing, AKilledPageProcessIsReplacedUntilThreeCrashesShowThePanel) {
    server.addPage("/wall", kPage);
    start("/wall");
    frmStart& b = browser();
    ASSERT_TRUE(loaded(b, "/wall", "Wall"));
    QWebEnginePage* page = host(b)->page();
    for (int crash = 1; crash <= 3; ++crash) {
        ASSERT_TRUE(waitUntil([&] { return page->renderProcessPid() > 0; }));
        const int hits = server.hits("/wall");
        ASSERT_EQ(::kill(static_cast<pid_t>(page->renderProcessPid()), SIGKILL), 0);
        if (crash < 3) {
            EXPECT_TRUE(waitUntil([&] { return server.hits("/wall") > hits && !b.Web().Busy(); }, 10000))
                << "loaded again after crash " << crash;
            EXPECT_FALSE(host(b)->crashPanel()->isVisible());
        }
    }
    EXPECT_TRUE(waitUntil([&] { return host(b)->crashPanel()->isVisible(); }, 5000)) << "the third crash gives up";
    const int hits = server.hits("/wall");
    EXPECT_FALSE(waitUntil([&] { return server.hits("/wall") > hits; }, 4000));
}

}  // namespace
}  // namespace corvano::test
