#pragma once

#include <Qt>

class Form1;

namespace preview {

// A left button released over the preview box asks a running animation to stop;
// the click that follows starts a new one.
void Picture1_MouseUp(Form1 &form, Qt::MouseButton button);

// The "moving animation": the selected picture drawn again and again, a little
// smaller each frame, until it has shrunk away and starts over. Runs until told to
// stop, delivering events between frames so the window stays usable.
void Picture1_Click(Form1 &form);

}  // namespace preview
