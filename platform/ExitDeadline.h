#pragma once

#include <chrono>

namespace platform {

// Ends the process with `status` once `limit` has passed, whatever its threads
// are doing then. Called when the program has decided to end: the tidying that
// follows (threads stopped and joined, files and the clipboard handed over) is
// done when it can be, but a thread held in the kernel by a share that stopped
// answering cannot be joined, and must not keep the process alive.
void endProcessWithin(std::chrono::milliseconds limit, int status);

}  // namespace platform
