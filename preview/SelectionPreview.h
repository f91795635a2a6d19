#pragma once

#include <QSize>
#include <QString>

class Form1;

namespace preview {

// The part of the upper-cased text after its last ".", or all of it without one:
// "C:/pics/Photo.Jpg" gives "JPG", "/old.pics/readme" gives "PICS/README".
QString extensionOf(const QString &text);
bool isPictureExtension(const QString &extension);
bool isOfficeExtension(const QString &extension);

// The largest pixel size a picture is drawn at in the preview box with the
// current paint rectangle; decoding beyond it is wasted.
QSize previewShowSize(const Form1 &form);

// Previews the selected entry: pictures into both boxes, "Office File" for office
// documents, and the position counter, tool tips and copy-image button.
void List1_Click(Form1 &form);

}  // namespace preview
