#pragma once

#include <QString>

class QPagedPaintDevice;

namespace platform {

// Lays plain text out on the pages of a printer (or PDF writer): one line of text
// per line, a line wider than the page wrapped onto the next row, a row that does
// not fit on the page moved whole to the next one. False when the device failed.
bool paintText(QPagedPaintDevice &device, const QString &text);

}  // namespace platform
