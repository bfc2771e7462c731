// What a page asks of its window, against the real engine: downloads,
// logins, permissions and certificate errors. The dialogs are answered
// through the dialog hook in place of the user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

#include "WebViewFixture.h"
#include "platform/qt/QtDownloadBar.h"
#include "platform/qt/QtDownloadItem.h"
#include "platform/qt/QtLoginDialog.h"
#include "platform/qt/QtNotificationToast.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtPopupWindow.h"
#include "platform/qt/QtTexts.h"

using namespace corvano;
using namespace corvano::test;
namespace pd = corvano::qt::pagedialogs;

namespace {

// Answers as told and records what it was asked.
struct AskedEvents : RecordingEvents {
    std::string downloadFolder, suggestedName, proposedPath;
    std::vector<std::pair<std::string, WebPermission>> permissions;
    bool allow = false;
    std::vector<std::pair<std::string, CertificateProblem>> certificates;
    bool goOn = false;

    void Web_DownloadBegin(const std::string& folder, const std::string& name, std::string& proposed) override {
        downloadFolder = folder;
        suggestedName = name;
        proposed = proposedPath;
    }
    void Web_PermissionRequest(const std::string& site, WebPermission what, std::function<void(bool)> a) override {
        permissions.emplace_back(site, what);
        a(allow);
    }
    void Web_CertificateError(const std::string& site, CertificateProblem p, std::function<void(bool)> g) override {
        certificates.emplace_back(site, p);
        g(goOn);
    }
};

QByteArray bytes(int n) {
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i) b[i] = char(QRandomGenerator::global()->bounded(256));
    return b;
}

QByteArray page(const QByteArray& title, const QByteArray& body = {}, const QByteArray& script = {}) {
    return "<!doctype html><html><head><title>" + title + "</title></head><body>" + body +
           (script.isEmpty() ? QByteArray() : "<script>" + script + "</script>") + "</body></html>";
}

class WebRequestsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Texts as their numbers, so each can be told apart.
        qt::QtTexts::instance()->setLookup([](int n) { return "T" + std::to_string(n) + " %1 %2"; });
        f.view->setEvents(&events);
        ASSERT_TRUE(load("/first"));
    }
    void TearDown() override {
        pd::setDialogHook({});
        qt::QtTexts::instance()->setLookup(nullptr);
    }
    bool load(const QString& path) {
        const int before = events.documentComplete;
        f.view->Navigate(WebViewFixture::server().address(path).toStdString());
        return waitUntil([&] { return events.documentComplete > before && !f.view->Busy(); }, 15000);
    }
    QStringList filesIn(const QString& dir) const { return QDir(dir).entryList(QDir::Files); }
    qt::QtDownloadBar* bar() const { return f.host()->downloadBar(); }
    // The save dialog proposes its path, then the file is saved under `name`.
    void saveAs(const QString& name) {
        pd::setDialogHook([this, name](QDialog& d) {
            auto* fd = qobject_cast<QFileDialog*>(&d);
            if (!fd) return int(QDialog::Rejected);
            proposedInDialog = fd->selectedFiles().value(0);
            fd->selectFile(folder.filePath(name));
            return int(QDialog::Accepted);
        });
    }
    // An attachment served at `path` under `name`; the dialog proposes it in the test's folder.
    void serveDownload(const QString& path, const QString& name, const QByteArray& body,
                       const QByteArray& type = "application/octet-stream", bool stall = false) {
        LocalHttpServer::Route r;
        r.body = body;
        r.contentType = type;
        r.headers = "Content-Disposition: attachment; filename=\"" + name.toUtf8() + "\"\r\n";
        r.stall = stall;
        WebViewFixture::server().addRoute(path, r);
        events.proposedPath = folder.filePath(name).toStdString();
    }
    bool titleIs(const std::string& title) {
        return waitUntil([&] { return f.view->LocationName() == title && !f.view->Busy(); }, 15000);
    }

    WebViewFixture f;
    AskedEvents events;
    QTemporaryDir folder;
    QString proposedInDialog;
};

}  // namespace

