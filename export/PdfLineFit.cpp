#include "export/PdfLineFit.h"

#include <QList>
#include <QTextBoundaryFinder>

#include <cmath>

namespace listexport {
namespace {

constexpr double kLeastScale = 50;
const QString kEllipsis = QStringLiteral("\u2026");

// The scale, in hundredths of a percent and rounded down, at which `width` fills
// `room`: a line set at it never passes the margin.
double scaleToFit(double width, double room)
{
    return std::min(100.0, std::floor(room / width * 10000.0) / 100.0);
}

// Where the grapheme clusters of `text` start, and its end.
QList<qsizetype> clusterBounds(const QString &text)
{
    QList<qsizetype> bounds;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = 0; at >= 0; at = finder.toNextBoundary())
        bounds.append(at);
    if (bounds.isEmpty() || bounds.last() != text.size())
        bounds.append(text.size());
    return bounds;
}

}  // namespace

FittedLine fitLine(const QString &line, double room, const std::function<double(const QString &)> &width)
{
    const double whole = width(line);
    if (whole <= room)
        return {line, 100};
    if (whole * kLeastScale / 100 <= room)
        return {line, scaleToFit(whole, room)};

    // The folder part loses its middle: `kept` of its clusters stay, the larger
    // half from its start, the rest from its end.
    const qsizetype slash = line.lastIndexOf(QLatin1Char('/'));
    const QString folder = line.left(std::max<qsizetype>(slash, 0));
    const QString name = line.mid(std::max<qsizetype>(slash, 0));
    const QList<qsizetype> bounds = clusterBounds(folder);
    const qsizetype clusters = bounds.size() - 1;
    if (clusters == 0)
        return {line, scaleToFit(whole, room)};  // no folder part to cut
    const auto cut = [&](qsizetype kept) {
        const qsizetype head = (kept + 1) / 2;
        const qsizetype tail = kept / 2;
        return folder.left(bounds[head]) + kEllipsis + folder.mid(bounds[clusters - tail]) + name;
    };
    const auto fits = [&](qsizetype kept) { return width(cut(kept)) * kLeastScale / 100 <= room; };
    qsizetype low = 0;  // the most clusters known to fit, once fits(0)
    qsizetype high = clusters - 1;
    if (!fits(0))
        high = -1;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    const QString text = cut(std::max<qsizetype>(low, 0));
    return {text, scaleToFit(width(text), room)};
}

}  // namespace listexport
