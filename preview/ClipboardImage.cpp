#include "preview/ClipboardImage.h"

#include "preview/Picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>

#include <memory>
#include <new>

namespace preview {
namespace {

struct Copied {
    QImage image;
    QByteArray png;
};

Copied makeCopy(const QString &path, const Interrupted &given)
{
    try {
        Copied copied{LoadPicture(path, {}, given).toImage(), {}};
        if (copied.image.isNull())
            return {};
        QBuffer buffer(&copied.png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setQuality(80);  // light compression: quick to make, and the paste is local
        if (!writer.write(copied.image))
            copied.png.clear();
        return copied;
    } catch (const PictureError &) {
    } catch (const std::bad_alloc &) {
    }
    return {};
}

}  // namespace

void ClipboardImage::copy(const QString &path, std::function<void()> whenFailed)
{
    const quint64 serial = ++serial_;
    awaited_ = serial;
    worker_.post([this, serial, path, whenFailed = std::move(whenFailed)] {
        Copied copied = makeCopy(path, [this] { return closing_.load(); });
        platform::deliverTo(&receiver_, [this, serial, whenFailed, copied = std::move(copied)] {
            if (serial != awaited_)
                return;
            awaited_ = 0;
            if (copied.image.isNull()) {
                if (whenFailed)
                    whenFailed();
                return;
            }
            auto data = std::make_unique<QMimeData>();
            data->setImageData(copied.image);
            if (!copied.png.isEmpty())
                data->setData(QStringLiteral("image/png"), copied.png);
            QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it
        });
    });
}

}  // namespace preview
