#pragma once

#include "preview/PictureDecoder.h"

#include <QSize>
#include <QString>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class PictureBox;
}
namespace search {
class ResultList;
class WalkSession;
}  // namespace search

namespace preview {

// The part of the upper-cased text after its last ".", or all of it without one:
// "C:/pics/Photo.Jpg" gives "JPG", "/old.pics/readme" gives "PICS/README".
QString extensionOf(const QString &text);
bool isPictureExtension(const QString &extension);
bool isOfficeExtension(const QString &extension);

// The largest pixel size a picture is drawn at in `box` with its current paint
// rectangle; decoding beyond it is wasted.
QSize previewShowSize(const platform::PictureBox &box);

// The controls the selection preview draws into.
struct PreviewControls {
    search::ResultList *list = nullptr;      // List1
    platform::PictureBox *preview = nullptr; // Picture1
    platform::PictureBox *banner = nullptr;  // Picture2
    QLabel *kind = nullptr;                  // Label2: "Office File"
    QLabel *position = nullptr;              // Label4: "k from N"
    QPlainTextEdit *thankYou = nullptr;      // Text5
    QPushButton *copyImage = nullptr;        // Command10
};

// Previews the selected entry: pictures into both boxes, "Office File" for office
// documents, and the position counter, tool tips and copy-image button. The texts
// change at once; a picture is drawn when it has been decoded, unless another
// entry was selected in the meantime.
class SelectionPreview {
public:
    // `beforeDecode` runs before each picture is decoded, on the decoding thread.
    SelectionPreview(PreviewControls controls, const search::WalkSession &walk,
                     std::function<void(const QString &path)> beforeDecode = {});
    void show();
    // Gets the decoding ready before the first picture is asked for.
    void prepare() { decoder_.prepare(); }

    // A picture for the selected entry is still being decoded.
    bool decoding() const { return decoder_.busy(); }
    // The picture drawn for the selected entry, as the animation draws it: the
    // picture itself, or for a PNG file the loader's bitmap of the banner box.
    // Nothing before it is decoded, or when it could not be.
    std::optional<Picture> shownPicture() const;

private:
    void showPicture(const QString &path, const QString &extension);
    void draw(const DecodedPreview &decoded);

    PreviewControls c_;
    const search::WalkSession &walk_;
    // The preview's paint rectangle when the picture drawn next was asked for.
    double paintWidth_ = 0;
    double paintHeight_ = 0;
    std::optional<DecodedPreview> shown_;
    PictureDecoder decoder_;
};

}  // namespace preview
