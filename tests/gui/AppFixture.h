#pragma once

// The whole application in this process on the real Qt platform, with pages
// from a local server and a fresh application folder for each test.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestUtil.h"
#include "LocalHttpServer.h"
#include "app/Application.h"
#include "browser/frmStart.h"
#include "fakes/TempFolder.h"
#include "mainwin/frmMain.h"
#include "platform/qt/QtPlatform.h"

class QWidget;

namespace corvano::qt {
class QtWebHost;
}

namespace corvano::test {

// Message boxes are noted instead of waiting for a user.
class NotingDialogs : public Dialogs {
public:
    void message(const std::string& text, const std::string& title, Done done) override {
        messages.push_back(title + ": " + text);
        if (done) done();
    }
    void warning(const std::string& text, const std::string& title, Done done) override {
        messages.push_back("! " + title + ": " + text);
        if (done) done();
    }
    std::vector<std::string> messages;
};

// Ending the last window must not end the test's event loop.
class TestPlatform : public qt::QtPlatform {
public:
    void quit() override { ++quits; }
    Dialogs& dialogs() override { return noteDialogs ? noted : qt::QtPlatform::dialogs(); }
    int quits = 0;
    bool noteDialogs = false;
    NotingDialogs noted;
};

// Window 1's place in twips.
struct Place {
    int top = 600, left = 60, height = 6000, width = 9000;
};

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Window 1 comes back on the server's page, at the place.
    frmMain& start(const QString& page, Place at = {});
    // Ends the application and waits until its windows are gone.
    void stop();

    frmMain& main() { return *mainForm(*app); }
    // Browser windows still loaded, in load order.
    std::vector<frmStart*> browsers();
    frmStart& browser(int nth = 0);
    static QWidget* widgetOf(Window& w);
    static QWidget* widgetOf(Form& f) { return widgetOf(f.window()); }
    static qt::QtWebHost* host(frmStart& b);
    QImage barImage(int index);
    // Loaded when the address, the page's title and the document all say so.
    static bool loadedAt(frmStart& b, const std::string& address, const std::string& title, int timeoutMs = 10000);
    bool loaded(frmStart& b, const QString& path, const std::string& title) {
        return loadedAt(b, server.address(path).toStdString(), title);
    }

    // Files of the share folder copied into the application folder, by how their names begin.
    std::vector<std::string> shared = {"Lang_"};
    TempFolder dir;
    LocalHttpServer server;
    TestPlatform platform;
    std::unique_ptr<Application> app;
};

}  // namespace corvano::test
