#pragma once

#include "platform/WorkerThread.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <atomic>
#include <functional>

// The window's inner area: the desktop's background painted behind the controls.
class BackgroundArea : public QWidget {
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget *parent = nullptr);
    ~BackgroundArea() override;
    using WallpaperFinder = std::function<QString(const std::function<bool()> &stopped)>;
    // Finds and loads the wallpaper off the window's thread, no larger than a
    // screen needs, and paints it when it is there.
    void findWallpaper(WallpaperFinder find);

signals:
    void MouseMove();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImage wallpaper_;
    // The background as painted at the area's size: the controls over it repaint
    // many times a second while a search runs, and each repaint needs only the
    // part behind them copied, not the pattern or the scaled wallpaper made again.
    QPixmap painted_;
    std::atomic<bool> closing_{false};
    platform::WorkerThread loader_{platform::WorkerThread::Policy::NewestOnly};  // last: stopped first
};
