// Keys, zoom, the address box and the bars' accessibility in the whole
// application on the real Qt platform, with pages from a local server.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <functional>

#include "AppFixture.h"
#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtFindBar.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtWebHost.h"

using namespace corvano;
using corvano::test::waitUntil;

namespace {

QByteArray page(const QByteArray& title) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body><p>" + title +
           " and a and a</p></body></html>";
}

class KeysGui : public test::AppFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(AppFixture::SetUp());
        for (const char* p : {"/a.html", "/b.html", "/typed.html"}) server.addPage(p, page(QByteArray(p + 1, 1)));
        server.addPage("/slow.html", page("slow"), 8000);
    }

    // Window 1 comes back on /a.html.
    void start() {
        AppFixture::start("/a.html");
        ASSERT_TRUE(waitUntil([&] { return browser().Web().LocationName() == "a" && !browser().Web().Busy(); }));
        ASSERT_TRUE(activate(browser()));
    }
    int browserCount() { return static_cast<int>(browsers().size()); }
    static QLineEdit* addressEdit(frmStart& b) { return static_cast<qt::QtComboBox&>(b.Text1()).widget()->lineEdit(); }
    static qt::QtCommandBar* bar(CommandBarControl* c) { return static_cast<qt::QtCommandBar*>(c); }
    // Keys reach the active window only; without a window manager the request
    // may need repeating until the display has mapped the window.
    static bool activate(Form& f) {
        QWidget* w = widgetOf(f);
        return waitUntil([w] {
            if (QApplication::activeWindow() == w) return true;
            w->raise();
            w->activateWindow();
            return false;
        }, 5000);
    }
    // A key pressed where the keyboard is in the window, as the user would.
    static void press(Form& f, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* w = widgetOf(f);
        QWidget* target = QApplication::focusWidget() && QApplication::focusWidget()->window() == w
                              ? QApplication::focusWidget()
                              : w;
        QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    }
    // Two pages typed one after the other: back goes to the first.
    void twoPages(frmStart& b) {
        for (const char* p : {"/b.html", "/typed.html"}) {
            b.Text1().setText(server.address(p).toStdString());
            b.CommandGo(1);
            ASSERT_TRUE(at(b, p));
        }
    }
    // Loaded: the address, the page's title (its name's first letter) and the engine agree.
    bool at(frmStart& b, const QString& path) { return loaded(b, path, path.mid(1, 1).toStdString()); }

    const QString before = "/b.html", here = "/typed.html";
};

// Depth-first over what a screen reader sees, from a window down: the buttons of that name.
void findAll(QAccessibleInterface* from, const QString& name, std::vector<QAccessibleInterface*>& found) {
    if (!from) return;
    if (from->text(QAccessible::Name) == name && from->actionInterface()) found.push_back(from);
    for (int i = 0; i < from->childCount(); ++i) findAll(from->child(i), name, found);
}
std::vector<QAccessibleInterface*> buttonsNamed(QAccessibleInterface* from, const QString& name) {
    std::vector<QAccessibleInterface*> found;
    findAll(from, name, found);
    return found;
}
QAccessibleInterface* findByName(QAccessibleInterface* from, const QString& name) {
    const auto found = buttonsNamed(from, name);
    return found.empty() ? nullptr : found.front();
}

}  // namespace

