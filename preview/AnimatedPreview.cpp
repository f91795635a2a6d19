#include "preview/AnimatedPreview.h"

#include "app/Form1.h"
#include "platform/Rounding.h"
#include "preview/Picture.h"
#include "preview/PictureBox.h"
#include "preview/PictureLoader.h"
#include "preview/SelectionPreview.h"
#include "search/ResultList.h"

#include <QLabel>

#include <optional>

namespace preview {
namespace {

// The frame's picture: the PNG loader's rendering at the banner box's size, or the
// picture itself. Nothing when it cannot be loaded.
std::optional<Picture> framePicture(Form1 &f, bool pngSelection)
{
    try {
        if (pngSelection) {
            Module2::LoadPictureIntoBox(f.List1->Text(), *f.Picture2);
            if (f.Picture2->picture().isNull())
                return std::nullopt;
            return Picture::fromImage(f.Picture2->picture());
        }
        // Nothing selected loads the empty picture, which draws nothing.
        Picture picture = LoadPicture(f.List1->Text(), previewShowSize(f));
        if (picture.isEmpty())
            return std::nullopt;
        return picture;
    } catch (const PictureError &) {
        return std::nullopt;
    }
}

// The stored picture of the preview box, shrunk to the banner box's size, into its top-left corner.
void drawStoredPictureSmall(Form1 &f)
{
    PictureBox &p1 = *f.Picture1;
    if (p1.picture().isNull())
        return;
    const Picture stored = Picture::fromImage(p1.picture());
    const double w2 = f.Picture2->innerSize().width() * p1.unitsPerPixelX();
    const double h2 = f.Picture2->innerSize().height() * p1.unitsPerPixelY();
    PaintPicture(p1, stored, f.Picture2->ScaleLeft(), f.Picture2->ScaleTop(), w2, h2, p1.ScaleLeft(), p1.ScaleTop(),
                 p1.ScaleWidth(), p1.ScaleHeight());
}

}  // namespace

void Picture1_MouseUp(Form1 &f, Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        f.state.AnimationState = AnimationStates::Stopped;
}

void Picture1_Click(Form1 &f)
{
    if (f.List1->ListCount() == 0)
        return;
    WindowState &state = f.state;
    const bool IsPngSelection = f.List1->Text().right(3).toLower() == QLatin1String("png");
    if (state.AnimationState == AnimationStates::Running) {
        state.AnimationState = AnimationStates::Stopped;
        f.Label3->hide();
    } else {
        state.AnimationState = AnimationStates::Running;
        f.Label3->show();
    }
    drawStoredPictureSmall(f);

    while (state.AnimationState == AnimationStates::Running && !state.Closing) {
        state.PaintWidth = std::int16_t(state.PaintWidth - 3);
        state.PaintHeight = std::int16_t(state.PaintHeight - 2);
        if (state.PaintWidth < 1 || state.PaintHeight < 1) {
            platform::assignInt16(state.PaintWidth, 2 * f.Picture1->ScaleWidth());
            platform::assignInt16(state.PaintHeight, 2 * f.Picture1->ScaleHeight());
        }
        if (const std::optional<Picture> frame = framePicture(f, IsPngSelection))
            PaintPicture(*f.Picture1, *frame, 0, 0, state.PaintWidth, state.PaintHeight, 0, 0, frame->Width,
                         frame->Height);
        f.deliverPendingEvents();
    }
}

}  // namespace preview
