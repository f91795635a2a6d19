#include "preview/Decoding.h"

#include "preview/Metafile.h"

#include <QBuffer>
#include <QFont>
#include <QImageIOHandler>
#include <QImageReader>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace preview::decoding {
namespace {

// The kinds each route reads, by what the content is, whatever the name says.
const std::set<QByteArray> &kindsOf(Route route)
{
    static const std::set<QByteArray> picture{"jpeg", "bmp", "gif", "ico"};
    static const std::set<QByteArray> png{"png"};
    static const std::set<QByteArray> wallpaper{"jpeg", "png", "bmp", "gif"};
    switch (route) {
    case Route::Png:
        return png;
    case Route::Wallpaper:
        return wallpaper;
    default:
        return picture;
    }
}

// Icons hold several sizes; the picture is the one the desktop shows icons at.
void pickIconImage(QImageReader &reader)
{
    int best = -1;
    long long bestArea = -1;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize size = reader.size();
        if (size == QSize(32, 32)) {
            best = i;
            break;
        }
        if (qint64(size.width()) * size.height() > bestArea) {
            bestArea = qint64(size.width()) * size.height();
            best = i;
        }
    }
    if (best >= 0)
        reader.jumpToImage(best);
}

QSize boundOf(const Request &request)
{
    return QSize(std::max(0, request.boundWidth), std::max(0, request.boundHeight));
}

QImage to32Bit(QImage image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image;
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    }
}

Decoded drawing(const Request &request, const QByteArray &bytes)
{
    const MetafileDrawing converted = request.metafile == Metafile::Emf ? emfToSvg(bytes) : wmfToSvg(bytes);
    if (converted.svg.isEmpty() || converted.himetric.isEmpty())
        return {};
    QSvgRenderer renderer(converted.svg);
    if (!renderer.isValid())
        return {};
    QSize pixels = boundOf(request);
    if (pixels.isEmpty()) {
        const QSizeF natural(converted.himetric.width() / request.himetricPerPixelX,
                             converted.himetric.height() / request.himetricPerPixelY);
        if (!(natural.width() >= 1 && natural.height() >= 1))
            return {};
        pixels = (natural.width() > kLongestDrawnSide || natural.height() > kLongestDrawnSide)
                     ? natural.scaled(kLongestDrawnSide, kLongestDrawnSide, Qt::KeepAspectRatio).toSize()
                     : natural.toSize();
    }
    if (pixels.width() > kLongestDrawnSide * 2 || pixels.height() > kLongestDrawnSide * 2 || pixels.isEmpty())
        return {};
    Decoded d;
    d.image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    d.image.fill(Qt::transparent);
    QPainter painter(&d.image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), pixels));
    painter.end();
    d.natural = converted.himetric;
    d.drawing = true;
    return d;
}

Decoded raster(const Request &request, const QByteArray &bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!kindsOf(request.route).count(reader.format()))
        return {};
    if (reader.format() == "ico")
        pickIconImage(reader);
    const QSize natural = reader.size();
    if (!natural.isValid() || natural.isEmpty() || qint64(natural.width()) * natural.height() > kLargestPicturePixels)
        return {};
    const QSize bound = boundOf(request);
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? natural.transposed() : natural;
    Decoded d;
    switch (request.route) {
    case Route::Picture:
        // Never decode more than is shown: a camera photo for a preview box is
        // decoded straight to the box (JPEG scales while it decodes).
        if (!bound.isEmpty() && natural.width() > bound.width() && natural.height() > bound.height()) {
            reader.setScaledSize(bound);
            d.reduced = true;
        }
        break;
    case Route::CellPicture:
    case Route::Wallpaper:
        // The bound is for the picture as it stands (turned upright by its EXIF
        // orientation); the decoder scales it as stored, before turning it.
        if (!bound.isEmpty() && (upright.width() > bound.width() || upright.height() > bound.height())) {
            const QSize scaled = upright.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
            reader.setScaledSize(turned ? scaled.transposed() : scaled);
            d.reduced = true;
        }
        break;
    case Route::Png:
        break;
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    // A PNG too large for any box is kept only as large as the screen.
    if (request.route == Route::Png && !bound.isEmpty() &&
        (image.width() > bound.width() || image.height() > bound.height())) {
        image = image.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        d.reduced = true;
    }
    d.natural = natural;
    if (request.route == Route::CellPicture) {
        d.natural = upright;
        image = image.convertToFormat(QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);  // 96 dpi: the picture's size in the sheet is its size in pixels
        image.setDotsPerMeterY(3780);
        QBuffer out(&d.encoded);
        out.open(QIODevice::WriteOnly);
        if (!image.save(&out, "JPG", 85))
            return {};
        d.encodedSize = image.size();
        return d;
    }
    d.image = to32Bit(std::move(image));
    return d;
}

// Bytes a pixel can take up in a file of each kind, at most: JPEG's Huffman codes
// of a noisy picture at the finest quality, 16-bit RGBA PNG, 32-bit BMP, GIF's
// 12-bit codes with their blocks.
std::int64_t mostBytesPerPixel(const QByteArray &format)
{
    if (format == "jpeg")
        return 16;
    if (format == "png")
        return 8;
    if (format == "gif")
        return 2;
    return 4;
}

// Colour profiles, text, palettes and the like beside the pixels; an icon's images.
constexpr std::int64_t kRoomBesidePixels = std::int64_t(16) << 20;

}  // namespace

std::int64_t usableLength(const Request &request, const QByteArray &head, std::int64_t fileSize)
{
    if (request.route == Route::Picture && request.metafile != Metafile::None)
        return fileSize <= kLargestDrawingFile ? fileSize : 0;
    try {
        QByteArray data = head;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QByteArray format = reader.format();
        if (!kindsOf(request.route).count(format))
            return 0;
        if (format == "ico")  // several pictures, each small
            return std::min(fileSize, kRoomBesidePixels);
        const QSize size = reader.size();
        const std::int64_t pixels = std::int64_t(size.width()) * size.height();
        if (!size.isValid() || size.isEmpty() || pixels > kLargestPicturePixels)
            return 0;
        return std::min(fileSize, std::int64_t(kHeadLength) + mostBytesPerPixel(format) * pixels + kRoomBesidePixels);
    } catch (const std::bad_alloc &) {
        return 0;
    }
}

Decoded decode(const Request &request, const QByteArray &bytes)
{
    try {
        if (request.route == Route::Picture && request.metafile != Metafile::None)
            return drawing(request, bytes);
        return raster(request, bytes);
    } catch (const std::bad_alloc &) {
        return {};  // a picture there is no room for is no picture
    }
}

void warmUp()
{
    // A damaged JPEG is no picture, quietly: the reader's reports go nowhere.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
    // One picture of each kind, so each decoder's library is loaded now.
    QImage sample(4, 4, QImage::Format_RGB32);
    sample.fill(Qt::gray);
    for (const char *format : {"jpeg", "png", "bmp", "gif", "ico"}) {
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        QImageWriter(&out, format).write(sample);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        QImageReader(&in, format).read();
    }
    QImageReader::setAllocationLimit(int(kLargestPicturePixels * 4 / (1024LL * 1024)) + 1);
    prepareMetafileConversions();
    // Text, as a drawing may hold, in the default font: its file is opened now.
    QImage canvas(64, 16, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    painter.setFont(QFont());
    painter.drawText(canvas.rect(), QStringLiteral("Aa"));
    painter.end();
    // The scaling threads a large picture is shrunk with, made now and kept.
    QImage large(2000, 2000, QImage::Format_RGB32);
    large.fill(Qt::white);
    (void)large.scaled(200, 200, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace preview::decoding
