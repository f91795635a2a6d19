#include "platform/PictureBox.h"

#include "platform/Rounding.h"
#include "platform/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QtMath>

namespace platform {

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
}

void PictureBox::resetPaintArea(int factor)
{
    assignInt16(PaintWidth, factor * ScaleWidth());
    assignInt16(PaintHeight, factor * ScaleHeight());
}

double PictureBox::unitsPerPixelX() const
{
    return scaleMode_ == ScaleModes::Twips ? platform::twipsPerPixelX() : 1.0;
}

double PictureBox::unitsPerPixelY() const
{
    return scaleMode_ == ScaleModes::Twips ? platform::twipsPerPixelY() : 1.0;
}

double PictureBox::ScaleWidth() const
{
    return contentsRect().width() * unitsPerPixelX();
}

double PictureBox::ScaleHeight() const
{
    return contentsRect().height() * unitsPerPixelY();
}

void PictureBox::setPicture(const QImage &image)
{
    picture_ = image;
    canvas_ = QImage();
    update();
}

QSize PictureBox::devicePixels(QSize logical) const
{
    const qreal ratio = devicePixelRatioF();
    return QSize(qCeil(logical.width() * ratio), qCeil(logical.height() * ratio));
}

QImage PictureBox::makeSharpImage(QSize logical, QImage::Format format) const
{
    QImage image(devicePixels(logical.expandedTo(QSize(1, 1))), format);
    image.setDevicePixelRatio(devicePixelRatioF());
    return image;
}

QImage &PictureBox::canvas()
{
    const QSize size = devicePixels(innerSize().expandedTo(QSize(1, 1)));
    if (canvas_.size() != size || canvas_.devicePixelRatio() != devicePixelRatioF()) {
        QImage grown = makeSharpImage(innerSize(), QImage::Format_ARGB32_Premultiplied);
        grown.fill(Qt::transparent);
        if (!canvas_.isNull()) {
            QPainter p(&grown);
            p.drawImage(0, 0, canvas_);
        }
        canvas_ = grown;
    }
    return canvas_;
}

void PictureBox::replaceCanvas(const QImage &image)
{
    canvas_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    update();
}

QImage PictureBox::rendered() const
{
    QImage out = makeSharpImage(innerSize(), QImage::Format_RGB32);
    out.fill(palette().color(QPalette::Window));
    QPainter p(&out);
    if (!picture_.isNull())
        p.drawImage(0, 0, picture_);
    if (!canvas_.isNull())
        p.drawImage(0, 0, canvas_);
    return out;
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect inner = contentsRect();
    p.setClipRect(inner);
    if (!picture_.isNull())
        p.drawImage(inner.topLeft(), picture_);
    if (!canvas_.isNull())
        p.drawImage(inner.topLeft(), canvas_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inner.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            emit Click(Qt::NoButton);
            return;
        }
        break;
    default:
        break;
    }
    QFrame::keyPressEvent(event);
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    update();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button();
    QFrame::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    emit MouseUp(button);
    // A click is a press and a release of the same button over the box.
    if (button == pressed_ && rect().contains(event->position().toPoint()))
        emit Click(button);
    pressed_ = Qt::NoButton;
}

}  // namespace platform
