#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class Form1;

namespace helpabout {

QString aboutText();
QString helpText();

// About: the thank-you text over the preview, then the version box.
void Command2_Click(Form1 &form);
void Helpf1_Click(Form1 &form);

// A right button released over the banner mirrors, then flips, then restores the
// preview; any other button opens the product's web page.
void Picture2_MouseUp(Form1 &form, Qt::MouseButton button);

// The list's tool tip names the entry under the pointer, changing only when the
// pointer crosses into another entry.
void List1_MouseMove(Form1 &form, QPoint position);

}  // namespace helpabout
