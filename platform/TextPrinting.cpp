#include "platform/TextPrinting.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace platform {
namespace {

// One line of text laid out in rows no wider than `width`. Rows break between
// grapheme clusters only (an emoji or a letter with its marks stays whole), and
// every row keeps the direction of the whole line, so that the rows of a
// right-to-left name read on in its order. Rows start at the left edge, as a
// line that fits does.
void layOut(QTextLayout &layout, qreal width)
{
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::WrapAnywhere);
    option.setTextDirection(layout.text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine())
        row.setLineWidth(width);
    layout.endLayout();
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
        QTextLayout layout(line, font, &device);
        layOut(layout, page.width());
        for (int i = 0; i < layout.lineCount(); ++i) {
            if (y > 0 && y + lineHeight > page.height()) {
                if (!device.newPage())
                    return false;
                y = 0;
            }
            const QTextLine row = layout.lineAt(i);
            row.draw(&painter, QPointF(0, y - row.y()));
            y += lineHeight;
        }
        y += line.isEmpty() && layout.lineCount() == 0 ? lineHeight : 0;
    }
    return painter.end();
}

}  // namespace platform
