// The whole application in this process on the real Qt platform, with
// pages from a local server.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <fstream>

#include "AppFixture.h"
#include "browser/PageCommands.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtControls.h"

using namespace corvano;
using corvano::test::waitUntil;

namespace {

class AppGui : public test::AppFixture {};

QByteArray page(const QByteArray& title, const QByteArray& body, const QByteArray& script = {}) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body><p id=t>" + body + "</p>" +
           (script.isEmpty() ? QByteArray() : "<script>" + script + "</script>") + "</body></html>";
}

}  // namespace

TEST_F(AppGui, MainWindowShowsBothBarsAndFollowsStyleAndLanguage) {
    server.addPage("/a.html", page("A", "a"));
    start("/a.html");
    for (int index : {3, 4}) {
        auto* bar = static_cast<qt::QtCommandBar*>(main().cmdBar(index));
        ASSERT_TRUE(waitUntil([&] { return bar->widget()->isVisible(); })) << index;
        EXPECT_GT(bar->widget()->width(), 50) << index;
    }
    const QImage officeCorner = barImage(4);
    main().cmdBar_Click(5, app->bars.at("STYLE:MONEY"));
    EXPECT_NE(barImage(4), officeCorner) << "the corner bar takes the new style";

    const QImage englishMain = barImage(3);
    EXPECT_EQ(app->bars.at("NEW").caption(), "New");
    main().cmdBar_Click(5, app->bars.at("LANG:ITALIANO"));
    EXPECT_EQ(app->bars.at("NEW").caption(), "Nuovo");
    EXPECT_NE(barImage(3), englishMain) << "the captions on screen change";
}

TEST_F(AppGui, EnterInTheAddressBoxLoadsThePageAndTheTitleReachesBoxAndCaption) {
    server.addPage("/a.html", page("A", "a"));
    server.addPage("/typed.html", page("Typed page", "typed"));
    start("/a.html");
    frmStart& b = browser();
    ASSERT_TRUE(loaded(b, "/a.html", "A"));
    QStringList captions;
    QObject::connect(widgetOf(b.window()), &QWidget::windowTitleChanged,
                     [&](const QString& t) { captions << t; });

    auto* combo = static_cast<qt::QtComboBox&>(b.Text1()).widget();
    const std::string typed = "127.0.0.1:" + std::to_string(server.port()) + "/typed.html";
    combo->lineEdit()->setText(QString::fromStdString(typed));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(combo->lineEdit(), &enter);

    ASSERT_TRUE(loaded(b, "/typed.html", "Typed page"));
    EXPECT_EQ(b.Text1().text(), server.address("/typed.html").toStdString());
    EXPECT_EQ(b.currentAddress(), server.address("/typed.html").toStdString());
    EXPECT_TRUE(captions.contains("Browser  N.  1 [Typed page]")) << captions.join(" | ").toStdString();
    ASSERT_TRUE(waitUntil([&] { return b.window().caption() == "Browser  N.  1"; }));
    ASSERT_EQ(b.history().size(), 1u);
    EXPECT_EQ(b.history()[0], "http://" + typed);
}

TEST_F(AppGui, PopUpsFollowTheAdvertisingLock) {
    server.addPage("/pop.html", page("Pop", "pop"));
    server.addPage("/opener.html", page("Opener", "o", "window.open('/pop.html', 'p', 'width=300,height=200');"));
    server.addPage("/a.html", page("A", "a"));
    start("/a.html");
    frmStart& b = browser();
    ASSERT_TRUE(loaded(b, "/a.html", "A"));

    app->App.lockAdvertising = 1;
    b.Web().Navigate(server.address("/opener.html").toStdString());
    ASSERT_TRUE(loaded(b, "/opener.html", "Opener"));
    waitUntil([] { return false; }, 1000);  // time for a refused pop-up to show itself
    EXPECT_EQ(server.hits("/pop.html"), 0);

    app->App.lockAdvertising = 0;
    b.Web().Refresh();
    EXPECT_TRUE(waitUntil([&] { return server.hits("/pop.html") == 1; }));
}

