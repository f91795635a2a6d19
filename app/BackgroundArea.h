#pragma once

#include <QImage>
#include <QWidget>

// The window's inner area: the desktop's background painted behind the controls.
class BackgroundArea : public QWidget {
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget *parent = nullptr);
    // Loads the wallpaper once, no larger than a screen needs.
    void setWallpaper(const QString &path);

signals:
    void MouseMove();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImage wallpaper_;
};
