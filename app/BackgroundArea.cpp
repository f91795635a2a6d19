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

void BackgroundArea::setWallpaper(const QString &path)
{
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    const QSize natural = reader.size();
    if (natural.width() > 2560 || natural.height() > 1600)
        reader.setScaledSize(natural.scaled(2560, 1600, Qt::KeepAspectRatio));
    wallpaper_ = reader.read();
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
