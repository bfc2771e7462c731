#include <gtest/gtest.h>

#include "browser/WindowOptions.h"
#include "fakes/TempFolder.h"

using namespace corvano;

TEST(WindowOptions, ZoomRoundTripsAndStepsStayInRange) {
    corvano::test::TempFolder dir;
    const std::string file = dir.file("/Corvano3.Opt");
    WindowOptions zoomed;
    zoomed.zoomPercent = 175;
    ASSERT_TRUE(saveWindowOptions(file, zoomed));
    EXPECT_EQ(readWindowOptions(file).zoomPercent, 175);
    EXPECT_EQ(dir.read("/Corvano3.Opt"), "version=1\r\nzoom=175\r\n");

    // Up and down from every step and from values between them.
    for (int z = kZoomMin; z <= kZoomMax; ++z) {
        const int up = zoomStep(z, 1), down = zoomStep(z, -1);
        EXPECT_TRUE(up > z || z == kZoomMax) << z;
        EXPECT_TRUE(down < z || z == kZoomMin) << z;
        EXPECT_LE(up, kZoomMax);
        EXPECT_GE(down, kZoomMin);
        EXPECT_EQ(zoomStep(zoomStep(up, -1), 1), up) << "steps are stable " << z;
    }
    EXPECT_EQ(zoomStep(100, 1), 110);
    EXPECT_EQ(zoomStep(100, -1), 90);
}

TEST(WindowOptions, HostileFilesReadAsNoOptions) {
    corvano::test::TempFolder dir;
    const std::string file = dir.file("/Corvano1.Opt");
    EXPECT_EQ(readWindowOptions(file).zoomPercent, 100) << "missing";
    const std::string cases[] = {
        "",                                 // empty
        "zoom=150\r\n",                     // no version line
        "version=0\r\nzoom=150\r\n",        // no such version
        "version=x\r\nzoom=150\r\n",
        "version=1\r\nzoom=5000\r\n",       // out of range
        "version=1\r\nzoom=-150\r\n",
        "version=1\r\nzoom=150%\r\n",       // not a whole number
        "version=1\r\nzoom=99999999999999999999\r\n",
        "version=1\r\nzoom\r\n",
        std::string("version=1\r\nzoom=1\0" "50\r\n", 20),
        "\xff\xfe\x00v\x00" "e\x00r",       // binary
        "version=1\r\n" + std::string(70000, 'z') + "\r\nzoom=150\r\n",  // far too big to be ours
    };
    for (const std::string& c : cases) {
        dir.write("/Corvano1.Opt", c);
        EXPECT_EQ(readWindowOptions(file).zoomPercent, 100) << testing::PrintToString(c);
    }
    // A later version's file: the known keys still read, the unknown ones are skipped.
    dir.write("/Corvano1.Opt", "version=2\nsomething=else\n zoom = 67 \n");
    EXPECT_EQ(readWindowOptions(file).zoomPercent, 67);
}

TEST(WindowOptions, LayoutKeysRoundTripAndUnknownKeysAreKept) {
    corvano::test::TempFolder dir;
    const std::string file = dir.file("/Corvano2.Opt");
    dir.write("/Corvano2.Opt", "version=1\r\nzoom=110\r\nrefresh=30\r\nfullscreen=1\r\nbars=0\r\nscreen=DP-2\r\n"
                               "screenrect=1920,0,1280,1024\r\nplace=3000,-20,600,400\r\nlater=x=y\r\n");
    WindowOptions o = readWindowOptions(file);
    EXPECT_TRUE(o.fullScreen);
    EXPECT_FALSE(o.barsShown);
    EXPECT_EQ("DP-2", o.screen);
    EXPECT_EQ((Rect{1920, 0, 1280, 1024}), o.screenRect);
    EXPECT_EQ((Rect{3000, -20, 600, 400}), o.place) << "no 16-bit limit, and off the monitor's edge is a place";
    ASSERT_TRUE(saveWindowOptions(file, o));
    const std::string text = dir.read("/Corvano2.Opt");
    EXPECT_NE(std::string::npos, text.find("refresh=30\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("later=x=y\r\n")) << text;
    EXPECT_EQ(readWindowOptions(file).place, o.place);

    // A place without its monitor, or a broken one, is no place.
    for (const char* broken : {"place=1,2,3,4\r\n", "screen=A\r\nscreenrect=0,0,0,0\r\nplace=1,2,3,4\r\n",
                               "screen=A\r\nscreenrect=0,0,9,9\r\nplace=1,2,-3,4\r\n",
                               "screen=A\r\nscreenrect=0,0,9,9\r\nplace=1,2,3\r\n",
                               "screen=A\r\nscreenrect=0,0,9,9\r\nplace=1,2,3,4,5\r\n"}) {
        dir.write("/Corvano2.Opt", std::string("version=1\r\n") + broken);
        EXPECT_FALSE(readWindowOptions(file).hasPlace()) << broken;
    }
    // A monitor's name never breaks the file's lines.
    o.screen = "A\r\nzoom=500";
    ASSERT_TRUE(saveWindowOptions(file, o));
    EXPECT_EQ(110, readWindowOptions(file).zoomPercent);
}
