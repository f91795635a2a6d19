#pragma once

namespace platform {

// Lets the process open as many files as the system permits it: a desktop
// session's soft limit (often 1,024) is far below what a walk of a deep tree on
// many threads may hold at once.
void raiseOpenFileLimit();

}  // namespace platform
