#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <Qt>

class QLabel;

namespace platform {
class PictureBox;
class StatusLine;
}  // namespace platform
namespace search {
class ResultList;
}

namespace preview {

class SelectionPreview;

enum class AnimationStates : int { Unset = 0, Running = 1, Stopped = 2 };

// The controls the animation reads and draws into.
struct AnimationControls {
    search::ResultList *list = nullptr;       // List1
    platform::PictureBox *preview = nullptr;  // Picture1
    platform::PictureBox *banner = nullptr;   // Picture2
    QLabel *hint = nullptr;                   // Label3
};

// The "moving animation": the selected picture drawn again and again, a little
// smaller each frame, until it has shrunk away and starts over. It runs until told
// to stop. The screen is drawn once a refresh, advancing as many frames as the
// shrinking's own pace asks for, so the animation never holds the window.
class AnimatedPreview {
public:
    AnimatedPreview(AnimationControls controls, const SelectionPreview &selection);

    AnimationStates state() const { return state_; }
    bool running() const { return state_ == AnimationStates::Running; }
    // A left button released over the preview box asks a running animation to stop.
    void buttonReleased(Qt::MouseButton button);
    // A click on the preview box starts the animation, or stops a running one.
    void clicked();
    // Stops a running animation (the window closes).
    void stop();

    // Frames a second: the pace at which the picture shrinks.
    static constexpr double kFramesPerSecond = 3300;

private:
    void tick();
    void drawStoredPictureSmall();

    AnimationControls c_;
    const SelectionPreview &selection_;
    AnimationStates state_ = AnimationStates::Unset;
    QTimer refresh_;
    QElapsedTimer sinceStart_;
    long framesDrawn_ = 0;  // since sinceStart_ started
};

}  // namespace preview
