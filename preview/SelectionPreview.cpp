#include "preview/SelectionPreview.h"

#include "platform/FileNames.h"
#include "platform/PlainText.h"
#include "platform/Rounding.h"
#include "preview/Picture.h"
#include "platform/PictureBox.h"
#include "preview/PictureLoader.h"
#include "search/ResultList.h"
#include "search/WalkSession.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <optional>

namespace preview {

QString extensionOf(const QString &text)
{
    const QString upper = text.toUpper();
    return upper.mid(upper.lastIndexOf(QLatin1Char('.')) + 1);
}

bool isPictureExtension(const QString &extension)
{
    static const QStringList kImageExtensions{QStringLiteral("JPG"), QStringLiteral("BMP"), QStringLiteral("GIF"),
                                              QStringLiteral("ICO"), QStringLiteral("PNG"), QStringLiteral("EMF"),
                                              QStringLiteral("WMF")};
    return kImageExtensions.contains(extension);
}

bool isOfficeExtension(const QString &extension)
{
    return extension.startsWith(QLatin1String("XL")) || extension.startsWith(QLatin1String("DO")) ||
           extension.startsWith(QLatin1String("PP")) || extension == QLatin1String("CSV");
}

QSize previewShowSize(const platform::PictureBox &box)
{
    // The picture's HIMETRIC extent is painted as if it were twips: it covers
    // 1440/2540 of the paint rectangle across and down.
    const double coverage = 1440.0 / 2540.0;
    const double width = box.PaintWidth / box.unitsPerPixelX() * coverage;
    const double height = box.PaintHeight / box.unitsPerPixelY() * coverage;
    // Decoded for the screen's pixels, which at 200 % are twice the logical ones.
    return box.devicePixels(
        QSize(int(std::ceil(std::max(width, 1.0))), int(std::ceil(std::max(height, 1.0)))));
}

// The banner box shows the picture smaller than it is, by this many twips each way.
constexpr int kBannerInset = 100;

namespace {

// No box is larger than the screen, so a picture kept at the screen's size serves every box.
QSize screenBound(const platform::PictureBox &box)
{
    const QScreen *screen = box.screen();
    const QSize bound = screen ? box.devicePixels(screen->size()) : QSize();
    return bound.expandedTo(QSize(1024, 1024));
}

// The counter: which entry of how many is selected.
QString positionText(int position, int count)
{
    return QCoreApplication::translate("Preview", "%1 from %2").arg(QString::number(position), QString::number(count));
}

}  // namespace

SelectionPreview::SelectionPreview(PreviewControls controls, const search::WalkSession &walk,
                                   std::function<void(const QString &path)> beforeDecode)
    : c_(controls)
    , walk_(walk)
    , decoder_([this](const DecodedPreview &decoded) { draw(decoded); }, std::move(beforeDecode))
{
    // A list filled or emptied with nothing selected: the counter says so, for the list it shows.
    const auto nothingSelected = [this] {
        if (c_.list->ListIndex() < 0)
            c_.position->setText(positionText(0, c_.list->ListCount()));
    };
    QObject::connect(c_.list->model(), &QAbstractItemModel::rowsInserted, c_.position, nothingSelected);
    QObject::connect(c_.list->model(), &QAbstractItemModel::modelReset, c_.position, nothingSelected);
}

void SelectionPreview::showPicture(const QString &t, const QString &extension)
{
    PictureBox &box = *c_.preview;
    c_.kind->hide();
    box.setScaleMode(ScaleModes::Twips);
    box.resetPaintArea(2);
    paintWidth_ = box.PaintWidth;
    paintHeight_ = box.PaintHeight;

    PreviewRequest request;
    request.path = t;
    request.whileWalking = walk_.walking();
    request.row = c_.list->ListIndex();
    request.png = extension == QLatin1String("PNG");
    if (request.png) {
        request.previewBitmap = Module2::BitmapSizeFor(box);
        request.bannerBitmap = Module2::BitmapSizeFor(*c_.banner);
        request.keepBound = screenBound(box);
    } else {
        request.showSize = previewShowSize(box);
        box.setToolTip(platform::plainToolTip(platform::shownFileName(t)));
    }
    // The picture already drawn for this very file at these sizes is drawn again
    // at once (a click on the same entry, a smaller window, the banner's flips).
    if (shown_ && shown_->path == t && shown_->png == request.png && shown_->stamp &&
        shown_->stamp == platform::regularFileStamp(t) &&
        (request.png ? shown_->previewBitmap.size() == request.previewBitmap &&
                           shown_->bannerBitmap.size() == request.bannerBitmap
                     : !shown_->picture || shown_->picture->sharpAt(request.showSize))) {
        decoder_.cancel();
        draw(DecodedPreview(*shown_));
    } else {
        decoder_.request(std::move(request));
    }
    if (walk_.searchIdle())
        c_.copyImage->show();
}

void SelectionPreview::draw(const DecodedPreview &decoded)
{
    // A result for an entry no longer selected is not drawn, unless a walk found it
    // and it is still in the list where it was found (a new search empties the list).
    if (decoded.path != c_.list->Text() && !(decoded.whileWalking && c_.list->List(decoded.row) == decoded.path))
        return;
    shown_ = decoded;
    PictureBox &box = *c_.preview;
    if (decoded.png) {
        // Each box keeps what it had when its own bitmap could not be made.
        if (!decoded.previewBitmap.isNull()) {
            shown_->previewBitmap.setDevicePixelRatio(box.devicePixelRatioF());
            box.setPicture(shown_->previewBitmap);
        }
        if (!decoded.bannerBitmap.isNull()) {
            shown_->bannerBitmap.setDevicePixelRatio(c_.banner->devicePixelRatioF());
            c_.banner->setPicture(shown_->bannerBitmap);
        }
        return;
    }
    box.clearPicture();
    if (const std::optional<Picture> &pic = decoded.picture) {
        PaintPicture(box, *pic, 0, 0, paintWidth_, paintHeight_, 0, 0, pic->Width, pic->Height);
        PaintPicture(*c_.banner, *pic, 0, 0, 2 * c_.banner->ScaleWidth() - kBannerInset,
                     2 * c_.banner->ScaleHeight() - kBannerInset, 0, 0, pic->Width, pic->Height);
    }
}

std::optional<Picture> SelectionPreview::shownPicture() const
{
    if (!shown_ || shown_->path != c_.list->Text())
        return std::nullopt;
    if (!shown_->png)
        return shown_->picture;
    if (shown_->bannerBitmap.isNull())
        return std::nullopt;
    return Picture::fromImage(shown_->bannerBitmap);
}

void SelectionPreview::show()
{
    const QString t = c_.list->Text();
    const QString extension = extensionOf(t);
    c_.thankYou->hide();
    if (isPictureExtension(extension)) {
        showPicture(t, extension);
    } else {
        decoder_.cancel();
        c_.kind->setText(QString());
        if (isOfficeExtension(extension)) {
            c_.kind->show();
            c_.kind->setText(QCoreApplication::translate("Preview", "Office File"));
        }
        c_.copyImage->hide();
    }
    c_.list->setToolTip(platform::plainToolTip(platform::shownFileName(t)));
    c_.position->setText(positionText(c_.list->ListIndex() + 1, c_.list->ListCount()));
}

}  // namespace preview
