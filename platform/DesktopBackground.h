#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QPainter;
class QRect;

namespace platform {

// The desktop's wallpaper file as the desktop names it (GNOME, MATE, Cinnamon,
// Xfce or KDE settings); empty when none can be found, or when `stopped` says
// the answer is no longer wanted while the desktop is being asked.
QString desktopWallpaperPath(const std::function<bool()> &stopped);

// Paints the desktop's background into `area`: the wallpaper when there is one,
// scaled to cover the area, otherwise a quiet pattern of our own.
void paintDesktopBackground(QPainter &painter, const QRect &area, const QImage &wallpaper);

}  // namespace platform
