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

// Loads what the conversions load on first use (the character set converters
// libemf2svg uses), for a process that can open no file afterwards.
void prepareMetafileConversions();

}  // namespace preview
