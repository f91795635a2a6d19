#pragma once

#include "platform/PictureBox.h"
#include "preview/PictureFile.h"

#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>

#include <memory>
#include <stdexcept>

class QSvgRenderer;

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
// as it is going to be shown. Metafiles keep their drawing and are drawn at any size.
class Picture {
public:
    Picture() = default;
    // A raster shown at its own size on the screen.
    static Picture fromImage(const QImage &image);

    bool isEmpty() const { return image_.isNull() && !vector_; }
    int Width = 0;   // HIMETRIC
    int Height = 0;  // HIMETRIC
    const QImage &image() const { return image_; }
    QSize decodedSize() const { return image_.size(); }
    bool isVector() const { return bool(vector_); }
    // Whether the picture can be drawn at `pixels` without losing detail: a
    // drawing always can, a raster when it was decoded at least that large or at
    // its own size.
    bool sharpAt(QSize pixels) const
    {
        if (fromDrawing_)
            return image_.size() == pixels;
        return vector_ || !reduced_ ||
               (image_.width() >= pixels.width() && image_.height() >= pixels.height());
    }
    // A drawing as a bitmap of exactly `pixels`, transparent where nothing is
    // drawn: what painting it at that size shows, made once, wherever it is
    // asked for, so that whoever paints it never replays the drawing. A raster
    // picture is returned as it is.
    Picture rasterised(QSize pixels) const;
    // The picture as a bitmap at its natural size on the screen; a drawing whose
    // natural size is longer than `longestSide` pixels is drawn at that length.
    QImage toImage(int longestSide = kLongestDrawnSide) const;
    // A metafile may declare any size; drawn larger than this it would only cost
    // memory and time.
    static constexpr int kLongestDrawnSide = 4096;
    // Draws the whole picture into `target` of the painter.
    void draw(class QPainter &painter, const QRectF &target) const;

private:
    friend Picture LoadPicture(const QString &, QSize, const Interrupted &);
    QImage image_;
    bool reduced_ = false;  // decoded smaller than its own size
    bool fromDrawing_ = false;  // a drawing made a bitmap at one size
    std::shared_ptr<QSvgRenderer> vector_;
};

// The most pixels a raster picture may have: a larger one is no picture, found
// from its header alone, before anything is decoded.
constexpr qint64 kLargestPicturePixels = 100'000'000;
// Lets the toolkit decode pictures up to that size (its own limit is lower).
void allowLargestPictures();
// A decode that a newer selection overtakes is stopped by failing its reads,
// which the JPEG reader reports as a damaged file on the console; files that are
// damaged show as no picture, quietly, all the same. Silences those reports.
void quietenPictureReports();

// Loads a JPG, BMP, GIF, ICO, PNG, EMF or WMF file. An empty path gives the empty
// picture. `showSize`, when given, is the largest pixel size the picture will be
// drawn at: a larger raster is decoded straight down to it. Throws PictureError,
// also when `interrupted` says the picture is no longer wanted.
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
