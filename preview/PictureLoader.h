#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

namespace platform {
class PictureBox;
}

// The loader for PNG files: a bitmap exactly the size of the box, the image
// stretched over all of it with a cubic filter, transparency blended over white.
// Failures are raised as preview::PictureError 999 from "GDI+ Module".
namespace Module2 {

// Gives the box (measured in twips) a new persistent picture of its inner size in pixels.
void LoadPictureIntoBox(const QString &path, platform::PictureBox &box);

// A width x height bitmap showing the decoded image stretched over `background`.
QImage LoadPictureScaled(const QString &path, int width, int height, QRgb background);

// A bitmap of the given size filled with one colour.
QImage CreateFilledBitmap(int width, int height, QRgb background);

// Draws the whole image stretched over the whole bitmap.
void DrawImageStretched(QImage &bitmap, const QImage &image);

}  // namespace Module2
