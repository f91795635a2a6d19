#pragma once

#include "preview/DecoderProtocol.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>

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

// How much of a file the decoders read first, to judge what it is.
constexpr qsizetype kHeadLength = qsizetype(1) << 20;
// How many of a file's `fileSize` bytes the route's decoders can use, judged from
// its head (its first kHeadLength bytes, or all of it when shorter) before the
// rest is read: none (0) for a kind the route does not read, a size the head does
// not give, more pixels than kLargestPicturePixels, or a drawing longer than
// kLargestDrawingFile; otherwise the most its pixels can take up as the kind
// stores them, with room for what the kind keeps beside them.
std::int64_t usableLength(const Request &request, const QByteArray &head, std::int64_t fileSize);

// Loads every decoder the routes use and the default font, so that nothing needs
// to be opened once the helper is confined.
void warmUp();

// The most pixels a raster may have, found from its header before it is decoded.
constexpr long long kLargestPicturePixels = 100'000'000;
// A metafile longer than this is no drawing anyone previews.
constexpr std::int64_t kLargestDrawingFile = std::int64_t(128) << 20;
// A drawing is never made larger than this a side.
constexpr int kLongestDrawnSide = 4096;

}  // namespace preview::decoding
