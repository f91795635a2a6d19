#include "preview/Resample.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image_resize.h>
#pragma GCC diagnostic pop

namespace preview {

QImage resizeBicubic(const QImage &source, QSize size)
{
    if (source.isNull() || size.isEmpty())
        return {};
    const QImage input = source.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QImage output(size, QImage::Format_RGBA8888_Premultiplied);
    const int ok = stbir_resize_uint8_generic(
        input.constBits(), input.width(), input.height(), int(input.bytesPerLine()), output.bits(), size.width(),
        size.height(), int(output.bytesPerLine()), 4, 3, STBIR_FLAG_ALPHA_PREMULTIPLIED, STBIR_EDGE_CLAMP,
        STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr);
    return ok ? output : QImage();
}

}  // namespace preview
