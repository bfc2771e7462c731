// Logins on a wall against the real engine: a profile per window, session
// cookies across a restart, remembered HTTP logins and a page that turned
// into a login page. Pages and logins come from a local server.
#include <QApplication>
#include <QCoreApplication>
#include <QCheckBox>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QWebEngineView>
#include <filesystem>

#include "AppFixture.h"
#include "browser/PageCommands.h"
#include "platform/qt/QtLoginDialog.h"
#include "platform/qt/QtLoginStore.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtWebHost.h"

using namespace corvano;
using corvano::test::LocalHttpServer;
using corvano::test::waitUntil;
namespace pd = corvano::qt::pagedialogs;

namespace {

QByteArray page(const QByteArray& title, const QByteArray& body = {}) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

// The value of a request's cookie or query parameter.
QByteArray valueIn(const QByteArray& request, const QByteArray& start, char end) {
    const qsizetype at = request.indexOf(start);
    if (at < 0) return {};
    const qsizetype from = at + start.size();
    qsizetype to = from;
    while (to < request.size() && request[to] != end && request[to] != ' ' && request[to] != '\r') ++to;
    return request.mid(from, to - from);
}

class LoginsGuiTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        // "/login?user=NAME" logs in with a session cookie; "/me" names who is logged in.
        server.addHandler("/login", [](const QByteArray& request) {
            LocalHttpServer::Route r;
            const QByteArray user = valueIn(request, "?user=", '&');
            r.headers = "Set-Cookie: sid=" + user + "; Path=/; HttpOnly\r\n";
            r.body = page("in " + user);
            return r;
        });
        server.addHandler("/me", [](const QByteArray& request) {
            LocalHttpServer::Route r;
            const QByteArray user = valueIn(request, "Cookie: sid=", ';');
            r.body = page(user.isEmpty() ? "nobody" : user);
            return r;
        });
    }

    void use(frmStart& w, const std::string& profile) {
        CommandCall c = onWindow(w.number());
        c.address = profile;
        app->commands.run(profile.empty() ? "PAGE:SHAREDPROFILE" : "PAGE:PROFILE", c);
    }
    bool logIn(frmStart& w, const QByteArray& user) {
        const std::string url = server.address("/login?user=" + QString::fromLatin1(user)).toStdString();
        w.navigate(url);
        return loadedAt(w, url, "in " + user.toStdString(), 15000);
    }
    // The page's menu, opened with a right click on the page.
    QMenu* pageMenu(frmStart& w) {
        QWidget* surface = host(w)->view()->focusProxy();
        if (!surface || !waitUntil([&] { return surface->isVisible(); })) return nullptr;
        QMenu* menu = nullptr;
        // The renderer drops clicks that come before it is ready for input.
        for (int attempt = 0; attempt < 5 && !menu; ++attempt) {
            const QPointF at(20, 20);
            QMouseEvent press(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), Qt::RightButton,
                              Qt::RightButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, surface->mapToGlobal(at), Qt::RightButton,
                                Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(surface, &press);
            QCoreApplication::sendEvent(surface, &release);
            waitUntil([&] {
                for (QWidget* t : QApplication::topLevelWidgets())
                    if (t->objectName() == "pageMenu" && t->isVisible()) menu = qobject_cast<QMenu*>(t);
                return menu != nullptr;
            }, 2000);
        }
        return menu;
    }
    bool shows(frmStart& w, const std::string& title) {
        w.navigate(server.address("/me").toStdString());
        return loadedAt(w, server.address("/me").toStdString(), title, 15000);
    }
};

TEST_F(LoginsGuiTest, TwoProfilesKeepTwoAccountsApartAndOneProfileSharesOne) {
    start("/me");
    frmStart& one = browser(0);
    frmStart* two = openBrowserWindow(*app, server.address("/me").toStdString());
    ASSERT_TRUE(two);
    ASSERT_TRUE(loaded(one, "/me", "nobody"));
    // Window 1 from its page's menu: Profile, New profile..., a name.
    pd::setDialogHook([](QDialog& d) {
        auto* input = qobject_cast<QInputDialog*>(&d);
        if (!input) return int(QDialog::Rejected);
        input->setTextValue("team-a");
        return int(QDialog::Accepted);
    });
    QMenu* menu = pageMenu(one);
    ASSERT_TRUE(menu);
    auto* profiles = menu->findChild<QMenu*>("pageMenuProfile");
    ASSERT_TRUE(profiles);
    QAction* shared = profiles->actions().value(0);
    ASSERT_TRUE(shared);
    EXPECT_TRUE(shared->isChecked()) << "the shared profile is the window's own";
    QAction* make = nullptr;
    for (QAction* a : profiles->actions())
        if (a->text() == "New profile...") make = a;
    ASSERT_TRUE(make);
    make->trigger();
    menu->close();
    ASSERT_TRUE(waitUntil([&] { return one.profile() == "team-a"; }));
    use(*two, "team-b");
    ASSERT_TRUE(logIn(one, "ana"));
    ASSERT_TRUE(logIn(*two, "bo"));
    EXPECT_TRUE(shows(one, "ana"));
    EXPECT_TRUE(shows(*two, "bo"));
    EXPECT_TRUE(shows(*two, "bo")) << "again: neither login reached the other";

    // Window 2 joins window 1's profile: one jar, one account.
    use(*two, "team-a");
    EXPECT_TRUE(loadedAt(*two, server.address("/me").toStdString(), "ana", 15000));
    EXPECT_EQ(two->profile(), "team-a");
}

