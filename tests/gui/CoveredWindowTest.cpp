// A window that our other windows hide entirely stops drawing its page.
#include <gtest/gtest.h>

#include <QWebEnginePage>
#include <QWebEngineView>

#include "GuiTestUtil.h"
#include "LocalHttpServer.h"
#include "platform/qt/QtWindow.h"

using namespace corvano;

namespace {

struct NoEvents : WindowEvents {};

// The page's visibility and how many animation frames it has drawn.
std::optional<QString> pageState(QWebEngineView* view) {
    using A = std::optional<QString>;
    return test::awaitAnswer<A>([view](std::function<void(A)> done) {
               view->page()->runJavaScript("document.visibilityState + ' ' + frames",
                                           [done](const QVariant& v) { done(v.toString()); });
           }).value_or(std::nullopt);
}
QString visibility(QWebEngineView* view) { return pageState(view).value_or("").section(' ', 0, 0); }
int frames(QWebEngineView* view) { return pageState(view).value_or("").section(' ', 1, 1).toInt(); }

bool framesGoOn(QWebEngineView* view) {
    const int before = frames(view);
    return test::waitUntil([&] { return frames(view) > before + 2; }, 5000);
}

}  // namespace

TEST(CoveredWindow, ItsPageIsHiddenWhileOurWindowsHideAllOfItAndDrawsAgainWhenUncovered) {
    test::LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.addPage("/anim.html",
                   "<html><body><script>var frames = 0;"
                   "function f() { frames++; requestAnimationFrame(f); } requestAnimationFrame(f);</script></body></html>");
    NoEvents events;
    qt::QtWindow lower(WindowRole::Browser, events), upper(WindowRole::Browser, events), side(WindowRole::Browser, events);
    auto web = lower.createWebView(WebProfile{});
    web->setWidth(6000);
    web->setHeight(4500);
    lower.setGeometry({1500, 1500, 6000, 4500});  // 400 x 300 pixels at 100,100
    lower.show();
    web->Navigate(server.address("/anim.html").toStdString());
    auto* view = lower.widget()->findChild<QWebEngineView*>();
    ASSERT_TRUE(view);
    ASSERT_TRUE(test::waitUntil([&] { return visibility(view) == "visible"; }));
    ASSERT_TRUE(framesGoOn(view));

    // Two of our windows above it, each over a part, hide all of it.
    upper.setGeometry({0, 0, 6000, 9000});
    side.setGeometry({6000, 0, 3000, 9000});
    upper.show();
    side.show();
    ASSERT_TRUE(test::waitUntil([&] { return visibility(view) == "hidden"; }, 5000)) << "covered, still visible";
    EXPECT_FALSE(framesGoOn(view)) << "a hidden page draws no animation frames";

    // A strip of it shows again: it draws again.
    side.setGeometry({6300, 0, 3000, 9000});
    EXPECT_TRUE(test::waitUntil([&] { return visibility(view) == "visible"; }, 5000));
    EXPECT_TRUE(framesGoOn(view));

    // Brought above the others, it is seen whole.
    side.setGeometry({6000, 0, 3000, 9000});
    ASSERT_TRUE(test::waitUntil([&] { return visibility(view) == "hidden"; }, 5000));
    lower.bringToTop();
    EXPECT_TRUE(test::waitUntil([&] { return visibility(view) == "visible"; }, 5000));
    EXPECT_TRUE(framesGoOn(view));
}
