#include "app/BackgroundArea.h"

#include "platform/DesktopBackground.h"

#include <QImageReader>
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
        QImageReader reader(path);
        const QSize natural = reader.size();
        if (natural.width() > 2560 || natural.height() > 1600)
            reader.setScaledSize(natural.scaled(2560, 1600, Qt::KeepAspectRatio));
        const QImage picture = reader.read();
        if (!picture.isNull())
            platform::deliverTo(this, [this, picture] {
                wallpaper_ = picture;
                update();
            });
    });
}

void BackgroundArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    platform::paintDesktopBackground(painter, rect(), wallpaper_);
}

void BackgroundArea::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    emit MouseMove();
}
