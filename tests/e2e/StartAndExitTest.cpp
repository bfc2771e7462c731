#include <gtest/gtest.h>

#include "e2e/RealCorvano.h"

using namespace corvano::test;

TEST(EndToEnd, MainWindowCoversTheScreenAndEscapeSavesTheSession) {
    RealCorvano corvano;
    corvano.start();
    const std::string main = corvano.findWindow("^Corvano$");
    ASSERT_FALSE(main.empty()) << "the main window did not appear";
    const WindowGeometry screen = RealCorvano::screen();
    ASSERT_TRUE(eventually([&] {
        WindowGeometry g = RealCorvano::geometry(main);
        return g.x == 0 && g.y == 0 && g.width == screen.width && g.height == screen.height;
    })) << "main window does not cover the screen";

    RealCorvano::key(main, "Escape");
    const auto status = corvano.wait();
    ASSERT_TRUE(status.has_value()) << "Corvano did not end after Escape";
    EXPECT_EQ(*status, 0);
    std::string expected = " 1 \r\nenglish\r\n 1 \r\n 1 \r\n";
    for (int i = 0; i < 19; ++i) expected += " 0 \r\n";
    EXPECT_EQ(corvano.folder.read("/Data/Corvano.Ini"), expected);
}
