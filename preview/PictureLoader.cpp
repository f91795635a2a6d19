#include "preview/PictureLoader.h"

#include "platform/FileNames.h"
#include "platform/Rounding.h"
#include "platform/Twips.h"
#include "preview/Picture.h"
#include "preview/DecoderClient.h"
#include "platform/PictureBox.h"
#include "preview/Resample.h"

#include <QFile>
#include <QPainter>

namespace Module2 {

QImage CreateFilledBitmap(int width, int height, QRgb background)
{
    QImage bitmap(width, height, QImage::Format_RGB32);
    bitmap.fill(background);
    return bitmap;
}

void DrawImageStretched(QImage &bitmap, const QImage &image)
{
    const QImage scaled = preview::resizeBicubic(image, bitmap.size());
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, scaled);
}

QImage DecodePicture(const QString &path, const preview::Interrupted &interrupted, QSize keepBound)
{
    preview::decoding::Request request;
    request.route = preview::decoding::Route::Png;
    if (keepBound.isValid()) {
        request.boundWidth = keepBound.width();
        request.boundHeight = keepBound.height();
    }
    const std::optional<preview::HelperPicture> decoded =
        preview::decoderOfThisThread().decode(path, request, interrupted);
    if (!decoded || decoded->image.isNull())
        throw preview::PictureError(999, QStringLiteral("GDI+ Module"), QStringLiteral("Error loading picture ") + path);
    return decoded->image;
}

QImage RenderStretched(const QImage &image, QSize size, QRgb background)
{
    QImage bitmap = CreateFilledBitmap(size.width(), size.height(), background);
    DrawImageStretched(bitmap, image);
    return bitmap;
}

QImage LoadPictureScaled(const QString &path, int width, int height, QRgb background)
{
    return RenderStretched(DecodePicture(path), QSize(width, height), background);
}

QSize BitmapSizeFor(const platform::PictureBox &box)
{
    // The box is measured in twips; its inner size in pixels, halves to even.
    const double height = platform::roundHalfEven(box.ScaleHeight() / platform::twipsPerPixelY());
    const double width = platform::roundHalfEven(box.ScaleWidth() / platform::twipsPerPixelX());
    if (width < 1 || height < 1)
        return {};
    // One bitmap pixel per screen pixel: at 200 % the bitmap has twice the pixels
    // of the logical size the arithmetic above works in.
    return box.devicePixels(QSize(int(width), int(height)));
}

void LoadPictureIntoBox(const QString &path, platform::PictureBox &box)
{
    const QSize device = BitmapSizeFor(box);
    if (device.isEmpty())
        return;  // a box with no inner area keeps what it has
    QImage bitmap = LoadPictureScaled(path, device.width(), device.height(), qRgb(255, 255, 255));
    bitmap.setDevicePixelRatio(box.devicePixelRatioF());
    box.setPicture(bitmap);
}

}  // namespace Module2
