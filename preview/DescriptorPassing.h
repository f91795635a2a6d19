#pragma once

#include <cstddef>

#include <sys/types.h>

// One message with at most one open file descriptor, over a Unix socket pair
// (SCM_RIGHTS): how the window and its decoder helper hand each other files.
namespace preview {

// Sends `size` bytes, and `fd` when it is not -1; true when all went.
bool sendWithDescriptor(int socket, const void *data, size_t size, int fd);
// Receives up to `size` bytes; `fd` is the descriptor that came with them (close-
// on-exec), or -1. The bytes received, 0 when the other side has gone, -1 on error.
ssize_t receiveWithDescriptor(int socket, void *data, size_t size, int &fd);

}  // namespace preview
