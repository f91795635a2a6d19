#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace platform {

// The text colour, black or white, that reads best on `background`.
QColor readableTextOn(const QColor &background);

// Gives `widget` a fixed background colour in `role` (Window, Base or Button) and,
// in the text role drawn over it, the colour that reads best there. Without the
// text colour a dark desktop palette draws light text on the pastel grounds.
void setFixedColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);

}  // namespace platform
