#include <gtest/gtest.h>

#include <set>

#include "app/Application.h"
#include "platform/CommandBars.h"
#include "fakes/FakePlatform.h"
#include "fakes/TempFolder.h"
#include "mainwin/Screenshot.h"
#include "mainwin/frmMain.h"

using namespace corvano;
using fake::FakePlatform;

TEST(ScreenshotName, ThreeLastDigitsAndTheNextFreeName) {
    EXPECT_EQ(screenshotPath("/app", 0), "/app/Images/Corvano000.bmp");
    EXPECT_EQ(screenshotDigits(7), "007");
    EXPECT_EQ(screenshotDigits(42), "042");
    EXPECT_EQ(screenshotDigits(1234), "234");
    EXPECT_EQ(screenshotDigits(1000), "000");

    std::set<std::string> taken = {screenshotPath("/app", 3), screenshotPath("/app", 4)};
    auto isTaken = [&](const std::string& p) { return taken.count(p) > 0; };
    auto name = freeScreenshotName("/app", 3, isTaken);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->counter, 5);
    EXPECT_EQ(name->path, screenshotPath("/app", 5));

    // At its limit the counter stays while the names still move on.
    taken = {screenshotPath("/app", 767)};
    name = freeScreenshotName("/app", 32767, isTaken);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->counter, 32767);
    EXPECT_EQ(name->path, screenshotPath("/app", 768));
    EXPECT_EQ(nextScreenshotCounter(32767), 32767);
    EXPECT_EQ(nextScreenshotCounter(41), 42);

    EXPECT_FALSE(freeScreenshotName("/app", 0, [](const std::string&) { return true; }));
}

namespace {

struct Screenshots : ::testing::Test {
    test::TempFolder dir;
    FakePlatform platform;
    std::unique_ptr<Application> app;
    frmMain* main = nullptr;

    Screenshots() {
        std::string lang;
        for (int n = 1; n <= 340; ++n) lang += "\"t" + std::to_string(n) + "\"\r\n";
        dir.write("/Lang_english.txt", lang);
        app = std::make_unique<Application>(platform, dir.path());
        main = &Sub_Main(*app);
    }
    void shoot() { main->cmdBar_Click(3, app->bars.at("SCREENSHOT")); }
    std::string lastMessage() const {
        return platform.dialog.messages.empty() ? std::string() : platform.dialog.messages.back();
    }
};

}  // namespace

TEST_F(Screenshots, NumberedFilesConfirmedAndNeverReplacedAfterANewWindow) {
    shoot();
    EXPECT_TRUE(dir.exists("/Images/Corvano000.bmp")) << "the folder is made first";
    EXPECT_EQ(lastMessage(), "Corvano: t192: " + dir.file("/Images/Corvano000.bmp"));
    shoot();
    EXPECT_TRUE(dir.exists("/Images/Corvano001.bmp"));

    // A new window starts the numbers again, but taken names are passed over.
    main->cmdBar_Click(3, app->bars.at("NEW"));
    EXPECT_EQ(app->App.screenshotCounter, 0);
    shoot();
    ASSERT_EQ(platform.capture.written.size(), 3u);
    EXPECT_EQ(platform.capture.written.back(), dir.file("/Images/Corvano002.bmp"));
    EXPECT_EQ(app->App.screenshotCounter, 3);
}

TEST_F(Screenshots, AFailedWriteOrNoFreeNameIsReportedAndWritesNothing) {
    platform.capture.error = "No space left on device";
    shoot();
    EXPECT_EQ(lastMessage(), "Corvano: t321: " + dir.file("/Images/Corvano000.bmp") + "\nNo space left on device");
    EXPECT_EQ(app->App.screenshotCounter, 0);
    EXPECT_EQ(platform.dialog.messages.size(), 1u) << "no confirmation after a failure";

    platform.capture.error.clear();
    for (int n = 0; n < 1000; ++n) dir.write("/Images/Corvano" + screenshotDigits(n) + ".bmp", "old");
    shoot();
    EXPECT_EQ(lastMessage(), "Corvano: t322: " + dir.file("/Images"));
    EXPECT_TRUE(platform.capture.written.empty());
    EXPECT_EQ(dir.read("/Images/Corvano000.bmp"), "old");
}

TEST_F(Screenshots, APictureThatComesLaterIsConfirmedThenAndACancelledOneSaysNothing) {
    platform.capture.hold = true;
    shoot();
    shoot();  // the first is still on its way: no second name, no second request
    EXPECT_TRUE(platform.dialog.messages.empty());
    ASSERT_EQ(platform.capture.held.size(), 1u);
    platform.capture.answer();
    EXPECT_EQ(lastMessage(), "Corvano: t192: " + dir.file("/Images/Corvano000.bmp"));
    EXPECT_EQ(app->App.screenshotCounter, 1);

    platform.capture.cancel = true;
    shoot();
    platform.capture.answer();
    EXPECT_EQ(platform.dialog.messages.size(), 1u) << "a cancelled screenshot shows nothing";
    EXPECT_EQ(app->App.screenshotCounter, 1);
    EXPECT_FALSE(dir.exists("/Images/Corvano001.bmp"));
    platform.capture.cancel = false;
    shoot();
    platform.capture.answer();
    EXPECT_EQ(lastMessage(), "Corvano: t192: " + dir.file("/Images/Corvano001.bmp")) << "and the next one works";
}