TEST_F(LoginsGuiTest, ASessionCookieIsSentAgainAfterARestart) {
    start("/me");
    use(browser(0), "kept");
    ASSERT_TRUE(logIn(browser(0), "cy"));
    ASSERT_TRUE(shows(browser(0), "cy"));
    stop();
    // The window comes back from its files, on its profile.
    start("/me");
    EXPECT_EQ(browser(0).profile(), "kept");
    EXPECT_TRUE(loaded(browser(0), "/me", "cy"));
}

TEST_F(LoginsGuiTest, ARememberedLoginIsSentWithoutADialogAndARefusedOneAsksOnce) {
    qt::QtLoginStore::instance().setFileOnly(true);
    LocalHttpServer::Route r;
    r.body = page("Secret");
    r.basicAuth = "ana:s3cret";
    server.addRoute("/secret", r);
    int asked = 0;
    QByteArray password = "s3cret";
    pd::setDialogHook([&](QDialog& d) {
        auto* login = qobject_cast<qt::QtLoginDialog*>(&d);
        if (!login) return int(QDialog::Rejected);
        ++asked;
        login->userEdit()->setText("ana");
        login->passwordEdit()->setText(QString::fromLatin1(password));
        login->rememberBox()->setChecked(true);
        return int(QDialog::Accepted);
    });
    start("/secret");
    ASSERT_TRUE(loaded(browser(0), "/secret", "Secret"));
    EXPECT_EQ(asked, 1);
    const QString file = qt::QtLoginStore::filePath();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(file); }));
    EXPECT_EQ(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());

    // A new run reads it from the file and sends it unasked.
    stop();
    qt::QtLoginStore::instance().dropMemory();
    start("/secret");
    EXPECT_TRUE(loaded(browser(0), "/secret", "Secret"));
    EXPECT_EQ(asked, 1);

    // The password changed on the site: refused once, asked once, the new one kept.
    r.basicAuth = "ana:n3w";
    server.addRoute("/secret", r);
    password = "n3w";
    stop();
    qt::QtLoginStore::instance().dropMemory();
    start("/secret");
    EXPECT_TRUE(loaded(browser(0), "/secret", "Secret"));
    EXPECT_EQ(asked, 2);
    stop();
    qt::QtLoginStore::instance().dropMemory();
    start("/secret");
    EXPECT_TRUE(loaded(browser(0), "/secret", "Secret"));
    EXPECT_EQ(asked, 2);
    qt::QtLoginStore::instance().setFileOnly(false);
}

TEST_F(LoginsGuiTest, APageSentToALoginPageIsReportedUntilItLoadsAgain) {
    server.addPage("/dash", page("Dash"));
    server.addPage("/signin", page("Sign in", "<form><input name=u></form>"));
    start("/dash");
    frmStart& w = browser(0);
    ASSERT_TRUE(loaded(w, "/dash", "Dash"));
    EXPECT_FALSE(w.loginRequired());

    // The session ran out: the site sends the wall to its login page.
    LocalHttpServer::Route away;
    away.status = 302;
    away.headers = "Location: /signin?next=/dash\r\n";
    server.addRoute("/dash", away);
    w.Web().Refresh();
    ASSERT_TRUE(waitUntil([&] { return w.loginRequired(); }, 15000));
    EXPECT_NE(w.window().caption().find("login required"), std::string::npos) << w.window().caption();

    EXPECT_EQ(w.currentAddress(), server.address("/dash").toStdString()) << "the window's own page is kept";

    server.addPage("/dash", page("Dash"));
    w.navigate(server.address("/dash").toStdString());
    ASSERT_TRUE(waitUntil([&] { return !w.loginRequired(); }, 15000));
    EXPECT_EQ(w.window().caption().find("login required"), std::string::npos);

    // The same address now shows a login form in place of the dashboard.
    server.addPage("/dash", page("Dash", "<form><input type=password name=p></form>"));
    w.Web().Refresh();
    EXPECT_TRUE(waitUntil([&] { return w.loginRequired(); }, 15000));
}

}  // namespace

namespace {

TEST_F(LoginsGuiTest, AClientCertificateChosenOnceIsSentAgainAfterARestart) {
    LocalHttpServer tls;
    ASSERT_TRUE(tls.startTls(CORVANO_GUI_TEST_DATA "/localhost-cert.pem", CORVANO_GUI_TEST_DATA "/localhost-key.pem",
                             true));
    tls.addHandler("/who", [](const QByteArray& request) {
        LocalHttpServer::Route r;
        const QByteArray cn = valueIn(request, "X-Client-CN: ", '\r');
        r.body = page(cn.isEmpty() ? "anonymous" : cn);
        return r;
    });
    // The profile's certificate is given to the engine when the profile is made.
    std::filesystem::create_directories(dir.path() + "/Data/Profiles/certs/Certificates");
    std::filesystem::copy_file(CORVANO_GUI_TEST_DATA "/client-wall-a.pem",
                               dir.path() + "/Data/Profiles/certs/Certificates/wall-a.pem");
    int chosen = 0;
    pd::setDialogHook([&](QDialog& d) {
        // The test server's own certificate is accepted; the client certificate chosen.
        if (d.objectName() == "chooseDialog") {
            ++chosen;
            return int(QDialog::Accepted);
        }
        return int(d.inherits("corvano::qt::QtAskDialog") ? QDialog::Accepted : QDialog::Rejected);
    });
    const QString who = tls.address("/who");
    auto startOn = [&] {
        dir.write("/Data/Corvano1.Opt", "version=1\r\nprofile=certs\r\n");
        start("/none");
        browser(0).navigate(who.toStdString());
        return loadedAt(browser(0), who.toStdString(), "wall-a", 15000);
    };
    ASSERT_TRUE(startOn());
    EXPECT_EQ(chosen, 1);
    stop();
    EXPECT_TRUE(startOn());
    EXPECT_EQ(chosen, 1) << "kept for the host and profile";
}

}  // namespace
