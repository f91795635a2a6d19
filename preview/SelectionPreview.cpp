#include "preview/SelectionPreview.h"

#include "platform/FileNames.h"
#include "platform/PlainText.h"
#include "platform/Rounding.h"
#include "preview/Picture.h"
#include "platform/PictureBox.h"
#include "preview/PictureLoader.h"
#include "search/ResultList.h"
#include "search/WalkSession.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

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

SelectionPreview::SelectionPreview(PreviewControls controls, const search::WalkSession &walk)
    : c_(controls)
    , walk_(walk)
{
}

void SelectionPreview::showPicture(const QString &t, const QString &extension)
{
    PictureBox &box = *c_.preview;
    c_.kind->hide();
    box.setScaleMode(ScaleModes::Twips);
    box.resetPaintArea(2);

    if (extension == QLatin1String("PNG")) {
        // Each box keeps what it had when its own load fails.
        try {
            Module2::LoadPictureIntoBox(t, box);
        } catch (const PictureError &) {
        }
        try {
            Module2::LoadPictureIntoBox(t, *c_.banner);
        } catch (const PictureError &) {
        }
    } else {
        std::optional<Picture> pic;
        try {
            pic = LoadPicture(t, previewShowSize(box));
        } catch (const PictureError &) {
        }
        box.clearPicture();
        if (pic)
            PaintPicture(box, *pic, 0, 0, box.PaintWidth, box.PaintHeight, 0, 0, pic->Width, pic->Height);
        box.setToolTip(platform::plainToolTip(platform::shownFileName(t)));
        if (pic)
            PaintPicture(*c_.banner, *pic, 0, 0, 2 * c_.banner->ScaleWidth() - kBannerInset,
                         2 * c_.banner->ScaleHeight() - kBannerInset, 0, 0, pic->Width, pic->Height);
    }
    if (walk_.searchIdle())
        c_.copyImage->show();
}

void SelectionPreview::show()
{
    const QString t = c_.list->Text();
    const QString extension = extensionOf(t);
    c_.thankYou->hide();
    if (isPictureExtension(extension)) {
        showPicture(t, extension);
    } else {
        c_.kind->setText(QString());
        if (isOfficeExtension(extension)) {
            c_.kind->show();
            c_.kind->setText(QStringLiteral("Office File"));
        }
        c_.copyImage->hide();
    }
    c_.list->setToolTip(platform::plainToolTip(platform::shownFileName(t)));
    c_.position->setText(QString::number(c_.list->ListIndex() + 1) + QStringLiteral(" from ") +
                         QString::number(c_.list->ListCount()));
}

}  // namespace preview
