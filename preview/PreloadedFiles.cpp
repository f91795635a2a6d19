#include "preview/PreloadedFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <map>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace preview {
namespace {

// Filled before the confinement, read only after: no lock is needed.
std::map<std::string, std::string> &preloaded()
{
    static std::map<std::string, std::string> files;
    return files;
}

// Set on the main thread, read on whichever thread a library opens a file from.
std::atomic<bool> serving{false};

std::string readWhole(int fd)
{
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(buffer, size_t(n));
    }
}

// A memory file holding `bytes`, positioned at its start.
int memoryFile(const std::string &bytes)
{
    const int fd = ::memfd_create("quorvel-preloaded", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            return -1;
        }
        done += size_t(n);
    }
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

int openFile(const char *path, int flags, mode_t mode)
{
    if (!serving.load(std::memory_order_acquire))
        return int(::syscall(SYS_openat, AT_FDCWD, path, flags, mode));
    const auto found = path ? preloaded().find(path) : preloaded().end();
    if (found == preloaded().end() || (flags & O_ACCMODE) != O_RDONLY) {
        errno = EPERM;
        return -1;
    }
    return memoryFile(found->second);
}

mode_t modeOf(int flags, va_list arguments)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(arguments, int)) : 0;
}

}  // namespace

void preloadFiles(const std::string &folder, const std::string &suffix)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::string path = folder;
        path += '/';
        path += name;
        const int fd = int(::syscall(SYS_openat, AT_FDCWD, path.c_str(), O_RDONLY | O_CLOEXEC, 0));
        if (fd < 0)
            continue;
        preloaded()[path] = readWhole(fd);
        ::close(fd);
    }
    ::closedir(dir);
}

void servePreloadedFilesOnly()
{
    serving.store(true, std::memory_order_release);
}

}  // namespace preview

// The C library's open(), taken over in the helper's process.
extern "C" int open(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = preview::modeOf(flags, arguments);
    va_end(arguments);
    return preview::openFile(path, flags, mode);
}

// The same for callers built with large-file names.
extern "C" int open64(const char *path, int flags, ...) __attribute__((alias("open")));
