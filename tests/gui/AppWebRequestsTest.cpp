// The whole application against the real engine: the page's permission
// requests and its own menu, with pages from a local server.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWebEngineView>

#include "AppFixture.h"
#include "platform/qt/QtAskDialog.h"
#include "platform/qt/QtDownloadBar.h"
#include "platform/qt/QtDownloadItem.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtWebHost.h"

using namespace corvano;
using corvano::test::waitUntil;
namespace pd = corvano::qt::pagedialogs;

namespace {

class AppWebRequests : public test::AppFixture {
protected:
    bool loaded(frmStart& b, const std::string& address, const std::string& title) {
        return loadedAt(b, address, title, 15000);
    }
};

QByteArray page(const QByteArray& title, const QByteArray& body, const QByteArray& script = {}) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body style=\"margin:0\">" + body +
           (script.isEmpty() ? QByteArray() : "<script>" + script + "</script>") + "</body></html>";
}

QMenu* openPageMenu() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "pageMenu" && w->isVisible()) return qobject_cast<QMenu*>(w);
    return nullptr;
}

// Pop-up windows on screen that were not there before.
int newPopups(const QWidgetList& before) {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "popupWindow" && w->isVisible() && !before.contains(w)) ++n;
    return n;
}

QAction* entry(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text) return a;
    return nullptr;
}

}  // namespace

TEST_F(AppWebRequests, EachSiteIsAskedOnceWhicheverWindowItsPageIsIn) {
    const QByteArray script = "Notification.requestPermission().then(function(p){document.title=p;});";
    server.addPage("/a.html", page("A", "a"));
    server.addPage("/notify.html", page("asking", "", script));
    test::LocalHttpServer other;
    ASSERT_TRUE(other.start());
    other.addPage("/notify.html", page("asking", "", script));
    QStringList questions;
    pd::setDialogHook([&](QDialog& d) {
        auto* ask = qobject_cast<qt::QtAskDialog*>(&d);
        if (!ask) return int(QDialog::Rejected);
        questions << ask->text();
        // Yes to the first site, no to the other.
        return int(questions.size() == 1 ? QDialog::Accepted : QDialog::Rejected);
    });
    start("/a.html");
    frmStart& first = *browsers().at(0);
    ASSERT_TRUE(loaded(first, server.address("/a.html").toStdString(), "A"));

    first.Web().Navigate(server.address("/notify.html").toStdString());
    ASSERT_TRUE(loaded(first, server.address("/notify.html").toStdString(), "granted"));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], server.address("") + " asks to show notifications.");

    mainForm(*app)->cmdBar_Click(3, app->bars.at("NEW"));
    frmStart& second = *browsers().at(1);
    second.Web().Navigate(server.address("/notify.html").toStdString());
    ASSERT_TRUE(loaded(second, server.address("/notify.html").toStdString(), "granted"));
    second.Web().Navigate(other.address("/notify.html").toStdString());
    ASSERT_TRUE(loaded(second, other.address("/notify.html").toStdString(), "denied"));
    EXPECT_EQ(questions.size(), 2) << "once per site: " << questions.join(" | ").toStdString();
}

