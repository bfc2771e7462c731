// The web control on the Qt engine, against pages served on 127.0.0.1.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEngineView>

#include "WebViewFixture.h"
#include "platform/qt/QtFindBar.h"
#include "platform/qt/QtPopupWindow.h"
#include "platform/qt/QtWebEngineSetup.h"
#include "platform/qt/QtWebPage.h"

using namespace corvano;
using namespace corvano::test;

namespace {

qt::QtPopupWindow* openPopup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<qt::QtPopupWindow*>(w); p && p->isVisible()) return p;
    return nullptr;
}

class WebViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static QTemporaryDir storage;
        qt::setWebStorageFolder(storage.path());
    }
    WebViewFixture f;
};

TEST_F(WebViewTest, LoadReportsEventsInOrderAndLocation) {
    EXPECT_FALSE(readyStateOf(*f.view).has_value()) << "no document before the first page";
    EXPECT_FALSE(outerHtmlOf(*f.view).has_value());
    EXPECT_FALSE(f.view->ExecWB(olecmd::Copy, olecmd::OptDoDefault));

    ASSERT_TRUE(f.load("/first"));
    const int before = f.events.indexOf("before");
    const int navigated = f.events.indexOf("navigated");
    const int document = f.events.indexOf("document");
    ASSERT_GE(before, 0);
    EXPECT_LT(before, navigated);
    EXPECT_LT(navigated, document);
    EXPECT_LT(f.events.indexOf("title"), document);
    EXPECT_EQ(f.events.log.back(), "download");
    EXPECT_EQ(f.events.titles.back(), "First Page");
    EXPECT_EQ(f.events.lastProgress, 100);
    ASSERT_FALSE(f.events.statuses.empty());
    EXPECT_EQ(f.events.statuses.back(), "Done");
    EXPECT_NE(std::find(f.events.statuses.begin(), f.events.statuses.end(),
                        "Loading " + f.server().address("/first").toStdString()),
              f.events.statuses.end());

    EXPECT_EQ(f.view->LocationURL(), f.server().address("/first").toStdString());
    EXPECT_EQ(f.view->LocationName(), "First Page");
    EXPECT_FALSE(f.view->Busy());
    EXPECT_EQ(readyStateOf(*f.view).value_or(""), "complete");
    const std::string html = outerHtmlOf(*f.view).value_or("");
    EXPECT_NE(html.find("<p id=\"t\">Hello Corvano world</p>"), std::string::npos) << html;
    EXPECT_EQ(html.rfind("<html", 0), 0u);

    ASSERT_TRUE(f.load("/second"));
    f.view->GoBack();
    EXPECT_TRUE(waitUntil([&] { return f.view->LocationName() == "First Page" && !f.view->Busy(); }));
    f.view->GoForward();
    EXPECT_TRUE(waitUntil([&] { return f.view->LocationName() == "Second Page" && !f.view->Busy(); }));
    const int done = f.events.documentComplete;
    f.view->Refresh2();
    EXPECT_TRUE(waitUntil([&] { return f.events.documentComplete > done; }));
}

TEST_F(WebViewTest, BadAddressesLeaveThePageAsItIs) {
    ASSERT_TRUE(f.load("/first"));
    for (const char* bad : {"", "   ", "http://[::1", "http://exa mple.com:99999/", "\x01\x02"}) f.view->Navigate(bad);
    // Whatever the engine made of them, the control answers and can load again.
    waitUntil([&] { return !f.view->Busy(); });
    ASSERT_TRUE(f.load("/second"));
    EXPECT_EQ(f.view->LocationName(), "Second Page");
}

TEST_F(WebViewTest, PageRendersWithTheSoftwareBackend) {
    EXPECT_EQ(qgetenv("QT_QUICK_BACKEND"), "software");
    ASSERT_TRUE(f.load("/first"));
    QWebEngineView* v = f.host()->view();
    EXPECT_TRUE(waitUntil([&] {
        const QImage img = v->grab().toImage();
        return !img.isNull() && img.pixelColor(img.width() / 2, img.height() * 3 / 4) == QColor(255, 0, 0);
    }));
}

TEST_F(WebViewTest, ProgressLineShowsOnlyWhileLoading) {
    QWidget* line = f.host()->progressLine();
    f.view->Navigate(f.server().address("/slow").toStdString());
    EXPECT_TRUE(waitUntil([&] { return f.view->Busy() && line->isVisible(); }));
    EXPECT_LE(line->height(), 3);
    EXPECT_EQ(line->y(), 0);
    EXPECT_EQ(f.host()->view()->geometry(), f.host()->rect()) << "the line moves nothing";
    EXPECT_TRUE(waitUntil([&] { return !f.view->Busy(); }));
    EXPECT_FALSE(line->isVisible());
}

