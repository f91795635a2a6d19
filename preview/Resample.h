#pragma once

#include <QImage>
#include <QSize>

namespace preview {

// The image scaled to exactly `size` with a Catmull-Rom cubic filter, each axis on
// its own; premultiplied alpha, so transparent edges do not darken.
QImage resizeBicubic(const QImage &source, QSize size);

}  // namespace preview
