#pragma once

#include <QByteArray>

#include <dirent.h>

#include <cstdint>
#include <string>

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

}  // namespace platform
