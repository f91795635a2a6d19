#pragma once

#include <QGuiApplication>
#include <QScreen>

namespace platform {

// Twips (1/1440 inch) per screen pixel, from the screen's logical resolution:
// 15 at 96 dpi.
inline double twipsPerPixelX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

inline double twipsPerPixelY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

}  // namespace platform
