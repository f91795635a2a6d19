#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

#include <functional>

namespace platform {
class PictureBox;
class Shell;
}  // namespace platform
namespace search {
class ResultList;
}

namespace helpabout {

QString aboutText();
QString helpText();

// The banner box: any button but the right one opens the product's web page; a
// right button released over it mirrors, then flips, then restores the preview.
class Banner {
public:
    // `previewAgain` redraws the preview as the selection shows it.
    Banner(platform::PictureBox *preview, platform::Shell &shell, std::function<void()> previewAgain);
    void buttonReleased(Qt::MouseButton button);

private:
    platform::PictureBox *preview_;
    platform::Shell &shell_;
    std::function<void()> previewAgain_;
    int flipStep_ = 0;  // right clicks, modulo 3
};

// The list's tool tip names the entry under the pointer, changing only when the
// pointer crosses into another entry.
class ListHoverTip {
public:
    explicit ListHoverTip(search::ResultList *list);
    void pointerMoved(QPoint position);

private:
    search::ResultList *list_;
    int hoveredEntry_ = -1;
    bool tipSet_ = false;
};

}  // namespace helpabout
