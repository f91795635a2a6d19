#include "app/BackgroundArea.h"

#include "preview/DecoderClient.h"

#include "platform/DesktopBackground.h"

#include <QPaintEvent>
#include <QPainter>

BackgroundArea::BackgroundArea(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

BackgroundArea::~BackgroundArea()
{
    // A search for the wallpaper still asking the desktop gives up at once.
    closing_ = true;
}

void BackgroundArea::findWallpaper(WallpaperFinder find)
{
    if (!find)
        return;
    loader_.post([this, find = std::move(find)] {
        const QString path = find([this] { return closing_.load(); });
        if (path.isEmpty() || closing_)
            return;
        // Read by the decoder helper, as every picture is: no screen needs more than this.
        preview::decoding::Request request;
        request.route = preview::decoding::Route::Wallpaper;
        request.boundWidth = 2560;
        request.boundHeight = 1600;
        const std::optional<preview::HelperPicture> decoded =
            preview::decoderOfThisThread().decode(path, request, [this] { return closing_.load(); });
        preview::decoderOfThisThread().finish();  // no other picture comes this way
        const QImage picture = decoded ? decoded->image : QImage();
        if (!picture.isNull())
            platform::deliverTo(this, [this, picture] {
                wallpaper_ = picture;
                painted_ = QPixmap();
                update();
            });
    });
}

void BackgroundArea::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (painted_.size() != pixels || painted_.devicePixelRatio() != ratio) {
        painted_ = QPixmap(pixels);
        painted_.setDevicePixelRatio(ratio);
        QPainter onto(&painted_);
        platform::paintDesktopBackground(onto, rect(), wallpaper_);
    }
    QPainter painter(this);
    const QRect part = event->rect();
    painter.drawPixmap(QRectF(part), painted_,
                       QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio));
}

void BackgroundArea::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    emit MouseMove();
}
