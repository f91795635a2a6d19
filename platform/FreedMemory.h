#pragma once

#include <malloc.h>

namespace platform {

// Hands back to the system what a large piece of work allocated and freed: the C
// library keeps freed memory in its arenas, and the program would otherwise stay
// as large as it was at the work's peak.
inline void giveBackFreedMemory()
{
    ::malloc_trim(0);
}

}  // namespace platform
