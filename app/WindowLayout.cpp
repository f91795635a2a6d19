#include "app/WindowLayout.h"

#include "app/CaptionFit.h"
#include "app/Form1.h"
#include "preview/SelectionPreview.h"


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
            scaleFont(f.captionFit(), c.widget, k * R.FontSize);
        }
        if (widthInRange) {
            const double k = W / R.ParentScaleWidth;
            g.moveLeft(qRound(k * R.Left));
            g.setWidth(qRound(k * R.Width));
        }
        c.widget->setGeometry(g);
    }
    if (f.state.AnimationState != AnimationStates::Running)
        preview::List1_Click(f);
    f.innerArea()->update();
}

}  // namespace layout