TEST_F(WebViewTest, ClipboardAndEditCommands) {
    ASSERT_TRUE(f.load("/edit"));
    QClipboard* cb = QGuiApplication::clipboard();

    cb->setText("old");
    ASSERT_TRUE(copyTextOf(*f.view));
    EXPECT_NE(cb->text().indexOf("Copy this text"), -1) << cb->text().toStdString();

    cb->setText("old");
    ASSERT_TRUE(f.view->ExecWB(olecmd::SelectAll, olecmd::OptDoDefault));
    ASSERT_TRUE(f.view->ExecWB(olecmd::Copy, olecmd::OptDoDefault));
    EXPECT_TRUE(waitUntil([&] { return cb->text().contains("Copy this text"); }));

    // Paste into the text field, then cut and delete its text.
    f.host()->view()->setFocus();
    f.js("document.getElementById('f').focus()");
    cb->setText("pasted words");
    ASSERT_TRUE(f.view->ExecWB(olecmd::Paste, olecmd::OptDoDefault));
    EXPECT_TRUE(waitUntil([&] { return f.js("document.getElementById('f').value").toString() == "pasted words"; }));

    f.js("document.getElementById('f').select()");
    ASSERT_TRUE(f.view->ExecWB(olecmd::Cut, olecmd::OptDoDefault));
    EXPECT_TRUE(waitUntil([&] { return f.js("document.getElementById('f').value").toString().isEmpty(); }));
    EXPECT_TRUE(waitUntil([&] { return cb->text() == "pasted words"; }));

    f.js("var e=document.getElementById('f'); e.value='gone soon'; e.select()");
    ASSERT_TRUE(f.view->ExecWB(olecmd::Delete, olecmd::OptDoDefault));
    EXPECT_TRUE(waitUntil([&] { return f.js("document.getElementById('f').value").toString().isEmpty(); }));
    EXPECT_FALSE(f.view->ExecWB(9999, olecmd::OptDoDefault));
}

TEST_F(WebViewTest, FindBarCountsMatchesAndEscapeCloses) {
    ASSERT_TRUE(f.load("/find"));
    f.view->showFindBar();
    qt::QtFindBar* bar = f.host()->findBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().bottom(), f.host()->rect().bottom());
    bar->edit()->setText("apple");
    EXPECT_TRUE(waitUntil([&] { return bar->countText() == "1 of 3"; })) << bar->countText().toStdString();
    bar->findNext();
    EXPECT_TRUE(waitUntil([&] { return bar->countText() == "2 of 3"; })) << bar->countText().toStdString();
    bar->findPrevious();
    EXPECT_TRUE(waitUntil([&] { return bar->countText() == "1 of 3"; })) << bar->countText().toStdString();
    bar->edit()->setText("banana");
    EXPECT_TRUE(waitUntil([&] { return bar->countText() == "No matches"; })) << bar->countText().toStdString();

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(bar->edit(), &esc);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(bar->countText().isEmpty());
}

TEST_F(WebViewTest, WindowCloseFromThePageIsHeldBackWhenCancelled) {
    ASSERT_TRUE(f.load("/closer"));
    f.events.cancelClose = true;
    f.js("window.close()");
    ASSERT_TRUE(waitUntil([&] { return !f.events.closing.empty(); }));
    EXPECT_FALSE(f.events.closing.front()) << "the top-level page is no child window";
    waitUntil([] { return false; }, 200);
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_EQ(readyStateOf(*f.view).value_or(""), "complete");
}

// A fresh page: from Qt 6.8 on the engine passes a page's window.close() on
// once only, so a page whose close was held back cannot close itself later.
TEST_F(WebViewTest, WindowCloseFromThePageClosesTheWindow) {
    ASSERT_TRUE(f.load("/closer"));
    f.events.cancelClose = false;
    f.js("window.close()");
    EXPECT_TRUE(waitUntil([&] { return !f.window->isVisible(); }));
    ASSERT_FALSE(f.events.closing.empty());
    EXPECT_FALSE(f.events.closing.front());
}

TEST_F(WebViewTest, PopupRefusedWhenCancelledElseOpensInItsOwnWindow) {
    ASSERT_TRUE(f.load("/opener"));
    f.events.cancelNewWindow = true;
    f.js("pop()");
    ASSERT_TRUE(waitUntil([&] { return f.events.newWindowRequests == 1; }));
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(openPopup(), nullptr);

    f.events.cancelNewWindow = false;
    f.js("pop()");
    ASSERT_TRUE(waitUntil([&] { return openPopup() != nullptr; }));
    qt::QtPopupWindow* popup = openPopup();
    QPointer<qt::QtPopupWindow> guard(popup);
    EXPECT_EQ(popup->page()->profile(), qt::webProfile());
    auto* address = popup->findChild<QLineEdit*>("popupAddress");
    ASSERT_NE(address, nullptr);
    EXPECT_TRUE(address->isReadOnly());
    EXPECT_TRUE(waitUntil([&] { return address->text() == f.server().address("/child"); }))
        << address->text().toStdString();
    EXPECT_TRUE(waitUntil([&] { return popup->windowTitle() == "Child"; }));

    // The pop-up's own window.close() closes the pop-up, not the browser window.
    popup->page()->runJavaScript("window.close()");
    EXPECT_TRUE(waitUntil([&] { return guard.isNull(); }));
    ASSERT_FALSE(f.events.closing.empty());
    EXPECT_TRUE(f.events.closing.back());
    EXPECT_TRUE(f.window->isVisible());
}

TEST_F(WebViewTest, RendererCrashShowsMessageAndReloadRecovers) {
    ASSERT_TRUE(f.load("/first"));
    const qint64 pid = f.host()->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    QWidget* panel = f.host()->crashPanel();
    ASSERT_TRUE(waitUntil([&] { return panel->isVisible(); }));
    EXPECT_FALSE(f.view->Busy());
    EXPECT_EQ(panel->geometry(), f.host()->rect());

    const int done = f.events.documentComplete;
    auto* reload = panel->findChild<QPushButton*>("crashReload");
    ASSERT_NE(reload, nullptr);
    reload->click();
    EXPECT_TRUE(waitUntil([&] { return f.events.documentComplete > done && !f.view->Busy(); }));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(readyStateOf(*f.view).value_or(""), "complete");
    EXPECT_EQ(f.view->LocationName(), "First Page");
}

}  // namespace
