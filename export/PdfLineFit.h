#pragma once

#include <QString>

#include <functional>

namespace listexport {

// How an entry is set on a PDF page so that it ends before the right margin.
struct FittedLine {
    QString text;        // the entry, or the entry with the middle of its folder part cut out for "…"
    double scale = 100;  // horizontal scaling in percent; 100 leaves the line as it is
};

// Fits `line` (a path) into `room`; `width` gives a text's width in the units of
// `room`. A line that fits stays as it is. One that does not is compressed
// horizontally, down to half its width; past that, the middle of its folder
// part gives way to "…", as little as needed, cut between whole characters. The
// file name always stays whole: should it alone be wider than twice the room, it
// is compressed further still.
FittedLine fitLine(const QString &line, double room, const std::function<double(const QString &)> &width);

}  // namespace listexport
