// The GUI tests share one application object, as the program does.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/QtWebEngineSetup.h"

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    corvano::qt::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    corvano::qt::initWebEngine();
    const int rc = RUN_ALL_TESTS();
    corvano::qt::shutdownWebEngine();
    return rc;
}
