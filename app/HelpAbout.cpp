#include "app/HelpAbout.h"

#include "app/Version.h"

#include "platform/Brand.h"
#include "platform/FileNames.h"
#include "platform/PictureBox.h"
#include "platform/PlainText.h"
#include "platform/Services.h"
#include "search/ResultList.h"

#include <QCoreApplication>
#include <QUrl>

namespace helpabout {

QString aboutText()
{
    return QCoreApplication::translate("Form1", "Quorvel File Search\nVersion %1\nby Quorvel Software (%2)")
        .arg(QStringLiteral(QUORVEL_VERSION), brand::kContactEmail);
}

QString helpText()
{
    return QCoreApplication::translate(
        "Form1",
        "Unlike Microsoft Windows built-in search utility, Quorvel File Search features provide options for Preview "
        "of Image while searching to let you find exactly the files\\Images you are looking for.");
}

Banner::Banner(platform::PictureBox *preview, platform::Shell &shell, std::function<void()> previewAgain)
    : preview_(preview)
    , shell_(shell)
    , previewAgain_(std::move(previewAgain))
{
}

void Banner::buttonReleased(Qt::MouseButton button)
{
    if (button != Qt::RightButton) {
        shell_.openUrl(QUrl(brand::kWebAddress));
        return;
    }
    previewAgain_();
    platform::PictureBox &box = *preview_;
    box.setScaleMode(platform::ScaleModes::Pixels);
    const QImage shown = box.rendered();
    if (flipStep_ == 0) {
        box.replaceCanvas(shown.mirrored(true, false));
    } else if (flipStep_ == 1) {
        box.replaceCanvas(shown.mirrored(false, true));
    } else {
        flipStep_ = 0;
        return;
    }
    ++flipStep_;
}

ListHoverTip::ListHoverTip(search::ResultList *list)
    : list_(list)
{
}

void ListHoverTip::pointerMoved(QPoint position)
{
    const int entry = list_->TopIndex() + position.y() / list_->entryHeight();
    if (tipSet_ && entry == hoveredEntry_)
        return;
    tipSet_ = true;
    hoveredEntry_ = entry;
    list_->setToolTip(platform::plainToolTip(platform::shownFileName(list_->List(entry))));
}

}  // namespace helpabout
