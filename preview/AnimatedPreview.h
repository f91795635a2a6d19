#pragma once

#include <Qt>

#include <functional>

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
// to stop, delivering events between frames so the window stays usable.
class AnimatedPreview {
public:
    AnimatedPreview(AnimationControls controls, const SelectionPreview &selection,
                    platform::StatusLine &status);

    AnimationStates state() const { return state_; }
    bool running() const { return state_ == AnimationStates::Running; }
    // A left button released over the preview box asks a running animation to stop.
    void buttonReleased(Qt::MouseButton button);
    // A click on the preview box starts the animation, or stops a running one.
    void clicked();
    // Stops every running animation loop at its next frame (the window closes).
    void stop() { state_ = AnimationStates::Stopped; }

private:
    void run();
    void drawStoredPictureSmall();

    AnimationControls c_;
    const SelectionPreview &selection_;
    platform::StatusLine &status_;
    AnimationStates state_ = AnimationStates::Unset;
};

}  // namespace preview
