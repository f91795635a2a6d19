#pragma once

#include "preview/PictureFile.h"

#include <QImage>
#include <QRgb>
#include <QSize>
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

// The two halves of that: the file decoded at its own size, and a bitmap of
// `size` showing `image` stretched over `background`.
// The file is read by the decoder helper's PNG route: a PNG, and nothing else.
// A picture larger than `keepBound` (when given) comes back only that large.
QImage DecodePicture(const QString &path, const preview::Interrupted &interrupted = {}, QSize keepBound = {});
QImage RenderStretched(const QImage &image, QSize size, QRgb background);

// The size in pixels of the bitmap the loader makes for the box: its inner size,
// halves to even, in the screen's pixels. Empty for a box with no inner area.
QSize BitmapSizeFor(const platform::PictureBox &box);

// A bitmap of the given size filled with one colour.
QImage CreateFilledBitmap(int width, int height, QRgb background);

// Draws the whole image stretched over the whole bitmap.
void DrawImageStretched(QImage &bitmap, const QImage &image);

}  // namespace Module2
