// Screenshots through the desktop's portal: run by portal_test.sh against a
// fake portal, skipped elsewhere.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <optional>

#include "GuiTestUtil.h"
#include "platform/qt/QtScreenCapture.h"

using namespace corvano;

TEST(ScreenshotPortal, ThePortalsPictureBecomesTheBmpAndACancelWritesNothing) {
    const QString keep = qEnvironmentVariable("CORVANO_FAKE_PORTAL_KEEP");
    if (keep.isEmpty()) GTEST_SKIP() << "needs the fake portal of the screenshot_portal test";
    QTemporaryDir dir;
    qt::QtScreenCapture capture;
    auto shoot = [&](const QString& name) {
        std::optional<CaptureResult> result;
        capture.saveScreenAsBmp(dir.filePath(name).toStdString(), [&](const CaptureResult& r) { result = r; });
        EXPECT_TRUE(test::waitUntil([&] { return result.has_value(); }));
        return result.value_or(CaptureResult{});
    };
    auto pictures = [](const QString& folder) { return QDir(folder).entryList({"*.png"}, QDir::Files); };

    CaptureResult r = shoot("a.bmp");
    ASSERT_TRUE(r.ok) << r.reason;
    QFile bmp(dir.filePath("a.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_EQ(static_cast<unsigned char>(bmp.read(30)[28]), 24u) << "24 bits a pixel";
    const QImage shot(dir.filePath("a.bmp"), "BMP");
    EXPECT_EQ(shot.size(), QSize(40, 30));
    EXPECT_EQ(shot.pixel(5, 5), qRgb(10, 200, 30));
    EXPECT_TRUE(pictures(QDir::tempPath()).isEmpty()) << "the portal's temporary file is removed";

    r = shoot("b.bmp");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(QFile::exists(dir.filePath("b.bmp")));

    r = shoot("c.bmp");
    ASSERT_TRUE(r.ok) << r.reason;
    EXPECT_EQ(pictures(keep).size(), 1) << "a file the portal saved elsewhere is the user's";
}
