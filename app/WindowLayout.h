#pragma once

class Form1;

namespace layout {

// Moves, resizes and re-fonts every control in proportion to the window's inner
// size, from the geometry recorded at start-up; outside the window-size limits an
// axis keeps what it last had. Then redraws the preview and the background.
void Form_Resize(Form1 &form);

}  // namespace layout
