#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

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

// The drawing as the conversion helper writes it, and read back; nothing from
// bytes that are not a whole drawing.
QByteArray packDrawing(const MetafileDrawing &drawing);
MetafileDrawing unpackDrawing(const QByteArray &packed);

enum class MetafileKind { Emf, Wmf };

// The conversion helper installed with the program.
QString metafileHelper();

// Converts in the helper, a program of its own, so that a file that crashes or
// hangs the conversion libraries costs its picture and nothing else: nothing
// comes back when the helper fails, cannot be started, or has not finished
// within `timeoutMs`, or when `stop` says it is no longer wanted.
MetafileDrawing convertInHelper(const QByteArray &data, MetafileKind kind, const QString &helper = metafileHelper(),
                                int timeoutMs = 5000, const std::function<bool()> &stop = {});

}  // namespace preview
