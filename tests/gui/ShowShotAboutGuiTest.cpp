// Screenshots, the rotation and the About window on the real Qt platform.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <filesystem>

#include "AppFixture.h"
#include "platform/qt/QtScreenCapture.h"

using namespace corvano;
using corvano::test::waitUntil;

namespace {

class ShowShotAbout : public test::AppFixture {
protected:
    ShowShotAbout() { platform.noteDialogs = true; }
    void start(const QString& page) { AppFixture::start(page, {1500, 1500, 6000, 9000}); }
};

const QRgb kMagenta = qRgb(255, 0, 255);

}  // namespace

TEST_F(ShowShotAbout, ScreenshotIsAScreenSized24BitBmpShowingTheWindowsAndNeverAHalfFile) {
    server.addPage("/m.html", "<!doctype html><title>M</title><body style='margin:0;background:#f0f'></body>");
    start("/m.html");
    QWidget* w = widgetOf(browser().window());
    // The centre of the page, where the window stands on the screen.
    auto centre = [&] { return w->mapToGlobal(QPoint(w->width() / 2, w->height() * 2 / 3)); };
    ASSERT_TRUE(waitUntil([&] {
        const QImage now = qt::grabDesktop();
        const QPoint c = centre();
        return !now.isNull() && now.valid(c) && now.pixel(c) == kMagenta;
    })) << "the page is painted on the screen";

    // No folder can be made where a file stands: the failure is told, nothing written.
    dir.write("/Images", "a file");
    main().cmdBar_Click(3, app->bars.at("SCREENSHOT"));
    ASSERT_EQ(platform.noted.messages.size(), 1u);
    const std::string first = dir.file("/Images/Corvano000.bmp");
    EXPECT_EQ(platform.noted.messages[0].rfind("! Corvano: The screenshot could not be saved: " + first + "\n", 0), 0u)
        << platform.noted.messages[0];
    std::filesystem::remove(dir.file("/Images"));

    main().cmdBar_Click(3, app->bars.at("SCREENSHOT"));
    ASSERT_EQ(platform.noted.messages.size(), 2u);
    EXPECT_EQ(platform.noted.messages[1], "Corvano: Screenshot saved: " + first);
    QFile file(QString::fromStdString(first));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(30);
    ASSERT_EQ(head.size(), 30);
    EXPECT_EQ(head.left(2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(head[28]), 24u) << "24 bits a pixel";
    file.close();
    const QImage shot(QString::fromStdString(first), "BMP");
    EXPECT_EQ(shot.size(), QGuiApplication::primaryScreen()->geometry().size());
    EXPECT_EQ(shot.pixel(centre()), kMagenta) << "the browser window is in the picture";
    EXPECT_EQ(shot.pixel(shot.width() - 5, shot.height() - 5), qRgb(140, 170, 228)) << "the main window around it";

    // The writer itself never replaces a file and leaves no part behind.
    EXPECT_FALSE(qt::writeBmp(shot, QString::fromStdString(first)).ok);
    EXPECT_EQ(QImage(QString::fromStdString(first), "BMP"), shot);
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.file("/Images"))) files += (void(e), 1);
    EXPECT_EQ(files, 1u);
}

TEST_F(ShowShotAbout, RotationActivatesTheRaisedBrowserWindow) {
    server.addPage("/a.html", "<!doctype html><title>A</title><p>a");
    start("/a.html");
    main().cmdBar_Click(3, app->bars.at("NEW"));
    QWidget* first = widgetOf(browser(0).window());
    QWidget* second = widgetOf(browser(1).window());
    ASSERT_TRUE(waitUntil([&] { return first->isVisible() && second->isVisible(); }));
    second->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return second->isActiveWindow(); }));
    main().cmdBar_Click(5, app->bars.at("SHOW:30S"));
    main().Timer2_Timer();
    EXPECT_TRUE(waitUntil([&] { return first->isActiveWindow(); }));
    EXPECT_EQ(app->App.currentBrowser, browser(0).number());
}

TEST_F(ShowShotAbout, AboutIsModalTopmostCentredWithTheIconAndItsTexts) {
    server.addPage("/a.html", "<!doctype html><title>A</title><p>a");
    start("/a.html");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(widgetOf(main().window())->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());

    main().cmdBar_Click(4, app->bars.at("BRAMBLE"));
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeModalWidget() != nullptr; }));
    QWidget* seen = QApplication::activeModalWidget();
    ASSERT_TRUE(waitUntil([&] { return seen->isVisible(); }));
    const bool modal = seen->isModal();
    const bool topmost = seen->windowFlags() & Qt::WindowStaysOnTopHint;
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    const bool centred = (seen->frameGeometry().center() - screenCentre).manhattanLength() <= 4;
    QStringList texts;
    for (QLabel* l : seen->findChildren<QLabel*>())
        if (l->isVisible()) texts << l->text();
    for (QPushButton* b : seen->findChildren<QPushButton*>()) texts << b->text();
    seen->close();
    ASSERT_NE(seen, nullptr);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(topmost);
    EXPECT_TRUE(centred);
    EXPECT_TRUE(texts.contains("Corvano"));
    EXPECT_TRUE(texts.contains("Version " CORVANO_PROJECT_VERSION)) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains("Help"));
    EXPECT_TRUE(texts.contains("www.corvano.net"));
    EXPECT_TRUE(waitUntil([&] {
        for (Form* f : app->openWindows())
            if (f->role() == WindowRole::About) return false;
        return true;
    })) << "closing unloads it";
}
