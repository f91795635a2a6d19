#include "preview/Picture.h"

#include "platform/FileNames.h"
#include "platform/Twips.h"
#include "preview/Metafile.h"
#include "preview/PictureFile.h"
#include "platform/PictureBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace preview {
namespace {

// Larger metafiles are not drawings anyone previews; reading them would only cost memory.
constexpr qint64 kLargestMetafile = 64 * 1024 * 1024;

PictureError loadError(const QString &path)
{
    return PictureError(481, QStringLiteral("LoadPicture"), QStringLiteral("Invalid picture: ") + path);
}

int toHimetric(int pixels, double perPixel)
{
    return int(std::lround(pixels * perPixel));
}

// Icons hold several sizes; the picture is the one the desktop shows icons at.
void pickIconImage(QImageReader &reader)
{
    int best = -1;
    int bestArea = -1;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize size = reader.size();
        if (size == QSize(32, 32)) {
            best = i;
            break;
        }
        if (size.width() * size.height() > bestArea) {
            bestArea = size.width() * size.height();
            best = i;
        }
    }
    if (best >= 0)
        reader.jumpToImage(best);
}

}  // namespace

// Qt refuses to decode more than 128 MB into one image, which stops the real
// pictures of 8000 x 8000 pixels as well as decompression bombs. The header check
// above stops the bombs; the toolkit's own limit is raised to what the largest
// picture allowed needs.
void allowLargestPictures()
{
    static const bool raised = [] {
        constexpr qint64 kBytesPerPixel = 4;
        const int megabytes = int(kLargestPicturePixels * kBytesPerPixel / (1024 * 1024)) + 1;
        QImageReader::setAllocationLimit(std::max(QImageReader::allocationLimit(), megabytes));
        return true;
    }();
    (void)raised;
}

void quietenPictureReports()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
}

double himetricPerPixelX()
{
    return platform::twipsPerPixelX() * 2540.0 / 1440.0;
}

double himetricPerPixelY()
{
    return platform::twipsPerPixelY() * 2540.0 / 1440.0;
}

Picture Picture::fromImage(const QImage &image)
{
    // A raster made for a high-density screen covers fewer logical pixels than it has.
    const QSizeF logical = image.deviceIndependentSize();
    Picture p;
    p.image_ = image;
    p.Width = toHimetric(qRound(logical.width()), himetricPerPixelX());
    p.Height = toHimetric(qRound(logical.height()), himetricPerPixelY());
    return p;
}

QImage Picture::toImage(int longestSide) const
{
    if (!vector_)
        return image_;
    const QSizeF natural(Width / himetricPerPixelX(), Height / himetricPerPixelY());
    if (natural.isEmpty())
        return {};
    const QSize size = (natural.width() > longestSide || natural.height() > longestSide)
                           ? natural.scaled(longestSide, longestSide, Qt::KeepAspectRatio).toSize()
                           : natural.toSize();
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter, QRectF(QPointF(0, 0), size));
    return image;
}

Picture Picture::rasterised(QSize pixels) const
{
    if (!vector_ || pixels.isEmpty())
        return *this;
    Picture raster;
    raster.Width = Width;
    raster.Height = Height;
    raster.fromDrawing_ = true;
    raster.image_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    raster.image_.fill(Qt::transparent);
    QPainter painter(&raster.image_);
    painter.setRenderHint(QPainter::Antialiasing);
    vector_->render(&painter, QRectF(QPointF(0, 0), pixels));
    return raster;
}

void Picture::draw(QPainter &painter, const QRectF &target) const
{
    if (vector_) {
        vector_->render(&painter, target);
    } else if (!image_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image_);
    }
}

Picture LoadPicture(const QString &path, QSize showSize, const Interrupted &interrupted)
{
    if (path.isEmpty())
        return {};
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("emf") || suffix == QLatin1String("wmf")) {
        QFile file;
        if (!platform::openRegularFile(path, file) || file.size() > kLargestMetafile)
            throw loadError(path);
        const QByteArray bytes = file.read(file.size());
        const MetafileDrawing drawing =
            convertInHelper(bytes, suffix == QLatin1String("emf") ? MetafileKind::Emf : MetafileKind::Wmf,
                            metafileHelper(), 5000, interrupted);
        // Drawn only on the thread that loaded it, which also lets it go.
        auto renderer = std::make_shared<QSvgRenderer>(drawing.svg);
        if (drawing.svg.isEmpty() || !renderer->isValid() || drawing.himetric.isEmpty())
            throw loadError(path);
        Picture p;
        p.vector_ = std::move(renderer);
        p.Width = drawing.himetric.width();
        p.Height = drawing.himetric.height();
        return p;
    }

    PictureFile file(path, interrupted);
    if (!file.ok())
        throw loadError(path);
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    if (reader.format() == "ico")
        pickIconImage(reader);
    const QSize natural = reader.size();
    if (!natural.isValid() || natural.isEmpty() || qint64(natural.width()) * natural.height() > kLargestPicturePixels)
        throw loadError(path);
    allowLargestPictures();
    // Never decode more than is shown: a camera photo for a preview box is decoded
    // straight to the box (JPEG scales while it decodes).
    if (showSize.isValid() && !showSize.isEmpty() && natural.width() > showSize.width() &&
        natural.height() > showSize.height())
        reader.setScaledSize(showSize);
    QImage image = reader.read();
    if (image.isNull())
        throw loadError(path);
    Picture p;
    p.reduced_ = reader.scaledSize().isValid();
    p.image_ = std::move(image);
    p.Width = toHimetric(natural.width(), himetricPerPixelX());
    p.Height = toHimetric(natural.height(), himetricPerPixelY());
    return p;
}

void PaintPicture(PictureBox &box, const Picture &picture, double x1, double y1, double w1, double h1, double x2,
                  double y2, double w2, double h2, const QRegion &visible)
{
    if (picture.isEmpty())
        throw PictureError(91, QStringLiteral("PaintPicture"), QStringLiteral("No picture to paint"));
    if (w2 == 0 || h2 == 0 || w1 == 0 || h1 == 0)
        return;
    const double upx = box.unitsPerPixelX();
    const double upy = box.unitsPerPixelY();
    // The picture's own extent in the box's unit.
    const double twipsPerUnitX = box.scaleMode() == ScaleModes::Twips ? 1.0 : platform::twipsPerPixelX();
    const double twipsPerUnitY = box.scaleMode() == ScaleModes::Twips ? 1.0 : platform::twipsPerPixelY();
    const double extentW = picture.Width * 1440.0 / 2540.0 / twipsPerUnitX;
    const double extentH = picture.Height * 1440.0 / 2540.0 / twipsPerUnitY;
    const QRectF destination(x1 / upx, y1 / upy, w1 / upx, h1 / upy);
    const double sx = destination.width() / w2;
    const double sy = destination.height() / h2;

    QImage &canvas = box.canvas();
    QPainter painter(&canvas);
    painter.setClipRect(destination.normalized());
    if (!visible.isEmpty())
        painter.setClipRegion(visible, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(destination.x() - x2 * sx, destination.y() - y2 * sy);
    painter.scale(sx, sy);
    picture.draw(painter, QRectF(0, 0, extentW, extentH));
    painter.end();
    box.canvasChanged();
}

}  // namespace preview
