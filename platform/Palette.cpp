#include "platform/Palette.h"

#include <QWidget>

#include <cmath>

namespace platform {
namespace {

// Relative luminance as the accessibility guidelines define it.
double luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette::ColorRole textRoleFor(QPalette::ColorRole background)
{
    switch (background) {
    case QPalette::Base:
        return QPalette::Text;
    case QPalette::Button:
        return QPalette::ButtonText;
    default:
        return QPalette::WindowText;
    }
}

}  // namespace

QColor readableTextOn(const QColor &background)
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrast(black, background) >= contrast(white, background) ? black : white;
}

void setFixedColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(role, colour);
    p.setColor(textRoleFor(role), readableTextOn(colour));
    widget->setPalette(p);
    if (role == QPalette::Window || role == QPalette::Button)
        widget->setAutoFillBackground(true);
}

}  // namespace platform
