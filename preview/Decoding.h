#pragma once

#include "preview/DecoderProtocol.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

// The decoders themselves, as the helper program runs them (and the fuzz targets
// drive them): bytes of unknown origin in, pixels out. Never linked into the window.
namespace preview::decoding {

struct Decoded {
    QImage image;         // 32-bit pixels; null when the bytes are no picture of the route's kinds
    QByteArray encoded;   // the cell picture's JPEG
    QSize encodedSize;
    QSize natural;        // pixels, or hundredths of a millimetre for a drawing
    bool reduced = false;
    bool drawing = false;
};

Decoded decode(const Request &request, const QByteArray &bytes);

// Loads every decoder the routes use and the default font, so that nothing needs
// to be opened once the helper is confined.
void warmUp();

// The most pixels a raster may have, found from its header before it is decoded.
constexpr long long kLargestPicturePixels = 100'000'000;
// A drawing is never made larger than this a side.
constexpr int kLongestDrawnSide = 4096;

}  // namespace preview::decoding
