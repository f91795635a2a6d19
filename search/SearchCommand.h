#pragma once

class Form1;

namespace search {

// The Search / Cancel button: starts a walk of the chosen folder, or asks the
// running one to stop, and writes the summary when the walk is over.
void runSearchCommand(Form1 &form);

}  // namespace search
