#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace corvano::qt {

// 1440 twips per logical inch.
inline double twipsPerPixel() {
    const QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

inline int toPixels(int twips) { return static_cast<int>(std::lround(twips / twipsPerPixel())); }
inline int toTwips(int pixels) { return static_cast<int>(std::lround(pixels * twipsPerPixel())); }

}  // namespace corvano::qt
