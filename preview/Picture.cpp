#include "preview/Picture.h"

#include "platform/FileNames.h"
#include "platform/Twips.h"
#include "preview/DecoderClient.h"
#include "preview/PictureFile.h"
#include "platform/PictureBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <cmath>

namespace preview {
namespace {

PictureError loadError(const QString &path)
{
    return PictureError(481, QStringLiteral("LoadPicture"), QStringLiteral("Invalid picture: ") + path);
}

int toHimetric(int pixels, double perPixel)
{
    return int(std::lround(pixels * perPixel));
}

}  // namespace

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

void Picture::draw(QPainter &painter, const QRectF &target) const
{
    if (!image_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image_);
    }
}

Picture LoadPicture(const QString &path, QSize showSize, const Interrupted &interrupted)
{
    if (path.isEmpty())
        return {};
    decoding::Request request;
    request.route = decoding::Route::Picture;
    const QString suffix = QFileInfo(path).suffix().toLower();
    request.metafile = suffix == QLatin1String("emf")   ? decoding::Metafile::Emf
                       : suffix == QLatin1String("wmf") ? decoding::Metafile::Wmf
                                                        : decoding::Metafile::None;
    if (showSize.isValid()) {
        request.boundWidth = showSize.width();
        request.boundHeight = showSize.height();
    }
    request.himetricPerPixelX = himetricPerPixelX();
    request.himetricPerPixelY = himetricPerPixelY();
    const std::optional<HelperPicture> decoded = decoderOfThisThread().decode(path, request, interrupted);
    if (!decoded || decoded->image.isNull())
        throw loadError(path);
    Picture p;
    p.image_ = decoded->image;
    p.reduced_ = decoded->reduced;
    p.fromDrawing_ = decoded->drawing;
    if (decoded->drawing) {
        p.Width = decoded->natural.width();
        p.Height = decoded->natural.height();
    } else {
        p.Width = toHimetric(decoded->natural.width(), himetricPerPixelX());
        p.Height = toHimetric(decoded->natural.height(), himetricPerPixelY());
    }
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
