#include "platform/TextPrinting.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace platform {
namespace {

// Splits one line into rows no wider than `width`, breaking between characters.
QStringList rowsOf(const QString &line, const QFontMetricsF &metrics, qreal width)
{
    if (line.isEmpty() || metrics.horizontalAdvance(line) <= width)
        return {line};
    QStringList rows;
    QString row;
    for (const QChar c : line) {
        if (!row.isEmpty() && metrics.horizontalAdvance(row + c) > width) {
            rows.append(row);
            row.clear();
        }
        row += c;
    }
    rows.append(row);
    return rows;
}

}  // namespace

bool paintText(QPagedPaintDevice &device, const QString &text)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const QRectF page(0, 0, device.width(), device.height());
    const qreal lineHeight = metrics.lineSpacing();

    QString body = text;
    body.remove(QLatin1Char('\r'));
    if (body.endsWith(QLatin1Char('\n')))
        body.chop(1);
    qreal y = 0;
    for (const QString &line : body.split(QLatin1Char('\n'))) {
        for (const QString &row : rowsOf(line, metrics, page.width())) {
            if (y > 0 && y + lineHeight > page.height()) {
                if (!device.newPage())
                    return false;
                y = 0;
            }
            painter.drawText(QPointF(0, y + metrics.ascent()), row);
            y += lineHeight;
        }
    }
    return painter.end();
}

}  // namespace platform
