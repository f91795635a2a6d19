#pragma once

#include <cstdint>

// What the window and its picture decoder helper say to each other over their
// socket: one request (with the picture file's descriptor) and one reply (with a
// sealed memory file holding the pixels or the encoded picture) at a time.
namespace preview::decoding {

constexpr std::uint32_t kMagic = 0x51445031;  // "QDP1"

// Which decoder reads the file. Each reads its own kinds and nothing else.
enum class Route : std::uint32_t {
    Picture = 1,    // JPG, BMP, GIF, ICO, or the metafile named: the pictures the preview shows
    Png = 2,        // PNG alone
    CellPicture = 3,  // a picture as Picture reads it, encoded as a JPEG for a workbook cell
    Wallpaper = 4,  // the desktop's background: JPEG, PNG, BMP or GIF
};

enum class Metafile : std::uint32_t { None = 0, Emf = 1, Wmf = 2 };

struct Request {
    std::uint32_t magic = kMagic;
    Route route = Route::Picture;
    Metafile metafile = Metafile::None;
    // A raster larger than this is decoded down to it (none when 0); a drawing is
    // made exactly this size, or at its own size (at most 4,096 pixels a side).
    std::int32_t boundWidth = 0;
    std::int32_t boundHeight = 0;
    // The screen's hundredths of a millimetre a pixel, for a drawing's own size.
    double himetricPerPixelX = 26.458;
    double himetricPerPixelY = 26.458;
};

enum ReplyFlags : std::uint32_t {
    kReduced = 1,  // decoded smaller than its own size
    kDrawing = 2,  // a metafile made a bitmap
    kEncoded = 4,  // the memory file holds an encoded picture, not pixels
};

struct Reply {
    std::uint32_t magic = kMagic;
    std::int32_t ok = 0;
    std::int32_t width = 0;   // of the pixels (or the encoded picture)
    std::int32_t height = 0;
    std::int32_t bytesPerLine = 0;
    std::uint32_t format = 0;  // a QImage::Format of 32-bit pixels
    // The picture's own size: pixels for a raster, hundredths of a millimetre for a drawing.
    std::int32_t naturalWidth = 0;
    std::int32_t naturalHeight = 0;
    std::uint32_t flags = 0;
    std::int64_t length = 0;  // bytes of the memory file that hold the answer
};

}  // namespace preview::decoding
