#pragma once

#include <QFrame>
#include <QImage>

#include <cstdint>

namespace platform {

enum class ScaleModes { Twips = 1, Pixels = 3 };

// A picture box: a persistent picture drawn from the top-left corner whenever the
// box repaints, and a drawing layer over it that painted pictures go into.
// Its scale unit is twips unless switched to pixels.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    // The rectangle the previews paint into, in twips: the box's inner size when a
    // search starts, twice it for a preview, shrinking while the animation runs.
    std::int16_t PaintWidth = 0;
    std::int16_t PaintHeight = 0;
    // Sets the paint rectangle to `factor` times the inner size in twips.
    void resetPaintArea(int factor = 1);

    ScaleModes scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleModes mode) { scaleMode_ = mode; }
    // Units per pixel in the current scale mode, across and down.
    double unitsPerPixelX() const;
    double unitsPerPixelY() const;
    // The inner area in the current unit.
    double ScaleLeft() const { return 0.0; }
    double ScaleTop() const { return 0.0; }
    double ScaleWidth() const;
    double ScaleHeight() const;
    QSize innerSize() const { return contentsRect().size(); }
    // Device pixels for `logical` pixels on the box's screen: two for one at 200 %.
    QSize devicePixels(QSize logical) const;
    // An image of `logical` size with one pixel per device pixel, drawn sharp on
    // the box's screen; painters on it work in logical pixels.
    QImage makeSharpImage(QSize logical, QImage::Format format) const;

    // The persistent picture; a null image is the empty picture. Setting it wipes
    // what was painted over the old one.
    const QImage &picture() const { return picture_; }
    void setPicture(const QImage &image);
    void clearPicture() { setPicture(QImage()); }

    // The drawing layer, the size of the inner area, transparent where nothing was drawn.
    QImage &canvas();
    const QImage &canvasImage() const { return canvas_; }
    // What the box shows: white ground, the persistent picture, the drawings.
    QImage rendered() const;
    void canvasChanged() { update(); }
    // Replaces everything drawn over the persistent picture with `image`.
    void replaceCanvas(const QImage &image);

signals:
    void MouseUp(Qt::MouseButton button);
    // A click of `button`; Space or Enter, which click a box that has the focus, give Qt::NoButton.
    void Click(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ScaleModes scaleMode_ = ScaleModes::Twips;
    QImage picture_;
    QImage canvas_;
    Qt::MouseButton pressed_ = Qt::NoButton;
};

}  // namespace platform
