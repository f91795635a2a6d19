#include "preview/AnimatedPreview.h"

#include "platform/Rounding.h"
#include "preview/Picture.h"
#include "platform/PictureBox.h"
#include "preview/SelectionPreview.h"
#include "search/ResultList.h"

#include <QGuiApplication>
#include <QLabel>
#include <QRegion>
#include <QScreen>

#include <cmath>
#include <optional>

namespace preview {
namespace {

// More frames than this in one refresh mean the window was held up; they are let go.
constexpr long kMostFramesPerRefresh = 200;

int refreshIntervalMs(const QWidget &widget)
{
    const QScreen *screen = widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
    const qreal hz = screen && screen->refreshRate() > 1 ? screen->refreshRate() : 60.0;
    return std::max(1, int(std::lround(1000.0 / hz)));
}

}  // namespace

AnimatedPreview::AnimatedPreview(AnimationControls controls, const SelectionPreview &selection)
    : c_(controls)
    , selection_(selection)
{
    refresh_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&refresh_, &QTimer::timeout, &refresh_, [this] { tick(); });
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
    if (state_ == AnimationStates::Running) {
        sinceStart_.start();
        framesDrawn_ = 0;
        refresh_.start(refreshIntervalMs(*c_.preview));
    } else {
        refresh_.stop();
    }
}

void AnimatedPreview::stop()
{
    state_ = AnimationStates::Stopped;
    refresh_.stop();
}

// Each frame is 3 twips narrower and 2 twips lower than the last; a rectangle
// shrunk away starts again at twice the box. Every frame draws the picture the
// preview decoded for the selection: a PNG file as the loader's bitmap of the
// banner box, anything else as itself; nothing while it is not decoded. Nothing
// is cleared between frames, so of each frame but the last of a refresh only the
// band the next one leaves uncovered can show, and only that band is drawn.
void AnimatedPreview::tick()
{
    if (state_ != AnimationStates::Running) {
        refresh_.stop();
        return;
    }
    const long due = std::lround(double(sinceStart_.nsecsElapsed()) * 1e-9 * kFramesPerSecond) - framesDrawn_;
    if (due > kMostFramesPerRefresh) {
        framesDrawn_ += due - kMostFramesPerRefresh;
    }
    const long frames = std::min(due, kMostFramesPerRefresh);
    if (frames <= 0)
        return;
    framesDrawn_ += frames;

    PictureBox &box = *c_.preview;
    const std::optional<Picture> frame = selection_.shownPicture();
    const bool opaque = frame && !frame->image().hasAlphaChannel();
    const QRect inner(QPoint(0, 0), box.innerSize());
    for (long i = 0; i < frames; ++i) {
        box.PaintWidth = std::int16_t(box.PaintWidth - 3);
        box.PaintHeight = std::int16_t(box.PaintHeight - 2);
        if (box.PaintWidth < 1 || box.PaintHeight < 1)
            box.resetPaintArea(2);
        if (!frame)
            continue;
        QRegion visible;
        if (i + 1 < frames && opaque) {
            const int nextW = box.PaintWidth - 3;
            const int nextH = box.PaintHeight - 2;
            if (nextW < 1 || nextH < 1)
                continue;  // the next frame starts again at twice the box and covers it all
            // The whole pixels the next frame covers are drawn over again.
            visible = QRegion(inner) - QRegion(0, 0, int(nextW / box.unitsPerPixelX()), int(nextH / box.unitsPerPixelY()));
            if (visible.isEmpty())
                continue;
        }
        PaintPicture(box, *frame, 0, 0, box.PaintWidth, box.PaintHeight, 0, 0, frame->Width, frame->Height, visible);
    }
}

}  // namespace preview