TEST_F(AppGui, APageCannotCloseItsBrowserWindow) {
    server.addPage("/a.html", page("A", "a"));
    server.addPage("/close.html", page("Closer", "c", "setTimeout(function(){document.title='tried'; window.close();}, 50);"));
    start("/a.html");
    frmStart& b = browser();
    ASSERT_TRUE(loaded(b, "/a.html", "A"));
    b.Web().Navigate(server.address("/close.html").toStdString());
    ASSERT_TRUE(waitUntil([&] { return b.Web().LocationName() == "tried"; }));
    waitUntil([] { return false; }, 500);  // time for a close to take effect
    EXPECT_FALSE(b.unloaded());
    EXPECT_TRUE(widgetOf(b.window())->isVisible());
}

TEST_F(AppGui, AWindowManagersCloseOnTheMainWindowEndsTheSessionLikeExit) {
    server.addPage("/a.html", page("A", "a"));
    start("/a.html");
    ASSERT_TRUE(loaded(browser(), "/a.html", "A"));
    main().cmdBar_Click(3, app->bars.at("NEW"));
    widgetOf(main().window())->close();  // as Qt delivers the window manager's request
    EXPECT_TRUE(waitUntil([&] { return app->openWindows().empty(); }, 5000));
    EXPECT_EQ(platform.quits, 1);
    EXPECT_EQ(dir.read("/Data/Corvano.Ini").substr(0, 5), " 2 \r\n") << "both windows come back";
}

TEST_F(AppGui, EditCopyActsOnTheWindowActivatedLast) {
    server.addPage("/a.html", page("A", "alpha text"));
    server.addPage("/b.html", page("B", "beta text"));
    start("/a.html");
    main().cmdBar_Click(3, app->bars.at("NEW"));
    frmStart& first = browser(0);
    frmStart& second = browser(1);
    ASSERT_TRUE(loaded(first, "/a.html", "A"));
    second.Web().Navigate(server.address("/b.html").toStdString());
    ASSERT_TRUE(loaded(second, "/b.html", "B"));

    for (frmStart* b : {&first, &second}) {
        QWidget* w = widgetOf(b->window());
        w->activateWindow();
        ASSERT_TRUE(waitUntil([&] { return w->isActiveWindow(); }));
    }
    EXPECT_EQ(app->App.currentBrowser, second.number());
    QApplication::clipboard()->setText("old");
    main().cmdBar_Click(5, app->bars.at("EDIT:SELECT"));
    main().cmdBar_Click(5, app->bars.at("EDIT:COPY"));
    EXPECT_TRUE(waitUntil([] { return QApplication::clipboard()->text().contains("beta text"); }))
        << QApplication::clipboard()->text().toStdString();
    EXPECT_FALSE(QApplication::clipboard()->text().contains("alpha"));
}

namespace {

// Resident memory of this process, in MiB.
double residentMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

}  // namespace

TEST_F(AppGui, OpeningAndClosingTwentyWindowsTenTimesLeavesMemoryFlat) {
    server.addPage("/a.html", page("A", "a"));
    start("/a.html");
    auto browsers = [&] {
        std::vector<frmStart*> list;
        for (Form* f : app->openWindows())
            if (f->role() == WindowRole::Browser) list.push_back(static_cast<frmStart*>(f));
        return list;
    };
    std::vector<double> after;
    for (int round = 0; round < 10; ++round) {
        for (int i = 0; i < 20; ++i) main().cmdBar_Click(3, app->bars.at("NEW"));
        ASSERT_EQ(browsers().size(), 20u);
        for (frmStart* b : browsers()) b->Web().Navigate(server.address("/a.html").toStdString());
        ASSERT_TRUE(waitUntil([&] {
            for (frmStart* b : browsers())
                if (b->Web().LocationName() != "A" || b->Web().Busy()) return false;
            return true;
        }, 60000)) << "round " << round;
        for (frmStart* b : browsers()) b->Form_QueryUnload();
        ASSERT_TRUE(waitUntil([&] { return browsers().empty(); }));
        waitUntil([] { return false; }, 300);  // let the released views go
        after.push_back(residentMiB());
    }
    EXPECT_EQ(app->App.browserCount, 0);
    // The first rounds warm caches up and the allocator may step up once;
    // a leak grows every round, so some later round must stay flat.
    double flattest = 1e9;
    for (size_t i = 6; i < after.size(); ++i) flattest = std::min(flattest, after[i] - after[i - 1]);
    EXPECT_LT(flattest, 5.0) << "MiB after each round: " << ::testing::PrintToString(after);
    EXPECT_LT(after.back() - after[2], 120.0) << "MiB after each round: " << ::testing::PrintToString(after);
}
