#pragma once

class Form1;

namespace startup {

// The last steps of start-up: the desktop's files listed, and the first entry
// ending in "JPG" (any case) selected and previewed.
void listDesktopAndPreview(Form1 &form);

}  // namespace startup
