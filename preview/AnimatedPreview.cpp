#include "preview/AnimatedPreview.h"

#include "platform/Rounding.h"
#include "preview/Picture.h"
#include "platform/PictureBox.h"
#include "platform/StatusLine.h"
#include "preview/SelectionPreview.h"
#include "search/ResultList.h"

#include <QLabel>

#include <optional>

namespace preview {
AnimatedPreview::AnimatedPreview(AnimationControls controls, const SelectionPreview &selection,
                                 platform::StatusLine &status)
    : c_(controls)
    , selection_(selection)
    , status_(status)
{
}

// The stored picture of the preview box, shrunk to the banner box's size, into its top-left corner.
void AnimatedPreview::drawStoredPictureSmall()
{
    PictureBox &p1 = *c_.preview;
    if (p1.picture().isNull())
        return;
    const Picture stored = Picture::fromImage(p1.picture());
    const double w2 = c_.banner->innerSize().width() * p1.unitsPerPixelX();
    const double h2 = c_.banner->innerSize().height() * p1.unitsPerPixelY();
    PaintPicture(p1, stored, c_.banner->ScaleLeft(), c_.banner->ScaleTop(), w2, h2, p1.ScaleLeft(), p1.ScaleTop(),
                 p1.ScaleWidth(), p1.ScaleHeight());
}

void AnimatedPreview::buttonReleased(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        state_ = AnimationStates::Stopped;
}

void AnimatedPreview::clicked()
{
    if (c_.list->ListCount() == 0)
        return;
    if (state_ == AnimationStates::Running) {
        state_ = AnimationStates::Stopped;
        c_.hint->hide();
    } else {
        state_ = AnimationStates::Running;
        c_.hint->show();
    }
    drawStoredPictureSmall();
    run();
}

// Each frame is 3 twips narrower and 2 twips lower than the last; a rectangle
// shrunk away starts again at twice the box. Every frame draws the picture the
// preview decoded for the selection: a PNG file as the loader's bitmap of the
// banner box, anything else as itself; nothing while it is not decoded.
void AnimatedPreview::run()
{
    PictureBox &box = *c_.preview;
    while (state_ == AnimationStates::Running) {
        box.PaintWidth = std::int16_t(box.PaintWidth - 3);
        box.PaintHeight = std::int16_t(box.PaintHeight - 2);
        if (box.PaintWidth < 1 || box.PaintHeight < 1)
            box.resetPaintArea(2);
        if (const std::optional<Picture> frame = selection_.shownPicture())
            PaintPicture(box, *frame, 0, 0, box.PaintWidth, box.PaintHeight, 0, 0, frame->Width, frame->Height);
        status_.deliverPendingEvents();
    }
}

}  // namespace preview
