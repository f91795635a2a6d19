#include "preview/SelectionPreview.h"

#include "app/Form1.h"
#include "platform/PlainText.h"
#include "platform/Rounding.h"
#include "preview/Picture.h"
#include "preview/PictureBox.h"
#include "preview/PictureLoader.h"
#include "search/ResultList.h"

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

QSize previewShowSize(const Form1 &f)
{
    // A picture covers 1440/2540 of the paint rectangle across and down.
    const double coverage = 1440.0 / 2540.0;
    const double width = f.state.PaintWidth / f.Picture1->unitsPerPixelX() * coverage;
    const double height = f.state.PaintHeight / f.Picture1->unitsPerPixelY() * coverage;
    // Decoded for the screen's pixels, which at 200 % are twice the logical ones.
    return f.Picture1->devicePixels(
        QSize(int(std::ceil(std::max(width, 1.0))), int(std::ceil(std::max(height, 1.0)))));
}

namespace {

void previewPicture(Form1 &f, const QString &t, const QString &extension)
{
    f.Label2->hide();
    f.Picture1->setScaleMode(ScaleModes::Twips);
    platform::assignInt16(f.state.PaintWidth, 2 * f.Picture1->ScaleWidth());
    platform::assignInt16(f.state.PaintHeight, 2 * f.Picture1->ScaleHeight());

    if (extension == QLatin1String("PNG")) {
        // Each box keeps what it had when its own load fails.
        try {
            Module2::LoadPictureIntoBox(t, *f.Picture1);
        } catch (const PictureError &) {
        }
        try {
            Module2::LoadPictureIntoBox(t, *f.Picture2);
        } catch (const PictureError &) {
        }
    } else {
        std::optional<Picture> pic;
        try {
            pic = LoadPicture(t, previewShowSize(f));
        } catch (const PictureError &) {
        }
        f.Picture1->clearPicture();
        if (pic)
            PaintPicture(*f.Picture1, *pic, 0, 0, f.state.PaintWidth, f.state.PaintHeight, 0, 0, pic->Width,
                         pic->Height);
        f.Picture1->setToolTip(platform::plainToolTip(t));
        if (pic)
            PaintPicture(*f.Picture2, *pic, 0, 0, 2 * f.Picture2->ScaleWidth() - 100,
                         2 * f.Picture2->ScaleHeight() - 100, 0, 0, pic->Width, pic->Height);
    }
    if (f.state.SearchIdle)
        f.Command10->show();
}

}  // namespace

void List1_Click(Form1 &f)
{
    const QString t = f.List1->Text();
    const QString extension = extensionOf(t);
    f.Text5->hide();
    if (isPictureExtension(extension)) {
        previewPicture(f, t, extension);
    } else {
        f.Label2->setText(QString());
        if (isOfficeExtension(extension)) {
            f.Label2->show();
            f.Label2->setText(QStringLiteral("Office File"));
        }
        f.Command10->hide();
    }
    f.List1->setToolTip(platform::plainToolTip(t));
    f.Label4->setText(QString::number(f.List1->ListIndex() + 1) + QStringLiteral(" from ") +
                      QString::number(f.List1->ListCount()));
}

}  // namespace preview
