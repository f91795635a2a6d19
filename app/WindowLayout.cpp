#include "app/WindowLayout.h"

#include "app/CaptionFit.h"

#include <QWidget>

namespace layout {
namespace {

// The clamp reads back the size the font system took, which may be rounded.
void scaleFont(CaptionFit &fit, QWidget *control, double size)
{
    QFont font = fit.baseFont(control);
    font.setPointSizeF(size);
    control->setFont(font);
    const double taken = control->font().pointSizeF();
    if (taken < 8)
        font.setPointSizeF(8);
    else if (taken > 12)
        font.setPointSizeF(12);
    if (taken < 8 || taken > 12)
        control->setFont(font);
    fit.rebase(control);
}

}  // namespace

void scaleControls(const std::vector<ControlEntry> &controls, const WindowState &state, QSize inner,
                   CaptionFit &fit)
{
    const double H = inner.height();
    const double W = inner.width();
    const LayoutLimits &limits = state.Limits;
    const bool heightInRange = H >= limits.MinHeight && H <= limits.MaxHeight;
    const bool widthInRange = W >= limits.MinWidth && W <= limits.MaxWidth;
    for (size_t i = 0; i < controls.size() && i < state.ControlGeometryTable.size(); ++i) {
        const ControlEntry &c = controls[i];
        const ControlGeometry &R = state.ControlGeometryTable[i];
        // Menu items and the printer dialog have no geometry of their own.
        if (!c.widget || R.ParentScaleHeight == 0 || R.ParentScaleWidth == 0)
            continue;
        QRect g = c.widget->geometry();
        if (heightInRange) {
            const double k = H / R.ParentScaleHeight;
            g.moveTop(qRound(k * R.Top));
            if (!isTextBox(c.kind))
                g.setHeight(qRound(k * R.Height));
            scaleFont(fit, c.widget, k * R.FontSize);
        }
        if (widthInRange) {
            const double k = W / R.ParentScaleWidth;
            g.moveLeft(qRound(k * R.Left));
            g.setWidth(qRound(k * R.Width));
        }
        c.widget->setGeometry(g);
    }
}

}  // namespace layout