TEST_F(WebRequestsTest, ADownloadAsksWhereAndReachesItsFileWithTheRightBytes) {
    const QByteArray data = bytes(3 << 20);
    serveDownload("/report", "report.bin", data);
    saveAs("saved.bin");

    f.view->Navigate(WebViewFixture::server().address("/report").toStdString());
    ASSERT_TRUE(waitUntil([&] { return !bar()->items().isEmpty(); }));
    EXPECT_EQ(events.suggestedName, "report.bin");
    EXPECT_FALSE(events.downloadFolder.empty());
    EXPECT_EQ(proposedInDialog, folder.filePath("report.bin")) << "the dialog starts on the proposed path";
    qt::QtDownloadItem* item = bar()->items().first();
    ASSERT_TRUE(waitUntil([&] { return item->state() == qt::QtDownloadItem::State::Done; }, 20000));

    QFile saved(folder.filePath("saved.bin"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll() == data);
    EXPECT_EQ(filesIn(folder.path()), QStringList{"saved.bin"}) << "no partial file left";
    EXPECT_TRUE(item->text().startsWith("T363 saved.bin"));
    EXPECT_TRUE(item->findChild<QPushButton*>("downloadOpen")->isVisibleTo(item));
    EXPECT_TRUE(item->findChild<QPushButton*>("downloadFolder")->isVisibleTo(item));
    EXPECT_EQ(events.statuses.back().rfind("T363 saved.bin", 0), 0u) << "the caption says it is done";
    EXPECT_EQ(f.view->LocationName(), "First Page") << "the page stays";
}

TEST_F(WebRequestsTest, ACancelledOrAbandonedDownloadLeavesNoFile) {
    serveDownload("/big", "big.zip", bytes(4 << 20), "application/zip", true);
    saveAs("big.zip");

    auto startOne = [&]() -> qt::QtDownloadItem* {
        const int before = int(bar()->items().size());
        f.view->Navigate(WebViewFixture::server().address("/big").toStdString());
        if (!waitUntil([&] { return bar()->items().size() > before; })) return nullptr;
        qt::QtDownloadItem* item = bar()->items().last();
        if (!waitUntil([&] { return item->receivedBytes() > 0; }, 15000)) return nullptr;
        return item;
    };
    qt::QtDownloadItem* item = startOne();
    ASSERT_TRUE(item);
    EXPECT_TRUE(waitUntil([&] { return f.host()->progressLine()->isVisible(); })) << "progress on the window's line";
    EXPECT_TRUE(waitUntil([&] { return events.statuses.back().rfind("T362 big.zip", 0) == 0; }))
        << "and in the caption";
    EXPECT_FALSE(QFile::exists(folder.filePath("big.zip"))) << "nothing under the final name while it runs";

    item->findChild<QPushButton*>("downloadCancel")->click();
    EXPECT_EQ(item->state(), qt::QtDownloadItem::State::Cancelled);
    EXPECT_TRUE(item->text().startsWith("T365 big.zip"));
    EXPECT_TRUE(waitUntil([&] { return filesIn(folder.path()).isEmpty(); })) << filesIn(folder.path()).join(",").toStdString();

    ASSERT_TRUE(startOne());
    f.view.reset();  // the window closes while its download runs
    EXPECT_TRUE(waitUntil([&] { return filesIn(folder.path()).isEmpty(); })) << filesIn(folder.path()).join(",").toStdString();
}

TEST_F(WebRequestsTest, ADownloadWhoseDialogIsAnsweredLaterKeepsItsBytesOrLeavesNoFile) {
    const QByteArray data = bytes(1 << 20);
    serveDownload("/later.bin", "later.bin", data);
    auto openDialog = [&]() -> QFileDialog* {
        QFileDialog* found = nullptr;
        f.view->Navigate(WebViewFixture::server().address("/later.bin").toStdString());
        waitUntil([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "downloadDialog" && w->isVisible()) found = qobject_cast<QFileDialog*>(w);
            return found != nullptr;
        });
        return found;
    };
    // Declined: the bytes fetched meanwhile go.
    QFileDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
    EXPECT_TRUE(waitUntil([&] { return filesIn(folder.path()).isEmpty(); })) << filesIn(folder.path()).join(",").toStdString();
    EXPECT_TRUE(bar()->items().isEmpty());

    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    // Typed over the proposed name, as a user does.
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("kept.bin");
    static_cast<QDialog*>(dialog)->accept();
    ASSERT_TRUE(waitUntil([&] { return filesIn(folder.path()) == QStringList{"kept.bin"}; }, 20000))
        << filesIn(folder.path()).join(",").toStdString();
    QFile kept(folder.filePath("kept.bin"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll() == data);
}

TEST_F(WebRequestsTest, LoginGetsThePageWithTheRightPasswordAndTheRefusalOnCancel) {
    LocalHttpServer::Route r;
    r.body = page("Secret", "inside");
    r.basicAuth = "ana:s3cret";
    WebViewFixture::server().addRoute("/secret", r);
    int asked = 0;
    QString site, realm;
    bool hidden = false;
    bool answer = false;
    pd::setDialogHook([&](QDialog& d) {
        auto* login = qobject_cast<qt::QtLoginDialog*>(&d);
        if (!login) return int(QDialog::Rejected);
        ++asked;
        site = login->findChild<QLabel*>("loginSite")->text();
        realm = login->findChild<QLabel*>("loginRealm")->text();
        hidden = login->passwordEdit()->echoMode() == QLineEdit::Password;
        if (!answer) return int(QDialog::Rejected);
        login->userEdit()->setText("ana");
        login->passwordEdit()->setText("s3cret");
        return int(QDialog::Accepted);
    });

    f.view->Navigate(WebViewFixture::server().address("/secret").toStdString());
    ASSERT_TRUE(titleIs("Refused")) << "cancel shows the site's own refusal; asked " << asked;
    waitUntil([] { return false; }, 1000);  // time for a retry to show itself
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(WebViewFixture::server().hits("/secret"), 1) << "no request without the user's answer";
    EXPECT_EQ(site, WebViewFixture::server().address(""));
    EXPECT_EQ(realm, "Corvano test");
    EXPECT_TRUE(hidden);

    answer = true;
    f.view->Navigate(WebViewFixture::server().address("/secret").toStdString());
    ASSERT_TRUE(titleIs("Secret"));
    EXPECT_EQ(asked, 2);
}

TEST_F(WebRequestsTest, ALoginAnsweredLaterLoadsThePageAgainWithIt) {
    LocalHttpServer::Route r;
    r.body = page("Later", "inside");
    r.basicAuth = "bo:l4ter";
    WebViewFixture::server().addRoute("/later", r);
    f.view->Navigate(WebViewFixture::server().address("/later").toStdString());
    // The engine cannot wait for the user: the refusal shows under the open dialog.
    qt::QtLoginDialog* login = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* l = qobject_cast<qt::QtLoginDialog*>(w); l && l->isVisible()) login = l;
        return login != nullptr;
    }));
    ASSERT_TRUE(titleIs("Refused"));
    login->userEdit()->setText("bo");
    login->passwordEdit()->setText("l4ter");
    login->accept();
    ASSERT_TRUE(titleIs("Later"));
}

