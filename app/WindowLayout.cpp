#include "app/WindowLayout.h"

#include "app/Form1.h"
#include "preview/SelectionPreview.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QStyle>

#include <algorithm>

namespace layout {
namespace {

void scaleFont(QWidget *control, double size)
{
    QFont font = control->font();
    font.setPointSizeF(size);
    control->setFont(font);
    // The font system may round the size; the clamp reads back what it took.
    const double taken = control->font().pointSizeF();
    if (taken < 8)
        font.setPointSizeF(8);
    else if (taken > 12)
        font.setPointSizeF(12);
    else
        return;
    control->setFont(font);
}

// The width the control leaves for its caption.
int captionRoom(const QWidget *control)
{
    if (qobject_cast<const QCheckBox *>(control)) {
        const QStyle *style = control->style();
        return control->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control) - 6;
    }
    if (qobject_cast<const QAbstractButton *>(control))
        return control->width() - 10;
    return control->width() - 4;
}

QString captionOf(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return QString(button->text()).remove(QLatin1Char('&'));
    if (const auto *label = qobject_cast<const QLabel *>(control); label && !label->wordWrap())
        return label->text();
    return {};
}

// A caption wider than its control is drawn condensed, then smaller (never below
// 8 points), then more condensed, rather than cut off.
void fitCaption(QWidget *control)
{
    const QString caption = captionOf(control);
    QFont font = control->font();
    font.setStretch(QFont::Unstretched);
    const int room = captionRoom(control);
    auto tooWide = [&] { return QFontMetrics(font).horizontalAdvance(caption) > room; };
    if (!caption.isEmpty() && room > 0) {
        for (int stretch = 96; stretch >= 70 && tooWide(); stretch -= 4)
            font.setStretch(stretch);
        while (tooWide() && font.pointSizeF() > 8)
            font.setPointSizeF(std::max(8.0, font.pointSizeF() - 0.5));
        for (int stretch = 66; stretch >= 50 && tooWide(); stretch -= 4)
            font.setStretch(stretch);
    }
    control->setFont(font);
}

}  // namespace

void Form_Resize(Form1 &f)
{
    const double H = f.innerArea()->height();
    const double W = f.innerArea()->width();
    const LayoutLimits &limits = f.state.Limits;
    const bool heightInRange = H >= limits.MinHeight && H <= limits.MaxHeight;
    const bool widthInRange = W >= limits.MinWidth && W <= limits.MaxWidth;
    const auto &controls = f.controls();
    for (size_t i = 0; i < controls.size() && i < f.state.ControlGeometryTable.size(); ++i) {
        const ControlEntry &c = controls[i];
        const ControlGeometry &R = f.state.ControlGeometryTable[i];
        // Menu items and the printer dialog have no geometry of their own.
        if (!c.widget || R.ParentScaleHeight == 0 || R.ParentScaleWidth == 0)
            continue;
        QRect g = c.widget->geometry();
        if (heightInRange) {
            const double k = H / R.ParentScaleHeight;
            g.moveTop(qRound(k * R.Top));
            if (c.typeName != QLatin1String("TextBox"))
                g.setHeight(qRound(k * R.Height));
            scaleFont(c.widget, k * R.FontSize);
        }
        if (widthInRange) {
            const double k = W / R.ParentScaleWidth;
            g.moveLeft(qRound(k * R.Left));
            g.setWidth(qRound(k * R.Width));
        }
        c.widget->setGeometry(g);
        fitCaption(c.widget);
    }
    if (f.state.AnimationState != AnimationStates::Running)
        preview::List1_Click(f);
    f.innerArea()->update();
}

}  // namespace layout
