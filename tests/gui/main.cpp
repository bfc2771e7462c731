// The GUI tests share one application object, as the program does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/qt/QtWebEngineSetup.h"

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (at build time) needs no display.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // Test runs leave no web profile behind. The folder outlives the
    // application object: the engine writes its last preferences as that goes.
    QTemporaryDir webData;
    corvano::qt::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    corvano::qt::setWebStorageFolder(webData.path());
    corvano::qt::initWebEngine();
    const int rc = RUN_ALL_TESTS();
    corvano::qt::shutdownWebEngine();
    return rc;
}
