#pragma once

#include <string>

// Files a library opens on its own, when it first needs them (libwmf's fonts),
// read while the helper may still open files and served from memory once it may
// not: the library's open() of such a path gets a memory file with the same
// bytes; every other path is refused. Only the decoder helper links this: it
// takes the place of the C library's open() in its process.
namespace preview {

// Reads every file in `folder` whose name ends with `suffix`.
void preloadFiles(const std::string &folder, const std::string &suffix);
// From now on open() serves the files read and refuses everything else.
void servePreloadedFilesOnly();

}  // namespace preview
