#include "platform/WholeFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <stdio.h>
#include <unistd.h>

namespace platform {
namespace {

// The name of a file being written: hidden, with the program's own prefix and
// twelve lower-case hexadecimal digits, so that no file of a user's can be taken
// for one.
constexpr char kPartPrefix[] = ".quorvel-part-";
constexpr size_t kPartDigits = 12;

// A name in the target's folder no one is likely to have taken.
std::string candidateName(const std::string &target)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char name[sizeof kPartPrefix + kPartDigits];
    std::snprintf(name, sizeof name, "%s%012llx", kPartPrefix,
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFULL));
    const size_t slash = target.rfind('/');
    return (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + name;
}

// Whether `name` is one this program gives a file it is writing, and only that.
bool isPartName(const char *name)
{
    constexpr size_t kPrefix = sizeof kPartPrefix - 1;
    if (std::strlen(name) != kPrefix + kPartDigits || std::strncmp(name, kPartPrefix, kPrefix) != 0)
        return false;
    for (size_t i = kPrefix; i < kPrefix + kPartDigits; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])) || std::isupper(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

}  // namespace

int removeStaleParts(const std::string &folder, long long olderThanSeconds)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isPartName(entry->d_name))
            continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid() || now - st.st_mtime < olderThanSeconds)
            continue;
        removed += ::unlinkat(fd, entry->d_name, 0) == 0;
    }
    ::closedir(dir);  // closes fd too
    return removed;
}

FileBeside::FileBeside(std::string target)
    : target_(std::move(target))
{
}

FileBeside::~FileBeside()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!path_.empty() && !replaced_)
        ::unlink(path_.c_str());
}

bool FileBeside::create()
{
    constexpr int kAttempts = 16;
    for (int i = 0; i < kAttempts; ++i) {
        const std::string candidate = candidateName(target_);
        // Exclusive and without following links; the mode is the usual one less
        // the user's umask, as for any new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            path_ = candidate;
            return true;
        }
        if (errno != EEXIST) {
            error_ = errno;
            return false;
        }
    }
    error_ = EEXIST;
    return false;
}

bool FileBeside::close()
{
    if (fd_ < 0)
        return true;
    const bool synced = ::fsync(fd_) == 0 || errno == EINVAL;  // a file system without fsync is no failure
    const int syncError = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced)
        error_ = syncError;
    else if (!closed)
        error_ = errno;
    return synced && closed;
}

bool FileBeside::replaceTarget()
{
    if (!close())
        return false;
    if (::rename(path_.c_str(), target_.c_str()) != 0) {
        error_ = errno;
        return false;
    }
    replaced_ = true;
    return true;
}

bool FileBeside::claimTarget(const std::function<std::string()> &next)
{
    if (!close())
        return false;
    const auto take = [this](const std::string &name) {
        target_ = name;
        replaced_ = true;
        return true;
    };
    for (std::string name = target_; !name.empty(); name = next()) {
        // A hard link fails where the name is taken.
        if (::link(path_.c_str(), name.c_str()) == 0) {
            ::unlink(path_.c_str());
            return take(name);
        }
        if (errno != EEXIST) {
            // A file system without hard links may still rename without replacing;
            // one that cannot do that either gets the file the old way.
            if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0)
                return take(name);
            if ((errno == EINVAL || errno == ENOSYS) && ::rename(path_.c_str(), name.c_str()) == 0)
                return take(name);
        }
        if (errno != EEXIST) {
            error_ = errno;
            return false;
        }
    }
    error_ = EEXIST;
    return false;
}

WholeFile::WholeFile(std::string target, WriteFunction write)
    : beside_(std::move(target))
    , write_(write ? write : &::write)
{
}

// Pieces smaller than this are gathered before they are written.
constexpr size_t kBufferSize = size_t(256) * 1024;

bool WholeFile::write(const char *data, size_t size)
{
    if (error_ != 0)
        return false;
    if (buffer_.size() + size <= kBufferSize) {
        buffer_.append(data, size);
        return true;
    }
    if (!flush())
        return false;
    if (size <= kBufferSize) {
        buffer_.append(data, size);
        return true;
    }
    return writeAll(data, size);
}

bool WholeFile::flush()
{
    if (!writeAll(buffer_.data(), buffer_.size()))
        return false;
    buffer_.clear();
    return true;
}

bool WholeFile::writeAll(const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = write_(beside_.fd(), data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error_ = written < 0 ? errno : ENOSPC;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

bool WholeFile::commit()
{
    return error_ == 0 && flush() && beside_.replaceTarget();
}

std::string WholeFile::reason() const
{
    const int error = error_ != 0 ? error_ : beside_.errorNumber();
    return std::strerror(error != 0 ? error : EIO);
}

}  // namespace platform
