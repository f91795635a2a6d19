#pragma once

#include <string>

namespace preview {

// Closes every descriptor above `lastKept` that the starting program left open,
// and gives standard input nothing to read. Called first thing.
void closeInheritedDescriptors(int lastKept);

// Shuts the calling process in, for good, on every one of its threads: no new
// privileges; memory, CPU time and open files limited; and a system-call filter
// under which opening files, sockets, connecting, running programs, starting
// processes, tracing, and signalling or limiting another process fail (threads
// may still start). Everything the process needs must be loaded before.
// False, with the reason, when the system refuses a part of it, or a thread
// cannot be shut in with the others.
bool confineThisProcess(std::string &why);

}  // namespace preview