TEST_F(KeysGui, EveryShortcutReachesItsCommandOnARealPage) {
    start();
    frmStart& b = browser();
    QLineEdit* edit = addressEdit(b);

    // The address box, selected, by any of the three keys.
    const std::pair<int, Qt::KeyboardModifiers> focusKeys[] = {
        {Qt::Key_L, Qt::ControlModifier}, {Qt::Key_D, Qt::AltModifier}, {Qt::Key_F6, Qt::NoModifier}};
    for (const auto& [key, mods] : focusKeys) {
        host(b)->view()->setFocus();
        edit->deselect();
        press(b, key, mods);
        EXPECT_TRUE(waitUntil([&] { return edit->hasFocus() && edit->selectedText() == edit->text(); }, 2000)) << key;
    }

    // Reloads the server sees.
    const std::pair<int, Qt::KeyboardModifiers> reloads[] = {
        {Qt::Key_F5, Qt::NoModifier}, {Qt::Key_R, Qt::ControlModifier}, {Qt::Key_F5, Qt::ControlModifier}};
    for (const auto& [key, mods] : reloads) {
        const int before = server.hits("/a.html");
        press(b, key, mods);
        EXPECT_TRUE(waitUntil([&] { return server.hits("/a.html") == before + 1; })) << key;
        ASSERT_TRUE(at(b, "/a.html"));
    }

    // Back and forward after two pages, by keys and by the mouse's buttons.
    twoPages(b);
    press(b, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(at(b, before));
    press(b, Qt::Key_Right, Qt::AltModifier);
    EXPECT_TRUE(at(b, here));
    QWidget* pageWidget = host(b)->view()->focusProxy() ? host(b)->view()->focusProxy() : host(b)->view();
    QTest::mouseClick(pageWidget, Qt::BackButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(at(b, before));
    QTest::mouseClick(pageWidget, Qt::ForwardButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(at(b, here));

    // The find bar, then the next match.
    press(b, Qt::Key_F, Qt::ControlModifier);
    qt::QtFindBar* find = host(b)->findBar();
    ASSERT_TRUE(waitUntil([&] { return find->isVisible(); }));
    QTest::keyClicks(find->edit(), "and");
    ASSERT_TRUE(waitUntil([&] { return find->countText().startsWith("1"); })) << find->countText().toStdString();
    press(b, Qt::Key_F3);
    EXPECT_TRUE(waitUntil([&] { return find->countText().startsWith("2"); })) << find->countText().toStdString();
    press(b, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(waitUntil([&] { return find->countText().startsWith("1"); })) << find->countText().toStdString();
    press(b, Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !find->isVisible(); })) << "Escape closes the find bar first";

    // Escape stops a page that is loading, and never ends the application.
    b.Web().Navigate(server.address("/slow.html").toStdString());
    ASSERT_TRUE(waitUntil([&] { return b.Web().Busy(); }));
    host(b)->view()->setFocus();
    press(b, Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !b.Web().Busy(); }, 4000));
    EXPECT_FALSE(mainForm(*app)->exiting());
    EXPECT_EQ(platform.quits, 0);

    // Zoom by keys and by the wheel, shown in the caption.
    press(b, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(host(b)->view()->zoomFactor(), 1.1);
    EXPECT_EQ(b.window().caption(), "Browser  N.  1 [Zoom 110 %]");
    QWheelEvent wheel(QPointF(20, 20), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(pageWidget, &wheel);
    EXPECT_DOUBLE_EQ(host(b)->view()->zoomFactor(), 1.25);
    press(b, Qt::Key_Minus, Qt::ControlModifier);
    press(b, Qt::Key_0, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(host(b)->view()->zoomFactor(), 1.0);

    // The source view in and out; the save and print dialogs, declined.
    press(b, Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return b.txtSource().visible(); }));
    press(b, Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return !b.txtSource().visible(); }));
    QStringList dialogs;
    qt::pagedialogs::setDialogHook([&](QDialog& d) {
        dialogs << d.metaObject()->className();
        return int(QDialog::Rejected);
    });
    press(b, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return dialogs.contains("QFileDialog"); })) << dialogs.join(",").toStdString();
    press(b, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return dialogs.contains("QPrintDialog"); })) << dialogs.join(",").toStdString();
    qt::pagedialogs::setDialogHook({});

    // A new window, then that one closed.
    press(b, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return browserCount() == 2; }));
    frmStart& second = browser(1);
    activate(second);
    press(second, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return browserCount() == 1; }));
    EXPECT_EQ(platform.quits, 0);

    // The tooltips name the keys.
    EXPECT_EQ(bar(&b.cmdBar(0))->button("REFRESH")->toolTip().toStdString(), app->bars.at("REFRESH").toolTip() + " (F5)");
}

