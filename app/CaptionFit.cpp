#include "app/CaptionFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>

#include <algorithm>

namespace {

constexpr double kSmallestPointSize = 8.0;
constexpr double kPointStep = 0.5;
// Widths, in percent of the face's own, tried first (down to kFirstStretchFloor)
// before the size shrinks, then after it has reached its floor.
constexpr int kFirstStretch = 96;
constexpr int kFirstStretchFloor = 70;
constexpr int kSecondStretch = 66;
constexpr int kLastStretch = 50;
constexpr int kStretchStep = 4;
// Pixels a control keeps round its caption: the frame and bevel of a button, the
// margin of a label.
constexpr int kButtonPadding = 10;
constexpr int kLabelPadding = 4;
constexpr int kCheckBoxPadding = 6;

QString captionOf(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return QString(button->text()).remove(QLatin1Char('&'));
    if (const auto *label = qobject_cast<const QLabel *>(control); label && !label->wordWrap())
        return label->text();
    if (const auto *box = qobject_cast<const QPlainTextEdit *>(control))
        return box->toPlainText();
    return {};
}

int roomFor(const QWidget *control)
{
    if (qobject_cast<const QCheckBox *>(control)) {
        const QStyle *style = control->style();
        return control->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control) - kCheckBoxPadding;
    }
    if (qobject_cast<const QAbstractButton *>(control))
        return control->width() - kButtonPadding;
    if (const auto *box = qobject_cast<const QPlainTextEdit *>(control))
        return box->viewport()->width() - 2 * int(std::ceil(box->document()->documentMargin())) - 1;
    return control->width() - kLabelPadding;
}

// The widest line of `text` in `font`; blanks at a line's end take no room, as the
// text flows past them.
int widestLine(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        QStringView trimmed = line;
        while (!trimmed.isEmpty() && trimmed.back().isSpace())
            trimmed.chop(1);
        widest = std::max(widest, metrics.horizontalAdvance(trimmed.toString()));
    }
    return widest;
}

// A stretch asked of the font system is measured against a face of normal width,
// so a narrow face (75) asked for 100 comes out wider than it is. The face's own
// stretch is found from its widths with and without a stretch asked.
int naturalStretch(const QFont &font)
{
    if (font.stretch() != QFont::AnyStretch)
        return font.stretch();
    const QString sample = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    QFont normal = font;
    normal.setStretch(QFont::Unstretched);
    const qreal asked = QFontMetricsF(normal).horizontalAdvance(sample);
    const qreal own = QFontMetricsF(font).horizontalAdvance(sample);
    constexpr int kUnstretched = QFont::Unstretched;  // 100: percent of the face's own width
    return asked > 0 ? qRound(kUnstretched * own / asked) : kUnstretched;
}

// `percent` of the face's own width.
void condense(QFont &font, int natural, int percent)
{
    font.setStretch(std::max(1, natural * percent / 100));
}

QFont fitted(QFont font, const QString &caption, int room)
{
    if (caption.isEmpty() || room <= 0)
        return font;
    auto tooWide = [&] { return widestLine(font, caption) > room; };
    if (!tooWide())
        return font;
    const int natural = naturalStretch(font);
    for (int percent = kFirstStretch; percent >= kFirstStretchFloor && tooWide(); percent -= kStretchStep)
        condense(font, natural, percent);
    while (tooWide() && font.pointSizeF() > kSmallestPointSize)
        font.setPointSizeF(std::max(kSmallestPointSize, font.pointSizeF() - kPointStep));
    for (int percent = kSecondStretch; percent >= kLastStretch && tooWide(); percent -= kStretchStep)
        condense(font, natural, percent);
    return font;
}

}  // namespace

void CaptionFit::watch(QWidget *control)
{
    fits_.insert(control, Fit{control->font(), {}, -1, false});
    control->installEventFilter(this);
}

void CaptionFit::watchLines(QWidget *textBox)
{
    fits_.insert(textBox, Fit{textBox->font(), {}, -1, true});
    textBox->installEventFilter(this);
    if (const auto *box = qobject_cast<const QPlainTextEdit *>(textBox))
        box->viewport()->installEventFilter(this);
}

QFont CaptionFit::baseFont(const QWidget *control) const
{
    const auto it = fits_.constFind(control);
    return it == fits_.constEnd() ? control->font() : it->base;
}

void CaptionFit::rebase(QWidget *control)
{
    const auto it = fits_.find(control);
    if (it == fits_.end())
        return;
    it->base = control->font();
    it->room = -1;
    fitIfChanged(control, *it);
}

bool CaptionFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint || event->type() == QEvent::Resize) {
        // A text box paints through its viewport.
        QObject *owner = fits_.contains(static_cast<QWidget *>(watched)) ? watched : watched->parent();
        auto *control = qobject_cast<QWidget *>(owner);
        const auto it = control ? fits_.find(control) : fits_.end();
        if (it != fits_.end())
            fitIfChanged(control, *it);
    }
    return QObject::eventFilter(watched, event);
}

void CaptionFit::fitIfChanged(QWidget *control, Fit &fit)
{
    const QString caption = captionOf(control);
    const int room = roomFor(control);
    if (caption == fit.caption && room == fit.room)
        return;
    fit.caption = caption;
    fit.room = room;
    const QFont font = fitted(fit.base, caption, room);
    if (font != control->font())
        control->setFont(font);
}