TEST_F(AppWebRequests, OpenLinkInNewWindowFromThePageMenuOpensWindowTwoOnTheLink) {
    server.addPage("/links.html",
                   page("Links", "<a href=\"/target.html\" style=\"display:block;width:400px;height:200px\">go</a>"));
    server.addPage("/target.html", page("Target", "target"));
    start("/links.html");
    frmStart& first = *browsers().at(0);
    ASSERT_TRUE(loaded(first, server.address("/links.html").toStdString(), "Links"));
    QWidget* surface = host(first)->view()->focusProxy();
    ASSERT_TRUE(surface);
    ASSERT_TRUE(waitUntil([&] { return surface->isVisible(); }));

    // The renderer drops clicks that come before it is ready for input, so
    // a click that brings no menu is repeated a few times.
    auto rightClick = [&](QPointF at) -> QMenu* {
        QMenu* menu = nullptr;
        for (int attempt = 0; attempt < 5 && !menu; ++attempt) {
            QMouseEvent press(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), Qt::RightButton,
                              Qt::RightButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, surface->mapToGlobal(at), Qt::RightButton,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(surface, &press);
            QCoreApplication::sendEvent(surface, &release);
            waitUntil([&] { return (menu = openPageMenu()) != nullptr; }, 2000);
        }
        return menu;
    };
    const QWidgetList before = QApplication::topLevelWidgets();
    // Beside the link: the page's entries run Corvano's own commands.
    QMenu* menu = rightClick(QPointF(surface->width() - 20, 20));
    ASSERT_TRUE(menu) << surface->width() << "x" << surface->height();
    EXPECT_TRUE(entry(menu, "Save as HTML...")) << "the window's save, with its caption";
    QAction* source = entry(menu, "View source");
    ASSERT_TRUE(source);
    app->App.lockAdvertising = 0;  // the engine's own source view would open a pop-up now
    source->trigger();
    menu->close();
    EXPECT_TRUE(waitUntil([&] { return first.txtSource().visible(); })) << "Corvano's own source view";
    EXPECT_EQ(newPopups(before), 0) << "not the engine's source window";

    ASSERT_TRUE(waitUntil([] { return openPageMenu() == nullptr; }));
    menu = rightClick(QPointF(40, 40));
    ASSERT_TRUE(menu);
    QAction* open = entry(menu, "Open link in new window");
    ASSERT_TRUE(open) << "the entry carries Corvano's own caption";
    open->trigger();
    menu->close();

    ASSERT_TRUE(waitUntil([&] { return browsers().size() == 2; }));
    frmStart& second = *browsers().at(1);
    EXPECT_EQ(second.number(), 2);
    ASSERT_TRUE(loaded(second, server.address("/target.html").toStdString(), "Target"));
    EXPECT_EQ(app->App.browserCount, 2);
    EXPECT_EQ(first.Web().LocationName(), "Links") << "the first window stays on its page";
    EXPECT_EQ(newPopups(before), 0) << "a numbered window, not a pop-up";
}

TEST_F(AppWebRequests, DownloadsInTwoWindowsAtOnceEachKeepToTheirOwnWindow) {
    for (const char* name : {"one", "two"}) {
        test::LocalHttpServer::Route r;
        r.body = QByteArray(2 << 20, name[0]);
        r.contentType = "application/octet-stream";
        r.headers = QByteArray("Content-Disposition: attachment; filename=\"") + name + ".bin\"\r\n";
        r.stall = true;  // both still running while the other starts
        server.addRoute(QString("/") + name, r);
    }
    server.addPage("/a.html", page("A", "a"));
    QTemporaryDir folder;
    pd::setDialogHook([&](QDialog& d) {
        auto* files = qobject_cast<QFileDialog*>(&d);
        if (!files) return int(QDialog::Rejected);
        files->selectFile(folder.filePath(QFileInfo(files->selectedFiles().value(0)).fileName()));
        return int(QDialog::Accepted);
    });
    start("/a.html");
    mainForm(*app)->cmdBar_Click(3, app->bars.at("NEW"));
    ASSERT_EQ(browsers().size(), 2u);
    browsers()[0]->Web().Navigate(server.address("/one").toStdString());
    browsers()[1]->Web().Navigate(server.address("/two").toStdString());

    auto items = [&](int n) { return host(*browsers()[n])->downloadBar()->items(); };
    ASSERT_TRUE(waitUntil([&] { return items(0).size() == 1 && items(1).size() == 1; }, 15000));
    EXPECT_EQ(QFileInfo(items(0).first()->finalPath()).fileName(), "one.bin");
    EXPECT_EQ(QFileInfo(items(1).first()->finalPath()).fileName(), "two.bin");
    for (int n : {0, 1})
        EXPECT_TRUE(waitUntil([&] { return items(n).first()->receivedBytes() > 0; }, 15000)) << n;
    EXPECT_EQ(items(0).first()->state(), qt::QtDownloadItem::State::Running);
    EXPECT_EQ(items(1).first()->state(), qt::QtDownloadItem::State::Running);
    stop();  // closing the windows cancels both
    EXPECT_TRUE(waitUntil([&] { return QDir(folder.path()).isEmpty(); }));
}
