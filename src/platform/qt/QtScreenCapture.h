#pragma once

#include <QImage>

#include "platform/ScreenCapture.h"

namespace corvano::qt {

// Every screen of the desktop as one picture, straight from the window
// system; a null image when it cannot be read.
QImage grabDesktop();

class QtScreenCapture : public ScreenCapture {
public:
    CaptureResult saveScreenAsBmp(const std::string& path) override;
};

}  // namespace corvano::qt