TEST_F(KeysGui, ZoomComesBackAfterARestartAndABrokenOptionsFileReadsAsFullSize) {
    start();
    for (int i = 0; i < 2; ++i) press(browser(), Qt::Key_Plus, Qt::ControlModifier);
    ASSERT_EQ(browser().zoom(), 125);
    stop();
    // The window's place and monitor follow the zoom.
    EXPECT_EQ(dir.read("/Data/Corvano1.Opt").rfind("version=1\r\nzoom=125\r\n", 0), 0u);

    start();
    EXPECT_DOUBLE_EQ(host(browser())->view()->zoomFactor(), 1.25);
    stop();
    dir.write("/Data/Corvano1.Opt", "zoom=\x01\x02garbage");
    start();
    EXPECT_EQ(browser().zoom(), 100);
    EXPECT_DOUBLE_EQ(host(browser())->view()->zoomFactor(), 1.0);
}

TEST_F(KeysGui, TypingOffersTheMatchingHistoryAndCompletesInline) {
    start();
    frmStart& b = browser();
    const std::string typed = server.address("/typed.html").toStdString();
    for (const std::string& h : {typed, std::string("http://elsewhere.example/"), server.address("/b.html").toStdString()})
        b.addressHistory().add(h);
    QLineEdit* edit = addressEdit(b);

    // A click into the box from the page selects the whole address.
    host(b)->view()->setFocus();
    ASSERT_TRUE(waitUntil([&] { return !edit->hasFocus(); }, 2000));
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(waitUntil([&] { return edit->hasFocus() && edit->selectedText() == edit->text(); }, 2000));

    QTest::keyClicks(edit, "127.0.0.1");
    QCompleter* completer = static_cast<qt::QtComboBox&>(b.Text1()).completer();
    ASSERT_TRUE(waitUntil([&] { return completer->popup()->isVisible(); }, 2000));
    QStringList offered;
    for (int i = 0; i < completer->completionModel()->rowCount(); ++i)
        offered << completer->completionModel()->index(i, 0).data().toString();
    EXPECT_EQ(offered, QStringList({server.address("/b.html"), QString::fromStdString(typed)})) << "newest first";
    EXPECT_EQ(edit->text().toStdString(), "127.0.0.1" + server.address("/b.html").toStdString().substr(16));

    // Typed on to the other entry, completed inline; Enter goes there.
    QTest::keyClicks(edit, ":" + QString::number(server.port()) + "/t");
    EXPECT_EQ(edit->text().toStdString(), typed.substr(7));
    EXPECT_EQ(edit->selectedText(), "yped.html");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(at(b, "/typed.html"));
    EXPECT_EQ(b.history().back(), typed) << "Enter adds to the history as before";
}

