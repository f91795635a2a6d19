#pragma once

#include <QByteArray>

#include <dirent.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct FolderEntry {
    std::string name;     // raw bytes, as the file system holds them
    bool isFolder = false;  // a symbolic link is never a folder here
};

// One pass over the entries of a folder (opendir/readdir), closed on destruction.
// The folder bit comes from the entry type; only entries of unknown type cost a stat.
class FolderEnumeration {
public:
    explicit FolderEnumeration(const QByteArray &folder);
    ~FolderEnumeration();
    FolderEnumeration(const FolderEnumeration &) = delete;
    FolderEnumeration &operator=(const FolderEnumeration &) = delete;

    bool isOpen() const { return dir_ != nullptr; }
    bool next(FolderEntry &entry);
    // Ends the enumeration; true on success (also when it was never open).
    bool close();

private:
    QByteArray folder_;
    DIR *dir_ = nullptr;
};

// Size as lstat reports it; 0 for an entry that vanished.
std::int64_t entrySize(const QByteArray &fullPath);

// What lstat says of an entry: never of what a link points to.
struct EntryStatus {
    std::int64_t size = 0;
    std::int64_t modified = 0;  // seconds since the epoch
    bool isFolder = false;
    bool isRegular = false;  // a plain file: not a link, a folder, a pipe, a device or a socket
};

// A file opened for reading, closed on destruction.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    explicit ReadOnlyFile(int fd) : fd_(fd) {}
    ~ReadOnlyFile();
    ReadOnlyFile(ReadOnlyFile &&other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    ReadOnlyFile &operator=(ReadOnlyFile &&) = delete;
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Up to `size` bytes at the current place: 0 at the end, -1 on an error.
    long read(char *into, std::size_t size) const;

private:
    int fd_ = -1;
};

// An open folder, closed when the last owner lets it go. Its entries are read,
// sized and opened relative to it, so a deep walk never makes the kernel resolve
// a full path again.
class FolderHandle {
public:
    // The folder at `path`; null when it cannot be opened.
    static std::shared_ptr<FolderHandle> open(const QByteArray &path);
    // The folder reached from `anchor` by the subfolder names `below`, never
    // through a symbolic link; null when it cannot be opened. The path may be
    // longer than any the kernel takes whole.
    static std::shared_ptr<FolderHandle> openBelow(const FolderHandle &anchor, const std::vector<std::string> &below);

    explicit FolderHandle(int fd) : fd_(fd) {}
    ~FolderHandle();
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    // Every entry, in the order the file system gives them ("." and ".." too).
    // False when the read failed part way; what was read is kept.
    bool readEntries(std::vector<FolderEntry> &entries) const;
    // Size of the entry `name` as lstat reports it; 0 for an entry that vanished.
    std::int64_t sizeOf(const std::string &name) const;
    // What lstat says of the entry `name`; nothing for an entry that vanished.
    std::optional<EntryStatus> statusOf(const std::string &name) const;
    // The plain file `name` opened for reading, never through a link and never
    // when it is anything but a plain file (a pipe or a device would hang the
    // reader, or change as it is read); closed when that fails.
    ReadOnlyFile openPlainFile(const std::string &name) const;
    // Whether `name` is a folder, not following a link: for entries whose type the
    // file system does not report.
    bool isFolder(const std::string &name) const;

private:
    int fd_;
};

// Decides the folder bit of an entry from the type the file system reported for
// it, asking `folder` only when that type is unknown.
bool isFolderEntry(unsigned char type, const FolderHandle &folder, const std::string &name);

}  // namespace platform
