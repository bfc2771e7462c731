// Sub Main: start the platform, load and show the main window, run.
#include "platform/qt/QtPlatform.h"

int main(int argc, char* argv[]) { return corvano::qt::runCorvano(argc, argv); }
