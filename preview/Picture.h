#pragma once

#include "platform/PictureBox.h"
#include "preview/PictureFile.h"

#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>

#include <stdexcept>

namespace preview {

using platform::PictureBox;
using platform::ScaleModes;

// A picture that could not be made; the number, source and description of the failure.
class PictureError : public std::runtime_error {
public:
    PictureError(int number, QString source, const QString &description)
        : std::runtime_error(description.toStdString()), Number(number), Source(std::move(source)),
          Description(description)
    {
    }
    int Number;
    QString Source;
    QString Description;
};

// A decoded picture. Width and Height are its natural size in hundredths of a
// millimetre; the raster it holds may be smaller than that, decoded only as large
// as it is going to be shown. A metafile is made a bitmap by the decoder helper,
// at exactly the size it is shown at (at its own size, at most 4,096 pixels a
// side, when none is given).
class Picture {
public:
    Picture() = default;
    // A raster shown at its own size on the screen.
    static Picture fromImage(const QImage &image);

    bool isEmpty() const { return image_.isNull(); }
    int Width = 0;   // HIMETRIC
    int Height = 0;  // HIMETRIC
    const QImage &image() const { return image_; }
    QSize decodedSize() const { return image_.size(); }
    // A drawing made a bitmap, transparent where nothing is drawn.
    bool fromDrawing() const { return fromDrawing_; }
    // Whether the picture can be drawn at `pixels` without losing detail: a
    // drawing when it was made exactly that size, a raster when it was decoded at
    // least that large or at its own size.
    bool sharpAt(QSize pixels) const
    {
        if (fromDrawing_)
            return image_.size() == pixels;
        return !reduced_ || (image_.width() >= pixels.width() && image_.height() >= pixels.height());
    }
    QImage toImage() const { return image_; }
    // Draws the whole picture into `target` of the painter.
    void draw(class QPainter &painter, const QRectF &target) const;

private:
    friend Picture LoadPicture(const QString &, QSize, const Interrupted &);
    QImage image_;
    bool reduced_ = false;  // decoded smaller than its own size
    bool fromDrawing_ = false;  // a drawing made a bitmap at one size
};

// Loads a JPG, BMP, GIF, ICO, EMF or WMF file, by what its content is (a PNG or
// anything else under such a name is no picture), in the decoder helper. An empty
// path gives the empty picture. `showSize`, when given, is the pixel size the
// picture will be drawn at: a larger raster is decoded straight down to it, a
// drawing made exactly that size. Throws PictureError, also when `interrupted`
// says the picture is no longer wanted.
Picture LoadPicture(const QString &path, QSize showSize = {}, const Interrupted &interrupted = {});

// Paints the source rectangle of the picture into the destination rectangle of
// the box's drawing layer, each axis scaled on its own; both rectangles are in the
// box's unit, and the picture's own extent in that unit is its HIMETRIC size so
// converted. A non-empty `visible` (pixels of the box) limits what is drawn.
// Throws PictureError for an empty picture.
void PaintPicture(PictureBox &box, const Picture &picture, double x1, double y1, double w1, double h1, double x2,
                  double y2, double w2, double h2, const QRegion &visible = {});

// Hundredths of a millimetre a screen pixel covers.
double himetricPerPixelX();
double himetricPerPixelY();

}  // namespace preview