TEST_F(KeysGui, AssistiveTechnologyFindsAndPressesEveryBarButton) {
    start();
    frmStart& b = browser();
    frmMain& main = *mainForm(*app);
    struct Bar {
        CommandBarControl* control;
        Form* owner;
    };
    for (const Bar& shown : {Bar{main.cmdBar(3), &main}, Bar{main.cmdBar(4), &main}, Bar{&b.cmdBar(0), &b},
                             Bar{&b.cmdBar(2), &b}}) {
        qt::QtCommandBar* control = bar(shown.control);
        QAccessibleInterface* tool = QAccessible::queryAccessibleInterface(control->widget());
        ASSERT_TRUE(tool);
        EXPECT_EQ(tool->role(), QAccessible::ToolBar);
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(widgetOf(*shown.owner));
        for (const Entry* entry : app->bars.bar(control->bar())->entries()) {
            const std::string& key = entry->key();
            if (entry->style() == entrystyle::Separator) continue;
            ASSERT_TRUE(control->button(key)) << key;
            QAccessibleInterface* button = QAccessible::queryAccessibleInterface(control->button(key));
            const QString name = button->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty()) << key;
            const auto named = buttonsNamed(window, name);
            EXPECT_NE(std::find(named.begin(), named.end(), button), named.end()) << key << " found by name";
            EXPECT_EQ(button->parent(), tool);
            const Entry& e = *entry;
            EXPECT_EQ(button->text(QAccessible::Description).toStdString(), e.toolTip()) << key;
            const bool menu = e.dropDown() && e.bar();
            EXPECT_EQ(button->role(), menu ? QAccessible::ButtonMenu : QAccessible::PushButton) << key;
            ASSERT_TRUE(button->actionInterface()) << key;
            EXPECT_TRUE(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
            EXPECT_EQ(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()),
                      menu);
            EXPECT_EQ(button->state().checked, e.checked()) << key;
        }
    }
    // Pressed as a screen reader presses: "New" opens a window, "Back" goes back.
    QAccessibleInterface* mainWindow = QAccessible::queryAccessibleInterface(widgetOf(main));
    QAccessibleInterface* newButton = findByName(mainWindow, QString::fromStdString(app->bars.at("NEW").caption()));
    ASSERT_TRUE(newButton);
    newButton->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(waitUntil([&] { return browserCount() == 2; }));

    twoPages(b);
    QAccessibleInterface* back =
        findByName(QAccessible::queryAccessibleInterface(widgetOf(b)), QString::fromStdString(app->bars.at("BACK").toolTip()));
    ASSERT_TRUE(back);
    back->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(at(b, before));
}

TEST_F(KeysGui, F10ArrowsEnterDownAndEscapeWorkTheBars) {
    start();
    frmStart& b = browser();
    activate(b);
    host(b)->view()->setFocus();
    qt::QtCommandBar* bar0 = bar(&b.cmdBar(0));
    press(b, Qt::Key_F10);
    ASSERT_TRUE(waitUntil([&] { return !bar0->focusedKey().empty(); }, 2000));
    EXPECT_EQ(bar0->focusedKey(), "BACK");
    press(b, Qt::Key_Right);
    press(b, Qt::Key_Right);
    EXPECT_EQ(bar0->focusedKey(), "REFRESH");
    const int before = server.hits("/a.html");
    press(b, Qt::Key_Return);
    EXPECT_TRUE(waitUntil([&] { return server.hits("/a.html") == before + 1; }));
    ASSERT_TRUE(at(b, "/a.html"));

    // Down on a drop-down opens its menu; Escape closes it, Escape again leaves the bar.
    while (bar0->focusedKey() != "EDIT") press(b, Qt::Key_Right);
    bool menuSeen = false;
    QTimer::singleShot(300, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuSeen = true;
            QTest::keyClick(popup, Qt::Key_Escape);
        }
    });
    press(b, Qt::Key_Down);
    EXPECT_TRUE(menuSeen);
    press(b, Qt::Key_Escape);
    EXPECT_EQ(bar0->focusedKey(), "");
    EXPECT_EQ(platform.quits, 0);

    // On the main window Escape in the bar leaves the bar, not the application.
    frmMain& main = *mainForm(*app);
    activate(main);
    press(main, Qt::Key_F10);
    qt::QtCommandBar* mainBar = bar(main.cmdBar(3));
    qt::QtCommandBar* corner = bar(main.cmdBar(4));
    ASSERT_TRUE(waitUntil([&] { return !mainBar->focusedKey().empty(); }, 2000));
    // Past the last button the arrows go on to the corner bar, and back.
    press(main, Qt::Key_End);
    const std::string last = mainBar->focusedKey();
    press(main, Qt::Key_Right);
    EXPECT_EQ(corner->focusedKey(), "BRAMBLE") << "the corner bar's first button";
    press(main, Qt::Key_Left);
    EXPECT_EQ(mainBar->focusedKey(), last);
    press(main, Qt::Key_Escape);
    EXPECT_FALSE(main.exiting());
    // Ctrl+N there too, as the "New" button's tooltip says.
    press(main, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return browserCount() == 2; }));
}