TEST_F(WebRequestsTest, APermissionRequestNamesItsSiteAndTheAnswerReachesThePage) {
    const QByteArray script = "Notification.requestPermission().then(function(p){document.title=p;});";
    WebViewFixture::server().addPage("/notify", page("asking", "", script));
    events.allow = true;
    ASSERT_TRUE(load("/notify"));
    ASSERT_TRUE(titleIs("granted"));
    ASSERT_EQ(events.permissions.size(), 1u);
    EXPECT_EQ(events.permissions[0].first, WebViewFixture::server().address("").toStdString());
    EXPECT_EQ(events.permissions[0].second, WebPermission::Notifications);
    f.js("new Notification('Build done', {body: 'All green'});");
    ASSERT_TRUE(waitUntil([] { return qt::QtNotificationToast::current() != nullptr; })) << "an allowed site's notice shows";
    EXPECT_EQ(qt::QtNotificationToast::current()->text(), "Build done\nAll green");
    qt::QtNotificationToast::current()->close();

    LocalHttpServer other;  // another port: another site
    ASSERT_TRUE(other.start());
    other.addPage("/notify", page("asking", "", script));
    events.allow = false;
    f.view->Navigate(other.address("/notify").toStdString());
    ASSERT_TRUE(titleIs("denied"));
    ASSERT_EQ(events.permissions.size(), 2u);
    EXPECT_EQ(events.permissions[1].first, other.address("").toStdString());

    // A pop-up's request is asked in the name of the window that opened it.
    events.allow = true;
    f.js("window.open('/notify')");
    ASSERT_TRUE(waitUntil([] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<qt::QtPopupWindow*>(w) && w->isVisible() && w->windowTitle() == "granted") return true;
        return false;
    }, 15000));
    EXPECT_EQ(events.permissions.size(), 3u);
}

TEST_F(WebRequestsTest, ACertificateOverrideLoadsThePageOnlyAfterTheUsersChoice) {
    LocalHttpServer tls;
    ASSERT_TRUE(tls.startTls(CORVANO_GUI_TEST_DATA "/localhost-cert.pem", CORVANO_GUI_TEST_DATA "/localhost-key.pem"));
    tls.addPage("/secure", page("Secure"));
    const std::string address = tls.address("/secure").toStdString();
    ASSERT_EQ(address.rfind("https://127.0.0.1:", 0), 0u);

    f.view->Navigate(address);
    ASSERT_TRUE(waitUntil([&] { return !events.certificates.empty() && !f.view->Busy(); }, 15000));
    waitUntil([] { return false; }, 500);  // time for a wrong load to show itself
    EXPECT_EQ(tls.hits("/secure"), 0) << "refused: the engine's error page, not the site";
    EXPECT_NE(f.view->LocationName(), "Secure");
    EXPECT_EQ(events.certificates[0].first, tls.address("").toStdString());
    EXPECT_EQ(events.certificates[0].second, CertificateProblem::Authority);

    events.goOn = true;
    f.view->Navigate(address);
    ASSERT_TRUE(titleIs("Secure"));
    EXPECT_EQ(tls.hits("/secure"), 1);
    EXPECT_EQ(events.certificates.size(), 2u);
}
