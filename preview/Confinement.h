#pragma once

#include <string>

namespace preview {

// Shuts the calling process in, for good: no new privileges; memory, CPU time and
// open files limited; and a system-call filter under which opening files,
// sockets, connecting, running programs, starting processes and tracing fail
// (threads may still start). Everything the process needs must be loaded before.
// False, with the reason, when the system refuses a part of it.
bool confineThisProcess(std::string &why);

}  // namespace preview
