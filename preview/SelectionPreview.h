#pragma once

#include <QSize>
#include <QString>

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
// documents, and the position counter, tool tips and copy-image button.
class SelectionPreview {
public:
    SelectionPreview(PreviewControls controls, const search::WalkSession &walk);
    void show();

private:
    void showPicture(const QString &path, const QString &extension);

    PreviewControls c_;
    const search::WalkSession &walk_;
};

}  // namespace preview
