#include "platform/FolderEnumeration.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FolderEnumeration::FolderEnumeration(const QByteArray &folder)
    : folder_(folder)
{
    dir_ = ::opendir(folder_.isEmpty() ? "." : folder_.constData());
}

FolderEnumeration::~FolderEnumeration()
{
    close();
}

bool FolderEnumeration::next(FolderEntry &entry)
{
    if (!dir_)
        return false;
    const dirent *d = ::readdir(dir_);
    if (!d)
        return false;
    entry.name.assign(d->d_name);
    if (d->d_type == DT_DIR) {
        entry.isFolder = true;
    } else if (d->d_type == DT_UNKNOWN) {
        QByteArray full = folder_;
        full.append(d->d_name);
        struct stat st {};
        entry.isFolder = ::lstat(full.constData(), &st) == 0 && S_ISDIR(st.st_mode);
    } else {
        entry.isFolder = false;
    }
    return true;
}

bool FolderEnumeration::close()
{
    if (!dir_)
        return true;
    const bool ok = ::closedir(dir_) == 0;
    dir_ = nullptr;
    return ok;
}

std::int64_t entrySize(const QByteArray &fullPath)
{
    struct stat st {};
    if (::lstat(fullPath.constData(), &st) != 0)
        return 0;
    return std::int64_t(st.st_size);
}

std::shared_ptr<FolderHandle> FolderHandle::open(const QByteArray &path)
{
    const int fd = ::open(path.isEmpty() ? "." : path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? nullptr : std::make_shared<FolderHandle>(fd);
}

std::shared_ptr<FolderHandle> FolderHandle::openBelow(const FolderHandle &anchor, const std::vector<std::string> &below)
{
    int at = anchor.fd_;
    for (const std::string &name : below) {
        const int next = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        if (at != anchor.fd_)
            ::close(at);
        if (next < 0) {
            errno = error;
            return nullptr;
        }
        at = next;
    }
    if (at == anchor.fd_) {
        at = ::fcntl(anchor.fd_, F_DUPFD_CLOEXEC, 0);
        if (at < 0)
            return nullptr;
    }
    return std::make_shared<FolderHandle>(at);
}

FolderHandle::~FolderHandle()
{
    ::close(fd_);
}

bool FolderHandle::readEntries(std::vector<FolderEntry> &entries) const
{
    // The reading stream gets a descriptor of its own: closing it must leave ours open.
    const int own = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return false;
    DIR *dir = ::fdopendir(own);
    if (!dir) {
        ::close(own);
        return false;
    }
    errno = 0;
    while (const dirent *d = ::readdir(dir)) {
        entries.push_back({d->d_name, isFolderEntry(d->d_type, *this, d->d_name)});
        errno = 0;
    }
    const bool complete = errno == 0;
    return ::closedir(dir) == 0 && complete;
}

std::int64_t FolderHandle::sizeOf(const std::string &name) const
{
    struct stat st {};
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return 0;
    return std::int64_t(st.st_size);
}

std::optional<EntryStatus> FolderHandle::statusOf(const std::string &name) const
{
    struct stat st {};
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return EntryStatus{std::int64_t(st.st_size), std::int64_t(st.st_mtim.tv_sec), S_ISDIR(st.st_mode),
                       S_ISREG(st.st_mode)};
}

ReadOnlyFile FolderHandle::openPlainFile(const std::string &name) const
{
    // Not blocking: should the entry have become a pipe since it was looked at,
    // opening it must not wait for a writer.
    ReadOnlyFile file(::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen())
        return file;
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode))
        return ReadOnlyFile();
    ::posix_fadvise(file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return file;
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

long ReadOnlyFile::read(char *into, std::size_t size) const
{
    for (;;) {
        const ssize_t n = ::read(fd_, into, size);
        if (n >= 0 || errno != EINTR)
            return long(n);
    }
}

bool FolderHandle::isFolder(const std::string &name) const
{
    struct stat st {};
    return ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

bool isFolderEntry(unsigned char type, const FolderHandle &folder, const std::string &name)
{
    if (type == DT_UNKNOWN)
        return folder.isFolder(name);
    return type == DT_DIR;
}

}  // namespace platform
