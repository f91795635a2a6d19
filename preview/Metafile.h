#pragma once

#include <QByteArray>
#include <QSize>

namespace preview {

// A metafile turned into an SVG drawing, with its size in hundredths of a millimetre.
struct MetafileDrawing {
    QByteArray svg;
    QSize himetric;
};

// Enhanced Metafile through libemf2svg; nothing (empty svg) when it is not one.
MetafileDrawing emfToSvg(const QByteArray &emf);
// Windows Metafile through libwmf's SVG device; nothing when it is not one.
MetafileDrawing wmfToSvg(const QByteArray &wmf);

using MetafileConverter = MetafileDrawing (*)(const QByteArray &);

// Runs a converter in a child process, so that a file that crashes or hangs the
// conversion library costs its picture and nothing else: nothing comes back when
// the child fails or has not finished within `timeoutMs`.
MetafileDrawing convertInChild(const QByteArray &data, MetafileConverter convert, int timeoutMs = 5000);

}  // namespace preview
