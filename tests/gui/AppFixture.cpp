#include "AppFixture.h"

#include <QCoreApplication>
#include <QWidget>
#include <filesystem>
#include <stdexcept>

#include "platform/qt/QtCommandBar.h"
#include "platform/qt/QtPageDialogs.h"
#include "platform/qt/QtWebView.h"
#include "platform/qt/QtWindow.h"

namespace corvano::test {

void AppFixture::SetUp() {
    ASSERT_TRUE(server.start());
    for (const auto& e : std::filesystem::directory_iterator(CORVANO_SHARE_DIR)) {
        const std::string name = e.path().filename().string();
        for (const std::string& prefix : shared)
            if (name.rfind(prefix, 0) == 0) std::filesystem::copy_file(e.path(), dir.path() + "/" + name);
    }
}

void AppFixture::TearDown() {
    qt::pagedialogs::setDialogHook({});
    stop();
}

frmMain& AppFixture::start(const QString& page, Place at) {
    std::string ini = " 1 \r\nenglish\r\n 1 \r\n 1 \r\n";
    for (int i = 0; i < 19; ++i) ini += " 0 \r\n";
    dir.write("/Data/Corvano.Ini", ini);
    std::string win;
    for (int v : {at.top, at.left, at.height, at.width}) win += " " + std::to_string(v) + " \r\n";
    for (int i = 0; i < 9; ++i) win += " 0 \r\n";
    dir.write("/Data/Corvano1.Ini", win + "\r\n" + server.address(page).toStdString() + "\r\n");
    app = std::make_unique<Application>(platform, dir.path());
    qt::setCommandBarModel(&app->bars);
    return Sub_Main(*app);
}

void AppFixture::stop() {
    if (!app) return;
    if (frmMain* m = mainForm(*app)) m->GO_MainExit();
    waitUntil([&] { return app->openWindows().empty(); }, 5000);
    QCoreApplication::processEvents();
    app.reset();
    qt::setCommandBarModel(nullptr);
    QCoreApplication::processEvents();
}

std::vector<frmStart*> AppFixture::browsers() {
    std::vector<frmStart*> list;
    for (Form* f : app->openWindows())
        if (f->role() == WindowRole::Browser && !f->unloaded()) list.push_back(static_cast<frmStart*>(f));
    return list;
}

frmStart& AppFixture::browser(int nth) {
    const std::vector<frmStart*> list = browsers();
    if (nth < 0 || static_cast<size_t>(nth) >= list.size()) throw std::runtime_error("no such browser window");
    return *list[static_cast<size_t>(nth)];
}

QWidget* AppFixture::widgetOf(Window& w) { return static_cast<qt::QtWindow&>(w).widget(); }

qt::QtWebHost* AppFixture::host(frmStart& b) { return static_cast<qt::QtWebView&>(b.Web()).widget(); }

QImage AppFixture::barImage(int index) {
    return static_cast<qt::QtCommandBar*>(main().cmdBar(index))->widget()->grab().toImage();
}

bool AppFixture::loadedAt(frmStart& b, const std::string& address, const std::string& title, int timeoutMs) {
    return waitUntil(
        [&] { return b.Web().LocationURL() == address && b.Web().LocationName() == title && !b.Web().Busy(); },
        timeoutMs);
}

}  // namespace corvano::test
