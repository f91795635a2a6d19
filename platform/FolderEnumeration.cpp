#include "platform/FolderEnumeration.h"

#include <sys/stat.h>

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

}  // namespace platform
